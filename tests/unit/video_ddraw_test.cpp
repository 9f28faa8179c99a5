// The 2D test's device, patterns and driver on our own DirectDraw objects:
// set-up codes and mode fallback, read-back faults, lost surfaces, and the
// colours each pattern promises at each screen size.
#include <gtest/gtest.h>

#include <deque>
#include <tuple>

#include "d2d_test.h"
#include "patterns.h"
#include "resources/string_ids.h"
#include "run_2d_test.h"
#include "video_module_test.h"

using namespace videotest;
using fakeddraw::Mode;

namespace {

class VideoDeviceTest : public VideoModuleTest {
protected:
    void SetUp() override {
        VideoModuleTest::SetUp();
        video::ModuleModeList().clear();
    }
    void TearDown() override {
        test.Release();
        EXPECT_EQ(directDraw.record().liveObjects, 0);  // every reference given back
    }

    // Sets the display up at the fake desktop mode; the code of InitDirectDraw.
    int Init(int& width, int& height, int& bpp) { return test.InitDirectDraw(host.hwnd(), width, height, bpp); }
    int InitAtDesktop() {
        const Mode& d = directDraw.display().desktop;
        int width = d.width, height = d.height, bpp = d.bpp;
        return Init(width, height, bpp);
    }
    void UseDesktop(Mode mode) {
        directDraw.display().desktop = mode;
        platform.screen = {static_cast<int>(mode.width), static_cast<int>(mode.height)};
    }
    // The comparison surface's pixel at (x, y).
    DWORD CompPixel(int x, int y) {
        video::CSurfaceLock lock(test.CompSurface());
        return video::ReadPixel(lock.view(), x, y);
    }

    D2DTest test{module};
};

}  // namespace

TEST_F(VideoDeviceTest, SetUpCodes) {
    struct Case {
        const char* what;
        void (*script)(fakeddraw::FakeDisplay&);
        int code;
    } cases[] = {
        {"no hardware", [](fakeddraw::FakeDisplay& d) { d.create.queue = {DDERR_NODIRECTDRAWHW}; }, 202},
        {"back buffer", [](fakeddraw::FakeDisplay& d) { d.backBuffer.queue = {DDERR_NOTFOUND}; }, 208},
        {"comp memory", [](fakeddraw::FakeDisplay& d) { d.systemMemory.queue = {DDERR_OUTOFVIDEOMEMORY}; }, 215},
        {"comp other", [](fakeddraw::FakeDisplay& d) { d.systemMemory.queue = {DDERR_GENERIC}; }, 209},
        // The primary is asked for twice; the second failure's code depends on the video memory left.
        {"primary once", [](fakeddraw::FakeDisplay& d) { d.primary.queue = {DDERR_GENERIC}; }, video::kInitOk},
        {"primary with memory", [](fakeddraw::FakeDisplay& d) { d.primary.queue = {DDERR_GENERIC, DDERR_GENERIC}; }, 213},
        {"primary without memory",
         [](fakeddraw::FakeDisplay& d) {
             d.primary.queue = {DDERR_GENERIC, DDERR_GENERIC};
             d.localVideoMemory = d.totalVideoMemory = 1u << 20;
         },
         207},
        {"primary never", [](fakeddraw::FakeDisplay& d) { d.primary.otherwise = DDERR_OUTOFVIDEOMEMORY; }, 206},
    };
    for (const Case& c : cases) {
        fakeddraw::FakeDirectDrawFactory factory;
        c.script(factory.display());
        CVideoModule caseModule(host.hwnd(), factory, platform);
        {
            D2DTest device(caseModule);
            int width = 1024, height = 768, bpp = 32;
            EXPECT_EQ(device.InitDirectDraw(host.hwnd(), width, height, bpp), c.code) << c.what;
        }
        EXPECT_EQ(factory.record().liveObjects, 0) << c.what;
    }
    int width = 0, height = 768, bpp = 32;
    EXPECT_EQ(Init(width, height, bpp), 206);
}

