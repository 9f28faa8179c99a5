// The video module's run frame without graphics: the pass loop and its
// verdicts with scripted sub-tests, the orientation refusal, the set-up error
// table, the settings file and the module folder.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "hostlink/protocol.h"
#include "init_error.h"
#include "pass_sequence.h"
#include "resources/string_ids.h"
#include "run_2d_test.h"
#include "video_module_test.h"

using namespace videotest;

namespace {

// Sub-tests that answer a chosen code per pass and note that they ran.
struct ScriptedSubTests {
    std::vector<int> run2D{0, 0, 0}, memory{0, 0, 0}, run3D{0, 0, 0};
    bool memoryClearsAcceleration = false;
    HostRecorder* host = nullptr;
    size_t pass2D = 0, passMemory = 0, pass3D = 0;

    video::SubTests Make() {
        return {[this](CVideoModule&) { host->lines.push_back(L"ran:2D"); return run2D[pass2D++]; },
                [this](CVideoModule& module) {
                    host->lines.push_back(L"ran:memory");
                    if (memoryClearsAcceleration) module.AccelerationOk = 0;
                    return memory[passMemory++];
                },
                [this](CVideoModule&) { host->lines.push_back(L"ran:3D"); return run3D[pass3D++]; }};
    }
};

class VideoPassTest : public VideoModuleTest {
protected:
    ScriptedSubTests Scripted(std::vector<int> run2D, std::vector<int> memory, std::vector<int> run3D,
                              bool clearsAcceleration = false) {
        host.lines.clear();
        return {std::move(run2D), std::move(memory), std::move(run3D), clearsAcceleration, &host};
    }

    ScriptedSubTests subTests{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, false, &host};
};

std::wstring Text(UINT id) { return L"text:" + Str(id); }

}  // namespace

TEST_F(VideoPassTest, LoopCountZeroRunsNothingAndPasses) {
    EXPECT_EQ(video::RunPasses(module, 0, 0, subTests.Make()), 0);
    EXPECT_TRUE(host.lines.empty());
    // Marking mode marks nothing clean that did not run.
    EXPECT_EQ(video::RunPasses(module, video::kMarking, 0, subTests.Make()), 0);
    EXPECT_TRUE(host.lines.empty());
}

TEST_F(VideoPassTest, CleanPassAsksForTheNoteAndReportsNoErrors) {
    EXPECT_EQ(video::RunPasses(module, 0, 1, subTests.Make()), 0);
    const std::vector<std::wstring> expected{
        L"box:" + Str(IDS_VIDEO_NOTE_CAPTION), Text(IDS_VIDEO_START), L"log:" + Str(IDS_VIDEO_START),
        L"ran:2D", L"log:\r\n", L"ran:memory", L"log:\r\n", L"ran:3D", L"log:\r\n", Text(IDS_VIDEO_NO_ERRORS),
        L"log:" + Str(IDS_VIDEO_NO_ERRORS), L"text:\r\n", L"log:\r\n"};
    EXPECT_EQ(host.lines, expected);
    EXPECT_EQ(platform.slept, 700u + 700u + 500u);
}

TEST_F(VideoPassTest, MarkedPassesNumberedAndAFailedPassBannered) {
    subTests.run2D = {0, 1, 0};
    EXPECT_EQ(video::RunPasses(module, video::kMarking, 3, subTests.Make()), 1);

    std::vector<std::wstring> markings;
    for (const std::wstring& line : host.lines)
        if (line == L"clearlog" || line.rfind(L"text:[", 0) == 0 || line.rfind(L"colour:", 0) == 0 ||
            line.rfind(L"bk:", 0) == 0 || line == Text(IDS_VIDEO_ERRORS))
            markings.push_back(line);
    // No clean marking at the end: the run failed.
    const std::vector<std::wstring> expected{
        L"clearlog", L"text:[Times: 1/3 ]\r\n", L"clearlog", L"text:[Times: 2/3 ]\r\n", Text(IDS_VIDEO_ERRORS),
        L"colour:" + Str(IDS_VIDEO_ERROR_BANNER) + L",65535", L"bk:255,0", L"clearlog", L"text:[Times: 3/3 ]\r\n"};
    EXPECT_EQ(markings, expected);
}

