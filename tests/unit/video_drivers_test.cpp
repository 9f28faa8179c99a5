// Video Tests #2 and #3 on our fake DirectDraw and a scripted Direct3D 8: the
// memory test's device, the 3D scene's set-up, and what each sub-test reports
// to the launcher, in order.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "d3d/d3d_test.h"
#include "d3d/run_3d_test.h"
#include "fake_d3d8/fake_d3d8.h"
#include "framework/resources.h"
#include "memtest/run_memory_test.h"
#include "memtest/vid_mem_test.h"
#include "pass_sequence.h"
#include "resources/string_ids.h"
#include "test_window.h"
#include "video_module_test.h"

using namespace videotest;

namespace {

constexpr DWORD kMegabyte = 1u << 20;

class VideoDriversTest : public VideoModuleTest {
protected:
    void SetUp() override {
        VideoModuleTest::SetUp();
        record->modes = {{800, 600, 60, D3DFMT_X8R8G8B8}, {1024, 768, 60, D3DFMT_X8R8G8B8}};
        directDraw.display().localVideoMemory = 5 * kMegabyte;
    }
    void TearDown() override {
        EXPECT_EQ(0, directDraw.record().liveObjects);
        EXPECT_EQ(0, record->liveObjects);
        EXPECT_EQ(nullptr, ::FindWindowW(video::kTestWindowClass, nullptr)) << "a test window was left open";
    }

    video3d::D3DTestPlatform Scripted(const wchar_t* library = SUITE_DIST_DIR L"artpack.dll") {
        video3d::D3DTestPlatform platform = SystemD3DTestPlatform();
        platform.createDirect3D = [r = record] { return fake_d3d8::CreateFakeDirect3D(r); };
        platform.textureLibrary = library;
        return platform;
    }
    memtest::VidMemTest Device(fakeddraw::FakeDirectDrawFactory& factory) {
        return memtest::VidMemTest(factory, [this](DWORD ms) { platform.Sleep(ms); });
    }
    std::vector<std::wstring> Reports() const {
        std::vector<std::wstring> reports;
        for (const std::wstring& line : host.lines)
            if (line.rfind(L"log:", 0) != 0) reports.push_back(line);
        return reports;
    }

