// Whole launches with the scriptable module: the window, the run, Stop, the
// verdicts in the result file, log and history, and the exit code.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <cwchar>
#include <regex>
#include <tuple>
#include <thread>

#include "framework/module_path.h"
#include "launcher_session.h"
#include "screenshot.h"
#include "statsagent_log.h"
#include "ui_automation.h"

using namespace testsupport;
using e2e::LauncherSession;

namespace {

constexpr int kOutputPane = 1056;
constexpr int kProgressBar = 1021;
constexpr int kPercentLabel = 1042;
constexpr int kStartStop = 1037;
constexpr int kCloseButton = 1022;
constexpr int kOpenReport = 1095;
constexpr DWORD kRunTimeoutMs = 60000;


HWND WaitLauncherWindow(const Process& launcher) {
    return WaitTopWindow({std::wstring(e2e::kTitle), std::wstring(L"#32770"), launcher.pid()}, e2e::kStartTimeoutMs);
}

// The result file once it holds `part` (it is a whole document all along).
std::wstring WaitResultFile(const LauncherSession& session, const std::wstring& part) {
    std::wstring text;
    PollUntil(kRunTimeoutMs, [&] { return (text = TextAfterMark(ReadBytes(session.resultFile()))).find(part) !=
                                          std::wstring::npos; });
    return text;
}

// True once the run has ended: the Close button is enabled again.
bool WaitRunEnd(HWND window) {
    return PollUntil(kRunTimeoutMs, [&] { return IsEnabled(FindControl(window, {kCloseButton})); });
}

// True when `part` shows up in the control's text within the time.
bool WaitForText(HWND control, const std::wstring& part, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] {
        std::optional<std::wstring> text = ReadText(control);
        return text && text->find(part) != std::wstring::npos;
    });
}

// The launcher's window once its output pane shows `text`; null when it does not within the time.
HWND WaitOutputText(const Process& launcher, const std::wstring& text) {
    HWND window = WaitLauncherWindow(launcher);
    HWND output = window ? WaitControl(window, {kOutputPane}, 5000) : nullptr;
    return output && WaitForText(output, text, 10000) ? window : nullptr;
}

// A launch of the scripted module, watched until its output pane shows `text`;
// with `earlier`, the script of a module "First" that runs before it.
struct WatchedRun {
    WatchedRun(const std::wstring& script, const std::wstring& text, const std::wstring& earlier = {}) {
        session.AddScriptedModule(script);
        if (!earlier.empty()) session.AddScriptedModule(earlier, L"first");
        launcher = session.Start(earlier.empty() ? L"/scripted" : L"/first /scripted");
        window = WaitOutputText(launcher, text);
    }
    LauncherSession session;
    Process launcher;
    HWND window = nullptr;
};

// A text of the launcher's language library in the session's program folder.
std::wstring UiString(const LauncherSession& session, unsigned id) {
    wchar_t text[300] = {};
    HMODULE strings = ::LoadLibraryExW((session.programDir() + L"QDXLang\\ENU\\uistrings.dll").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE);
    ::LoadStringW(strings, id, text, 300);
    ::FreeLibrary(strings);
    return text;
}

// The history's result text of the launch.
std::wstring HistoryResult(const LauncherSession& session) {
    wchar_t history[200] = {};
    PollUntil(10000, [&] {
        return ::GetPrivateProfileStringW(L"HISTORY_0", L"RESULT", L"", history, 200,
                                          (session.resultFolder() + L"report.tmp").c_str()) > 0;
    });
    return history;
}

