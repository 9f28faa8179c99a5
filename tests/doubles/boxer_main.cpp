// boxer: a small window program that the tests of the UI-automation helper drive.
//   boxer box <caption> <text> [ok|okcancel|yesno|yesnocancel]
//       shows a message box; the exit code is the button pressed (IDOK, IDYES...)
//   boxer dialog <title> <exit code> [note]
//       shows a dialog: the note (environment variables expanded), the working
//       folder in an edit control, and a "Done" button that exits with the code;
//       closing the dialog otherwise exits with IDCANCEL
//   boxer sleep                 never exits
//   boxer spawn <arguments...>  starts boxer again with the arguments, then never exits
#include <windows.h>
#include <shellapi.h>
#include <string>
#include <vector>

#include "boxer_ids.h"
#include "framework/dialog.h"
#include "framework/module_path.h"
#include "framework/unique_resource.h"
#include "launch_text.h"

using testsupport::JoinArguments;

namespace {
constexpr int kFailed = 64;

class BoxerDialog : public fw::Dialog {
public:
    BoxerDialog(std::wstring title, int exitCode, std::wstring note)
        : m_title(std::move(title)), m_exitCode(exitCode), m_note(std::move(note)) {}

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_INITDIALOG) {
            ::SetWindowTextW(hwnd(), m_title.c_str());
            ::SetDlgItemTextW(hwnd(), IDC_BOXER_NOTE, Expanded(m_note).c_str());
            ::SetDlgItemTextW(hwnd(), IDC_BOXER_FOLDER, CurrentFolder().c_str());
            return TRUE;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDC_BOXER_DONE) {
            Close(m_exitCode);
            return 0;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
            Close(IDCANCEL);
            return 0;
        }
        return std::nullopt;
    }

private:
    static std::wstring Expanded(const std::wstring& text) {
        std::wstring expanded(::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0), L'\0');
        DWORD length = ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        expanded.resize(length ? length - 1 : 0);
        return expanded;
    }
    static std::wstring CurrentFolder() {
        std::wstring folder(::GetCurrentDirectoryW(0, nullptr), L'\0');
        folder.resize(::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
        return folder;
    }

    std::wstring m_title;
    int m_exitCode;
    std::wstring m_note;
};

UINT BoxType(const std::wstring& name) {
    if (name == L"okcancel") return MB_OKCANCEL;
    if (name == L"yesno") return MB_YESNO;
    if (name == L"yesnocancel") return MB_YESNOCANCEL;
    return MB_OK;
}

[[noreturn]] void SleepForever() {
    for (;;) ::Sleep(INFINITE);
}

int Spawn(const std::vector<std::wstring>& args) {
    const std::wstring self = fw::ModuleFileName(nullptr);
    std::wstring commandLine =
        JoinArguments({self}) + L" " + JoinArguments(std::vector<std::wstring>(args.begin() + 2, args.end()));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return kFailed;
    fw::UniqueHandle process(info.hProcess);
    fw::UniqueHandle thread(info.hThread);
    SleepForever();
}

int Run(const std::vector<std::wstring>& args) {
    const std::wstring mode = args.size() > 1 ? args[1] : std::wstring();
    if (mode == L"box" && args.size() >= 4)
        return ::MessageBoxW(nullptr, args[3].c_str(), args[2].c_str(), BoxType(args.size() > 4 ? args[4] : L""));
    if (mode == L"dialog" && args.size() >= 4) {
        BoxerDialog dialog(args[2], _wtoi(args[3].c_str()), args.size() > 4 ? args[4] : std::wstring());
        return static_cast<int>(dialog.DoModal(::GetModuleHandleW(nullptr), IDD_BOXER, nullptr));
    }
    if (mode == L"sleep") SleepForever();
    if (mode == L"spawn" && args.size() > 2) return Spawn(args);
    return kFailed;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    fw::UniqueLocal argv(reinterpret_cast<HLOCAL>(::CommandLineToArgvW(::GetCommandLineW(), &count)));
    auto* first = reinterpret_cast<wchar_t**>(argv.get());
    return Run(std::vector<std::wstring>(first, first + (first ? count : 0)));
}
