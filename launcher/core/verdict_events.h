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
constexpr DWORD kEventBurnInStarted = 1004;
constexpr DWORD kEventBurnInEnded = 1005;
constexpr DWORD kEventFolderRefused = 1006;
constexpr DWORD kEventResultFileSetAside = 1007;

// One sub-result as a module reported it.
struct SubResult {
    int number = 0;
    int resultIndex = 0;  // 1..3
    std::wstring when;    // as the result file writes it
};

struct EventReport {
    WORD type = 0;
    DWORD id = 0;
    std::vector<std::wstring> strings;  // the message's insertion strings %1, %2, ...
};

// %1 the test, %2 its result, %3 one line per sub-result ("Test 2: Fail"),
// %4 the model name, %5 the result file (empty: the record could not be written),
// %6 the run's report page (empty: none is written).
EventReport VerdictEvent(std::wstring_view test, int resultIndex, const std::vector<SubResult>& subResults,
                         std::wstring_view modelName, std::wstring_view resultFile, std::wstring_view reportFile = {});
// %1 the library the launcher cannot start without.
EventReport StartFailureEvent(std::wstring_view libraryPath);

// %1 the folder refused, %2 why (English, as the other events' texts).
EventReport FolderRefusedEvent(std::wstring_view folder, std::wstring_view reason);
// %1 the result file, %2 the name it was set aside under.
EventReport ResultFileSetAsideEvent(std::wstring_view resultFile, std::wstring_view setAside);
// %1 the burn-in's switches, %2 its tests, one a line.
EventReport BurnInStartEvent(std::wstring_view switches, const std::vector<std::wstring>& tests);
// %1 the summary of the pane and the log.
EventReport BurnInEndEvent(WORD type, std::wstring_view summary);

// Events that cannot be reported go to the debugger output and are otherwise
// ignored: an event never changes a verdict and never holds up a run.
void ReportStartFailure(std::wstring_view libraryPath) noexcept;
void ReportEvent(const EventReport& report) noexcept;

// Where each final verdict goes besides the result file.
class IVerdictSink {
public:
    virtual ~IVerdictSink() = default;
    virtual void ReportVerdict(std::wstring_view test, int resultIndex, const std::vector<SubResult>& subResults,
                               std::wstring_view resultFile) noexcept = 0;
    // What happened to the result file's folder or the file itself.
    virtual void ReportNotice(const EventReport& report) noexcept = 0;
};

class EventLogSink : public IVerdictSink {
public:
    void SetModelName(std::wstring modelName) { m_modelName = std::move(modelName); }
    void SetReportFile(std::wstring reportFile) { m_reportFile = std::move(reportFile); }
    // A burn-in reports only the tests that did not pass: thousands of passes would flood the log.
    void ReportPasses(bool report) { m_reportPasses = report; }
    void ReportVerdict(std::wstring_view test, int resultIndex, const std::vector<SubResult>& subResults,
                       std::wstring_view resultFile) noexcept override;
    void ReportNotice(const EventReport& report) noexcept override { ReportEvent(report); }

private:
    std::wstring m_modelName;
    std::wstring m_reportFile;
    bool m_reportPasses = true;
};

}  // namespace launcher
