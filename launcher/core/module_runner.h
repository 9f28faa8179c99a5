#pragma once
// Runs the rows of a run list one after another and reports each verdict. The
// decisions live here; how modules are started and how the dialog is told are
// the two seams below, so tests can run the loop without modules or windows.
#include <windows.h>
#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "burn_in.h"
#include "result_writer.h"
#include "test_catalogue.h"

namespace launcher {

constexpr int kRunnerGoOn = 259;  // the runner's state while the run may go on
constexpr int kRunnerStop = 1;

using hostlink::kModuleFailed;
using hostlink::kModulePassed;
using hostlink::kModuleStopped;
using hostlink::kModuleStoppedAlternative;

// What the runner tells the dialog, in the order it happens.
class RunnerPort {
public:
    virtual ~RunnerPort() = default;
    virtual void SetTestCount(int count) = 0;
    virtual void PrintText(const std::wstring& text) = 0;
    virtual void WriteLog(const std::wstring& text) = 0;
    virtual void WriteXml(const std::wstring& testName, int resultIndex) = 0;
    virtual void SetModuleResult(int runResult) = 0;
    virtual void ExitTest() = 0;
    // A warning box owned by the dialog.
    virtual void ShowWarning(const std::wstring& text, const std::wstring& caption) = 0;
    // Around each test module's run, so that the dialog can time it.
    virtual void ModuleStarted(const RunRow& row) = 0;
    virtual void ModuleReturned() = 0;
    // A burn-in's cycle (from 1) begins: its line is shown and its records carry the number.
    virtual void CycleStarted(int /*cycle*/) {}
};

// How modules are started.
class ModuleStarter {
public:
    virtual ~ModuleStarter() = default;
    // Loads the library, calls its StartTest and frees it; nothing when the
    // library cannot be loaded or has no StartTest.
    virtual std::optional<int> CallStartTest(const std::wstring& libraryPath, unsigned flags, int count) = 0;
    // Starts the 64-bit module host and waits for it; nothing when it cannot start.
    virtual std::optional<int> RunBridge(const std::wstring& commandLine) = 0;
    virtual bool FileExists(const std::wstring& path) = 0;
    // Makes the launcher's language library current again (a module may have changed it).
    virtual void RestoreResources() = 0;
};

// Reports (category, verdict) to the statistics agent.
using TelemetryReport = std::function<void(const std::wstring&, const std::wstring&)>;

struct RunnerSettings {
    std::wstring programDir;  // with a trailing backslash
    int processorArchitecture = 0;
    unsigned modeFlags = 0;
    int repeatCount = 1;
    HWND hostWindow = nullptr;  // only its number goes on the bridge's command line
    std::function<std::wstring(unsigned)> loadString;
    TelemetryReport reportTelemetry;
    BurnInPlan burnIn;
    std::function<ULONGLONG()> clock = ::GetTickCount64;  // milliseconds
};

// The category the statistics agent files a module under: CDROM.dll gives CD,
// hdd.dll Harddisk; empty when the name has no dot.
std::wstring TelemetryCategory(const std::wstring& moduleFile);
std::wstring TelemetryVerdict(int moduleResult);
// One event for the test of `moduleFile`; none for the optical checker's category.
void ReportTestTelemetry(const TelemetryReport& report, const std::wstring& moduleFile, int moduleResult);

class ModuleRunner {
public:
    ModuleRunner(RunnerSettings settings, RunnerPort& port, ModuleStarter& starter)
        : m_settings(std::move(settings)), m_port(port), m_starter(starter) {}

    // Runs every row and returns the run result: 0 when every test passed,
    // otherwise the code of the last test that did not pass. An exception
    // passes on, after the row under way has been recorded as failed.
    int RunList(const RunList& list);

    // Asked from the dialog's thread: no further test starts.
    void RequestStop() { m_state = kRunnerStop; }
    bool StopRequested() const { return m_state != kRunnerGoOn; }
    // Asked from the dialog's thread in a burn-in: no further cycle starts.
    void RequestEndAfterCycle() { m_endAfterCycle = true; }

private:
    int RunRows(const launcher::RunList& list);
    void Record(const std::wstring& testName, int resultIndex);
    int CallModule(const std::wstring& moduleFile, unsigned flags, int count);
    void PrintSeparator();
    void CloseSummary(bool stopped, int result, bool sdRun);
    std::wstring Text(unsigned id) const;

    RunnerSettings m_settings;
    RunnerPort& m_port;
    ModuleStarter& m_starter;
    std::atomic<int> m_state{kRunnerGoOn};
    std::atomic<bool> m_endAfterCycle{false};
    std::optional<std::wstring> m_unrecordedRow;  // the row under way until its verdict is written
};

}  // namespace launcher
