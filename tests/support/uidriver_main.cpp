// uidriver: drives windows on the desktop for shell scripts (see uidriver_args.h).
// Exit codes: 0 done, 1 timed out, 2 bad command line, 3 failed.
#include <windows.h>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "ui_automation.h"
#include "uidriver_args.h"

using namespace testsupport;

namespace {
enum ExitCode { kDone = 0, kTimedOut = 1, kBadCommandLine = 2, kFailed = 3 };

void Write(DWORD stream, const std::wstring& text) {
    HANDLE handle = ::GetStdHandle(stream);
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(handle, &mode)) {
        ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    std::string bytes = ToUtf8(text);
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int Fail(ExitCode code, const std::wstring& message) {
    Write(STD_ERROR_HANDLE, L"uidriver: " + message + L"\n");
    return code;
}

int AnswerBox(const DriverCommand& command) {
    BoxAnswer answer = AnswerMessageBox({}, command.button, command.timeoutMs);
    switch (answer.outcome) {
    case BoxOutcome::Answered:
        Write(STD_OUTPUT_HANDLE, answer.caption + L": " + answer.text + L"\n");
        return kDone;
    case BoxOutcome::NoBox:
        return Fail(kTimedOut, L"no message box appeared");
    case BoxOutcome::NoSuchButton:
        return Fail(kFailed, L"the box \"" + answer.caption + L"\" has no button " + std::to_wstring(answer.button));
    case BoxOutcome::StayedOpen:
        return Fail(kFailed, L"the box \"" + answer.caption + L"\" stayed open");
    }
    return kFailed;
}

int Execute(const DriverCommand& command) {
    switch (command.action) {
    case DriverAction::Screenshot:
        return SaveScreenshot(command.file) ? kDone : Fail(kFailed, L"cannot save " + command.file);
    case DriverAction::AnswerBox:
        return AnswerBox(command);
    case DriverAction::WaitWindow: {
        WindowQuery query;
        query.title = command.title;
        return WaitTopWindow(query, command.timeoutMs) ? kDone
                                                        : Fail(kTimedOut, L"no window \"" + command.title + L"\"");
    }
    }
    return kFailed;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    DriverArguments parsed = ParseDriverArguments(std::vector<std::wstring>(argv + 1, argv + argc));
    if (!parsed.command) return Fail(kBadCommandLine, parsed.error + L"\n" + kDriverUsage);
    return Execute(*parsed.command);
}
