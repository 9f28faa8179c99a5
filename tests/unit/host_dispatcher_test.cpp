// The dialog's side of the host protocol, driven without a window: one
// recorder stands in for the page, the dialog, the log, the result file, the
// runner, the timers and the process, and the calls it saw are compared with
// tables of what must happen.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "host_dispatcher.h"
#include "runner_messages.h"

using namespace launcher;
using namespace hostlink;

namespace {

using Calls = std::vector<std::wstring>;

class Recorder : public ISuitePage,
                 public IDiagnosticsWindow,
                 public ICurrentLog,
                 public IResultFile,
                 public IRunner,
                 public ITimers,
                 public IProcessExit {
public:
    Calls calls;
    int percentage = 0;
    int estimate = -1;
    bool logReady = true;
    bool runnerExists = false;
    bool runnerEnded = false;
    bool runnerStarts = true;
    std::wstring throwOn;  // a call that begins with this throws once recorded
    DWORD exitCode = STILL_ACTIVE;
    int boxAnswer = IDYES;
    unsigned modeFlags = 0;
    std::vector<BYTE> copied;

    HostServices Services() { return {*this, *this, *this, *this, *this, *this, *this}; }

    // Calls whose text begins with `prefix`.
    Calls Only(const std::wstring& prefix) const {
        Calls out;
        for (const auto& c : calls)
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        return out;
    }

private:
    void Add(const std::wstring& call) {
        calls.push_back(call);
        if (!throwOn.empty() && call.rfind(throwOn, 0) == 0) throw std::runtime_error("scripted failure");
    }
    static std::wstring N(long long value) { return std::to_wstring(value); }

    void AppendText(const std::wstring& text) override { Add(L"page.AppendText " + text); }
    void InsertColoredText(const std::wstring& text, COLORREF colour) override {
        Add(L"page.InsertColoredText " + text + L" " + N(colour));
    }
    void SetProgress(int percent) override {
        percentage = percent;
        Add(L"page.SetProgress " + N(percent));
    }
    int Percentage() const override { return percentage; }
    int Estimate() const override { return estimate; }
    void StoreEstimate(int value) override {
        estimate = value;
        Add(L"page.StoreEstimate " + N(value));
    }
    void SetEstimateText(int value) override { Add(L"page.SetEstimateText " + N(value)); }
    void ShowEstimateLabel(bool show) override { Add(L"page.ShowEstimateLabel " + N(show)); }
    void EnableStartStop(bool enable) override { Add(L"page.EnableStartStop " + N(enable)); }
    void SetPageState(TPageState state) override { Add(L"page.SetPageState " + N(static_cast<int>(state))); }
    void ResetDisplay() override { Add(L"page.ResetDisplay"); }
    void OfferNextRun() override { Add(L"page.OfferNextRun"); }

    bool StartRun(int entryIndex) override {
        Add(L"window.StartRun " + N(entryIndex));
        runnerExists = runnerStarts;
        return runnerStarts;
    }
    std::vector<std::wstring> RunTestNames() const override { return {L"Video", L"Audio"}; }
    void SelectTest(int entryIndex) override { Add(L"window.SelectTest " + N(entryIndex)); }
    void EndRunSession() override { Add(L"window.EndRunSession"); }
    void EnableClose() override { Add(L"window.EnableClose"); }
    int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT style) override {
        Add(L"window.ShowMessageBox " + text + L"|" + caption + L"|" + N(style));
        return boxAnswer;
    }
    unsigned ModeFlags() const override { return modeFlags; }
    void SendCopyData(HWND target, ULONG_PTR kind, const void* data, DWORD bytes) override {
        copied.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + bytes);
        Add(L"window.SendCopyData " + N(reinterpret_cast<LONG_PTR>(target)) + L" " + N(kind) + L" " + N(bytes));
    }
    void SendTo(HWND target, UINT message, WPARAM wParam, LPARAM lParam) override {
        Add(L"window.SendTo " + N(reinterpret_cast<LONG_PTR>(target)) + L" " + N(message) + L" " + N(wParam) + L" " +
            N(lParam));
    }

    void WriteLog(std::wstring_view text) override { Add(L"log.WriteLog " + std::wstring(text)); }
    void Restart() override { Add(L"log.Restart"); }
    bool IsReady() const override { return logReady; }
    void SaveCurrentLog() override { Add(L"log.SaveCurrentLog"); }
    void SetSusResLog() override { Add(L"log.SetSusResLog"); }
    void SetSusResLog(const char* ansiFolder) override {
        Add(L"log.SetSusResLog " + std::wstring(ansiFolder, ansiFolder + strlen(ansiFolder)));
    }
    void CloseAndWriteHistory(bool userStopped, int runResult) override {
        Add(L"log.CloseAndWriteHistory " + N(userStopped) + L" " + N(runResult));
    }

    void WriteXml(std::wstring_view name, int resultIndex) override {
        Add(L"results.WriteXml " + std::wstring(name) + L" " + N(resultIndex));
    }
    void WriteXmlSub(int number, int resultIndex) override {
        Add(L"results.WriteXmlSub " + N(number) + L" " + N(resultIndex));
    }
    void BeginTest(std::wstring_view) override {}
    void CloseResultFile() override { Add(L"results.CloseResultFile"); }

    bool Exists() const override { return runnerExists; }
    bool WaitForEnd(DWORD milliseconds) override {
        Add(L"runner.WaitForEnd " + N(milliseconds));
        return runnerEnded;
    }
    DWORD ExitCode() const override { return exitCode; }
    void RequestStop() override { Add(L"runner.RequestStop"); }
    void EndAfterCycle() override { Add(L"runner.EndAfterCycle"); }
    void Delete() override {
        runnerExists = false;
        Add(L"runner.Delete");
    }

    void Set(UINT_PTR id, UINT milliseconds) override { Add(L"timers.Set " + N(id) + L" " + N(milliseconds)); }
    void Kill(UINT_PTR id) override { Add(L"timers.Kill " + N(id)); }

    void Exit(int code) override { Add(L"process.Exit " + N(code)); }
    void Abandon(int code) override { Add(L"process.Abandon " + N(code)); }
};

