// The launcher started as a technician starts it: its windows, boxes, files and exit code.
#include <gtest/gtest.h>

#include "launcher_session.h"
#include "screenshot.h"
#include "ui_automation.h"

using namespace testsupport;
using e2e::LauncherSession;

TEST(LauncherStartup, NoKnownModuleShowsTheBoxAndExitsWithMinusOne) {
    LauncherSession session;
    Process launcher = session.Start(L"/nothing");
    HWND box = WaitMessageBox({std::nullopt, launcher.pid()}, e2e::kStartTimeoutMs);
    ASSERT_NE(box, nullptr) << "no message box appeared";
    SaveNamedScreenshot(L"startup-no-module");
    EXPECT_EQ(MessageBoxText(box), L"No module was specified.");
    ASSERT_TRUE(PressMessageBoxButton(box, IDOK));
    EXPECT_EQ(launcher.WaitExit(e2e::kStartTimeoutMs), e2e::kLauncherExitCode);
}

TEST(LauncherStartup, NoArgumentsAtAllIsNoModuleEither) {
    LauncherSession session;
    Process launcher = session.Start(L"-h");
    BoxAnswer answer = AnswerMessageBox({std::nullopt, launcher.pid()}, IDOK, e2e::kStartTimeoutMs);
    EXPECT_EQ(answer.outcome, BoxOutcome::Answered);
    EXPECT_EQ(answer.text, L"No module was specified.");
    EXPECT_EQ(launcher.WaitExit(e2e::kStartTimeoutMs), e2e::kLauncherExitCode);
}

TEST(LauncherStartup, SecondInstanceBringsTheFirstToTheFrontAndEnds) {
    LauncherSession session;
    session.AddScriptedModule(L"abortpoll 60000\nreturn 0\n");  // keeps the first one running
    Process first = session.Start(L"-h /scripted");
    HWND window = WaitTopWindow({std::wstring(e2e::kTitle), std::wstring(L"#32770"), first.pid()}, e2e::kStartTimeoutMs);
    ASSERT_NE(window, nullptr) << "the launcher's window did not appear";
    SaveNamedScreenshot(L"startup-first-instance");

    // Something else takes the front first.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(other);

    Process second = session.Start(L"/scripted");
    EXPECT_EQ(second.WaitExit(e2e::kStartTimeoutMs), 0u);
    EXPECT_TRUE(WaitForeground(window, 5000));
    EXPECT_EQ(FindTopWindows({std::wstring(e2e::kTitle), std::wstring(L"#32770"), 0}).size(), 1u);
    ::DestroyWindow(other);

    first.Kill();
}

TEST(LauncherStartup, AMissingLibraryIsNamedInABoxAndTheLauncherExitsWithOne) {
    for (const wchar_t* library : {L"QDXLang\\ENU\\uistrings.dll", L"sysident.dll"}) {
        LauncherSession session;
        session.Remove(library);
        e2e::EventLogTrace trace;
        Process launcher = session.Start(L"/video", e2e::EventLogTrace::Environment());
        BoxAnswer answer = AnswerMessageBox({std::nullopt, launcher.pid()}, IDOK, e2e::kStartTimeoutMs);
        ASSERT_EQ(answer.outcome, BoxOutcome::Answered);
        EXPECT_NE(answer.text.find(session.programDir() + library), std::wstring::npos)
            << testsupport::ToUtf8(answer.text);
        EXPECT_EQ(launcher.WaitExit(e2e::kStartTimeoutMs), 1u);
        std::vector<e2e::ReportedEvent> events;  // when run by keep_stderr.sh: one Error event, 1003
        if (trace.Available()) PollUntil(10000, [&] { return !(events = trace.Events()).empty(); });
        EXPECT_TRUE(!trace.Available() || (events.size() == 1 && events[0].type == 1 && events[0].id == 1003));
        if (std::wstring(library).find(L"uistrings") == std::wstring::npos) continue;
        // Without its language library the launcher records the run as stopped.
        EXPECT_EQ(ReadBytes(session.resultFile()),
                  "\xFF\xFE" + testsupport::Utf16Bytes(
                                     L"<QDX>\r\n\t<Test OverallResult=\"Stopped\">\r\n\t</Test>\r\n</QDX>\r\n\r\n"));
    }
}