// The time as the launcher dates a run.
std::wstring RunDateNow() {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    wchar_t text[40] = {};
    std::swprintf(text, 40, L"%d/%02d/%02d  %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

// Copies a result file to the test programs' e2e-results folder, where
// check_result_files.sh reads it with parsers that have nothing to do with Wine.
void KeepForLinuxCheck(const std::wstring& path, const std::wstring& name) {
    std::wstring folder = std::wstring(SUITE_TEST_BIN_DIR) + L"e2e-results\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::CopyFileW(path.c_str(), (folder + name).c_str(), FALSE);
}

}  // namespace

TEST(LauncherRun, PassingRunRecordsPassLogsAndClosesWithMinusOne) {
    LauncherSession session;
    session.AddScriptedModule(L"setlog\ninit 1\ntext Hello from the module\nlog logged line\nprogress 100\n"
                              L"sub 0 1\nsub 0 1\nreturn 0\n");
    Process launcher = session.Start(L"/scripted");
    EXPECT_EQ(launcher.WaitExit(kRunTimeoutMs), e2e::kLauncherExitCode);

    std::wstring result = TextAfterMark(ReadBytes(session.resultFile()));
    EXPECT_NE(result.find(L"<Test name=\"Scripted\" DateTimeRan=\""), std::wstring::npos);
    EXPECT_NE(result.find(L"OverallResult=\"Pass\">\r\n\t\t<SubTest name=\"Test 1\""), std::wstring::npos);
    EXPECT_NE(result.find(L"<SubTest name=\"Test 2\""), std::wstring::npos);
    EXPECT_EQ(result.substr(result.size() - 10), L"</QDX>\r\n\r\n");

    std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    EXPECT_NE(log.find(L"logged line"), std::wstring::npos);
    wchar_t history[200] = {};
    ::GetPrivateProfileStringW(L"HISTORY_0", L"RESULT", L"", history, 200,
                               (session.resultFolder() + L"report.tmp").c_str());
    EXPECT_NE(std::wstring(history).find(L"\t\t"), std::wstring::npos);
}

TEST(LauncherRun, OutputAndProgressFollowTheModuleAndAFailureKeepsTheLauncherOpen) {
    LauncherSession session;
    session.AddScriptedModule(L"init 1\ntext Hello from the module\nprogress 50\nsleep 4000\nreturn 1\n");
    Process launcher = session.Start(L"/scripted");
    HWND window = WaitLauncherWindow(launcher);
    ASSERT_NE(window, nullptr);
    HWND output = WaitControl(window, {kOutputPane}, 5000);
    ASSERT_NE(output, nullptr);
    EXPECT_TRUE(WaitForText(output, L"Hello from the module", 10000));
    HWND bar = FindControl(window, {kProgressBar});
    EXPECT_TRUE(PollUntil(10000, [&] { return ::SendMessageW(bar, PBM_GETPOS, 0, 0) == 50; }));
    EXPECT_TRUE(WaitForText(FindControl(window, {kPercentLabel}), L"50", 5000));
    SaveNamedScreenshot(L"launcher-running");

    // A failed run leaves the launcher open with its verdict.
    EXPECT_FALSE(launcher.WaitExit(8000).has_value());
    SaveNamedScreenshot(L"launcher-finished-failed");
    EXPECT_NE(TextAfterMark(ReadBytes(session.resultFile())).find(L"OverallResult=\"Fail\""), std::wstring::npos);
    ClickButton(FindControl(window, {kCloseButton}));
    EXPECT_EQ(launcher.WaitExit(10000), 0u);
}

TEST(LauncherRun, HoldSwitchAndHoldWindowKeepItOpenAfterAPass) {
    // Unattended, the run's code is the launch's however the window is closed.
    const std::tuple<const wchar_t*, const wchar_t*, DWORD> table[] = {
        {L"-h /scripted", L"return 0\n", 0u},
        {L"/scripted", L"hold\nreturn 0\n", 0u},
        {L"-unattended -h /scripted", L"return 0\n", e2e::kLauncherExitCode}};
    for (auto [arguments, script, code] : table) {
        LauncherSession session;
        session.AddScriptedModule(script);
        Process launcher = session.Start(arguments);
        HWND window = WaitLauncherWindow(launcher);
        ASSERT_NE(window, nullptr);
        EXPECT_NE(WaitResultFile(session, L"OverallResult=\"Pass\"").find(L"</QDX>"), std::wstring::npos);
        EXPECT_TRUE(WaitRunEnd(window));
        EXPECT_FALSE(launcher.WaitExit(3000).has_value()) << arguments;
        ClickButton(FindControl(window, {kCloseButton}));
        EXPECT_EQ(launcher.WaitExit(10000), code) << ToUtf8(arguments);
    }
}

TEST(LauncherRun, StopDuringARunRecordsStoppedAndAltF4IsRefusedMeanwhile) {
    LauncherSession session;
    session.AddScriptedModule(L"setlog\ntext Waiting for Stop\nabortpoll 30000\nreturn 0\n");
    Process launcher = session.Start(L"/scripted");
    HWND window = WaitOutputText(launcher, L"Waiting for Stop");
    ASSERT_NE(window, nullptr);

    PostSysCommandClose(window);  // what Alt+F4 asks for
    EXPECT_FALSE(launcher.WaitExit(2000).has_value());
    EXPECT_TRUE(IsShown(window));

    ClickButton(FindControl(window, {kStartStop}));
    EXPECT_TRUE(PollUntil(20000, [&] {
        return TextAfterMark(ReadBytes(session.resultFile())).find(L"OverallResult=\"Stopped\"") != std::wstring::npos;
    }));
    EXPECT_NE(HistoryResult(session).find(UiString(session, 140)), std::wstring::npos);
    // A stopped run is no pass: the launcher stays open.
    EXPECT_FALSE(launcher.WaitExit(3000).has_value());
    SaveNamedScreenshot(L"launcher-stopped");
    PostCloseMessage(window);
    EXPECT_TRUE(launcher.WaitExit(10000).has_value());
}

TEST(LauncherRun, ModuleListedOnlyInDiagnosticsXmlIsSelectedAndRuns) {
    LauncherSession session;
    session.AddTestProgram(L"scripted.dll", L"xmlonly.dll");
    session.WriteProgramFile(L"xmlonly.txt", "text From the XML catalogue\nreturn 0\n");
    session.WriteProgramFile(L"Resources\\en\\Diagnostics.xml",
                                       "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Diagnostics>\n"
                                       "<NormalDiagnosticsSection><Item Id=\"XmlOnly\"><TestFile>xmlonly.dll</TestFile>"
                                       "</Item></NormalDiagnosticsSection>\n</Diagnostics>\n");
    Process launcher = session.Start(L"/xmlonly");
    EXPECT_EQ(launcher.WaitExit(kRunTimeoutMs), e2e::kLauncherExitCode);
    EXPECT_NE(TextAfterMark(ReadBytes(session.resultFile())).find(L"OverallResult=\"Pass\""), std::wstring::npos);
    EXPECT_NE(ReadBytes(session.programDir() + L"xmlonly.received.txt").find("flags"), std::string::npos);
}

TEST(LauncherRun, EveryTestIsReportedToTheInstalledStatisticsAgent) {
    const std::wstring log = InstalledAgentLog().value_or(L"");
    if (log.empty()) GTEST_SKIP() << "no statistics agent installed on this machine";
    ::DeleteFileW(log.c_str());

    LauncherSession session;
    session.AddScriptedModule(L"return 1\n");
    Process launcher = session.Start(L"/scripted");
    HWND window = WaitLauncherWindow(launcher);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(PollUntil(20000, [&] { return ReadBytes(log).find("Finalize") != std::string::npos; }));
    EXPECT_EQ(ReadBytes(log),
              "Initialize|Orlix Hardware Diagnostics\r\n"
              "SubmitEvent|Orlix Hardware Diagnostics|3|Diag|SCRIPTED|Fail\r\n"
              "Finalize|Orlix Hardware Diagnostics|0\r\n");
    // Closing is refused until the run has ended.
    EXPECT_TRUE(WaitRunEnd(window));
    PostCloseMessage(window);
    EXPECT_TRUE(launcher.WaitExit(10000).has_value());
}

TEST(LauncherRun, OnALowScreenTheOuterWindowTakesTheWorkAreaAndScrolls) {
    LauncherSession session;
    session.AddScriptedModule(L"return 0\n");
    // A desktop of its own, lower than the launcher's 600 pixels.
    testsupport::LaunchOptions options;
    Process desktop = Process::Launch(L"C:\\windows\\explorer.exe",
                                      L"/desktop=LowScreen,1024x560 \"" + session.programDir() + L"testdeck.exe\" -h /scripted",
                                      options);
    struct Seen {
        RECT window{};
        RECT workArea{};
        LONG_PTR style = 0;
        bool found = false;
    } seen;
    // Windows of another desktop are seen only from a thread that joined it.
    std::thread watcher([&] {
        HDESK low = nullptr;
        PollUntil(20000, [&] { return (low = ::OpenDesktopW(L"LowScreen", 0, FALSE, GENERIC_ALL)) != nullptr; });
        if (!low || !::SetThreadDesktop(low)) return;
        HWND window = PollUntil(20000, [] { return ::FindWindowW(L"#32770", e2e::kTitle); });
        if (!window) return;
        ::Sleep(1000);  // sized during its initialisation
        ::GetWindowRect(window, &seen.window);
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &seen.workArea, 0);
        // The scroll range itself stays inside the launcher's process; its bar shows in the style.
        seen.style = ::GetWindowLongPtrW(window, GWL_STYLE);
        seen.found = true;
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    });
    watcher.join();
    ASSERT_TRUE(seen.found) << "the launcher's window did not appear on the low desktop";
    int areaHeight = seen.workArea.bottom - seen.workArea.top;
    ASSERT_LT(areaHeight, 600);
    EXPECT_EQ(seen.window.bottom - seen.window.top, areaHeight);
    EXPECT_EQ(seen.window.right - seen.window.left, 800);
    EXPECT_TRUE(seen.style & WS_VSCROLL) << "no vertical scroll bar";
    EXPECT_FALSE(seen.style & WS_HSCROLL) << "a horizontal scroll bar on a wide enough screen";
}

