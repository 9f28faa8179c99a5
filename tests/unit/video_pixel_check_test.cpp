// The read-back check on plain memory: what counts as a fault, where a fault
// is counted, and how the list of faulty pixels spends the error budget.
#include <gtest/gtest.h>

#include <vector>

#include "pixel_check.h"

using namespace video;

namespace {

struct Buffer {
    Buffer(int bpp, int width, int height)
        : view{bpp, static_cast<long>(((width * bpp / 8) + 3) & ~3), width, height, nullptr},
          bytes(static_cast<size_t>(view.pitch) * height) {
        view.bits = bytes.data();
    }
    void Fill(DWORD value) {
        for (int y = 0; y < view.height; ++y)
            for (int x = 0; x < view.width; ++x) Set(x, y, value);
    }
    void Set(int x, int y, DWORD value) {
        BYTE* p = bytes.data() + y * view.pitch + x * (view.bpp / 8);
        for (int i = 0; i < view.bpp / 8; ++i) p[i] = static_cast<BYTE>(value >> (8 * i));
    }
    SurfaceView view;
    std::vector<BYTE> bytes;
};

}  // namespace

TEST(VideoPixelCheck, PixelValuesOfEachDepth) {
    const Rgb orange{255, 128, 0}, grey{0x84, 0x86, 0x88};
    EXPECT_EQ(PixelValue(orange, 32, 0), 0xFF8000u);
    EXPECT_EQ(PixelValue(orange, 24, 0), 0xFF8000u);
    EXPECT_EQ(PixelValue(orange, 16, 0x07E0), 0xFC00u);
    EXPECT_EQ(PixelValue(orange, 16, 0x03E0), 0x7E00u);
    EXPECT_EQ(PixelValue(grey, 16, 0x07E0), (0x80u << 8) | (0x84u << 3) | (0x88u >> 3));
    EXPECT_EQ(PixelValue(grey, 16, 0x03E0), (0x80u << 7) | (0x80u << 2) | (0x88u >> 3));
}

TEST(VideoPixelCheck, OnlyMissingBitsAreFaults) {
    for (int bpp : {16, 24, 32}) {
        Buffer buffer(bpp, 40, 3);
        buffer.Fill(0xFFFFFF & (bpp == 16 ? 0xFFFF : 0xFFFFFF));  // white where grey was drawn
        int budget = 0;
        CBadPixels bad;
        bad.CheckArea(buffer.view, {0, 0, 40, 3}, 0x808080 & (bpp == 16 ? 0xFFFF : 0xFFFFFF), budget);
        EXPECT_EQ(budget, 0) << bpp;

        buffer.Fill(0);
        bad.CheckArea(buffer.view, {0, 0, 40, 3}, 0, budget);  // black never fails
        EXPECT_EQ(budget, 0) << bpp;

        buffer.Set(33, 2, 0x000001);
        bad.CheckArea(buffer.view, {0, 0, 40, 3}, 0x000001, budget);
        EXPECT_EQ(budget, -(40 * 3 - 1)) << bpp;  // budget 0: the first fault already fails
    }
}

TEST(VideoPixelCheck, PositionsAreIndicesOrByteOffsets) {
    Buffer b32(32, 10, 4), b16(16, 11, 4), b24(24, 7, 4);
    EXPECT_EQ(PixelPosition(b32.view, 3, 2), 3 + 2 * 10);
    EXPECT_EQ(PixelPosition(b16.view, 3, 2), 3 + 2 * 12);  // rows padded to 24 bytes
    EXPECT_EQ(b24.view.pitch, 24);
    EXPECT_EQ(PixelPosition(b24.view, 5, 2), 15 + 2 * 24);

    b24.Fill(0xFFFFFF);
    b24.Set(5, 2, 0xFFFF7F);  // one byte lost its top bit
    int budget = 3;
    CBadPixels bad;
    bad.CheckArea(b24.view, {0, 0, 7, 4}, 0xFFFFFF, budget);
    EXPECT_EQ(budget, 2);
    EXPECT_EQ(bad.BadPixelList()[0], 15 + 2 * 24);
    EXPECT_EQ(bad.BadPixelList()[1], CBadPixels::kFree);
}

TEST(VideoPixelCheck, ListedFaultsCostOnceAndAFullListKeepsCosting) {
    CBadPixels bad;
    int budget = 0;
    for (long position = 100; position < 130; ++position) bad.AddBadPixel(position, budget);
    EXPECT_EQ(budget, -30);
    bad.AddBadPixel(100, budget);
    bad.AddBadPixel(129, budget);
    EXPECT_EQ(budget, -30);
    bad.AddBadPixel(500, budget);
    bad.AddBadPixel(500, budget);  // not remembered: costs again
    EXPECT_EQ(budget, -32);
    EXPECT_EQ(bad.BadPixelList().back(), 129);
}

TEST(VideoPixelCheck, AreaIsClippedToTheSurface) {
    Buffer buffer(32, 8, 8);
    buffer.Fill(0);
    int budget = 0;
    CBadPixels bad;
    bad.CheckArea(buffer.view, {6, 6, 20, 20}, 0xFF, budget);
    EXPECT_EQ(budget, -4);
    bad.CheckEach(buffer.view, {-3, -3, 1, 1}, [](int, int) { return DWORD{0xFF}; }, budget);
    EXPECT_EQ(budget, -5);
}