class HostDispatcherTest : public testing::Test {
protected:
    std::optional<LRESULT> Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return dispatcher.Handle(message, wParam, lParam);
    }
    std::optional<LRESULT> SendText(UINT message, const wchar_t* text) {
        return Send(message, 0, reinterpret_cast<LPARAM>(text));
    }
    void Progress(std::initializer_list<int> values) {
        for (int v : values) Send(msg::kProgress, 0, v);
    }
    // A run whose runner thread is still busy sending the end message.
    void StartRunningRun() {
        Send(msg::kStartRun, 0, 4);
        fake.calls.clear();
    }

    Recorder fake;
    bool keepOpen = false;
    HostDispatcher dispatcher{fake.Services(), keepOpen, L"C:\\Orlix\\"};
};

const Calls kEndOfRunStart = {
    L"log.CloseAndWriteHistory 0 0", L"page.EnableStartStop 0", L"page.SetPageState 3", L"page.SetProgress 100",
    L"page.ShowEstimateLabel 0",     L"window.EndRunSession",
};
const Calls kFinish = {L"results.CloseResultFile", L"window.EnableClose", L"page.OfferNextRun"};

Calls Join(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

}  // namespace

TEST_F(HostDispatcherTest, ProgressOfTwoModulesAccumulatesCompletedSteps) {
    Send(msg::kSetTestCount, 2);
    Progress({50, 100, 50, 100});
    EXPECT_EQ(fake.Only(L"page.SetProgress"), (Calls{L"page.SetProgress 25", L"page.SetProgress 50",
                                                      L"page.SetProgress 75", L"page.SetProgress 100"}));
}

TEST_F(HostDispatcherTest, DoneKeepsTheOffsetAndRestartClearsIt) {
    Send(msg::kSetTestCount, 2);
    Progress({100, -1, 50});
    EXPECT_EQ(fake.Only(L"page.SetProgress"),
              (Calls{L"page.SetProgress 50", L"page.SetProgress 100", L"page.SetProgress 75"}));
    fake.calls.clear();
    Progress({-2, 50});
    EXPECT_EQ(fake.Only(L"page.SetProgress"), (Calls{L"page.SetProgress 0", L"page.SetProgress 25"}));
}