TEST(LauncherRun, ATestThatCannotRunFailsAndTheLauncherKeptOpenRunsAgainIntoTheSameFile) {
    LauncherSession session;
    session.AddScriptedModule(L"sub 0 3\nreturn 1\n");
    session.Remove(L"scripted.dll");
    Process launcher = session.Start(L"/scripted");
    EXPECT_EQ(AnswerMessageBox({std::nullopt, launcher.pid()}, IDOK, e2e::kStartTimeoutMs).outcome,
              BoxOutcome::Answered);
    std::wstring result = WaitResultFile(session, L"OverallResult=\"Fail\"");
    EXPECT_NE(result.find(L"<Test name=\"Scripted\""), std::wstring::npos);
    EXPECT_FALSE(launcher.WaitExit(2000).has_value());

    HWND window = WaitLauncherWindow(launcher);
    ASSERT_NE(window, nullptr);
    HWND button = FindControl(window, {kStartStop});
    ASSERT_TRUE(PollUntil(5000, [&] { return IsEnabled(button); })) << "Start/Stop stays disabled after the run";
    ClickButton(button);  // resets the page
    EXPECT_TRUE(PollUntil(5000, [&] { return !IsShown(FindControl(window, {kOutputPane})); }));
    session.AddScriptedModule(L"setlog\nsub 0 3\nreturn 1\n");  // the module is back
    // The next run is dated when it starts, not when the launcher did.
    const std::wstring launched = RunDateNow();
    PollUntil(5000, [&] { return RunDateNow() != launched; });
    const std::wstring started = RunDateNow();
    ClickButton(button);  // starts the next run
    EXPECT_TRUE(PollUntil(kRunTimeoutMs, [&] {
        std::wstring text = TextAfterMark(ReadBytes(session.resultFile()));
        return text.find(L"<Test ") != text.rfind(L"<Test ");
    }));
    EXPECT_TRUE(WaitRunEnd(window));
    KeepForLinuxCheck(session.resultFile(), L"second_run_result.xml");
    wchar_t date[100] = {};
    ::GetPrivateProfileStringW(L"HISTORY_0", L"DATE", L"", date, 100, (session.resultFolder() + L"report.tmp").c_str());
    EXPECT_GE(std::wstring(date), started);
    PostCloseMessage(window);
    EXPECT_EQ(launcher.WaitExit(10000), 0u);
}

