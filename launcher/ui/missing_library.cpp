#include "missing_library.h"

#include "ask_box.h"

namespace launcher {

void ReportMissingLibrary(HWND owner, bool unattended, const std::wstring& role, const std::wstring& path) {
    std::wstring text = L"The launcher cannot start: " + role + L" is missing or damaged.\n\n" + path;
    AskBox(owner, unattended, text, L"testdeck", MB_OK | MB_ICONERROR);
}

}  // namespace launcher