TEST_F(HostDispatcherTest, ProgressDivisorIsNeverZero) {
    Progress({40});  // before any module count
    Send(msg::kSetTestCount, 0);
    Progress({60});
    Send(msg::kSetTestCount, static_cast<WPARAM>(-3));
    Progress({80, INT_MAX, -50});
    EXPECT_EQ(fake.Only(L"page.SetProgress"),
              (Calls{L"page.SetProgress 40", L"page.SetProgress 60", L"page.SetProgress 80", L"page.SetProgress 100",
                     L"page.SetProgress 0"}));
}

TEST_F(HostDispatcherTest, EstimateLabelFollowsTheProgress) {
    fake.estimate = -1;  // none: the label is left alone
    Progress({30, -1});
    EXPECT_EQ(fake.calls, (Calls{L"page.SetProgress 30", L"page.SetProgress 100", L"page.ShowEstimateLabel 0"}));

    fake.calls.clear();
    fake.estimate = 0;  // zero reads as 1 once something has happened
    Progress({0, 40, 100});
    EXPECT_EQ(fake.calls, (Calls{L"page.SetProgress 0", L"page.SetProgress 40", L"page.SetEstimateText 1",
                                 L"page.ShowEstimateLabel 1", L"page.SetProgress 100", L"page.ShowEstimateLabel 0"}));

    fake.calls.clear();
    fake.estimate = 12;
    Progress({-2});
    EXPECT_EQ(fake.calls, (Calls{L"page.SetProgress 0", L"page.SetEstimateText 12", L"page.ShowEstimateLabel 1"}));
}

TEST_F(HostDispatcherTest, EstimateIsStoredAndShownOnlyBeforeTheEnd) {
    Send(msg::kPrintEstimateTestTime, 0, 7);
    Send(msg::kPrintEstimateTestTime, 0, -1);
    fake.percentage = 100;
    Send(msg::kPrintEstimateTestTime, 0, 9);
    EXPECT_EQ(fake.calls, (Calls{L"page.StoreEstimate 7", L"page.SetEstimateText 7", L"page.StoreEstimate -1",
                                 L"page.StoreEstimate 9"}));
}

TEST_F(HostDispatcherTest, TextsReachThePageLogAndResultFile) {
    SendText(msg::kPrintText, L"hello ");
    SendText(msg::kWriteLog, L"line\r\n");
    Send(msg::kPrintColorText, reinterpret_cast<WPARAM>(L"red"), RGB(255, 0, 0));
    Send(msg::kWriteXml, reinterpret_cast<WPARAM>(L"Video"), launcher::kResultFail);
    Send(msg::kWriteXmlSub, 0, launcher::kResultPass);
    Send(msg::kWriteXmlSub, 3, 7);  // the writer maps an index outside 1..3 itself
    EXPECT_EQ(fake.calls, (Calls{L"page.AppendText hello ", L"log.WriteLog line\r\n", L"page.InsertColoredText red 255",
                                 L"results.WriteXml Video 3", L"results.WriteXmlSub 0 1",
                                 L"results.WriteXmlSub 3 7"}));
}

TEST_F(HostDispatcherTest, NullTextPointersPrintNothing) {
    // WM_USER+1 and +2 are also DM_SETDEFID and DM_REPOSITION, which carry no text.
    EXPECT_EQ(Send(msg::kPrintText, IDOK, 0), 0);
    EXPECT_EQ(Send(msg::kWriteLog), 0);
    EXPECT_EQ(Send(msg::kPrintColorText, 0, RGB(1, 2, 3)), 0);
    EXPECT_EQ(Send(msg::kSetSusResLog, kLogFolderGiven, 0), 0);
    EXPECT_EQ(Send(msg::kShowMyMessageBox), 0);
    EXPECT_EQ(Send(msg::kSetItemList), 0);
    EXPECT_EQ(fake.calls, Calls{});
    Send(msg::kWriteXml, 0, launcher::kResultPass);
    EXPECT_EQ(fake.calls, Calls{L"results.WriteXml  1"}) << "the verdict is kept without a name";
}