TEST(LauncherRun, NoWayOfClosingEndsTheLauncherUntilAStoppedRunHasEnded) {
    // The module does not poll: the run goes on for a while after Stop.
    WatchedRun run(L"text Working\nsleep 12000\nreturn 0\n", L"Working");
    ASSERT_NE(run.window, nullptr);
    ClickButton(FindControl(run.window, {kStartStop}));
    ASSERT_TRUE(PollUntil(5000, [&] { return !IsEnabled(FindControl(run.window, {kStartStop})); }));

    PostSysCommandClose(FindControl(run.window, {std::nullopt, std::wstring(L"#32770")}));  // the dialog says why it stays
    EXPECT_EQ(AnswerMessageBox({std::nullopt, run.launcher.pid()}, IDOK, 5000).outcome, BoxOutcome::Answered);
    PostSysCommandClose(run.window);
    PostCloseMessage(run.window);
    PressKey(run.window, VK_ESCAPE);
    EXPECT_FALSE(run.launcher.WaitExit(1000).has_value());

    // Nothing was lost: the stopped verdict and a whole document.
    EXPECT_NE(WaitResultFile(run.session, L"OverallResult=\"Stopped\"").find(L"</QDX>"), std::wstring::npos);
    EXPECT_TRUE(WaitRunEnd(run.window));
    EXPECT_TRUE(IsShown(run.window));
    PostCloseMessage(run.window);
    EXPECT_EQ(run.launcher.WaitExit(10000), 0u);
}

TEST(LauncherRun, ALauncherKilledInTheMiddleOfAModuleLeavesItsSubResultsInAFailedRecord) {
    WatchedRun run(L"sub 0 1\nsub 0 3\ntext Waiting\nsleep 60000\n", L"Waiting", L"sub 0 1\nreturn 0\n");
    ASSERT_NE(run.window, nullptr);
    Process taskkill = Process::Launch(L"C:\\windows\\system32\\taskkill.exe",
                                       L"/f /pid " + std::to_wstring(run.launcher.pid()));
    EXPECT_EQ(taskkill.WaitExit(10000), 0u);
    ASSERT_TRUE(run.launcher.WaitExit(10000).has_value());
    EXPECT_NE(TextAfterMark(ReadBytes(run.session.resultFile())).find(L"<Test name=\"Scripted\""), std::wstring::npos);
    KeepForLinuxCheck(run.session.resultFile(), L"killed_result.xml");

    run.session.AddScriptedModule(L"return 0\n");  // the next run appends
    EXPECT_EQ(run.session.Start(L"/scripted").WaitExit(kRunTimeoutMs), e2e::kLauncherExitCode);
    KeepForLinuxCheck(run.session.resultFile(), L"after_killed_result.xml");
}

