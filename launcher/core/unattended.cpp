#include "unattended.h"

#include <iterator>

#include "launcher_context.h"

namespace launcher {

int DefaultButton(UINT style) {
    // The buttons of each MB_TYPEMASK value, left to right.
    static constexpr int kButtons[][3] = {
        {IDOK},                                // MB_OK
        {IDOK, IDCANCEL},                      // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},          // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},               // MB_YESNOCANCEL
        {IDYES, IDNO},                         // MB_YESNO
        {IDRETRY, IDCANCEL},                   // MB_RETRYCANCEL
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE},    // MB_CANCELTRYCONTINUE
    };
    const UINT set = style & MB_TYPEMASK;
    if (set >= std::size(kButtons)) return IDOK;
    const UINT index = (style & MB_DEFMASK) >> 8;
    const int button = index < std::size(kButtons[set]) ? kButtons[set][index] : 0;
    return button ? button : kButtons[set][0];
}

static const wchar_t* ButtonName(int button) {
    switch (button) {
    case IDOK: return L"OK";
    case IDCANCEL: return L"Cancel";
    case IDABORT: return L"Abort";
    case IDRETRY: return L"Retry";
    case IDIGNORE: return L"Ignore";
    case IDYES: return L"Yes";
    case IDNO: return L"No";
    case IDTRYAGAIN: return L"Try Again";
    case IDCONTINUE: return L"Continue";
    default: return L"?";
    }
}

std::wstring AnsweredBoxNote(const std::wstring& caption, const std::wstring& text, int answer) {
    return L"Message box \"" + caption + L"\": " + text + L"\r\nAnswered unattended: " + ButtonName(answer) + L"\r\n";
}

std::wstring RememberedBoxNote(const std::wstring& caption, const std::wstring& text, int answer) {
    return L"Message box \"" + caption + L"\": " + text + L"\r\nAnswered as in an earlier cycle: " + ButtonName(answer) +
           L"\r\n";
}

int ExitCodeFor(const RunOutcome& outcome) {
    if (outcome.nothingToRun) return kExitNothingToRun;
    if (outcome.failed > 0 || outcome.broken) return kExitFailed;
    if (outcome.stopped > 0) return kExitStopped;
    return kLauncherExitCode;
}

bool ModuleOutOfTime(ULONGLONG startedMs, ULONGLONG nowMs, unsigned limitSeconds) {
    return limitSeconds != 0 && nowMs - startedMs >= 1000ULL * limitSeconds;
}

std::wstring OverrunNote(const std::wstring& testName, unsigned limitSeconds) {
    return testName + L" did not finish within " + std::to_wstring(limitSeconds) + L" seconds\r\n";
}

}  // namespace launcher