TEST_F(HostDispatcherTest, LogRequests) {
    Send(msg::kClearCurrentLog, 0, 0);  // what a module sends: no effect
    Send(msg::kClearCurrentLog, 0, kClearForce);
    Send(msg::kSaveCurrentLog);
    Send(msg::kSetSusResLog, kLogFolderFromSettings, 0);
    Send(msg::kSetSusResLog, kLogFolderGiven, reinterpret_cast<LPARAM>("D:\\logs\\"));
    EXPECT_EQ(fake.calls, (Calls{L"log.Restart", L"log.SaveCurrentLog", L"log.SetSusResLog",
                                 L"log.SetSusResLog D:\\logs\\"}));
    fake.logReady = false;
    EXPECT_EQ(Send(msg::kGetLogReady), 0);
    fake.logReady = true;
    EXPECT_EQ(Send(msg::kGetLogReady), 1);
}

TEST_F(HostDispatcherTest, AbortStateAnswersGetAbort) {
    EXPECT_EQ(Send(msg::kGetAbort), kAbortNone);
    Send(msg::kSetAbort);
    EXPECT_EQ(Send(msg::kGetAbort), kAbortRequested);
    Send(msg::kResetAbort);
    EXPECT_EQ(Send(msg::kGetAbort), kAbortNone);
    Send(msg::kSetAbort);
    Send(msg::kSelectPage, 0, kSuitePage);
    EXPECT_EQ(Send(msg::kGetAbort), kAbortNone);
}

TEST_F(HostDispatcherTest, OtherPageKindSilencesThePageMessages) {
    Send(msg::kSelectPage, 0, 2);
    SendText(msg::kPrintText, L"x");
    Send(msg::kPrintColorText, reinterpret_cast<WPARAM>(L"x"), 0);
    Progress({50});
    Send(msg::kEnableStopBut, kEnable, kStopButton);
    Send(msg::kPrintEstimateTestTime, 0, 5);
    SendText(msg::kWriteLog, L"still logged");
    EXPECT_EQ(fake.calls, Calls{L"log.WriteLog still logged"});
    Send(msg::kSelectPage, 0, kSuitePage);
    Send(msg::kEnableStopBut, kDisable, kStopButton);
    EXPECT_EQ(dispatcher.ActivePageKind(), 0);
    EXPECT_EQ(fake.Only(L"page."), (Calls{L"page.ResetDisplay", L"page.EnableStartStop 0"}));
}

TEST_F(HostDispatcherTest, StartRunResetsTheRunAndRefusesASecondRunner) {
    Send(msg::kSetTestCount, 1);
    Progress({100});
    Send(msg::kSetModuleResult, 0, 1);
    Send(msg::kStartRun, 0, kNoEntry);
    EXPECT_EQ(dispatcher.RunState(), TRunState::Running);
    Progress({50});
    EXPECT_EQ(fake.Only(L"page.SetProgress").back(), L"page.SetProgress 50") << "offset starts at 0";
    Send(msg::kStartRun, 0, 3);
    EXPECT_EQ(fake.Only(L"window.StartRun"), Calls{L"window.StartRun -1"});
}

TEST_F(HostDispatcherTest, EndOfRunWhileTheRunnerIsStillSending) {
    StartRunningRun();
    EXPECT_EQ(Send(msg::kExitTest), 0);
    EXPECT_EQ(fake.calls, Join({kEndOfRunStart, {L"runner.WaitForEnd 20", L"timers.Set 1 300"}}));
    EXPECT_EQ(dispatcher.RunState(), TRunState::Idle);
    EXPECT_EQ(dispatcher.AbortState(), kAbortRequested);

    fake.calls.clear();
    EXPECT_EQ(Send(WM_TIMER, kFinishTimerId), 0);
    EXPECT_EQ(fake.calls, Calls{L"runner.WaitForEnd 0"}) << "still running: nothing else at this tick";

    fake.calls.clear();
    fake.runnerEnded = true;
    fake.exitCode = 0;
    Send(WM_TIMER, kFinishTimerId);
    EXPECT_EQ(fake.calls, Join({{L"runner.WaitForEnd 0", L"runner.Delete", L"timers.Kill 1"}, kFinish,
                                {L"process.Exit -1"}}));
    EXPECT_FALSE(keepOpen);

    fake.calls.clear();
    Send(WM_TIMER, kFinishTimerId);  // already queued when the timer was killed
    EXPECT_EQ(fake.calls, Calls{});
}