TEST_F(VideoDeviceTest, RefusedModeFallsBackToTheNextModeOfItsRatioThenToAnyMode) {
    // 1280 x 1024 is widest but of another ratio: passed over until no mode of the ratio is left.
    struct Case {
        std::vector<Mode> modes;
        std::deque<HRESULT> answers;  // to 1024 x 768 x 32, then `otherwise`
        HRESULT otherwise;
        int code;
        DWORD width;
        std::vector<Mode> requests;
    } cases[] = {
        {{{640, 480, 32}, {1280, 1024, 32}, {1024, 768, 32}, {800, 600, 32}},
         {DDERR_GENERIC, DDERR_INVALIDMODE, DDERR_INVALIDMODE}, DD_OK, video::kInitOk, 800,
         {{1024, 768, 32}, {1024, 768, 32}, {1024, 768, 32}, {800, 600, 32}}},
        {{{1024, 768, 32}, {800, 600, 32}}, {DDERR_GENERIC, DDERR_INVALIDMODE, DDERR_GENERIC}, DD_OK, 206, 0, {}},
        {{{1280, 1024, 32}, {1024, 768, 32}}, {}, DDERR_INVALIDMODE, video::kInitOk, 1280, {}},
    };
    for (const Case& c : cases) {
        video::ModuleModeList().clear();
        fakeddraw::FakeDirectDrawFactory factory;
        factory.display().modes = c.modes;
        factory.display().modeAnswers[{1024, 768, 32}] = {c.answers, c.otherwise};
        CVideoModule caseModule(host.hwnd(), factory, platform);
        D2DTest device(caseModule);
        int width = 1024, height = 768, bpp = 32;
        EXPECT_EQ(device.InitDirectDraw(host.hwnd(), width, height, bpp), c.code) << c.width;
        if (c.code == video::kInitOk) {
            EXPECT_EQ(static_cast<DWORD>(width), c.width);
        }
        if (!c.requests.empty()) {
            EXPECT_EQ(factory.record().modeRequests, c.requests);
        }
    }
}

TEST_F(VideoDeviceTest, EnumerationKeepsNewTestModesOnlyAcrossSetUps) {
    directDraw.display().modes = {{800, 600, 32}, {800, 600, 8}, {639, 480, 32}, {640, 479, 32}, {800, 600, 32},
                                  {640, 480, 16}};
    EXPECT_EQ(InitAtDesktop(), video::kInitOk);
    EXPECT_EQ(video::ModuleModeList().size(), 2u);

    directDraw.display().modes = {{640, 480, 16}, {1024, 768, 32}, {800, 600, 32}};
    EXPECT_EQ(InitAtDesktop(), video::kInitOk);
    ASSERT_EQ(video::ModuleModeList().size(), 3u);
    EXPECT_EQ(video::ModuleModeList()[0].width, 1024);  // widest first
    EXPECT_EQ(video::ModuleModeList()[2].width, 640);
}

TEST_F(VideoDeviceTest, SixteenBitGreenMasks) {
    UseDesktop({800, 600, 16});
    for (DWORD mask : {0x07E0u, 0x03E0u}) {
        directDraw.display().greenMask16 = mask;
        EXPECT_EQ(InitAtDesktop(), video::kInitOk);
        EXPECT_EQ(test.GreenMask16(), mask);
    }
    directDraw.display().greenMask16 = 0x0FC0;
    EXPECT_EQ(InitAtDesktop(), 212);
}

TEST_F(VideoDeviceTest, ReleaseMayRunAgainAndRestoresTheDisplay) {
    ASSERT_EQ(InitAtDesktop(), video::kInitOk);
    test.Release();
    test.Release();
    EXPECT_EQ(directDraw.record().restoreDisplayMode, 1);
    EXPECT_EQ(directDraw.record().cooperativeLevels, (std::vector<DWORD>{DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, DDSCL_NORMAL}));
}

