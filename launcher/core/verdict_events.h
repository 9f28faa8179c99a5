#pragma once
// The launcher's events in the platform's Application event log, where the
// tools a fleet already runs (event forwarding, endpoint management) collect
// them: every verdict, and a start that failed. The IDs are those of the
// message table in testdeck.exe (testdeck_events.mc).
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

constexpr wchar_t kEventSource[] = L"Orlix Hardware Diagnostics";
constexpr DWORD kEventPass = 1000;
constexpr DWORD kEventFail = 1001;
constexpr DWORD kEventStopped = 1002;
constexpr DWORD kEventCannotStart = 1003;

struct EventReport {
    WORD type = 0;
    DWORD id = 0;
    std::vector<std::wstring> strings;  // the message's insertion strings %1, %2, ...
};

// %1 the library the launcher cannot start without.
EventReport StartFailureEvent(std::wstring_view libraryPath);

// Events that cannot be reported go to the debugger output and are otherwise
// ignored: an event never changes a verdict and never holds up a run.
void ReportStartFailure(std::wstring_view libraryPath) noexcept;

}  // namespace launcher