TEST_F(VideoPassTest, CleanMarkedRunIsMarkedAtTheEndUnlessFlag4) {
    EXPECT_EQ(video::RunPasses(module, video::kMarking, 1, subTests.Make()), 0);
    EXPECT_EQ(host.lines.back(), L"bk:255,1");
    EXPECT_TRUE(host.Only(L"clearlog").empty());  // one pass: no header

    ScriptedSubTests clean = Scripted({0}, {0}, {0});
    EXPECT_EQ(video::RunPasses(module, video::kMarking | video::kNoCleanMarking, 1, clean.Make()), 0);
    EXPECT_TRUE(host.Only(L"bk:").empty());
}

TEST_F(VideoPassTest, StopAfterFailureEndsWithoutSeparatorOrPause) {
    subTests.run3D = {1, 0, 0};
    EXPECT_EQ(video::RunPasses(module, video::kMarking | video::kStopAfterFailure, 3, subTests.Make()), 1);
    EXPECT_EQ(host.Only(L"box:").size(), 1u);
    EXPECT_EQ(host.lines.back(), L"bk:255,0");
    EXPECT_EQ(platform.slept, 700u + 700u);  // no 500 ms after the pass
}

TEST_F(VideoPassTest, VerdictOfOnePass) {
    struct Case {
        std::vector<int> run2D, memory, run3D;
        bool clearsAcceleration;
        int result;
        UINT verdict;
    } cases[] = {
        {{1}, {0}, {2}, false, 1, IDS_VIDEO_ERRORS},              // a failure outranks a later cancel
        {{0}, {1}, {0}, true, 1, IDS_VIDEO_ERRORS_ACCELERATION},  // a set-up failure asks about the accelerator
        {{0}, {2}, {0}, false, 2, IDS_VIDEO_CANCELLED},           // cancel skips the 3D test
        {{0}, {0}, {2}, false, 2, IDS_VIDEO_CANCELLED},
    };
    for (const Case& c : cases) {
        ScriptedSubTests scripted = Scripted(c.run2D, c.memory, c.run3D, c.clearsAcceleration);
        EXPECT_EQ(video::RunOnePass(module, scripted.Make()), c.result);
        EXPECT_NE(host.Printed().find(Str(c.verdict)), std::wstring::npos) << c.result;
        EXPECT_EQ(host.Only(L"ran:3D").size(), c.memory[0] == 2 ? 0u : 1u);
        if (c.result == 2) {
            EXPECT_NE(host.Printed().find(Str(IDS_VIDEO_ABORT) + L"\r\n" + Str(IDS_VIDEO_CANCELLED)), std::wstring::npos);
            EXPECT_EQ(host.lines.back(), L"progress:-1");
        }
    }
}

TEST_F(VideoPassTest, ScreenDecidesWhichTestsRun) {
    // Landscape or at least 800 wide runs the memory test; portrait or a turned display refuses the pass.
    struct Case {
        int width, height;
        DWORD orientation;
        int result;
        bool memoryRuns;
    } cases[] = {{640, 480, DMDO_DEFAULT, 0, true},   {600, 800, DMDO_DEFAULT, 0, false},
                 {800, 1280, DMDO_DEFAULT, 0, true},  {799, 799, DMDO_DEFAULT, 0, false},
                 {1024, 1280, DMDO_DEFAULT, 2, false}, {1024, 768, DMDO_90, 2, false},
                 {1024, 768, DMDO_270, 2, false}};
    for (const Case& c : cases) {
        platform.screen = {c.width, c.height};
        platform.orientation = c.orientation;
        ScriptedSubTests scripted = Scripted({0}, {0}, {0});
        video::SubTests real = scripted.Make();
        if (c.result == 2) real.run2D = video::VideoSubTests().run2D;  // the refusal is the 2D test's own
        EXPECT_EQ(video::RunOnePass(module, real), c.result) << c.width << "x" << c.height;
        EXPECT_EQ(host.Only(L"ran:memory").size(), c.memoryRuns ? 1u : 0u) << c.width << "x" << c.height;
        if (c.result != 2) continue;
        EXPECT_EQ(host.Only(L"sub:"), std::vector<std::wstring>{L"sub:0,2"});
        EXPECT_TRUE(host.Only(L"ran:").empty());
        EXPECT_NE(host.Printed().find(Str(IDS_VIDEO_ABORT) + L"\r\n" + Str(IDS_VIDEO_PORTRAIT_SCREEN) +
                                      Str(IDS_VIDEO_CANCELLED)),
                  std::wstring::npos);
        EXPECT_EQ(directDraw.record().surfacesCreated, 0);  // no window, no device
    }
}