TEST_F(VideoDeviceTest, BudgetOfThreeAndFaultsInTheFirstBar) {
    // Bits of the comparison surface (the third surface of a set-up) that read back as 0 in bar 0 (white).
    for (int faults : {4, 3}) {
        fakeddraw::FakeDirectDrawFactory factory;
        for (DWORD i = 1; i <= static_cast<DWORD>(faults); ++i) factory.display().stuck.push_back({3, i, i, 0x80, 0});
        CVideoModule caseModule(host.hwnd(), factory, platform);
        D2DTest device(caseModule);
        int width = 1024, height = 768, bpp = 32;
        ASSERT_EQ(device.InitDirectDraw(host.hwnd(), width, height, bpp), video::kInitOk);
        int budget = 3;
        HRESULT bars = ColorBarPattern(device, 32, budget);
        if (faults == 4) {
            EXPECT_EQ(bars, E_FAIL);
            EXPECT_EQ(budget, -1);
            continue;
        }
        EXPECT_EQ(bars, S_OK);
        EXPECT_EQ(budget, 0);
        // The gradients read the same three cells as faulty: already listed, they cost nothing.
        EXPECT_EQ(GradientPattern(device, 32, budget), S_OK);
        EXPECT_EQ(budget, 0);
        EXPECT_EQ(device.BadPixels().BadPixelList()[2], 3 + 3 * 1024);
        EXPECT_EQ(device.BadPixels().BadPixelList()[3], video::CBadPixels::kFree);
    }
}

TEST_F(VideoDeviceTest, ACheckWithFaultsSendsExactlyTheirPositionsAndLogsThem) {
    // Three cells of the comparison surface in bar 0 (white) that lose a bit of blue.
    fakeddraw::FakeDirectDrawFactory factory;
    for (auto [x, y] : {std::pair{10u, 10u}, {20u, 5u}, {30u, 700u}}) factory.display().stuck.push_back({3, x, y, 0x80, 0});
    CVideoModule caseModule(host.hwnd(), factory, platform);
    D2DTest device(caseModule);
    int width = 1024, height = 768, bpp = 32, budget = 3;
    ASSERT_EQ(device.InitDirectDraw(host.hwnd(), width, height, bpp), video::kInitOk);
    EXPECT_EQ(ColorBarPattern(device, 32, budget), S_OK);
    EXPECT_EQ(host.Only(L"faults:"),
              std::vector<std::wstring>{L"faults:0:1024x768:20,5=FFFFFF/FFFF7F;10,10=FFFFFF/FFFF7F;30,700=FFFFFF/FFFF7F;"});
    EXPECT_NE(host.Logged().find(Str(IDS_VIDEO_FAULTY_PIXELS) + L": 3 - (20,5) (10,10) (30,700)\r\n"), std::wstring::npos);
}

TEST_F(VideoDeviceTest, LostSurfacesAndBusyBlitsAreWaitedOut) {
    ASSERT_EQ(InitAtDesktop(), video::kInitOk);
    directDraw.display().lostTimes = 3;
    directDraw.display().stillDrawingTimes = 5;
    directDraw.display().flip.queue = {DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING};
    int budget = 0;
    EXPECT_EQ(ColorBarPattern(test, 32, budget), S_OK);
    EXPECT_EQ(budget, 0);
    EXPECT_GE(directDraw.record().restores, 3);
}

TEST_F(VideoDeviceTest, FailedReadBackFailsTheBarsButNotTheRadialPattern) {
    ASSERT_EQ(InitAtDesktop(), video::kInitOk);
    directDraw.display().bltFast.otherwise = DDERR_GENERIC;
    int budget = 0;
    EXPECT_EQ(ColorBarPattern(test, 32, budget), E_FAIL);
    EXPECT_EQ(GradientPattern(test, 32, budget), E_FAIL);
    UseDesktop({640, 480, 32});
    ASSERT_EQ(InitAtDesktop(), video::kInitOk);
    EXPECT_EQ(RadialPattern(test, 32, budget), DDERR_GENERIC);
}

