#include "host_dispatcher.h"

#include <algorithm>

#include "launcher_context.h"
#include "module_runner.h"
#include "runner_messages.h"
#include "string_ids.h"
#include "text_util.h"

using namespace hostlink;

namespace launcher {

namespace {

// A null text pointer (the dialog manager's own DM_SETDEFID and DM_REPOSITION,
// or a careless sender) means nothing to print.
template <typename Param>
const wchar_t* TextAt(Param pointer) {
    return reinterpret_cast<const wchar_t*>(pointer);
}
std::wstring TextOrEmpty(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

bool IsEstimate(int estimate) { return estimate != 0 && estimate != -1; }

// The text of an X64Text copy: at most cbData bytes, up to the first NUL.
std::wstring CopiedText(const COPYDATASTRUCT& data) {
    const wchar_t* text = static_cast<const wchar_t*>(data.lpData);
    size_t chars = data.cbData / sizeof(wchar_t);
    return std::wstring(text, std::find(text, text + chars, L'\0'));
}

}  // namespace

X64SetupRecord BuildX64SetupRecord(const std::wstring& programDir, unsigned modeFlags, int repeatCount) {
    X64SetupRecord record{};
    CopyBounded(record.folder, kX64FolderChars, programDir);
    record.modeFlags = static_cast<INT32>(modeFlags);
    record.repeatCount = repeatCount;
    return record;
}

HostDispatcher::HostDispatcher(HostServices services, bool& keepOpen, std::wstring programDir, LaunchPolicy policy)
    : m_services(services), m_keepOpen(keepOpen), m_programDir(std::move(programDir)), m_policy(std::move(policy)) {}

std::optional<LRESULT> HostDispatcher::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const int value = static_cast<int>(lParam);
    switch (message) {
    case msg::kPrintText:
        if (const wchar_t* text = TextAt(lParam); text && PageActive()) m_services.page.AppendText(text);
        return 0;
    case msg::kWriteLog:
        if (const wchar_t* text = TextAt(lParam)) {
            m_services.log.WriteLog(text);
            m_recorder.Log(text);
        }
        return 0;
    case msg::kProgress:
        if (PageActive()) OnProgress(value);
        return 0;
    case msg::kGetAbort:
        return m_abortState;
    case msg::kExitTest:
        OnExitTest();
        return 0;
    case msg::kSetTestCount:
        m_testCount = std::max(1, static_cast<int>(wParam));
        return 0;
    case msg::kSetAbort:
        OnSetAbort();
        return 0;
    case msg::kEnableStopBut:
        if (PageActive()) m_services.page.EnableStartStop(wParam != kDisable);
        return 0;
    case msg::kClearCurrentLog:
        // A module passes 0: only the launcher's own runner may restart the log.
        if (lParam == kClearForce) m_services.log.Restart();
        return 0;
    case msg::kGetLogReady:
        return m_services.log.IsReady() ? 1 : 0;
    case msg::kSaveCurrentLog:
        m_services.log.SaveCurrentLog();
        return 0;
    case msg::kSetSusResLog:
        OnSetSusResLog(wParam, lParam);
        return 0;
    case msg::kSetModuleResult:
        m_moduleResult = value;
        return 0;
    case msg::kPrintColorText:
        if (const wchar_t* text = TextAt(wParam); text && PageActive())
            m_services.page.InsertColoredText(text, static_cast<COLORREF>(lParam));
        return 0;
    case msg::kWriteXml:
        // A verdict without a name is still a verdict: it is written with an empty one.
        RecordVerdict(TextOrEmpty(TextAt(wParam)), value);
        return 0;
    case msg::kWriteXmlSub:
        if (m_policy.burnIn.Active()) m_burnIn.SubResult(static_cast<int>(wParam), value);
        m_services.results.WriteXmlSub(static_cast<int>(wParam), value);
        m_recorder.SubResult(static_cast<int>(wParam), value);
        return 0;
    case msg::kReportFaultPoints:
        return m_recorder.FaultPoints(static_cast<int>(wParam), reinterpret_cast<const FaultPointsRecord*>(lParam));
    case msg::kStartRun:
        OnStartRun(value);
        return 0;
    case msg::kSelectPage:
        m_abortState = kAbortNone;
        m_activePageKind = value;
        if (PageActive()) m_services.page.ResetDisplay();
        return 0;
    case msg::kResetAbort:
        m_abortState = kAbortNone;
        return 0;
    case msg::kShowMyMessageBox:
        return OnShowMessageBox(reinterpret_cast<const MessageBoxRecord*>(lParam));
    case msg::kSetItemList:
        OnSetItemList(reinterpret_cast<const ItemListRecord*>(lParam));
        return 0;
    case msg::kSelectTest:
        m_services.window.SelectTest(value);
        return 0;
    case msg::kPrintEstimateTestTime:
        if (PageActive()) OnEstimate(value);
        return 0;
    case msg::kHoldWindow:
        // Nobody would be there to close the window.
        if (m_policy.unattended)
            Note(kHoldIgnoredNote);
        else
            m_keepOpen = true;
        return 0;
    case msg::kSetRepeatAbort:
        if (m_policy.burnIn.Active()) OnRepeatAbort();
        return 0;
    case msg::kReserved7:
    case msg::kClearUIText:
    case msg::kSetEditBoxBKColor:
    case msg::kCloseAuxWindow:
    case msg::kReserved120:
        return 0;
    case msg::kX64Hello:
        return OnX64Hello(reinterpret_cast<HWND>(wParam));
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case runner_msg::kModuleStarted:
        OnModuleStarted(reinterpret_cast<const RunRow*>(lParam));
        return 0;
    case runner_msg::kCycleStarted:
        OnCycleStarted(static_cast<int>(wParam));
        return 0;
    case runner_msg::kModuleReturned:
        m_moduleUnderWay.reset();
        StopWatchdog();
        return 0;
    case runner_msg::kModuleCrashed:
        OnModuleCrashed(reinterpret_cast<const ModuleCrash*>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kWatchdogTimerId) {
            OnWatchdogTick();
            return 0;
        }
        if (wParam != kFinishTimerId) return std::nullopt;
        OnFinishTimer();
        return 0;
    default:
        return std::nullopt;
    }
}

void HostDispatcher::OnProgress(int value) {
    ISuitePage& page = m_services.page;
    if (m_policy.burnIn.Active()) {
        ShowBurnInProgress(value);
        return;
    }
    if (value == kProgressDone) {
        page.SetProgress(100);
        page.ShowEstimateLabel(false);
        return;
    }
    if (value == kProgressRestart) {
        page.SetProgress(0);
        if (int estimate = page.Estimate(); IsEstimate(estimate)) {
            page.SetEstimateText(estimate);
            page.ShowEstimateLabel(true);
        }
        m_hostProgressOffset = 0;
        return;
    }
    const long long divisor = static_cast<long long>(kRepeatCount) * m_testCount;
    const int percent = static_cast<int>(std::clamp((m_hostProgressOffset + value) / divisor, 0LL, 100LL));
    if (value == 100) m_hostProgressOffset += 100;
    page.SetProgress(percent);
    ShowEstimateFor(percent);
}

// A module's own 100 % (or "done") is only a step: the bar covers the whole
// burn-in and shows 100 at its end alone.
void HostDispatcher::ShowBurnInProgress(int value) {
    long long units = m_cycleProgress;
    if (value == kProgressRestart)
        m_cycleProgress = units = 0;
    else if (value != kProgressDone)
        units += value;
    if (value == 100) m_cycleProgress += 100;
    const int percent = BurnInPercent(m_policy.burnIn, m_burnIn.Cycle(), units, m_testCount,
                                      ::GetTickCount64() - m_burnInStart);
    m_services.page.SetProgress(percent);
    ShowEstimateFor(percent);
}

void HostDispatcher::OnCycleStarted(int cycle) {
    const ULONGLONG now = ::GetTickCount64();
    m_burnIn.CycleStarted(cycle, now);
    m_cycleProgress = 0;
    const std::wstring line = CycleLine(m_policy.burnIn, cycle, now - m_burnInStart, m_policy.loadString);
    if (PageActive()) m_services.page.AppendText(line);
    m_services.log.WriteLogWhenOpen(line);
    m_services.results.SetCycle(cycle);
    m_recorder.SetCycle(cycle);
    if (PageActive()) ShowBurnInProgress(0);
}

// The module under way asked that no further cycle start.
void HostDispatcher::OnRepeatAbort() {
    if (m_burnIn.EndRequestedBy() || !m_services.runner.Exists()) return;
    const std::wstring module = m_moduleUnderWay ? m_moduleUnderWay->displayName : std::wstring();
    m_burnIn.EndRequestedBy(module);
    m_services.runner.EndAfterCycle();
    Note(FillIn(m_policy.loadString ? m_policy.loadString(ids::kBurnInEndRequested) : L"", {module}) + L"\r\n");
}

// The summary goes to the pane and the log before the log closes, and the end
// event pairs the start event: a start without an end is a machine that went down.
void HostDispatcher::FinishBurnIn() {
    if (!m_policy.burnIn.Active()) return;
    m_burnIn.End(::GetTickCount64());
    const std::wstring summary = SummaryText(m_burnIn, m_policy.loadString);
    Guarded([&] { Note(summary); });
    if (m_policy.reportEvent) m_policy.reportEvent(BurnInEndEvent(BurnInEndType(m_burnIn, m_userAborted), summary));
}

void HostDispatcher::ShowEstimateFor(int percent) {
    ISuitePage& page = m_services.page;
    if (percent == 100) {
        page.ShowEstimateLabel(false);
        return;
    }
    int estimate = page.Estimate();
    if (estimate == 0 && percent != 0) estimate = 1;
    if (!IsEstimate(estimate)) return;
    page.SetEstimateText(estimate);
    page.ShowEstimateLabel(true);
}

void HostDispatcher::OnEstimate(int estimate) {
    ISuitePage& page = m_services.page;
    page.StoreEstimate(estimate);
    if (IsEstimate(estimate) && page.Percentage() != 100) page.SetEstimateText(estimate);
}

void HostDispatcher::OnExitTest() {
    StopWatchdog();
    Guarded([&] { FinishBurnIn(); });
    Guarded([&] { m_services.log.CloseAndWriteHistory(m_userAborted, m_moduleResult); });
    ShowRunFinished();
    Guarded([&] { m_services.window.EndRunSession(); });
    HandOffRunner();
}

void HostDispatcher::ShowRunFinished() {
    ISuitePage& page = m_services.page;
    Guarded([&] {
        page.EnableStartStop(false);
        page.SetPageState(TPageState::Finished);
        page.SetProgress(100);
        page.ShowEstimateLabel(false);
    });
}

void HostDispatcher::OnSetAbort() {
    m_services.page.EnableStartStop(false);
    HandOffRunner();
    m_abortState = kAbortRequested;
    if (m_services.runner.Exists()) m_services.runner.RequestStop();
    m_userAborted = true;
}

void HostDispatcher::OnStartRun(int entryIndex) {
    // A second runner would orphan the first while its thread still runs.
    if (m_services.runner.Exists() || m_crashed) return;
    m_hostProgressOffset = 0;
    m_userAborted = false;
    m_moduleResult = 0;
    m_runOpen = true;
    m_runFailed = false;
    m_outcome = {};
    m_recorder.BeginRun();
    m_runState = TRunState::Running;
    if (m_policy.burnIn.Active()) {
        m_burnIn.Begin();
        m_burnInStart = ::GetTickCount64();
        Guarded([&] {
            if (m_policy.reportEvent)
                m_policy.reportEvent(BurnInStartEvent(m_policy.burnIn.Switches(), m_services.window.RunTestNames()));
        });
    }
    bool started = false;
    Guarded([&] { started = m_services.window.StartRun(entryIndex); });
    if (!started) EndUnstartedRun();
}

// No runner thread: nothing ran, and no ExitTest will come. Every test of the
// run is recorded as failed and the run ends at once.
void HostDispatcher::EndUnstartedRun() {
    m_runFailed = true;
    m_moduleResult = kModuleFailed;
    Guarded([&] {
        for (const std::wstring& name : m_services.window.RunTestNames()) RecordVerdict(name, kResultFail);
    });
    OnExitTest();
}

void HostDispatcher::RecordVerdict(const std::wstring& testName, int resultIndex) {
    if (resultIndex == kResultStopped)
        ++m_outcome.stopped;
    else if (resultIndex != kResultPass)
        ++m_outcome.failed;  // the result file shows any other index as "Fail"
    m_recorder.Verdict(testName, resultIndex);
    if (m_policy.burnIn.Active()) m_burnIn.Verdict(testName, resultIndex);
    m_services.results.WriteXml(testName, resultIndex);
}

void HostDispatcher::Note(const std::wstring& line) {
    if (PageActive()) m_services.page.AppendText(line);
    m_services.log.WriteLog(line);
    m_recorder.Log(line);
}

void HostDispatcher::WriteRunReport(TRunVerdict verdict) noexcept {
    if (!m_services.report) return;
    try {
        RunReport report = m_recorder.Report(verdict);
        for (const CycleResult& cycle : m_burnIn.Cycles())
            report.cycles.push_back(CycleSummary{cycle.cycle, cycle.passed, cycle.failed, cycle.stopped});
        m_services.report->WriteReport(std::move(report));
    } catch (...) {
        // A report that cannot be made never changes the run.
    }
}

void HostDispatcher::OnModuleStarted(const RunRow* row) {
    if (!row) return;
    m_services.results.BeginTest(row->displayName);
    m_moduleUnderWay = *row;
    m_lastTestName = row->displayName;
    m_recorder.BeginTest(row->displayName);
    if (m_policy.timeLimitSeconds == 0) return;
    m_timedModule = *row;
    m_timedModuleStart = ::GetTickCount64();
    m_services.timers.Set(kWatchdogTimerId, kWatchdogPeriod);
}

void HostDispatcher::StopWatchdog() {
    if (!m_timedModule) return;
    m_timedModule.reset();
    m_services.timers.Kill(kWatchdogTimerId);
}

// A module that does not return cannot be unloaded safely, and its thread
// cannot be waited for: the test is recorded as failed with what it reported
// so far, the files are completed, and the process ends without the thread.
void HostDispatcher::OnWatchdogTick() {
    if (!m_timedModule || !ModuleOutOfTime(m_timedModuleStart, ::GetTickCount64(), m_policy.timeLimitSeconds)) return;
    const RunRow row = *m_timedModule;
    StopWatchdog();
    Guarded([&] { RecordVerdict(row.displayName, kResultFail); });
    Guarded([&] { ReportTestTelemetry(m_policy.reportTelemetry, row.moduleFile, kModuleFailed); });
    Guarded([&] { Note(OverrunNote(row.displayName, m_policy.timeLimitSeconds)); });
    CompleteAbandonedRun();
    m_services.process.Abandon(kExitFailed);
}

// A crashed module cannot be trusted to be unloaded, and the thread that
// crashed never goes on: the test under way is recorded as failed with what it
// reported so far and the run's files are completed. Unattended the process
// ends; attended the window stays as after a failure, but nothing more runs.
void HostDispatcher::OnModuleCrashed(const ModuleCrash* crash) {
    // A second crash (another thread of the module) changes nothing.
    if (!crash || m_crashed) return;
    m_crashed = true;
    const std::optional<RunRow> row = m_moduleUnderWay;
    StopWatchdog();
    if (row) {
        Guarded([&] { RecordVerdict(row->displayName, kResultFail); });
        Guarded([&] { ReportTestTelemetry(m_policy.reportTelemetry, row->moduleFile, kModuleFailed); });
    }
    Guarded([&] { Note(CrashNote(m_lastTestName, *crash)); });
    CompleteAbandonedRun();
    if (m_policy.unattended) {
        m_services.process.Abandon(kExitFailed);
        return;
    }
    m_keepOpen = true;
    m_runOpen = false;
    m_runState = TRunState::Idle;
    ShowRunFinished();
    Guarded([&] { m_services.window.EnableClose(); });
}

// The end of a run whose module will not return: its files are completed here.
void HostDispatcher::CompleteAbandonedRun() {
    Guarded([&] { FinishBurnIn(); });
    Guarded([&] { m_services.log.CloseAndWriteHistory(m_userAborted, kModuleFailed); });
    Guarded([&] { m_services.window.EndRunSession(); });
    Guarded([&] { m_services.results.CloseResultFile(); });
    WriteRunReport(TRunVerdict::Incomplete);
}

void HostDispatcher::OnSetSusResLog(WPARAM folderGiven, LPARAM folder) {
    if (folderGiven == kLogFolderFromSettings) {
        m_services.log.SetSusResLog();
        return;
    }
    if (const char* text = reinterpret_cast<const char*>(folder)) m_services.log.SetSusResLog(text);
}

void HostDispatcher::OnSetItemList(const ItemListRecord* record) {
    if (!record) return;
    // The sender's record is only valid during the call: the texts are copied, its address is not kept.
    const int count = std::clamp<int>(record->count, 0, kItemListSlots);
    m_items.count = count;
    for (int i = 0; i < kItemListSlots; ++i) m_items.items[i] = i < count ? TextOrEmpty(record->items[i]) : L"";
    m_items.given = count > 0;
}

LRESULT HostDispatcher::OnShowMessageBox(const MessageBoxRecord* record) {
    if (!record) return 0;
    return m_services.window.ShowMessageBox(TextOrEmpty(record->text), TextOrEmpty(record->caption), record->style);
}

LRESULT HostDispatcher::OnX64Hello(HWND bridge) {
    m_bridgeWindow = bridge;
    X64SetupRecord record = BuildX64SetupRecord(m_programDir, m_services.window.ModeFlags(), kRepeatCount);
    m_services.window.SendCopyData(bridge, copydata::kX64Setup, &record, sizeof record);
    m_services.window.SendTo(bridge, msg::kX64Start, 0, 0);
    return kX64Answer;
}

std::optional<LRESULT> HostDispatcher::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data) return std::nullopt;
    switch (data->dwData) {
    case copydata::kX64Text:
        if (data->lpData && PageActive()) m_services.page.AppendText(CopiedText(*data));
        return kX64Answer;
    case copydata::kX64Done:
        return kX64Answer;
    default:
        return std::nullopt;
    }
}