    fake_d3d8::Record record = std::make_shared<fake_d3d8::D3D8Record>();
    video3d::ResolutionText detail;
};

TEST_F(VideoDriversTest, MemoryTestVerifiesAllFreeVideoMemoryLargestFirst) {
    directDraw.display().localVideoMemory = 37 * kMegabyte;
    directDraw.display().videoMemoryNeverRunsOut = true;  // the free memory it reported is the bound
    EXPECT_EQ(0, RunMemoryTest(module));
    const std::vector<std::wstring> expected{L"text:" + Str(IDS_VIDEO_TEST2_TITLE), L"abort?", L"progress:50",
                                             L"progress:100", L"text:" + Str(IDS_VIDEO_OK), L"sub:0,1"};
    EXPECT_EQ(expected, Reports());
    EXPECT_EQ(L"log:37.00M /37.00M free video memory has been tested!\r\n", host.lines.back());
    // Nine 4 MB surfaces and one of 1 MB fill the free memory: 10 surfaces plus the copy.
    EXPECT_EQ(11, directDraw.record().surfacesCreated);
    EXPECT_EQ(1, directDraw.record().restoreDisplayMode);
    EXPECT_EQ(1, module.AccelerationOk);
    EXPECT_EQ(2000u, platform.slept);  // 500 and 500 between the steps, 1000 after the run
}

TEST_F(VideoDriversTest, MemoryTestStopsAtAStuckBitAndLogsItsDetailBeforeTheVerdict) {
    directDraw.display().localVideoMemory = 16 * kMegabyte;
    // Creation number 4 is the third video-memory surface (the read-back copy is number 1).
    directDraw.display().stuck = {{4, 5, 3, 0, 0x00000001}};
    EXPECT_EQ(1, RunMemoryTest(module));
    // The first pattern, 0xAAAAAAAA, reads back with bit 0 set at x 5 + y 3 times the copy's 1024 pixels.
    const std::wstring logged = host.Logged();
    const size_t detail = logged.find(L"\r\nSection: 3\r\nLocal Display Memory!\r\nSize of Section:(1024*1024*32)\r\n"
                                      L"OffSet: 3077\r\nWrite: 0xAAAAAAAA\r\nRead: 0xAAAAAAAB\r\n");
    ASSERT_NE(std::wstring::npos, detail) << testsupport::ToUtf8(logged);
    EXPECT_LT(detail, logged.find(Str(IDS_VIDEO_FAILED)));
    EXPECT_EQ(std::vector<std::wstring>{L"sub:0,3"}, host.Only(L"sub:"));
    EXPECT_EQ(std::vector<std::wstring>{L"faults:0:1024x1024:5,3=AAAAAA/AAAAAB;"}, host.Only(L"faults:"));
    EXPECT_EQ(1, module.AccelerationOk);  // the device was set up: no acceleration verdict
}

TEST_F(VideoDriversTest, MemoryTestFallsBackToSixteenBitsWithTheSixteenBitPatterns) {
    directDraw.display().localVideoMemory = 2 * kMegabyte;
    directDraw.display().modeAnswers[{800, 600, 32}].otherwise = DDERR_INVALIDMODE;
    directDraw.display().stuck = {{2, 0, 0, 0x0001, 0}};
    memtest::VidMemTest test = Device(directDraw);
    ASSERT_EQ(memtest::kSetUpOk, test.SetUp(host.hwnd(), 800, 600, 32));
    EXPECT_EQ((fakeddraw::Mode{800, 600, 16}), directDraw.record().current);
    memtest::DetailText detail;
    EXPECT_EQ(E_FAIL, test.Run(host.hwnd(), detail, 0));
    EXPECT_EQ(16, test.SurfaceDepth());
    EXPECT_NE(nullptr, wcsstr(detail.c_str(), L"Size of Section:(1024*1024*16)\r\nOffSet: 0\r\nWrite: 0xFFFF\r\nRead: 0xFFFE\r\n"))
        << detail.c_str();
    test.Release();
    test.Release();  // repeatable
    EXPECT_EQ(static_cast<DWORD>(DDSCL_NORMAL), directDraw.record().cooperativeLevels.back());
}

TEST_F(VideoDriversTest, MemoryTestSetUpFailuresAnswerTheirCodes) {
    struct Case {
        void (*script)(fakeddraw::FakeDisplay&);
        int code;
    } cases[] = {
        {[](fakeddraw::FakeDisplay& d) { d.create.otherwise = DDERR_NODIRECTDRAWHW; }, 202},
        {[](fakeddraw::FakeDisplay& d) {
             d.modeAnswers[{800, 600, 32}].otherwise = DDERR_UNSUPPORTEDFORMAT;
             d.modeAnswers[{800, 600, 16}].otherwise = E_NOTIMPL;
         },
         204},
        {[](fakeddraw::FakeDisplay& d) { d.modeAnswers[{800, 600, 32}].otherwise = DDERR_GENERIC; }, 206},
        {[](fakeddraw::FakeDisplay& d) { d.systemMemory.otherwise = DDERR_INVALIDPARAMS; }, 209},
        {[](fakeddraw::FakeDisplay& d) { d.systemMemory.otherwise = E_OUTOFMEMORY; }, 215},
    };
    for (const Case& c : cases) {
        fakeddraw::FakeDirectDrawFactory scripted;
        c.script(scripted.display());
        memtest::VidMemTest test = Device(scripted);
        EXPECT_EQ(c.code, test.SetUp(host.hwnd(), 800, 600, 32));
        test.Release();
        EXPECT_EQ(0, scripted.record().liveObjects) << c.code;
    }
}

TEST_F(VideoDriversTest, MemoryThatCannotBeReadBackFailsInsteadOfCountingAsTested) {
    directDraw.display().localVideoMemory = 4 * kMegabyte;
    directDraw.display().bltFast.otherwise = DDERR_SURFACEBUSY;
    memtest::DetailText detail;
    {
        memtest::VidMemTest test = Device(directDraw);
        ASSERT_EQ(memtest::kSetUpOk, test.SetUp(host.hwnd(), 800, 600, 32));
        EXPECT_EQ(DDERR_SURFACEBUSY, test.Run(host.hwnd(), detail, 0));
    }
    EXPECT_STREQ(L"BltFast - Error:0x887601ae\r\n", detail.c_str());

    // A creation failure other than running out ends the run with it.
    directDraw.display().bltFast.otherwise = DD_OK;
    directDraw.display().videoMemory.queue = {DDERR_INVALIDPIXELFORMAT};
    memtest::VidMemTest test = Device(directDraw);
    ASSERT_EQ(memtest::kSetUpOk, test.SetUp(host.hwnd(), 800, 600, 32));
    EXPECT_EQ(DDERR_INVALIDPIXELFORMAT, test.Run(host.hwnd(), detail, 0));
}

TEST_F(VideoDriversTest, MemoryTestSetUpFailureClearsAccelerationAndCancelReportsNothing) {
    directDraw.display().create.otherwise = DDERR_NODIRECTDRAWHW;
    EXPECT_EQ(1, RunMemoryTest(module));
    EXPECT_EQ(0, module.AccelerationOk);
    EXPECT_NE(std::wstring::npos, host.Logged().find(L"\r\n" + Str(IDS_VIDEO_DDRAW_INIT_FAILED)));
    EXPECT_EQ(std::vector<std::wstring>{L"sub:0,3"}, host.Only(L"sub:"));

    host.lines.clear();
    host.abortAnswer = 1;
    EXPECT_EQ(2, RunMemoryTest(module));
    EXPECT_EQ((std::vector<std::wstring>{L"text:" + Str(IDS_VIDEO_TEST2_TITLE), L"abort?"}), Reports());
}

TEST_F(VideoDriversTest, ThreeDTestRendersFiveSecondsAndLogsItsResolutionAfterTheVerdict) {
    EXPECT_EQ(0, Run3DTestWith(module, Scripted()));
    const std::vector<std::wstring> expected{L"text:" + Str(IDS_VIDEO_TEST3_TITLE), L"abort?",
                                             L"progress:100", L"text:" + Str(IDS_VIDEO_OK), L"sub:0,1"};
    EXPECT_EQ(expected, Reports());
    EXPECT_EQ(L"log:3D Test Resolution: 1024*768*32\r\n", host.lines.back());
    EXPECT_GT(record->calls["Present"], 0);
    EXPECT_EQ(1u, record->resets.size());
}

TEST_F(VideoDriversTest, ThreeDFrameFailureFailsAndStillLeavesFullScreen) {
    record->failures["Present"] = {D3DERR_DRIVERINTERNALERROR, 3};
    EXPECT_EQ(1, Run3DTestWith(module, Scripted()));
    EXPECT_EQ(4, record->calls["Present"]);
    EXPECT_EQ(1u, record->resets.size());
    EXPECT_NE(std::wstring::npos, host.Logged().find(L"\r\n" + Str(IDS_VIDEO_D3D_INIT_FAILED)));
    EXPECT_EQ(std::vector<std::wstring>{L"sub:0,3"}, host.Only(L"sub:"));
    EXPECT_EQ(1, module.AccelerationOk);
}

// A notification, a UAC prompt or Alt+Tab takes the display: the test waits for it and goes on.
TEST_F(VideoDriversTest, LostDisplayOrDeviceIsWaitedForAndStopsTheTestWhenNotGivenBack) {
    directDraw.display().localVideoMemory = 4 * kMegabyte;
    directDraw.display().lock.queue = {DDERR_SURFACELOST};
    EXPECT_EQ(0, RunMemoryTest(module));
    EXPECT_EQ(1, directDraw.record().restoreAllSurfaces);
    record->failures = {{"Present", {D3DERR_DEVICELOST, 2, 1}}, {"TestCooperativeLevel", {D3DERR_DEVICENOTRESET, 0, 1}}};
    EXPECT_EQ(0, Run3DTestWith(module, Scripted()));
    ASSERT_EQ(2u, record->resets.size());  // the device set up again, then full screen left
    EXPECT_EQ(std::pair(FALSE, 1024u), std::pair(record->resets[0].Windowed, record->resets[0].BackBufferWidth));
    EXPECT_EQ((std::vector<std::wstring>{L"sub:0,1", L"sub:0,1"}), host.Only(L"sub:"));
    EXPECT_EQ(2u, host.Only(L"log:" + Str(IDS_VIDEO_DISPLAY_BACK)).size());

    host.lines.clear();
    directDraw.display().lock.queue = {DDERR_SURFACELOST};
    directDraw.display().cooperativeTest.otherwise = DDERR_NOEXCLUSIVEMODE;
    EXPECT_EQ(2, RunMemoryTest(module));
    record->failures = {{"Present", {D3DERR_DEVICELOST, 0}}, {"TestCooperativeLevel", {D3DERR_DEVICELOST, 0}}};
    EXPECT_EQ(2, Run3DTestWith(module, Scripted()));
    EXPECT_EQ((std::vector<std::wstring>{L"sub:0,2", L"sub:0,2"}), host.Only(L"sub:"));
    EXPECT_EQ(2u, host.Only(L"text:" + Str(IDS_VIDEO_DISPLAY_NOT_BACK)).size());
}

TEST_F(VideoDriversTest, MissingTextureLibraryLogsItsOwnMessageAndKeepsTheStringSource) {
    const HMODULE before = fw::CurrentResourceModule();
    EXPECT_EQ(1, Run3DTestWith(module, Scripted(L"no_artpack_here.dll")));
    EXPECT_EQ(before, fw::CurrentResourceModule());
    EXPECT_NE(std::wstring::npos, host.Logged().find(L"\r\n" + Str(IDS_VIDEO_NO_TEXTURE)));
    EXPECT_EQ(0, module.AccelerationOk);
}

TEST_F(VideoDriversTest, NoUsableThreeDModeEndsThePassWithTheAccelerationVerdict) {
    record->modes = {{320, 200, 60, D3DFMT_X8R8G8B8}, {1024, 768, 60, D3DFMT_P8}};
    ModuleDirectory = L"Z:\\nonexistent\\";
    video::SubTests subTests{[](CVideoModule&) { return 0; }, &RunMemoryTest,
                             [this](CVideoModule& m) { return Run3DTestWith(m, Scripted()); }};
    EXPECT_EQ(1, video::RunOnePass(module, subTests));
    const std::wstring logged = host.Logged();
    EXPECT_NE(std::wstring::npos, logged.find(Str(IDS_VIDEO_D3D_INIT_FAILED)));
    EXPECT_NE(std::wstring::npos, host.Printed().find(Str(IDS_VIDEO_ERRORS_ACCELERATION)));
    EXPECT_EQ((std::vector<std::wstring>{L"sub:0,1", L"sub:0,3"}), host.Only(L"sub:"));
}

TEST_F(VideoDriversTest, SetsUpTheDesktopModeWithTheSceneItDescribes) {
    video3d::D3DTest test(Scripted());
    ASSERT_EQ(video3d::kD3DOk, test.SetUp(nullptr, 1024, 768, 32, detail));
    EXPECT_STREQ(L"3D Test Resolution: 1024*768*32\r\n", detail.c_str());
    ASSERT_EQ(1u, record->devicesCreated.size());
    const D3DPRESENT_PARAMETERS& p = record->devicesCreated[0];
    EXPECT_EQ(std::tuple(1024u, 768u, D3DFMT_X8R8G8B8, FALSE),
              std::tuple(p.BackBufferWidth, p.BackBufferHeight, p.BackBufferFormat, p.Windowed));
    EXPECT_EQ(D3DFMT_D24X8, p.AutoDepthStencilFormat);  // D32 is refused by this adapter
    EXPECT_EQ(840u * 2, record->indexData.size());
    EXPECT_EQ(21, reinterpret_cast<const WORD*>(record->indexData.data())[1]);

    for (int frame = 0; frame < 3; ++frame) ASSERT_EQ(video3d::kD3DOk, test.Frame());
    EXPECT_EQ(6.0f, test.Angle());
    ASSERT_EQ(3u, record->draws.size());
    EXPECT_EQ(std::tuple(D3DPT_TRIANGLESTRIP, 441u, 838u),
              std::tuple(record->draws[0].type, record->draws[0].vertexCount, record->draws[0].primitiveCount));
    // World: scale 6.5 * 4/3 after 6 degrees of turn, lifted by 4.
    EXPECT_NEAR(4.0f, record->transforms[D3DTS_WORLD]._42, 1e-5f);
    EXPECT_NEAR(6.5f * 4 / 3, std::sqrt(std::pow(record->transforms[D3DTS_WORLD]._11, 2.0f) +
                                        std::pow(record->transforms[D3DTS_WORLD]._12, 2.0f) +
                                        std::pow(record->transforms[D3DTS_WORLD]._13, 2.0f)),
                1e-4f);

    test.Release();
    ASSERT_EQ(1u, record->resets.size());
    EXPECT_TRUE(record->resets[0].Windowed);
    EXPECT_EQ(0u, record->resets[0].BackBufferWidth);
    test.Release();  // repeatable
}

TEST_F(VideoDriversTest, FallsBackToTheLargestModeAndStepsDownWhenOutOfVideoMemory) {
    {
        video3d::D3DTest test(Scripted());
        ASSERT_EQ(video3d::kD3DOk, test.SetUp(nullptr, 1366, 768, 32, detail));
        EXPECT_STREQ(L"3D Test Resolution: 1024*768*32\r\n", detail.c_str());
    }
    record->outOfVideoMemoryAt = {{1024, 768}};
    record->devicesCreated.clear();
    video3d::D3DTest test(Scripted());
    ASSERT_EQ(video3d::kD3DOk, test.SetUp(nullptr, 1024, 768, 32, detail));
    EXPECT_STREQ(L"3D Test Resolution: 800*600*32\r\n", detail.c_str());
    ASSERT_EQ(1u, record->devicesCreated.size());
    EXPECT_EQ(800u, record->devicesCreated[0].BackBufferWidth);
}

TEST_F(VideoDriversTest, SetUpFailuresAnswerTheirCodes) {
    struct Case {
        const char* call;
        HRESULT result;
        int code;
    } cases[] = {
        {"EnumAdapterModes", D3DERR_INVALIDCALL, 118},
        {"CreateDevice", D3DERR_NOTAVAILABLE, 103},
        {"SetRenderState:22", E_FAIL, 104},  // cull mode
        {"VertexLock", D3DERR_INVALIDCALL, 122},
        {"CreateTexture", D3DERR_NOTAVAILABLE, 115},
        {"CreateTexture", D3DERR_INVALIDCALL, 114},
        {"CreateTexture", E_OUTOFMEMORY, 116},
    };
    for (const Case& c : cases) {
        record->failures = {{c.call, {c.result, 0}}};
        video3d::D3DTest test(Scripted());
        EXPECT_EQ(c.code, test.SetUp(nullptr, 1024, 768, 32, detail)) << c.call;
    }
    record->failures.clear();
    {
        video3d::D3DTestPlatform none = Scripted();
        none.createDirect3D = [] { return static_cast<IDirect3D8*>(nullptr); };
        video3d::D3DTest test(none);
        EXPECT_EQ(100, test.SetUp(nullptr, 1024, 768, 32, detail));
    }
    record->depthFormats.clear();
    video3d::D3DTest test(Scripted());
    EXPECT_EQ(102, test.SetUp(nullptr, 1024, 768, 32, detail));
}

}  // namespace
