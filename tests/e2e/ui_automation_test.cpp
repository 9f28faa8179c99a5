// The UI-automation helper against the boxer test program and uidriver: real
// windows, real processes, in the bench's desktop.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <set>
#include <stdexcept>

#include "../doubles/boxer_ids.h"
#include "temp_folder.h"
#include "ui_automation.h"

namespace testsupport {
namespace {

constexpr DWORD kWaitMs = 10000;
const std::wstring kBoxer = SUITE_TEST_BIN_DIR L"boxer.exe";
const std::wstring kDriver = SUITE_TEST_BIN_DIR L"uidriver.exe";

Process StartBoxer(const std::vector<std::wstring>& arguments, const LaunchOptions& options = {}) {
    return Process::Launch(kBoxer, JoinArguments(arguments), options);
}

// A boxer dialog that the test waits for; `exitCode` is what its "Done" button exits with.
struct BoxerDialog {
    BoxerDialog(const std::wstring& title, int exitCode, const std::wstring& note = {},
                const LaunchOptions& options = {})
        : process(StartBoxer({L"dialog", title, std::to_wstring(exitCode), note}, options)) {
        WindowQuery query;
        query.title = title;
        query.pid = process.pid();
        window = WaitTopWindow(query, kWaitMs);
    }
    HWND Control(int id) const {
        ControlQuery query;
        query.id = id;
        return FindControl(window, query);
    }
    Process process;
    HWND window = nullptr;
};

ULONGLONG MillisecondsSince(ULONGLONG start) { return ::GetTickCount64() - start; }

// ---- message boxes

TEST(MessageBoxes, AnswerWithAChosenButtonEndsTheBoxWithIt) {
    Process boxer = StartBoxer({L"box", L"Question box", L"Proceed with the test?", L"yesnocancel"});
    BoxAnswer answer = AnswerMessageBox({L"Question box", boxer.pid()}, IDNO, kWaitMs);
    EXPECT_EQ(answer.outcome, BoxOutcome::Answered);
    EXPECT_EQ(answer.caption, L"Question box");
    EXPECT_EQ(answer.text, L"Proceed with the test?");
    EXPECT_EQ(answer.button, IDNO);
    EXPECT_EQ(boxer.WaitExit(kWaitMs), static_cast<DWORD>(IDNO));
}

TEST(MessageBoxes, TheDefaultButtonIsTheBoxsOwn) {
    for (auto [type, expected] : {std::pair{L"ok", IDOK}, std::pair{L"yesno", IDYES}}) {
        Process boxer = StartBoxer({L"box", L"Default box", L"Text", type});
        HWND box = WaitMessageBox({L"Default box", boxer.pid()}, kWaitMs);
        ASSERT_TRUE(box) << type;
        EXPECT_TRUE(IsMessageBox(box));
        EXPECT_EQ(DefaultButtonOf(box), expected) << type;
        EXPECT_EQ(AnswerMessageBox({L"Default box", boxer.pid()}, std::nullopt, kWaitMs).outcome,
                  BoxOutcome::Answered);
        EXPECT_EQ(boxer.WaitExit(kWaitMs), static_cast<DWORD>(expected)) << type;
    }
}

TEST(MessageBoxes, AButtonTheBoxLacksIsNotPressed) {
    Process boxer = StartBoxer({L"box", L"Plain box", L"Just OK", L"ok"});
    BoxAnswer wrong = AnswerMessageBox({L"Plain box", boxer.pid()}, IDYES, kWaitMs);
    EXPECT_EQ(wrong.outcome, BoxOutcome::NoSuchButton);
    EXPECT_FALSE(boxer.WaitExit(200));
    EXPECT_EQ(AnswerMessageBox({L"Plain box", boxer.pid()}, IDOK, kWaitMs).outcome, BoxOutcome::Answered);
    EXPECT_EQ(boxer.WaitExit(kWaitMs), static_cast<DWORD>(IDOK));
}

TEST(MessageBoxes, TheOwningProcessTellsBoxesOfTheSameCaptionApart) {
    Process first = StartBoxer({L"box", L"Twin box", L"first", L"ok"});
    Process second = StartBoxer({L"box", L"Twin box", L"second", L"ok"});
    BoxAnswer answer = AnswerMessageBox({L"Twin box", second.pid()}, IDOK, kWaitMs);
    EXPECT_EQ(answer.text, L"second");
    EXPECT_TRUE(second.WaitExit(kWaitMs));
    EXPECT_FALSE(first.WaitExit(0));
    EXPECT_EQ(MessageBoxText(WaitMessageBox({L"Twin box", first.pid()}, kWaitMs)), L"first");
}

TEST(MessageBoxes, NoBoxEndsAtTheTimeout) {
    ULONGLONG start = ::GetTickCount64();
    EXPECT_EQ(AnswerMessageBox({L"A box nobody shows"}, IDOK, 300).outcome, BoxOutcome::NoBox);
    EXPECT_GE(MillisecondsSince(start), 250u);
    EXPECT_LT(MillisecondsSince(start), 3000u);
}

TEST(MessageBoxes, AnOrdinaryDialogIsNoMessageBox) {
    BoxerDialog dialog(L"Not a box", 0);
    ASSERT_TRUE(dialog.window);
    EXPECT_FALSE(IsMessageBox(dialog.window));
    EXPECT_FALSE(FindMessageBox({std::nullopt, dialog.process.pid()}));
}

// ---- windows and controls

TEST(Windows, FindsADialogByTitleAndReadsItsControls) {
    TempFolder work;
    LaunchOptions options;
    options.workingFolder = work.path();
    options.environment = {{L"SUITE_BOXER_NOTE", L"from the test"}};
    BoxerDialog dialog(L"Control dialog", 7, L"Note: %SUITE_BOXER_NOTE%", options);
    ASSERT_TRUE(dialog.window);
    EXPECT_EQ(ProcessOf(dialog.window), dialog.process.pid());
    EXPECT_EQ(ClassOf(dialog.window), L"#32770");
    EXPECT_EQ(TitleOf(dialog.window), L"Control dialog");

    ControlQuery note;
    note.id = IDC_BOXER_NOTE;
    note.visibleOnly = true;
    EXPECT_EQ(ReadText(WaitControl(dialog.window, note, kWaitMs)), L"Note: from the test");
    std::wstring folder = work.path().substr(0, work.path().size() - 1);  // without the backslash
    EXPECT_EQ(ReadText(dialog.Control(IDC_BOXER_FOLDER)), folder);

    ControlQuery byText;
    byText.className = L"Button";
    byText.text = L"Done";
    HWND done = FindControl(dialog.window, byText);
    EXPECT_EQ(done, dialog.Control(IDC_BOXER_DONE));
    EXPECT_TRUE(IsShown(done));
    EXPECT_TRUE(IsEnabled(done));

    RECT outer = WindowRect(dialog.window);
    RECT inner = WindowRect(done);
    EXPECT_GT(outer.right - outer.left, 0);
    EXPECT_GT(outer.bottom - outer.top, 0);
    EXPECT_TRUE(inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
                inner.bottom <= outer.bottom);
    EXPECT_TRUE(WaitForeground(dialog.window, kWaitMs));
}

TEST(Windows, AClickedButtonAndItsCommandBothReachTheDialog) {
    BoxerDialog clicked(L"Click dialog", 7);
    ASSERT_TRUE(clicked.window);
    ClickButton(clicked.Control(IDC_BOXER_DONE));
    EXPECT_EQ(clicked.process.WaitExit(kWaitMs), 7u);

    BoxerDialog commanded(L"Command dialog", 9);
    ASSERT_TRUE(commanded.window);
    CommandParent(commanded.Control(IDC_BOXER_DONE));
    EXPECT_EQ(commanded.process.WaitExit(kWaitMs), 9u);
}

TEST(Windows, EachWayOfClosingReachesTheDialog) {
    const std::pair<const char*, void (*)(HWND)> ways[] = {
        {"Alt+F4", &PressAltF4},
        {"SC_CLOSE", &PostSysCommandClose},
        {"WM_CLOSE", &PostCloseMessage},
        {"Escape", [](HWND window) { PressKey(window, VK_ESCAPE); }},
    };
    for (const auto& [name, close] : ways) {
        BoxerDialog dialog(L"Closing dialog", 7);
        ASSERT_TRUE(dialog.window) << name;
        close(dialog.window);
        EXPECT_TRUE(WaitGone(dialog.window, kWaitMs)) << name;
        EXPECT_EQ(dialog.process.WaitExit(kWaitMs), static_cast<DWORD>(IDCANCEL)) << name;
    }
}

TEST(Windows, TheProcessIdTellsWindowsOfTheSameTitleApart) {
    BoxerDialog first(L"Twin dialog", 0);
    BoxerDialog second(L"Twin dialog", 0);
    ASSERT_TRUE(first.window && second.window);
    EXPECT_NE(first.window, second.window);

    WindowQuery both;
    both.title = L"Twin dialog";
    EXPECT_EQ(FindTopWindows(both).size(), 2u);

    WindowQuery byClass;
    byClass.className = L"#32770";
    byClass.pid = second.process.pid();
    EXPECT_EQ(FindTopWindows(byClass), std::vector<HWND>{second.window});
}

TEST(Windows, AMissingWindowEndsAtTheTimeout) {
    WindowQuery query;
    query.title = L"A window nobody shows";
    ULONGLONG start = ::GetTickCount64();
    EXPECT_FALSE(WaitTopWindow(query, 300));
    EXPECT_GE(MillisecondsSince(start), 250u);
    EXPECT_LT(MillisecondsSince(start), 3000u);
}

// ---- screenshots

struct BmpHeaders {
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
};

BmpHeaders HeadersOf(const std::string& bytes) {
    BmpHeaders headers{};
    if (bytes.size() >= sizeof(headers.file) + sizeof(headers.info)) {
        std::memcpy(&headers.file, bytes.data(), sizeof(headers.file));
        std::memcpy(&headers.info, bytes.data() + sizeof(headers.file), sizeof(headers.info));
    }
    return headers;
}

TEST(Screenshots, TheWholeScreenIsSavedAsA24BitBmp) {
    BoxerDialog dialog(L"Screenshot dialog", 0, L"This dialog should be on the screenshot");
    ASSERT_TRUE(dialog.window);
    std::wstring path = SaveNamedScreenshot(L"ui_automation_dialog");
    ASSERT_FALSE(path.empty());
    std::string bytes = ReadBytes(path);
    BmpHeaders headers = HeadersOf(bytes);
    EXPECT_EQ(headers.file.bfType, 0x4D42);
    EXPECT_EQ(headers.file.bfSize, bytes.size());
    EXPECT_EQ(headers.info.biBitCount, 24);
    EXPECT_EQ(headers.info.biWidth, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(headers.info.biHeight, ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_EQ(headers.file.bfOffBits + Image24::StrideFor(headers.info.biWidth) * headers.info.biHeight,
              bytes.size());

    // The picture shows something: the desktop and the dialog differ in colour.
    std::optional<Image24> screen = CaptureScreen();
    ASSERT_TRUE(screen);
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 2 < screen->rows.size() && colours.size() < 3; i += 3 * 97)
        colours.insert(screen->rows[i] | screen->rows[i + 1] << 8 | screen->rows[i + 2] << 16);
    EXPECT_GE(colours.size(), 2u);
}

// ---- processes

TEST(Processes, AProgramStillRunningIsKilledWithItsChildren) {
    fw::UniqueHandle program;
    fw::UniqueHandle child;
    ULONGLONG start = ::GetTickCount64();
    {
        Process spawner = StartBoxer({L"spawn", L"dialog", L"Grandchild dialog", L"0"});
        WindowQuery query;
        query.title = L"Grandchild dialog";
        HWND window = WaitTopWindow(query, kWaitMs);
        ASSERT_TRUE(window);
        child.reset(::OpenProcess(SYNCHRONIZE, FALSE, ProcessOf(window)));
        ASSERT_TRUE(child);
        HANDLE copy = nullptr;
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), spawner.handle(), ::GetCurrentProcess(), &copy,
                                      SYNCHRONIZE, FALSE, 0));
        program.reset(copy);
        EXPECT_FALSE(spawner.WaitExit(100));
    }
    EXPECT_EQ(::WaitForSingleObject(program.get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(::WaitForSingleObject(child.get(), kWaitMs), WAIT_OBJECT_0);
    EXPECT_LT(MillisecondsSince(start), static_cast<ULONGLONG>(kWaitMs));
}

TEST(Processes, OwnershipMovesWithTheObject) {
    Process first = StartBoxer({L"sleep"});
    const DWORD pid = first.pid();
    Process second = std::move(first);
    EXPECT_EQ(first.pid(), 0u);
    EXPECT_EQ(first.handle(), nullptr);
    EXPECT_EQ(second.pid(), pid);
    EXPECT_FALSE(second.WaitExit(100));
    second.Kill();
    EXPECT_EQ(second.WaitExit(0), Process::kKilledExitCode);
}

TEST(Processes, AProgramThatCannotStartIsAClearError) {
    try {
        Process::Launch(SUITE_TEST_BIN_DIR L"no_such_program.exe");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("no_such_program.exe"), std::string::npos);
    }
}

// ---- uidriver, as shell scripts use it

struct DriverRun {
    std::optional<DWORD> exitCode;
    std::string output;
};

DriverRun RunDriver(const std::vector<std::wstring>& arguments) {
    TempFolder folder;
    LaunchOptions options;
    options.outputFile = folder.path() + L"out.txt";
    Process driver = Process::Launch(kDriver, JoinArguments(arguments), options);
    DriverRun run;
    run.exitCode = driver.WaitExit(kWaitMs * 2);
    run.output = ReadBytes(options.outputFile);
    return run;
}

TEST(Driver, AnswersAMessageBoxAndPrintsIt) {
    Process boxer = StartBoxer({L"box", L"Driver box", L"Insert a disc", L"yesno"});
    DriverRun run = RunDriver({L"answer-box", L"--timeout", L"10", L"--button", L"no"});
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, "Driver box: Insert a disc\n");
    EXPECT_EQ(boxer.WaitExit(kWaitMs), static_cast<DWORD>(IDNO));
}