// The runner is normally blocked sending the very message being handled, so
// it is given a short moment only; timer 1 finishes the run once it has ended.
void HostDispatcher::HandOffRunner() {
    m_runState = TRunState::Idle;
    IRunner& runner = m_services.runner;
    if (!runner.Exists()) {
        if (m_runOpen) FinishRun();
        return;
    }
    if (runner.WaitForEnd(kRunnerHandOffWait)) {
        FinishRun();
        return;
    }
    m_abortState = kAbortRequested;
    m_services.timers.Set(kFinishTimerId, kFinishTimerPeriod);
    m_finishTimerSet = true;
}

void HostDispatcher::OnFinishTimer() {
    // A tick already queued when the timer was killed must not finish the run twice.
    if (!m_finishTimerSet) return;
    // Whether the thread has ended is asked of the thread itself: a run result
    // of 259 would look like a thread that is still active.
    if (m_services.runner.Exists() && !m_services.runner.WaitForEnd(0)) return;
    FinishRun();
}

// The runner has ended (or is gone): the same end whether it was seen within
// the hand-off wait or by timer 1.
void HostDispatcher::FinishRun() {
    IRunner& runner = m_services.runner;
    m_runOpen = false;
    int runResult = kModulePassed;
    Guarded([&] {
        if (!runner.Exists()) return;
        runResult = static_cast<int>(runner.ExitCode());
        runner.Delete();
    });
    if (m_finishTimerSet) {
        m_services.timers.Kill(kFinishTimerId);
        m_finishTimerSet = false;
    }
    Guarded([&] { m_services.results.CloseResultFile(); });
    WriteRunReport(RunVerdictFor(RunOutcome{m_outcome.nothingToRun, m_outcome.failed, m_outcome.stopped,
                                            m_outcome.broken || m_runFailed},
                                 m_userAborted, true));
    Guarded([&] { m_services.window.EnableClose(); });
    Guarded([&] { m_services.page.OfferNextRun(); });
    if (m_policy.unattended) {
        // A run result the records do not explain still fails the run.
        m_outcome.broken |= m_runFailed || (runResult != kModulePassed && runResult != kModuleStopped);
        // Kept open by -h, the run's code is still the launch's, however the window is closed.
        m_closeExitCode = ExitCodeFor(m_outcome);
        if (!m_keepOpen) m_services.process.Exit(m_closeExitCode);
        return;
    }
    if (runResult != kModulePassed || m_runFailed) m_keepOpen = true;
    if (!m_keepOpen) m_services.process.Exit(kLauncherExitCode);
}

}  // namespace launcher
