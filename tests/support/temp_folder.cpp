#include "temp_folder.h"

#include <windows.h>
#include <shellapi.h>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "framework/file_io.h"

namespace testsupport {

namespace {
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\");
            } else {
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}
}  // namespace

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    for (;;) {
        std::wstring candidate = std::wstring(base) + L"suite_test_" + std::to_wstring(::GetCurrentProcessId()) +
                                 L"_" + std::to_wstring(::InterlockedIncrement(&counter)) + L"\\";
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
            m_path = candidate;
            return;
        }
    }
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

std::wstring TempFolder::MakeFolder(const std::wstring& relative) const {
    std::wstring path = m_path;
    for (size_t start = 0; start < relative.size();) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos) end = relative.size();
        path += relative.substr(start, end - start) + L"\\";
        ::CreateDirectoryW(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

std::wstring TempFolder::WriteBytes(const std::wstring& relative, const std::string& bytes) const {
    size_t slash = relative.find_last_of(L'\\');
    if (slash != std::wstring::npos) MakeFolder(relative.substr(0, slash));
    std::wstring path = m_path + relative;
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::wstring TempFolder::WriteUtf8(const std::wstring& relative, const std::wstring& text) const {
    return WriteBytes(relative, ToUtf8(text));
}

std::wstring TempFolder::WriteUtf16(const std::wstring& relative, const std::wstring& text) const {
    std::string bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return WriteBytes(relative, bytes);
}

std::string ReadBytes(const std::wstring& path) { return fw::ReadFileBytes(path).value_or(std::string()); }

std::string Utf16Bytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

std::wstring TextAfterMark(const std::string& bytes) {
    if (bytes.size() < 2) return {};
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
    return text;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

}  // namespace testsupport