TEST(LauncherRun, UnattendedABoxGetsItsDefaultAnswerAndAFailedTestEndsTheLauncherWithOne) {
    LauncherSession session;
    session.AddScriptedModule(L"setlog\nhold\nask Is the picture clean? 0x124\n");  // Yes/No, No as default
    Process launcher = session.Start(L"-unattended /scripted");
    EXPECT_EQ(launcher.WaitExit(20000), 1u);
    EXPECT_NE(ReadBytes(session.programDir() + L"scripted.received.txt").find("box 7"), std::string::npos);  // IDNO
    EXPECT_NE(TextAfterMark(ReadBytes(session.resultFile())).find(L"OverallResult=\"Fail\""), std::wstring::npos);
    const std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    EXPECT_NE(log.find(L"Message box \"scripted\": Is the picture clean?\r\nAnswered unattended: No\r\n"),
              std::wstring::npos)
        << ToUtf8(log);
    EXPECT_NE(log.find(L"A test asked the launcher to stay open"), std::wstring::npos);
}

TEST(LauncherRun, UnattendedAMissingModuleFailsAndAHungOneEndsTheLauncherAtItsTimeLimit) {
    LauncherSession session;
    session.AddScriptedModule(L"setlog\nsub 0 1\ntext Hanging\nhang\n");
    session.WriteProgramFile(L"Resources\\en\\Diagnostics.xml",
                             "<Diagnostics><NormalDiagnosticsSection><Item Id=\"Missing\">"
                             "<TestFile>missing.dll</TestFile></Item></NormalDiagnosticsSection></Diagnostics>");
    Process launcher = session.Start(L"-unattended -timeout:10 /missing /scripted");
    HWND window = WaitOutputText(launcher, L"Hanging");
    ASSERT_NE(window, nullptr);
    // The warning went to the pane instead of a box.
    EXPECT_NE(ReadText(FindControl(window, {kOutputPane})).value_or(L"").find(UiString(session, 131)),
              std::wstring::npos);
    EXPECT_EQ(FindMessageBox({std::nullopt, launcher.pid()}), nullptr);

    // The module started before its text showed: ten seconds from now and a few more are enough.
    EXPECT_EQ(launcher.WaitExit(18000), 1u);
    const std::wstring result = TextAfterMark(ReadBytes(session.resultFile()));
    EXPECT_TRUE(std::regex_search(result, std::wregex(L"<Test name=\"Missing\" [^>]*OverallResult=\"Fail\">")));
    EXPECT_TRUE(std::regex_search(result, std::wregex(L"<Test name=\"Scripted\" [^>]*OverallResult=\"Fail\">\r\n"
                                                      L"\t\t<SubTest name=\"Test 1\" [^>]*Result=\"Pass\" />")))
        << ToUtf8(result);
    EXPECT_EQ(result.substr(result.size() - 10), L"</QDX>\r\n\r\n");
    const std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    EXPECT_NE(log.find(L"Scripted did not finish within 10 seconds\r\n"), std::wstring::npos) << ToUtf8(log);
    EXPECT_NE(HistoryResult(session).find(UiString(session, 142)), std::wstring::npos);
    // The run did not end normally: its report says so.
    EXPECT_NE(ReadBytes(session.resultFolder() + L"qdx_report_latest.html").find(">INCOMPLETE</h1>"), std::string::npos);
}

TEST(LauncherRun, EveryVerdictIsAnEventAndBothModulesWriteIntoTheRunsOneLog) {
    e2e::EventLogTrace trace;
    if (!trace.Available()) GTEST_SKIP() << "run by keep_stderr.sh, which keeps the launcher's standard error";
    LauncherSession session;
    session.AddScriptedModule(L"setlog\nlog first module\\n\nsub 0 1\nreturn 0\n");
    session.AddScriptedModule(L"setlog\nlog second module\\n\nsub 0 1\nsub 0 3\nreturn 1\n", L"second");
    Process launcher = session.Start(L"/scripted /second", e2e::EventLogTrace::Environment());
    std::vector<e2e::ReportedEvent> events;
    PollUntil(kRunTimeoutMs, [&] { return (events = trace.Events()).size() >= 2; });
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(std::pair(events[0].type, events[0].id), std::pair(0x0004u, 0x3e8u));  // information
    EXPECT_EQ(std::pair(events[1].type, events[1].id), std::pair(0x0001u, 0x3e9u));  // error
    for (const wchar_t* part : {L"\"Scripted\"", L"\"Pass\"", L"Test 1: Pass"})
        EXPECT_NE(events[0].text.find(part), std::wstring::npos) << ToUtf8(events[0].text);
    for (const wchar_t* part : {L"\"Second\"", L"\"Fail\"", L"Test 2: Fail", L"qdx_report_"})
        EXPECT_NE(events[1].text.find(part), std::wstring::npos) << ToUtf8(events[1].text);

    // The run has ended (the failure keeps the launcher open): one log, with its header.
    HWND window = WaitLauncherWindow(launcher);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitRunEnd(window));
    std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    EXPECT_EQ(log.find(L"["), 0u) << ToUtf8(log);
    EXPECT_LT(log.find(L"first module\r\n"), log.find(L"second module\r\n")) << ToUtf8(log);
    EXPECT_NE(log.find(L"second module\r\n"), std::wstring::npos) << ToUtf8(log);
    EXPECT_FALSE(fw::PathExists(session.resultFolder() + L"hwck_log01.txt"));
    EXPECT_EQ(trace.Events().size(), 2u);  // none for the records written while the tests ran
    PostCloseMessage(window);
    EXPECT_EQ(launcher.WaitExit(10000), 0u);
}

