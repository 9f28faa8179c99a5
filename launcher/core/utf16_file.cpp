#include "utf16_file.h"

#include <string>

namespace launcher {

namespace {
fw::UniqueFile Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    return fw::UniqueFile(
        ::CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}
}  // namespace

fw::UniqueFile OpenExclusive(const std::wstring& path, DWORD access, DWORD disposition) {
    return Open(path, access, 0, disposition);
}

fw::UniqueFile OpenSharedForReading(const std::wstring& path, DWORD access, DWORD disposition) {
    return Open(path, access, FILE_SHARE_READ, disposition);
}

bool WriteUtf16(HANDLE file, std::wstring_view text) {
    while (!text.empty()) {
        // WriteFile takes a DWORD count; very long texts go in pieces.
        size_t chars = text.size() < 0x10000000 ? text.size() : 0x10000000;
        DWORD bytes = static_cast<DWORD>(chars * sizeof(wchar_t));
        DWORD written = 0;
        if (!::WriteFile(file, text.data(), bytes, &written, nullptr) || written != bytes) return false;
        text.remove_prefix(chars);
    }
    return true;
}

}  // namespace launcher