TEST(Driver, PressesTheDefaultButtonUnlessTold) {
    Process boxer = StartBoxer({L"box", L"Driver default", L"Text", L"okcancel"});
    EXPECT_EQ(RunDriver({L"answer-box", L"--timeout", L"10"}).exitCode, 0u);
    EXPECT_EQ(boxer.WaitExit(kWaitMs), static_cast<DWORD>(IDOK));
}

TEST(Driver, TimesOutWithoutABoxOrWindow) {
    DriverRun box = RunDriver({L"answer-box", L"--timeout", L"0"});
    EXPECT_EQ(box.exitCode, 1u);
    EXPECT_NE(box.output.find("no message box"), std::string::npos);
    EXPECT_EQ(RunDriver({L"wait-window", L"--title", L"A window nobody shows", L"--timeout", L"0"}).exitCode, 1u);
}

TEST(Driver, WaitsForAWindow) {
    BoxerDialog dialog(L"Driver window", 0);
    ASSERT_TRUE(dialog.window);
    EXPECT_EQ(RunDriver({L"wait-window", L"--title", L"Driver window", L"--timeout", L"10"}).exitCode, 0u);
}

TEST(Driver, SavesAScreenshot) {
    TempFolder folder;
    std::wstring path = folder.path() + L"shots\\screen.bmp";
    EXPECT_EQ(RunDriver({L"screenshot", path}).exitCode, 0u);
    EXPECT_EQ(ReadBytes(path).substr(0, 2), "BM");
}

TEST(Driver, ABadCommandLineShowsTheUsage) {
    DriverRun run = RunDriver({L"answer-box", L"--button", L"maybe"});
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.output.find("usage:"), std::string::npos);
}

}  // namespace
}  // namespace testsupport
