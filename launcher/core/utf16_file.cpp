#include "utf16_file.h"

#include <string>

namespace launcher {

namespace {
fw::UniqueFile Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    fw::UniqueFile file(::CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (file && (::GetFileType(file.get()) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file.get(), &information) ||
                 (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))))
        file.reset();
    return file;
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