TEST_F(HostDispatcherTest, RunnerThatDidNotPassKeepsTheLauncherOpen) {
    StartRunningRun();
    Send(msg::kExitTest);
    fake.runnerEnded = true;
    fake.exitCode = launcher::kResultFail;
    fake.calls.clear();
    Send(WM_TIMER, kFinishTimerId);
    EXPECT_TRUE(keepOpen);
    EXPECT_EQ(fake.Only(L"process."), Calls{});
    EXPECT_EQ(fake.Only(L"results."), Calls{L"results.CloseResultFile"});
}

TEST_F(HostDispatcherTest, RunResultWithTheValueOfAnActiveThreadStillEndsTheRun) {
    StartRunningRun();
    Send(msg::kExitTest);
    fake.runnerEnded = true;
    fake.exitCode = STILL_ACTIVE;
    fake.calls.clear();
    Send(WM_TIMER, kFinishTimerId);
    EXPECT_EQ(fake.Only(L"runner.Delete"), Calls{L"runner.Delete"});
    EXPECT_TRUE(keepOpen);
}

TEST_F(HostDispatcherTest, HoldWindowKeepsTheLauncherOpenAfterAPassedRun) {
    StartRunningRun();
    Send(msg::kHoldWindow);
    EXPECT_TRUE(keepOpen);
    fake.runnerEnded = true;
    fake.exitCode = 0;
    Send(msg::kExitTest);
    EXPECT_EQ(fake.Only(L"process."), Calls{});
    EXPECT_EQ(fake.Only(L"window.EnableClose"), Calls{L"window.EnableClose"});
}

TEST_F(HostDispatcherTest, RunnerEndedWithinTheWaitFinishesAtOnce) {
    StartRunningRun();
    fake.runnerEnded = true;
    fake.exitCode = 0;
    Send(msg::kExitTest);
    EXPECT_EQ(fake.calls, Join({kEndOfRunStart, {L"runner.WaitForEnd 20", L"runner.Delete"}, kFinish,
                                {L"process.Exit -1"}}));
}

TEST_F(HostDispatcherTest, EndOfRunWithoutRunnerOnlyUpdatesTheDisplay) {
    Send(msg::kExitTest);
    EXPECT_EQ(fake.calls, kEndOfRunStart);
}

TEST(HostDispatcher, ARunThatCannotStartOrFailsWhileStartingOrEndingStillEndsAsFailed) {
    // "": the runner thread does not start; otherwise the call that throws.
    for (std::wstring failing : {L"", L"window.StartRun", L"log.CloseAndWriteHistory", L"page.SetPageState",
                                 L"window.EndRunSession", L"runner.Delete", L"results.CloseResultFile",
                                 L"window.EnableClose"}) {
        Recorder fake;
        bool keepOpen = false;
        HostDispatcher dispatcher{fake.Services(), keepOpen, L"C:\\Orlix\\"};
        fake.throwOn = failing;
        fake.runnerStarts = !failing.empty();
        fake.runnerEnded = true;
        fake.exitCode = 0;
        dispatcher.Handle(msg::kStartRun, 0, kNoEntry);
        dispatcher.Handle(msg::kExitTest, 0, 0);
        // Every test of a run that never started failed; the closing line, Close and Start/Stop enabled.
        const bool started = !failing.empty() && failing != L"window.StartRun";
        EXPECT_EQ(fake.Only(L"results.WriteXml"),
                  started ? Calls() : Calls({L"results.WriteXml Video 3", L"results.WriteXml Audio 3"}))
            << testing::PrintToString(failing);
        for (const wchar_t* step : {L"results.CloseResultFile", L"window.EnableClose", L"page.OfferNextRun"})
            EXPECT_EQ(fake.Only(step).size(), 1u) << testing::PrintToString(failing) << " " << step;
        EXPECT_TRUE(keepOpen) << testing::PrintToString(failing);
        EXPECT_EQ(fake.Only(L"process."), Calls{});
        EXPECT_EQ(dispatcher.RunState(), TRunState::Idle);
    }
}

TEST_F(HostDispatcherTest, AbortStopsTheRunnerAndTheHistorySaysStopped) {
    StartRunningRun();
    Send(msg::kSetModuleResult, 0, 2);
    Send(msg::kSetAbort);
    EXPECT_EQ(fake.calls, (Calls{L"page.EnableStartStop 0", L"runner.WaitForEnd 20", L"timers.Set 1 300",
                                 L"runner.RequestStop"}));
    EXPECT_EQ(dispatcher.AbortState(), kAbortRequested);
    fake.calls.clear();
    Send(msg::kExitTest);
    EXPECT_EQ(fake.calls.front(), L"log.CloseAndWriteHistory 1 2");
}