TEST(LauncherRun, AModuleThatCrashesIsRecordedAsFailedAndEndsTheRun) {
    const std::wstring script = L"setlog\nsub 0 1\ntext Crashing\ncrash\n";
    const std::wregex line(L"Scripted crashed \\(exception 0xC0000005 at scripted\\.dll\\+0x[0-9A-F]+\\)\r\n");
    {
        // Attended: the window stays as after a failure, and closes.
        LauncherSession session;
        session.AddScriptedModule(script);
        Process launcher = session.Start(L"/scripted");
        HWND window = WaitOutputText(launcher, L"crashed (exception 0xC0000005 at scripted.dll+0x");
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(std::regex_search(ReadText(FindControl(window, {kOutputPane})).value_or(L""), line));
        EXPECT_TRUE(WaitRunEnd(window));
        ClickButton(FindControl(window, {kCloseButton}));
        EXPECT_TRUE(launcher.WaitExit(10000).has_value());
    }
    // Unattended: the launcher ends by itself, with a whole record, and no crash report of the platform.
    e2e::EventLogTrace trace;
    LauncherSession session;
    session.AddScriptedModule(script);
    Process launcher = session.Start(L"-unattended /scripted", e2e::EventLogTrace::Environment());
    EXPECT_EQ(launcher.WaitExit(20000), 1u);
    const std::wstring result = TextAfterMark(ReadBytes(session.resultFile()));
    EXPECT_TRUE(std::regex_search(result, std::wregex(L"<Test name=\"Scripted\" [^>]*OverallResult=\"Fail\">\r\n"
                                                      L"\t\t<SubTest name=\"Test 1\" [^>]*Result=\"Pass\" />")))
        << ToUtf8(result);
    EXPECT_EQ(result.substr(result.size() - 10), L"</QDX>\r\n\r\n");
    const std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    EXPECT_TRUE(std::regex_search(log, line)) << ToUtf8(log);
    EXPECT_NE(HistoryResult(session).find(UiString(session, 142)), std::wstring::npos);
    if (!trace.Available()) return;
    std::vector<e2e::ReportedEvent> events;
    PollUntil(10000, [&] { return !(events = trace.Events()).empty(); });
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(std::pair(events[0].type, events[0].id), std::pair(0x0001u, 0x3e9u));
    // The platform's own handler (and with it Wine's crash dialog) never saw the crash.
    EXPECT_EQ(trace.Text().find(L"starting debugger"), std::wstring::npos) << ToUtf8(trace.Text());
}

TEST(LauncherRun, AModuleHostThatOutlivesItsTimeLimitEndsWithTheLauncher) {
    SYSTEM_INFO system{};
    ::GetNativeSystemInfo(&system);
    if (system.wProcessorArchitecture != PROCESSOR_ARCHITECTURE_AMD64)
        GTEST_SKIP() << "memory.dll runs inside the launcher on a 32-bit system";
    LauncherSession session;
    session.AddScriptedModule(L"return 0\n", L"memory");
    session.WriteProgramFile(L"x64\\bridgerun.txt", "hang");
    session.AddTestProgram(L"x64\\bridgerun.exe");
    Process launcher = session.Start(L"-unattended -timeout:3 /memory.dll");
    std::string pid;
    const std::wstring pidFile = session.programDir() + L"x64\\bridgerun.pid";
    ASSERT_TRUE(PollUntil(20000, [&] { return !(pid = ReadBytes(pidFile)).empty(); }));
    EXPECT_EQ(launcher.WaitExit(20000), 1u);
    HANDLE host = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, static_cast<DWORD>(std::stoul(pid)));
    const bool ended = !host || ::WaitForSingleObject(host, 10000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "x64\\bridgerun.exe still runs after the launcher";
    if (host && !ended) ::TerminateProcess(host, 0);
    if (host) ::CloseHandle(host);
}

