#pragma once
// The decisions of a launch that nobody watches: how a box is answered, which
// exit code a run ends with, and when a test module has run out of time.
#include <windows.h>
#include <string>

namespace launcher {

// The button a person pressing Enter would choose: the box's default button;
// the first one when the default names no button of the box (or only Help).
int DefaultButton(UINT style);

// What an answered box said, for the output pane and the log.
std::wstring AnsweredBoxNote(const std::wstring& caption, const std::wstring& text, int answer);
// The same for a box answered as a person answered it in an earlier cycle.
std::wstring RememberedBoxNote(const std::wstring& caption, const std::wstring& text, int answer);

constexpr wchar_t kHoldIgnoredNote[] =
    L"A test asked the launcher to stay open; unattended, it ends after the run.\r\n";

// Exit codes of an unattended launch besides -1 (every test passed).
constexpr int kExitFailed = 1;
constexpr int kExitStopped = 2;
constexpr int kExitNothingToRun = 3;

struct RunOutcome {
    bool nothingToRun = false;  // no module argument matched, or no catalogue
    int failed = 0;             // "Fail" records of the run
    int stopped = 0;            // "Stopped" records of the run
    bool broken = false;        // the run could not start or end cleanly
};

// A failure outweighs a stop: a notebook with a failed test must not pass as merely stopped.
int ExitCodeFor(const RunOutcome& outcome);

// A limit of 0 seconds is no limit.
bool ModuleOutOfTime(ULONGLONG startedMs, ULONGLONG nowMs, unsigned limitSeconds);
std::wstring OverrunNote(const std::wstring& testName, unsigned limitSeconds);

}  // namespace launcher