TEST_F(HostDispatcherTest, FailedRunIsRecordedInTheHistory) {
    StartRunningRun();
    Send(msg::kSetModuleResult, 0, 1);
    Send(msg::kExitTest);
    EXPECT_EQ(fake.calls.front(), L"log.CloseAndWriteHistory 0 1");
}

TEST_F(HostDispatcherTest, ItemListKeepsAtMostTenCopiedTexts) {
    // The record ends right before an inaccessible page: reading past what the
    // count allows would fault.
    const SIZE_T page = 4096;
    BYTE* block = static_cast<BYTE*>(::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    DWORD old = 0;
    ::VirtualProtect(block + page, page, PAGE_NOACCESS, &old);
    auto* record = reinterpret_cast<ItemListRecord*>(block + page - sizeof(ItemListRecord));
    const wchar_t* texts[] = {L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"i", L"j"};
    for (int i = 0; i < kItemListSlots; ++i) record->items[i] = texts[i];

    record->count = 12;
    Send(msg::kSetItemList, 0, reinterpret_cast<LPARAM>(record));
    EXPECT_EQ(dispatcher.Items().count, 10);
    EXPECT_EQ(dispatcher.Items().items[9], L"j");
    EXPECT_TRUE(dispatcher.Items().given);

    record->count = -4;
    record->items[0] = nullptr;
    Send(msg::kSetItemList, 0, reinterpret_cast<LPARAM>(record));
    EXPECT_EQ(dispatcher.Items().count, 0);
    EXPECT_EQ(dispatcher.Items().items[0], L"");
    EXPECT_FALSE(dispatcher.Items().given);

    // A shorter record: count 2 followed by two pointers only.
    auto* shortRecord = reinterpret_cast<ItemListRecord*>(block + page - offsetof(ItemListRecord, items) -
                                                          2 * sizeof(const wchar_t*));
    shortRecord->count = 2;
    shortRecord->items[0] = L"first";
    shortRecord->items[1] = nullptr;
    Send(msg::kSetItemList, 0, reinterpret_cast<LPARAM>(shortRecord));
    EXPECT_EQ(dispatcher.Items().count, 2);
    EXPECT_EQ(dispatcher.Items().items[0], L"first");
    EXPECT_EQ(dispatcher.Items().items[1], L"");
    ::VirtualFree(block, 0, MEM_RELEASE);
}

TEST_F(HostDispatcherTest, MessageBoxShowsTheRecordAndAnswersItsButton) {
    MessageBoxRecord record{L"Insert a disc.", nullptr, MB_YESNO};
    fake.boxAnswer = IDNO;
    EXPECT_EQ(Send(msg::kShowMyMessageBox, 0, reinterpret_cast<LPARAM>(&record)), IDNO);
    EXPECT_EQ(fake.calls, Calls{L"window.ShowMessageBox Insert a disc.||4"});
}

TEST_F(HostDispatcherTest, BridgeHandshakeSendsTheSetUpRecordThenStart) {
    fake.modeFlags = mode::kListRun | mode::kFullTest;
    HWND bridge = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x1234));
    EXPECT_EQ(Send(msg::kX64Hello, reinterpret_cast<WPARAM>(bridge)), kX64Answer);
    EXPECT_EQ(dispatcher.BridgeWindow(), bridge);
    EXPECT_EQ(fake.calls, (Calls{L"window.SendCopyData 4660 1225 4104", L"window.SendTo 4660 1226 0 0"}));
    ASSERT_EQ(fake.copied.size(), sizeof(X64SetupRecord));
    X64SetupRecord record;
    memcpy(&record, fake.copied.data(), sizeof record);
    EXPECT_STREQ(record.folder, L"C:\\Orlix\\");
    EXPECT_EQ(record.modeFlags, 0x14);
    EXPECT_EQ(record.repeatCount, 1);
}

TEST(X64SetupRecord, FolderIsCutToItsFieldAndTerminated) {
    X64SetupRecord record = BuildX64SetupRecord(std::wstring(3000, L'x'), 0, 1);
    EXPECT_EQ(std::wstring(record.folder).size(), kX64FolderChars - 1);
}