TEST(LauncherRun, AResultFolderThatIsALinkGetsNothingWrittenAndTheRunEndsAsUsual) {
    e2e::EventLogTrace trace;
    LauncherSession session;
    const std::wstring elsewhere = session.MakeFolder(L"elsewhere");
    const std::wstring link = LauncherSession::programData() + L"Quenby Corporation";
    ASSERT_TRUE(e2e::MakeFolderLink(elsewhere, link));
    session.AddScriptedModule(L"setlog\nlog logged line\nsub 0 1\nask Checked 0x0\nreturn 0\n");
    Process launcher = session.Start(L"/scripted", e2e::EventLogTrace::Environment());
    const std::wstring refusal = UiString(session, 360);
    HWND window = WaitOutputText(launcher, link + refusal.substr(refusal.find(L"%1") + 2));
    EXPECT_NE(window, nullptr) << "no refusal in the pane";
    EXPECT_EQ(AnswerMessageBox({std::nullopt, launcher.pid()}, IDOK, kRunTimeoutMs).outcome, BoxOutcome::Answered);
    EXPECT_EQ(launcher.WaitExit(kRunTimeoutMs), e2e::kLauncherExitCode);

    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((elsewhere + L"*").c_str(), &data);
    std::wstring names;
    do names += std::wstring(data.cFileName) + L" "; while (::FindNextFileW(find, &data));
    ::FindClose(find);
    EXPECT_EQ(names, L". .. ") << "written through the link";
    e2e::RemoveFolderLink(link);
    if (!trace.Available()) return;
    std::vector<e2e::ReportedEvent> events = trace.Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(std::pair(events[0].type, events[0].id), std::pair(0x0002u, 1006u));  // warning
    EXPECT_NE(events[0].text.find(L"a link to another place"), std::wstring::npos) << ToUtf8(events[0].text);
    EXPECT_NE(events[1].text.find(L"(not written)"), std::wstring::npos) << ToUtf8(events[1].text);
}

