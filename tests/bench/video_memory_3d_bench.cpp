// Speed of Video Tests #2 and #3: the memory test's fill and compare next to
// memcpy on plain memory, the whole memory test on the platform's DirectDraw,
// and the frames the 3D scene renders in its five seconds.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <regex>
#include <vector>

#include "d3d/run_3d_test.h"
#include "launcher_session.h"
#include "ui_automation.h"
#include "ddraw_factory.h"
#include "memtest/memory_patterns.h"
#include "memtest/surface_check.h"
#include "memtest/vid_mem_test.h"
#include "test_window.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

HWND FullScreenWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &video::TestWindowProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"VideoBenchWindow";
    ::RegisterClassW(&windowClass);
    return ::CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"Video bench", WS_POPUP | WS_VISIBLE, 0, 0,
                             ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                             windowClass.hInstance, nullptr);
}

// Best of five rounds each, alternating, so that both meet the same machine load.
TEST(VideoBench, FillAndCompareNextToMemcpy) {
    constexpr int kSide = 1024;
    std::vector<std::uint32_t> surface(kSide * kSide), copy(kSide * kSide);
    const SurfaceView view{32, kSide * 4, kSide, kSide, surface.data()};
    const double megabytes = memtest::kPatternCount * 4.0;

    double checked = 0, copied = 0;
    for (int round = 0; round < 5; ++round) {
        Clock::time_point start = Clock::now();
        for (int i = 0; i < memtest::kPatternCount; ++i) {
            memtest::FillPattern(view, memtest::PatternFor(32, i));
            memtest::CBadPixelList faults;
            int budget = 0;
            EXPECT_FALSE(
                memtest::ComparePattern(view, kSide, kSide, memtest::PatternFor(32, i), 1, faults, budget).budgetExhausted);
        }
        checked = std::max(checked, megabytes / Seconds(start));
        start = Clock::now();
        for (int i = 0; i < memtest::kPatternCount; ++i) {
            surface[static_cast<size_t>(i)] = static_cast<std::uint32_t>(i);
            std::memcpy(copy.data(), surface.data(), surface.size() * 4);
        }
        copied = std::max(copied, megabytes / Seconds(start));
    }
    std::printf("fill + compare: %8.0f MB/s of surface verified (one 1024x1024x32 surface, 18 patterns)\n", checked);
    std::printf("memcpy:         %8.0f MB/s copied (same surface size, same run)\n", copied);
    std::printf("ratio:          %8.2f x memcpy\n", checked / copied);
}

TEST(VideoBench, MemoryTestOnThePlatformsVideoMemory) {
    HWND window = FullScreenWindow();
    ASSERT_NE(nullptr, window);
    memtest::VidMemTest test(video::SystemDirectDrawFactory(), [](DWORD) {});
    ASSERT_EQ(memtest::kSetUpOk, test.SetUp(window, 800, 600, 32));
    memtest::DetailText detail;
    const Clock::time_point start = Clock::now();
    const HRESULT hr = test.Run(window, detail, 0);
    const double seconds = Seconds(start);
    test.Release();
    ::DestroyWindow(window);
    std::printf("memory test: %ls", detail.c_str());
    EXPECT_EQ(0, hr) << std::hex << hr;
    std::printf("memory test: %.2f s for %.0f MB x 18 patterns: %.0f MB/s of surface verified\n", seconds,
                test.MegabytesAllocated(), test.MegabytesAllocated() * memtest::kPatternCount / seconds);
}

TEST(VideoBench, FramesOfTheThreeDScene) {
    HWND window = FullScreenWindow();
    ASSERT_NE(nullptr, window);
    video3d::D3DTest test(SystemD3DTestPlatform());
    video3d::ResolutionText detail;
    HDC dc = ::GetDC(window);
    const int depth = ::GetDeviceCaps(dc, BITSPIXEL);
    ::ReleaseDC(window, dc);
    ASSERT_EQ(video3d::kD3DOk, test.SetUp(window, static_cast<UINT>(::GetSystemMetrics(SM_CXSCREEN)),
                                          static_cast<UINT>(::GetSystemMetrics(SM_CYSCREEN)), depth, detail));
    int frames = 0;
    const Clock::time_point start = Clock::now();
    while (Seconds(start) < 5.0) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ASSERT_EQ(video3d::kD3DOk, test.Frame());
        ++frames;
    }
    test.Release();
    ::DestroyWindow(window);
    std::printf("3D scene: %d frames in 5 s (%.1f per second), %ls", frames, frames / 5.0, detail.c_str());
}

// The whole pass as a technician starts it, next to the waits that are part of
// the tests (about 35 s: pauses between steps, the 2D patterns' display time,
// the 3D scene's five seconds). The result file's times show each sub-test's share.
TEST(VideoBench, WholeVideoPassThroughTheLauncher) {
    e2e::LauncherSession session;
    const Clock::time_point start = Clock::now();
    testsupport::Process launcher = session.Start(L"/video");
    testsupport::BoxAnswer note = testsupport::AnswerMessageBox({std::wstring(L"Video Test"), launcher.pid()}, IDOK,
                                                                e2e::kStartTimeoutMs);
    ASSERT_EQ(note.outcome, testsupport::BoxOutcome::Answered);
    EXPECT_EQ(launcher.WaitExit(600000), e2e::kLauncherExitCode);
    const double seconds = Seconds(start);
    std::printf("whole /video pass: %.1f s from start to exit (fixed waits about 35 s: %.2f x)\n", seconds, seconds / 35.0);
    const std::wstring result = testsupport::TextAfterMark(testsupport::ReadBytes(session.resultFile()));
    const std::wregex line(L"<(Sub)?Test name=\"([^\"]*)\" DateTimeRan=\"[^ ]* ([0-9:]*)\"[^>]*(Result=\"[A-Za-z]*\")");
    if (!std::regex_search(result, line)) std::printf("result file:\n%s\n", testsupport::ToUtf8(result).c_str());
    for (std::wsregex_iterator i(result.begin(), result.end(), line), end; i != end; ++i)
        std::printf("  %-6ls %ls at %ls\n", (*i)[2].str().c_str(), (*i)[4].str().c_str(), (*i)[3].str().c_str());
}

}  // namespace