TEST(LauncherStartup, MissingCatalogueIsNoModule) {
    LauncherSession session;
    session.Remove(L"QDXLang\\ENU\\initest.ini");
    Process launcher = session.Start(L"/video");
    BoxAnswer answer = AnswerMessageBox({std::nullopt, launcher.pid()}, IDOK, e2e::kStartTimeoutMs);
    EXPECT_EQ(answer.text, L"No module was specified.");
    EXPECT_EQ(launcher.WaitExit(e2e::kStartTimeoutMs), e2e::kLauncherExitCode);
}

TEST(LauncherStartup, UnattendedNothingToRunOrAMissingLibraryEndsWithoutABox) {
    // A box would wait for a person: each launch ending by itself shows there was none.
    const std::pair<const wchar_t*, DWORD> table[] = {
        {nullptr, 3u}, {L"QDXLang\\ENU\\uistrings.dll", 1u}, {L"sysident.dll", 1u}};
    for (auto [missing, code] : table) {
        LauncherSession session;
        if (missing) session.Remove(missing);
        Process launcher = session.Start(missing ? L"-unattended /video" : L"-unattended /nothing");
        EXPECT_EQ(launcher.WaitExit(e2e::kStartTimeoutMs), code) << (missing ? ToUtf8(missing) : "/nothing");
    }
}

TEST(LauncherStartup, UnattendedAUserInterfaceLibraryWithoutAWindowTemplateStopsAsAMissingOne) {
    LauncherSession session;
    session.AddTestProgram(L"uistrings_no_page.dll", L"QDXLang\\ENU\\uistrings.dll");
    e2e::EventLogTrace trace;
    Process launcher = session.Start(L"-unattended /video", e2e::EventLogTrace::Environment());
    EXPECT_EQ(launcher.WaitExit(e2e::kStartTimeoutMs), 1u);
    EXPECT_EQ(ReadBytes(session.resultFile()),
              "\xFF\xFE" + Utf16Bytes(L"<QDX>\r\n\t<Test OverallResult=\"Stopped\">\r\n\t</Test>\r\n</QDX>\r\n\r\n"));
    std::vector<e2e::ReportedEvent> events;
    if (trace.Available()) PollUntil(10000, [&] { return !(events = trace.Events()).empty(); });
    EXPECT_TRUE(!trace.Available() || (events.size() == 1 && events[0].type == 1 && events[0].id == 1003));
}

TEST(LauncherStartup, AJapaneseUserWhoseFolderLacksTheLaunchersLibraryGetsAnEnglishLauncherThatRuns) {
    if (!RunsAsJapaneseUser()) GTEST_SKIP() << kNotJapanese;
    // The Japanese folder holds only the optical checker's file.
    LauncherSession session;
    for (const wchar_t* file : {L"uistrings.dll", L"langpack.dll", L"initest.ini", L"video.txt", L"fastcheck.txt"})
        session.Remove(std::wstring(L"QDXLang\\JPN\\") + file);
    session.AddScriptedModule(L"setlog\nsub 0 1\nreturn 0\n");
    Process launcher = session.Start(L"/scripted");
    EXPECT_EQ(launcher.WaitExit(e2e::kStartTimeoutMs), e2e::kLauncherExitCode);
    EXPECT_NE(TextAfterMark(ReadBytes(session.resultFile())).find(L"OverallResult=\"Pass\""), std::wstring::npos);
    const std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    EXPECT_NE(log.find(L"= All tests passed ="), std::wstring::npos) << ToUtf8(log);
}
