#include "autoplay.h"

#include "framework/unique_resource.h"

namespace discprobe {

namespace {

struct RegKeyTraits {
    using Value = HKEY;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::RegCloseKey(v); }
};
using UniqueRegKey = fw::UniqueResource<RegKeyTraits>;

UniqueRegKey OpenKey(const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
    return UniqueRegKey(key);
}

void WriteNumber(const std::wstring& path, DWORD value) {
    if (UniqueRegKey key = OpenKey(path, KEY_READ | KEY_WRITE))
        ::RegSetValueExW(key.get(), kAutoplayValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                         sizeof value);
}

}  // namespace

CAutoplaySwitch::CAutoplaySwitch(std::wstring keyPath) : m_keyPath(std::move(keyPath)) {}

void CAutoplaySwitch::Suppress() {
    m_kept = 0;
    if (UniqueRegKey key = OpenKey(m_keyPath, KEY_READ)) {
        DWORD type = 0, value = 0, size = sizeof value;  // a larger value must not overrun the number
        if (::RegQueryValueExW(key.get(), kAutoplayValue, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size) == ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof value)
            m_kept = value;
    }
    WriteNumber(m_keyPath, 1);
}

void CAutoplaySwitch::Restore() const { WriteNumber(m_keyPath, m_kept); }

}  // namespace discprobe
