#pragma once
// The diagnostics dialog's side of the host message protocol: what every
// message does and answers, host-side progress, the end of a run and the abort.
// Window-free: it acts only through the interfaces of host_interfaces.h.
#include <windows.h>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "crash_handler.h"
#include "burn_in.h"
#include "host_interfaces.h"
#include "hostlink/protocol.h"
#include "run_recorder.h"
#include "test_catalogue.h"
#include "unattended.h"
#include "verdict_events.h"

namespace launcher {

enum class TRunState { Running = 1, Idle = 3 };

// Timer 1 polls the runner after the end of a run.
constexpr UINT_PTR kFinishTimerId = 1;
constexpr UINT kFinishTimerPeriod = 300;
// The dialog never waits longer inside a message: the runner may be blocked sending it.
constexpr DWORD kRunnerHandOffWait = 20;
// How often a run repeats its list; handed to the runner as well.
constexpr int kRepeatCount = 1;
// Timer 2 watches the test module under way while a time limit is set.
constexpr UINT_PTR kWatchdogTimerId = 2;
constexpr UINT kWatchdogPeriod = 1000;

// What the command line asked of this launch.
struct LaunchPolicy {
    bool unattended = false;         // no box waits for a person, and a run always ends the process
    unsigned timeLimitSeconds = 0;   // per test module; 0 = no limit
    // (category, verdict) to the statistics agent, for a test that ran out of time
    std::function<void(const std::wstring&, const std::wstring&)> reportTelemetry;
    BurnInPlan burnIn;                                 // a burn-in run: cycle lines, summary, start and end events
    StringLoader loadString;                           // the launcher's texts
    std::function<void(const EventReport&)> reportEvent;  // a burn-in's start and end events
};

// What SetItemList stored; nothing in the launcher reads it.
struct ItemList {
    int count = 0;
    std::array<std::wstring, hostlink::kItemListSlots> items{};
    bool given = false;
};

// The 64-bit host's set-up record for this launcher.
hostlink::X64SetupRecord BuildX64SetupRecord(const std::wstring& programDir, unsigned modeFlags, int repeatCount);

class HostDispatcher {
public:
    // `keepOpen` is the launcher's process-wide flag.
    HostDispatcher(HostServices services, bool& keepOpen, std::wstring programDir, LaunchPolicy policy = {});

    // The answer to a protocol message, the runner's module notices, WM_TIMER
    // of timers 1 and 2 or the 64-bit host's WM_COPYDATA; nothing for any other
    // message, which then gets the default handling.
    std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT AbortState() const { return m_abortState; }
    TRunState RunState() const { return m_runState; }
    int ActivePageKind() const { return m_activePageKind; }
    const ItemList& Items() const { return m_items; }
    HWND BridgeWindow() const { return m_bridgeWindow; }
    // A module crashed: it stays loaded and its thread stopped, so the process
    // must end without unloading it, and no further run may start.
    bool ModuleCrashed() const { return m_crashed; }
    // The process's exit code when the window is closed: the unattended run's
    // code (-h kept it open), else 0.
    int CloseExitCode() const { return m_closeExitCode; }
    // What the burn-in did so far, cycle by cycle (empty outside a burn-in).
    const BurnInTally& BurnIn() const { return m_burnIn; }

    // A line for the output pane and, when one is open, the log.
    void Note(const std::wstring& line);

    // Writes the run's report page, with a burn-in's cycles; called wherever the
    // run's files are completed.


    void WriteRunReport(TRunVerdict verdict) noexcept;
    RunRecorder& Recorder() { return m_recorder; }

private:
    bool PageActive() const { return m_activePageKind == hostlink::kSuitePage; }
    void OnProgress(int value);
    void OnEstimate(int estimate);
    void ShowEstimateFor(int percent);
    void OnExitTest();
    void ShowRunFinished();
    void OnSetAbort();
    void OnStartRun(int entryIndex);
    void OnSetSusResLog(WPARAM folderGiven, LPARAM folder);
    void OnSetItemList(const hostlink::ItemListRecord* record);
    LRESULT OnShowMessageBox(const hostlink::MessageBoxRecord* record);
    LRESULT OnX64Hello(HWND bridge);
    std::optional<LRESULT> OnCopyData(const COPYDATASTRUCT* data);
    void HandOffRunner();
    void OnFinishTimer();
    void FinishRun();
    void EndUnstartedRun();
    void RecordVerdict(const std::wstring& testName, int resultIndex);
    void OnModuleStarted(const RunRow* row);
    void StopWatchdog();
    void OnCycleStarted(int cycle);
    void OnRepeatAbort();
    void ShowBurnInProgress(int value);
    void FinishBurnIn();
    void OnWatchdogTick();
    void OnModuleCrashed(const ModuleCrash* crash);
    void CompleteAbandonedRun();
    // Runs one step of a run's start or end. A step that throws makes the run
    // a failed one instead of leaving it half ended; the steps after it still run.
    template <typename Step>
    void Guarded(Step step) noexcept {
        try {
            step();
        } catch (...) {
            m_runFailed = true;
        }
    }

    HostServices m_services;
    bool& m_keepOpen;
    std::wstring m_programDir;
    LaunchPolicy m_policy;

    LRESULT m_abortState = hostlink::kAbortNone;
    int m_activePageKind = hostlink::kSuitePage;
    int m_testCount = 1;  // never 0: a factor of the progress divisor
    long long m_hostProgressOffset = 0;
    TRunState m_runState = TRunState::Idle;
    bool m_userAborted = false;
    int m_moduleResult = 0;
    bool m_finishTimerSet = false;
    bool m_runOpen = false;    // from StartRun until the run has been finished
    bool m_runFailed = false;  // the run could not start or end cleanly
    ItemList m_items;
    HWND m_bridgeWindow = nullptr;
    RunOutcome m_outcome;                   // the verdicts of the run so far
    RunRecorder m_recorder;                 // what the run's report shows
    std::optional<RunRow> m_timedModule;    // the test module under way while a limit is set
    ULONGLONG m_timedModuleStart = 0;
    std::optional<RunRow> m_moduleUnderWay;  // from its start until StartTest returned
    std::wstring m_lastTestName;
    bool m_crashed = false;
    int m_closeExitCode = 0;
    BurnInTally m_burnIn;
    ULONGLONG m_burnInStart = 0;
    long long m_cycleProgress = 0;  // module progress of the cycle under way, 100 per finished module
};

}  // namespace launcher
