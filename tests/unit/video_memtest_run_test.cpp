// The video memory test's DirectDraw side against our fake DirectDraw: set-up
// codes, allocation, stuck bits and the 16-bit fallback.
#include <gtest/gtest.h>

#include "fake_ddraw.h"
#include "modules/video/memtest/vid_mem_test.h"

namespace {

using namespace memtest;
using fakeddraw::FakeDirectDrawFactory;

constexpr DWORD kMegabyte = 1u << 20;

struct VidMemTestFixture : ::testing::Test {
    void SetUp() override {
        window = ::CreateWindowExW(0, L"STATIC", L"memtest", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        ::DestroyWindow(window);
        EXPECT_EQ(0, factory.record().liveObjects);
    }
    std::function<void(DWORD)> NoSleep() {
        return [this](DWORD ms) { slept += ms; };
    }

    FakeDirectDrawFactory factory;
    HWND window = nullptr;
    DWORD slept = 0;
    DetailText detail;
};

TEST_F(VidMemTestFixture, VerifiesAllFreeVideoMemoryLargestFirst) {
    factory.display().localVideoMemory = 37 * kMegabyte;
    {
        VidMemTest test(factory, NoSleep());
        ASSERT_EQ(kSetUpOk, test.SetUp(window, 800, 600, 32));
        ASSERT_EQ((fakeddraw::Mode{800, 600, 32}), factory.record().current);
        EXPECT_EQ(0, test.Run(window, detail, 0));
        EXPECT_EQ(37.0, test.MegabytesAllocated());
        // Nine 4 MB surfaces, one of 1 MB, then each smaller side once more ran out: 10 surfaces plus the copy.
        EXPECT_EQ(11, factory.record().surfacesCreated);
        EXPECT_EQ(0u, factory.record().videoMemoryInUse);  // every surface released once verified
        test.Release();
        test.Release();
    }
    EXPECT_STREQ(L"37.00M /37.00M free video memory has been tested!\r\n", detail.c_str());
    EXPECT_EQ(1000u, slept);
    EXPECT_EQ(1, factory.record().restoreDisplayMode);
    EXPECT_EQ(static_cast<DWORD>(DDSCL_NORMAL), factory.record().cooperativeLevels.back());
}

TEST_F(VidMemTestFixture, StuckBitStopsTheRunAndIsDescribed) {
    factory.display().localVideoMemory = 16 * kMegabyte;
    // Creation number 4 is the third video-memory surface (the read-back copy is number 1).
    factory.display().stuck = {{4, 5, 3, 0, 0x00000001}};
    VidMemTest test(factory, NoSleep());
    ASSERT_EQ(kSetUpOk, test.SetUp(window, 800, 600, 32));
    EXPECT_EQ(E_FAIL, test.Run(window, detail, 0));
    // 0xAAAAAAAA reads back with bit 0 set, at x 5 + y 3 times the copy's pitch of 1024 pixels.
    EXPECT_STREQ(L"\r\nSection: 3\r\nLocal Display Memory!\r\nSize of Section:(1024*1024*32)\r\nOffSet: 3077\r\n"
                 L"Write: 0xAAAAAAAA\r\nRead: 0xAAAAAAAB\r\n",
                 detail.c_str());
}

TEST_F(VidMemTestFixture, FallsBackToSixteenBitsWithTheSixteenBitPatterns) {
    factory.display().localVideoMemory = 2 * kMegabyte;
    factory.display().modeAnswers[{800, 600, 32}].otherwise = DDERR_INVALIDMODE;
    factory.display().stuck = {{2, 0, 0, 0x0001, 0}};
    VidMemTest test(factory, NoSleep());
    ASSERT_EQ(kSetUpOk, test.SetUp(window, 800, 600, 32));
    EXPECT_EQ((fakeddraw::Mode{800, 600, 16}), factory.record().current);
    EXPECT_EQ(E_FAIL, test.Run(window, detail, 0));
    EXPECT_EQ(16, test.SurfaceDepth());
    EXPECT_NE(nullptr, wcsstr(detail.c_str(), L"Size of Section:(1024*1024*16)\r\nOffSet: 0\r\nWrite: 0xFFFF\r\nRead: 0xFFFE\r\n"))
        << detail.c_str();
}

TEST_F(VidMemTestFixture, SetUpFailuresAnswerTheirCodes) {
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
        FakeDirectDrawFactory scripted;
        c.script(scripted.display());
        VidMemTest test(scripted, NoSleep());
        EXPECT_EQ(c.code, test.SetUp(window, 800, 600, 32));
        test.Release();
        EXPECT_EQ(0, scripted.record().liveObjects) << c.code;
    }
}

TEST_F(VidMemTestFixture, MemoryThatCannotBeReadBackFailsInsteadOfCountingAsTested) {
    factory.display().localVideoMemory = 4 * kMegabyte;
    factory.display().bltFast.otherwise = DDERR_SURFACEBUSY;
    {
        VidMemTest test(factory, NoSleep());
        ASSERT_EQ(kSetUpOk, test.SetUp(window, 800, 600, 32));
        EXPECT_EQ(DDERR_SURFACEBUSY, test.Run(window, detail, 0));
    }
    EXPECT_STREQ(L"BltFast - Error:0x887601ae\r\n", detail.c_str());

    // A creation failure other than running out ends the run with it.
    detail.Clear();
    factory.display().bltFast.otherwise = DD_OK;
    factory.display().videoMemory.queue = {DD_OK, DDERR_INVALIDPIXELFORMAT};
    VidMemTest test(factory, NoSleep());
    ASSERT_EQ(kSetUpOk, test.SetUp(window, 800, 600, 32));
    EXPECT_EQ(DDERR_INVALIDPIXELFORMAT, test.Run(window, detail, 0));
}

}  // namespace