TEST(LauncherRun, AResultFileOfAHundredMegabytesIsSetAsideAndANewOneStarted) {
    e2e::EventLogTrace trace;
    LauncherSession session;
    for (const wchar_t* level : {L"Quenby Corporation", L"Quenby Corporation\\Orlix Hardware Diagnostics",
                                      L"Quenby Corporation\\Orlix Hardware Diagnostics\\QDXlog"})
        ::CreateDirectoryW((LauncherSession::programData() + level).c_str(), nullptr);
    {
        fw::UniqueFile huge(::CreateFileW(session.resultFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER size{};
        size.QuadPart = 100LL * 1024 * 1024;  // sparse: only its length is written
        ASSERT_TRUE(::SetFilePointerEx(huge.get(), size, nullptr, FILE_BEGIN) && ::SetEndOfFile(huge.get()));
    }
    session.AddScriptedModule(L"sub 0 1\nreturn 0\n");
    Process launcher = session.Start(L"/scripted", e2e::EventLogTrace::Environment());
    EXPECT_EQ(launcher.WaitExit(kRunTimeoutMs), e2e::kLauncherExitCode);

    WIN32_FILE_ATTRIBUTE_DATA setAside{};
    ASSERT_TRUE(::GetFileAttributesExW((session.resultFile() + L".bad").c_str(), GetFileExInfoStandard, &setAside));
    EXPECT_EQ(setAside.nFileSizeLow, 100u * 1024 * 1024);
    EXPECT_TRUE(std::regex_match(TextAfterMark(ReadBytes(session.resultFile())),
                                 std::wregex(L"<QDX>\r\n\t<Test name=\"Scripted\" [^>]*OverallResult=\"Pass\">\r\n"
                                             L"\t\t<SubTest name=\"Test 1\" [^>]*Result=\"Pass\" />\r\n"
                                             L"\t</Test>\r\n</QDX>\r\n\r\n")));
    if (!trace.Available()) return;
    std::vector<e2e::ReportedEvent> events = trace.Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(std::pair(events[0].type, events[0].id), std::pair(0x0002u, 1007u));
    EXPECT_NE(events[0].text.find(L"qdx_result.xml.bad"), std::wstring::npos) << ToUtf8(events[0].text);
}

TEST(LauncherRun, EveryRunLeavesAReportPageAndTheFinishedPageOffersIt) {
    LauncherSession session;
    session.AddScriptedModule(L"setlog\nlog passing module\\n\nsub 0 1\nreturn 0\n");
    session.AddScriptedModule(
        L"setlog\nlog <second> & \"failing\" module\\n\nsub 0 1\nfaults 50 1024 768\nsub 0 3\nreturn 1\n", L"second");
    Process launcher = session.Start(L"/scripted /second");
    HWND window = WaitLauncherWindow(launcher);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitRunEnd(window));
    EXPECT_TRUE(PollUntil(5000, [&] { return IsShown(FindControl(window, {kOpenReport})); }));

    // One page in the reports folder, and the same bytes as the latest.
    const std::wstring latest = session.resultFolder() + L"qdx_report_latest.html";
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((session.resultFolder() + L"reports\\qdx_report_*.html").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(::FindNextFileW(search, &found));
    ::FindClose(search);
    EXPECT_TRUE(std::regex_match(found.cFileName, std::wregex(L"qdx_report_\\d{8}_\\d{6}\\.html")));
    EXPECT_EQ(ReadBytes(session.resultFolder() + L"reports\\" + found.cFileName), ReadBytes(latest));
    EXPECT_NE(ReadBytes(latest).find("<td class=\"name\">Second</td>"), std::string::npos);
    // check_report.py reads both with Python's HTML parser.
    KeepForLinuxCheck(latest, L"report.html");
    KeepForLinuxCheck(session.resultFolder() + L"hwck_log00.txt", L"report_log.txt");
    PostCloseMessage(window);
    EXPECT_EQ(launcher.WaitExit(10000), 0u);
}

namespace {
size_t Count(const std::wstring& text, const std::wstring& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++count;
    return count;
}
}  // namespace

TEST(LauncherRun, BurnInOfThreeCyclesRecordsEachCycleWithItsLineASummaryAndTwoEvents) {
    e2e::EventLogTrace trace;
    LauncherSession session;
    session.AddScriptedModule(L"setlog\nsub 0 1\nreturn 0\n");
    Process launcher = session.Start(L"-unattended -cycles:3 /scripted", e2e::EventLogTrace::Environment());
    EXPECT_EQ(launcher.WaitExit(kRunTimeoutMs), e2e::kLauncherExitCode);
    const std::wstring result = TextAfterMark(ReadBytes(session.resultFile()));
    EXPECT_EQ(Count(result, L"<Test "), 3u) << ToUtf8(result);
    for (int k = 1; k <= 3; ++k)
        EXPECT_NE(result.find(L"OverallResult=\"Pass\" Cycle=\"" + std::to_wstring(k) + L"\">\r\n\t\t<SubTest"),
                  std::wstring::npos)
            << ToUtf8(result);
    const std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    for (const wchar_t* line : {L"Cycle 1 of 3\r\n", L"Cycle 2 of 3\r\n", L"Cycle 3 of 3\r\n",
                                L"Burn-in: 3 cycles run, 3 tests passed, 0 failed\r\nNo test failed\r\nCycle time: "})
        EXPECT_EQ(Count(log, line), 1u) << ToUtf8(log);
    if (!trace.Available()) return;
    std::vector<unsigned> ids;
    for (const e2e::ReportedEvent& event : trace.Events()) ids.push_back(event.id);
    EXPECT_EQ(ids, (std::vector<unsigned>{1004, 1005}));  // a passing test writes none
}

TEST(LauncherRun, BurnInStoppingOnTheFirstFailureEndsInItsCycleWithOne) {
    LauncherSession session;
    session.AddScriptedModule(L"setlog\nreturn 0\n");
    session.AddScriptedModule(L"oncall 2 1\nreturn 0\n", L"second");
    Process launcher = session.Start(L"-unattended -cycles:5 -stoponfail /scripted /second");
    EXPECT_EQ(launcher.WaitExit(kRunTimeoutMs), 1u);
    const std::wstring result = TextAfterMark(ReadBytes(session.resultFile()));
    EXPECT_EQ(Count(result, L"<Test "), 4u) << ToUtf8(result);
    EXPECT_NE(result.find(L"<Test name=\"Second\" "), result.rfind(L"<Test name=\"Second\" "));
    EXPECT_TRUE(std::regex_search(result, std::wregex(L"name=\"Second\" [^>]*OverallResult=\"Fail\" Cycle=\"2\">")));
    const std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    EXPECT_NE(log.find(L"2 cycles run, 3 tests passed, 1 failed\r\nFirst failure: cycle 2, Second\r\n"),
              std::wstring::npos)
        << ToUtf8(log);
}

TEST(LauncherRun, AttendedBurnInShowsABoxOnceAndAnswersItTheSameWayInLaterCycles) {
    LauncherSession session;
    session.AddScriptedModule(L"setlog\nbox Look at the screen\nreturn 0\n");
    Process launcher = session.Start(L"-cycles:2 /scripted");
    EXPECT_EQ(AnswerMessageBox({std::nullopt, launcher.pid()}, IDYES, e2e::kStartTimeoutMs).outcome,
              BoxOutcome::Answered);
    EXPECT_EQ(launcher.WaitExit(kRunTimeoutMs), e2e::kLauncherExitCode);  // no second box waits for a person
    EXPECT_NE(ReadBytes(session.programDir() + L"scripted.received.txt").find("box 6"), std::string::npos);  // IDYES
    const std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    EXPECT_EQ(Count(log, L"Message box \"scripted\": Look at the screen\r\nAnswered as in an earlier cycle: Yes\r\n"),
              1u)
        << ToUtf8(log);
}