TEST_F(VideoDeviceTest, GradientsAsGridAt1024AndPerPixelAt800) {
    const video::CGradientImage grid(0, 1024, 768), perPixel(0, 800, 600);
    EXPECT_TRUE(grid.UsesGrid());
    EXPECT_FALSE(perPixel.UsesGrid());
    // x = 5 lies in column 2 (x 5..7), y = 10 in row 1 (y 6..11); blue from the column's left edge.
    const struct {
        const video::CGradientImage& image;
        int x, y;
        video::Rgb colour;
    } cells[] = {{grid, 5, 10, {1, 2, 227}}, {grid, 6, 11, {1, 2, 227}}, {grid, 7, 11, {1, 2, 226}},
                 {grid, 1023, 767, {254, 252, 228}}, {perPixel, 5, 10, {1, 4, 227}}, {perPixel, 6, 10, {1, 4, 226}}};
    for (const auto& c : cells) {
        const video::Rgb got = c.image.ColourAt(c.x, c.y);
        EXPECT_EQ(std::tuple(got.r, got.g, got.b), std::tuple(c.colour.r, c.colour.g, c.colour.b)) << c.x << "," << c.y;
    }
    // Drawn and read back as the check expects it, in both width classes.
    for (Mode mode : {Mode{1024, 768, 32}, Mode{800, 600, 32}}) {
        UseDesktop(mode);
        ASSERT_EQ(InitAtDesktop(), video::kInitOk);
        int budget = 0;
        EXPECT_EQ(GradientPattern(test, 32, budget), S_OK) << mode.width;
        EXPECT_EQ(CompPixel(500, 5), video::PixelValue(video::CGradientImage(9, mode.width, mode.height).ColourAt(500, 5), 32, 0));
    }
}

TEST_F(VideoDeviceTest, RadialPatternStepColoursAndFault) {
    EXPECT_EQ(video::RadialAngleStep(1600, 1200), 0.0001);
    EXPECT_EQ(video::RadialAngleStep(1280, 720), 0.0001);
    EXPECT_EQ(video::RadialAngleStep(1024, 768), 0.0015);
    const video::CRadialColours colours(1024, 768, 0xFF0000, 0x00FF00);
    EXPECT_EQ(colours.At(512, 384), 0x404000u);  // a quarter of red and green at the centre
    EXPECT_EQ(colours.At(256, 384), 0x40BF00u);  // green 0.75 of the way: round(255 * 0.75)
    EXPECT_EQ(video::CRadialColours(800, 600, 0xF800, 0x07E0).At(400, 300), (8u << 11) | (16u << 5));

    UseDesktop({640, 480, 32});
    ASSERT_EQ(InitAtDesktop(), video::kInitOk);
    int budget = 0;
    EXPECT_EQ(RadialPattern(test, 32, budget), S_OK);
    EXPECT_EQ(CompPixel(320, 240), 0x404000u);  // the copy read back before the erase
    directDraw.display().stuck.push_back({directDraw.record().surfacesCreated + 3, 100, 100, 0x800000, 0});
    ASSERT_EQ(InitAtDesktop(), video::kInitOk);
    EXPECT_EQ(RadialPattern(test, 32, budget), E_FAIL);
}

class Video2DDriverTest : public VideoDeviceTest {
protected:
    void SetUp() override {
        VideoDeviceTest::SetUp();
        UseDesktop({640, 480, 32});
    }
};

TEST_F(Video2DDriverTest, PassesAndLogsTheResolution) {
    EXPECT_EQ(Run2DTest(module), 0);
    EXPECT_EQ(host.Only(L"sub:"), std::vector<std::wstring>{L"sub:0,1"});
    EXPECT_TRUE(host.Only(L"faults:").empty());  // a passing check sends nothing
    EXPECT_EQ(host.Printed(), Str(IDS_VIDEO_TEST1_TITLE) + Str(IDS_VIDEO_OK));
    EXPECT_EQ(host.lines.back(), L"log:" + Str(IDS_VIDEO_2D_RESOLUTION) + L": 640*480*32\r\n");
    EXPECT_EQ(host.Only(L"progress:"), (std::vector<std::wstring>{L"progress:50", L"progress:100"}));  // 0 is not above the start
    EXPECT_EQ(platform.slept, 24500u);
    EXPECT_EQ(directDraw.record().surfacesCreated, 6);  // two set-ups: bars and gradients, radial pattern
}