TEST_F(HostDispatcherTest, BridgeTextIsPrintedWithinItsByteCount) {
    const wchar_t text[] = {L'a', L'b', L'c', L'd'};  // no terminator
    COPYDATASTRUCT data{copydata::kX64Text, 3 * sizeof(wchar_t), const_cast<wchar_t*>(text)};
    EXPECT_EQ(Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 1);
    data.dwData = copydata::kX64Done;
    EXPECT_EQ(Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 1);
    data.dwData = 77;
    EXPECT_EQ(Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), std::nullopt);
    EXPECT_EQ(fake.calls, Calls{L"page.AppendText abc"});
}

TEST_F(HostDispatcherTest, IgnoredAndForeignMessages) {
    for (UINT ignored : {msg::kReserved7, msg::kSetRepeatAbort, msg::kClearUIText, msg::kSetEditBoxBKColor,
                         msg::kCloseAuxWindow, msg::kReserved120})
        EXPECT_EQ(Send(ignored, 1, 1), 0) << ignored;
    for (UINT foreign : {static_cast<UINT>(WM_USER), msg::kShowTestInfo, static_cast<UINT>(WM_COMMAND)})
        EXPECT_EQ(Send(foreign, 1, 1), std::nullopt) << foreign;
    EXPECT_EQ(Send(WM_TIMER, 3), std::nullopt);
    EXPECT_EQ(fake.calls, Calls{});
    Send(msg::kSelectTest, 0, 6);
    EXPECT_EQ(fake.calls, Calls{L"window.SelectTest 6"});
}

TEST_F(HostDispatcherTest, AnUnattendedRunThatFailedStaysOpenOnlyWithTheHSwitch) {
    HostDispatcher unattended{fake.Services(), keepOpen, L"C:\\Orlix\\", LaunchPolicy{true}};
    fake.runnerEnded = true;
    fake.exitCode = kModuleFailed;
    keepOpen = true;  // -h
    unattended.Handle(msg::kStartRun, 0, 0);
    unattended.Handle(msg::kExitTest, 0, 0);
    EXPECT_EQ(fake.Only(L"process."), Calls{});
}

TEST_F(HostDispatcherTest, ABurnInEndsWhenAModuleAsksAndPairsItsEventsAroundTheSummary) {
    std::vector<EventReport> events;
    LaunchPolicy policy{false, 0, {}, BurnInPlan{2, {}, false}, [](unsigned id) { return L"#" + std::to_wstring(id) + L" %1"; },
                        [&](const EventReport& event) { events.push_back(event); }};
    HostDispatcher burnIn{fake.Services(), keepOpen, L"C:\\Orlix\\", policy};
    const RunRow row{L"video.dll", L"Video", 0};
    burnIn.Handle(msg::kStartRun, 0, 0);
    burnIn.Handle(runner_msg::kCycleStarted, 1, 0);
    burnIn.Handle(runner_msg::kModuleStarted, 0, reinterpret_cast<LPARAM>(&row));
    fake.calls.clear();
    burnIn.Handle(msg::kSetRepeatAbort, 0, 0);
    burnIn.Handle(msg::kSetRepeatAbort, 0, 0);  // asked once is enough
    EXPECT_EQ(fake.calls, (Calls{L"runner.EndAfterCycle", L"page.AppendText #307 Video\r\n", L"log.WriteLog #307 Video\r\n"}));
    burnIn.Handle(msg::kWriteXmlSub, 0, 3);
    burnIn.Handle(msg::kWriteXml, reinterpret_cast<WPARAM>(L"Video"), 3);
    burnIn.Handle(msg::kExitTest, 0, 0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].strings, (std::vector<std::wstring>{L"-cycles:2", L"Video\r\nAudio"}));
    EXPECT_EQ(std::pair(events[1].id, events[1].type), std::pair(kEventBurnInEnded, WORD{EVENTLOG_ERROR_TYPE}));
    const Calls log = fake.Only(L"log.");
    EXPECT_EQ(log.back(), L"log.CloseAndWriteHistory 0 0");  // the summary is in the log before it closes
    EXPECT_EQ(log[log.size() - 2].rfind(L"log.WriteLog #302 1\r\n#304 1\r\n#306 ", 0), 0u) << log[log.size() - 2];
}
