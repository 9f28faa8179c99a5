#include "library_loading.h"

namespace fw {

void RestrictLibrarySearch() noexcept {
    // Looked up: Windows 7 has it only with its loader update.
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    auto restrict = reinterpret_cast<SetDefaultDirectories>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!restrict || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) ::SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    try {
        return ::LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
    } catch (...) {
        return nullptr;
    }
}

HMODULE LoadLibraryAt(const std::wstring& path) noexcept {
    HMODULE module =
        ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without the loader update the flags are refused: the folder of the library comes first then.
    if (!module && ::GetLastError() == ERROR_INVALID_PARAMETER)
        module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return module;
}

}  // namespace fw