TEST_F(Video2DDriverTest, FailuresAndCancel) {
    struct Case {
        const char* what;
        void (*script)(fakeddraw::FakeDisplay&, HostRecorder&);
        int result, acceleration, surfaces;
        std::vector<std::wstring> subs;
        std::wstring logged;  // a line the log must hold
    } cases[] = {
        {"faulty bars", [](fakeddraw::FakeDisplay& d, HostRecorder&) { d.stuck.push_back({3, 10, 10, 0x80, 0}); }, 1,
         1, 3, {L"sub:0,3"}, Str(IDS_VIDEO_PATTERN1_FAILED)},
        {"set-up", [](fakeddraw::FakeDisplay& d, HostRecorder&) { d.backBuffer.queue = {DDERR_NOTFOUND}; }, 1, 0, 2,
         {L"sub:0,3"}, Str(IDS_VIDEO_2D_INIT_FAILED) + L"(640*480*32)\r\n"},
        // A pattern that an error ended before every pixel was compared fails; the log names the error.
        {"read-back lock", [](fakeddraw::FakeDisplay& d, HostRecorder&) { d.lock.otherwise = DDERR_SURFACEBUSY; }, 1,
         1, 3, {L"sub:0,3"}, L"ColorBarPattern - Error:0x887601ae\r\n"},
        {"unlock", [](fakeddraw::FakeDisplay& d, HostRecorder&) { d.unlock.otherwise = DDERR_NOTLOCKED; }, 1, 1, 3,
         {L"sub:0,3"}, L"ColorBarPattern - Error:0x88760248\r\n"},
        {"flip still drawing", [](fakeddraw::FakeDisplay& d, HostRecorder&) { d.flip.otherwise = DDERR_WASSTILLDRAWING; },
         1, 1, 3, {L"sub:0,3"}, L"ColorBarPattern - Error:0x8876021c\r\n"},
        // Bars and gradients lock and copy 20 times before the radial pattern.
        {"primary lock",
         [](fakeddraw::FakeDisplay& d, HostRecorder&) { d.lock = {std::deque<HRESULT>(20, DD_OK), DDERR_SURFACEBUSY}; },
         1, 1, 6, {L"sub:0,3"}, L"RadialPattern - Error:0x887601ae\r\n"},
        {"copy back",
         [](fakeddraw::FakeDisplay& d, HostRecorder&) { d.bltFast = {std::deque<HRESULT>(20, DD_OK), DDERR_SURFACEBUSY}; },
         1, 1, 6, {L"sub:0,3"}, L"RadialPattern - Error:0x887601ae\r\n"},
        {"abort", [](fakeddraw::FakeDisplay&, HostRecorder& h) { h.abortAnswer = 1; }, 2, 1, 3, {}, L""},
        // Another window takes the display at the first read-back and gives it back: the bars run again.
        {"display lost once",
         [](fakeddraw::FakeDisplay& d, HostRecorder&) {
             d.bltFast.queue = {DDERR_SURFACELOST};
             d.cooperativeTest.queue = {DDERR_NOEXCLUSIVEMODE};
         },
         0, 1, 6, {L"sub:0,1"}, Str(IDS_VIDEO_DISPLAY_BACK)},
        {"display never back",
         [](fakeddraw::FakeDisplay& d, HostRecorder&) {
             d.flip.queue = {DDERR_SURFACELOST};
             d.cooperativeTest.otherwise = DDERR_NOEXCLUSIVEMODE;
         },
         2, 1, 3, {L"sub:0,2"}, Str(IDS_VIDEO_DISPLAY_NOT_BACK)},
    };
    for (const Case& c : cases) {
        fakeddraw::FakeDirectDrawFactory factory;
        factory.display().desktop = {640, 480, 32};
        HostRecorder caseHost;
        c.script(factory.display(), caseHost);
        CVideoModule caseModule(caseHost.hwnd(), factory, platform);
        caseModule.Initialize(1);
        EXPECT_EQ(Run2DTest(caseModule), c.result) << c.what;
        EXPECT_EQ(caseModule.AccelerationOk, c.acceleration) << c.what;
        EXPECT_EQ(factory.record().surfacesCreated, c.surfaces) << c.what;
        EXPECT_EQ(caseHost.Only(L"sub:"), c.subs) << c.what;
        EXPECT_NE(caseHost.Logged().find(c.logged), std::wstring::npos) << c.what;
        EXPECT_EQ(caseHost.Logged().find(Str(IDS_VIDEO_PATTERN2_FAILED)), std::wstring::npos) << c.what;
        EXPECT_EQ(caseHost.Logged().find(L"GradientPattern"), std::wstring::npos) << c.what;  // skipped after the bars
        EXPECT_EQ(factory.record().liveObjects, 0) << c.what;
        EXPECT_EQ(factory.record().modeRestoredWithoutWindow, 0) << c.what;
    }
}