TEST(VideoInitError, EachCodeLogsItsMessage) {
    // The edges of each range of codes.
    const std::pair<int, std::optional<UINT>> table[] = {
        {99, std::nullopt},  {100, IDS_VIDEO_D3D_INIT_FAILED},   {114, IDS_VIDEO_NO_TEXTURE},
        {134, std::nullopt}, {216, IDS_VIDEO_DDRAW_INIT_FAILED}, {217, std::nullopt},
        {301, IDS_VIDEO_DDRAW_INIT_FAILED}, {302, std::nullopt}, {400, IDS_VIDEO_WINDOW_INIT_FAILED}};
    HostRecorder host;
    CVideoModule module(host.hwnd());
    for (const auto& [code, id] : table) {
        host.lines.clear();
        ReportInitError(module, code);
        std::vector<std::wstring> expected{L"log:\r\n"};
        if (id) expected.push_back(L"log:" + Str(*id));
        EXPECT_EQ(host.lines, expected) << code;
    }
}

TEST(VideoSettings, ErrorLevelFromVideoIni) {
    testsupport::TempFolder temp;
    ModuleDirectory = temp.MakeFolder(L"program");
    const std::pair<std::wstring, int> table[] = {
        {L"[SETTINGS]\r\niErrorLevel=3\r\n", 3},     {L"[SETTINGS]\r\niErrorLevel=-5\r\n", 0},
        {L"[SETTINGS]\r\niErrorLevel=abc\r\n", 0},   {L"[SETTINGS]\r\niErrorLevel=99999999999999999999\r\n", -1},
        {L"[OTHER]\r\niErrorLevel=4\r\n", 0}};
    for (const auto& [content, level] : table) {
        temp.WriteUtf8(L"program\\video.ini", content);
        iErrorLevel = 77;
        LoadSettings();
        if (level >= 0)
            EXPECT_EQ(iErrorLevel, level) << testsupport::ToUtf8(content);
        else
            EXPECT_GE(iErrorLevel, 0) << testsupport::ToUtf8(content);
    }
    ::DeleteFileW((ModuleDirectory + L"video.ini").c_str());
    LoadSettings();
    EXPECT_EQ(iErrorLevel, 0);
}

TEST(VideoSettings, LongOrUnterminatedFoldersAreSafe) {
    EXPECT_EQ(video::ModuleFolderFrom(L"C:\\tests"), L"C:\\tests\\");
    EXPECT_EQ(video::ModuleFolderFrom(L"C:\\tests\\"), L"C:\\tests\\");
    const std::wstring fits(511 - 9, L'b');
    EXPECT_EQ(video::SettingsPath(fits).size(), 511u);
    EXPECT_EQ(video::SettingsPath(fits + L"c"), L"");
    ModuleDirectory = L"C:\\" + std::wstring(596, L'a') + L"\\";
    iErrorLevel = 5;
    LoadSettings();
    EXPECT_EQ(iErrorLevel, 0);
}

TEST(VideoStartTest, ExportTakesAnyFolderAndRunsNoPassForCountZero) {
    HMODULE video = ::LoadLibraryExW((std::wstring(SUITE_DIST_DIR) + L"video.dll").c_str(), nullptr,
                                     LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_NE(video, nullptr);
    auto start = reinterpret_cast<hostlink::StartTestProc>(::GetProcAddress(video, hostlink::kStartTestExportName));
    ASSERT_NE(start, nullptr);
    HostRecorder host;
    for (const std::wstring& folder : {L"C:\\" + std::wstring(600, L'x') + L"\\", std::wstring(L"C:\\nobackslash"),
                                       std::wstring()}) {
        host.lines.clear();
        // As the launcher does: StartTest on a thread of its own, this thread answers the messages.
        std::atomic<bool> done{false};
        int result = -1;
        std::thread runner([&] {
            result = start(host.hwnd(), video::kMarking, 0, hostlink::MakeModuleFolder(folder.c_str()));
            done = true;
        });
        while (!done) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        runner.join();
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(host.lines.empty());  // no log asked for, no clean marking
    }
    ::FreeLibrary(video);
}
