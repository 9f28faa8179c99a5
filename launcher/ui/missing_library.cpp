#include "missing_library.h"

namespace launcher {

void ReportMissingLibrary(HWND owner, const std::wstring& role, const std::wstring& path) {
    std::wstring text = L"The launcher cannot start: " + role + L" is missing or damaged.\n\n" + path;
    ::MessageBoxW(owner, text.c_str(), L"testdeck", MB_OK | MB_ICONERROR);
}

}  // namespace launcher
