// The video memory test's plain parts: patterns, compare and budget, texts.
#include <gtest/gtest.h>

#include <vector>

#include "modules/video/memtest/memory_patterns.h"
#include "modules/video/memtest/memtest_text.h"
#include "modules/video/memtest/surface_check.h"

namespace {

using namespace memtest;

std::vector<std::uint8_t> Buffer(const SurfaceView& view) {
    return std::vector<std::uint8_t>(static_cast<size_t>(view.pitch) * view.height);
}

TEST(VideoMemtestCheck, FillsAndComparesBothDepthsInsideThePitch) {
    for (const int bits : {32, 16}) {
        SurfaceView view{bits, 64 * 4, 40, 8, nullptr};  // a pitch wider than the rows
        auto memory = Buffer(view);
        view.bits = memory.data();
        for (int i = 0; i < kPatternCount; ++i) {
            FillPattern(view, PatternFor(bits, i));
            CBadPixelList faults;
            int budget = 0;
            EXPECT_FALSE(ComparePattern(view, 40, 8, PatternFor(bits, i), 1, faults, budget).budgetExhausted);
            EXPECT_EQ(0, faults.Count());
        }
        // Only the rows' width is written.
        EXPECT_EQ(0, memory[static_cast<size_t>(view.pitch) - 1]);
    }
}

TEST(VideoMemtestCheck, OnlyNewFaultsCostAndAFullListCostsNothing) {
    SurfaceView view{16, 16 * 2, 16, 16, nullptr};
    auto memory = Buffer(view);
    view.bits = memory.data();
    auto* pixels = reinterpret_cast<std::uint16_t*>(memory.data());
    FillPattern(view, 0x5555);
    pixels[7] = 0x5554;

    CBadPixelList faults;
    int budget = 2;
    EXPECT_FALSE(ComparePattern(view, 16, 16, 0x5555, 1, faults, budget).budgetExhausted);
    EXPECT_EQ(1, budget);
    // The same position in the same surface under a later pattern: free.
    EXPECT_FALSE(ComparePattern(view, 16, 16, 0x5555, 1, faults, budget).budgetExhausted);
    EXPECT_EQ(1, budget);
    // The same position in another surface costs again, and that was the last unit.
    EXPECT_FALSE(ComparePattern(view, 16, 16, 0x5555, 2, faults, budget).budgetExhausted);
    EXPECT_EQ(0, budget);
    EXPECT_TRUE(ComparePattern(view, 16, 16, 0x5555, 3, faults, budget).budgetExhausted);

    CBadPixelList full;
    for (int i = 0; i < CBadPixelList::kCapacity; ++i) EXPECT_TRUE(full.Add(9, i));
    EXPECT_FALSE(full.Add(9, 1000));
    EXPECT_FALSE(full.Add(9, 3));
    int left = 0;
    EXPECT_FALSE(ComparePattern(view, 16, 16, 0x5555, 4, full, left).budgetExhausted);
    EXPECT_EQ(0, left);
}

TEST(VideoMemtestText, DetailFromLongTranslationsStaysWithin500Characters) {
    const DetailLabels longLabels{std::wstring(300, L's'), std::wstring(300, L'z'), L"", L"", L"", L""};
    DetailText bounded;
    AppendFailureDetail(bounded, longLabels, {1, 8, 8, 32, 0, 0, 1});
    EXPECT_EQ(499u, bounded.Length());
}

TEST(VideoMemtestText, ProgressLineFillsThirtyCells) {
    // 40 MB allocated, 20 verified, a 4 MB surface after its 9th of 18 patterns: 22 MB of 40, 16.5 cells.
    EXPECT_EQ(16, ProgressCellsDone(8, 4.0, 20.0, 40.0));
    EXPECT_EQ(30, ProgressCellsDone(17, 4.0, 36.0, 40.0));
    EXPECT_EQ(0, ProgressCellsDone(0, 0.0, 0.0, 0.0));
    EXPECT_EQ(L">> >>     ", ProgressLine(2, L"  ").substr(0, 10));
    EXPECT_EQ(30 * 2 + 1u, ProgressLine(-4, L"  ").size());
}

}  // namespace
