#include "autoplay.h"

#include <optional>

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

std::optional<DWORD> ReadNumber(const std::wstring& path, const wchar_t* name) {
    UniqueRegKey key = OpenKey(path, KEY_READ);
    if (!key) return std::nullopt;
    DWORD type = 0, value = 0, size = sizeof value;  // a larger value must not overrun the number
    if (::RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

bool WriteNumber(HKEY key, const wchar_t* name, DWORD value) {
    return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

}  // namespace

CAutoplaySwitch::CAutoplaySwitch(std::wstring keyPath, std::wstring keptKeyPath)
    : m_keyPath(std::move(keyPath)), m_keptKeyPath(std::move(keptKeyPath)) {}

void CAutoplaySwitch::Suppress() {
    const std::optional<DWORD> stored = ReadNumber(m_keptKeyPath, kKeptAutoplayValue);
    m_kept = stored ? *stored : ReadNumber(m_keyPath, kAutoplayValue).value_or(0);
    UniqueRegKey key = OpenKey(m_keyPath, KEY_READ | KEY_WRITE);
    if (!key) return;
    if (!stored) {
        HKEY kept = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_keptKeyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &kept,
                              nullptr) == ERROR_SUCCESS)
            WriteNumber(UniqueRegKey(kept).get(), kKeptAutoplayValue, m_kept);
    }
    WriteNumber(key.get(), kAutoplayValue, 1);
}

void CAutoplaySwitch::Restore() const {
    UniqueRegKey key = OpenKey(m_keyPath, KEY_READ | KEY_WRITE);
    // Not written back: the next start puts it back.
    if (key && !WriteNumber(key.get(), kAutoplayValue, m_kept)) return;
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, m_keptKeyPath.c_str(), kKeptAutoplayValue);
}

}  // namespace discprobe
