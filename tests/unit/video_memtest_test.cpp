// The video memory test's plain parts: allocation, patterns, compare and budget, texts.
#include <gtest/gtest.h>

#include <ddraw.h>

#include <vector>

#include "modules/video/memtest/allocation.h"
#include "modules/video/memtest/memory_patterns.h"
#include "modules/video/memtest/memtest_text.h"
#include "modules/video/memtest/surface_check.h"

namespace {

using namespace memtest;

TEST(VideoMemtestAllocation, ClaimsLargestFirstUntilEachSideRunsOut) {
    // 37 MB free at 32 bits: nine 4 MB surfaces, then 1 MB ones, and so on down.
    long long freeBytes = 37LL * 1048576;
    std::vector<int> sides;
    const HRESULT hr = AllocateLargestFirst([&](int side) {
        const long long bytes = 4LL * side * side;
        if (bytes > freeBytes) return DDERR_OUTOFVIDEOMEMORY;
        freeBytes -= bytes;
        sides.push_back(side);
        return DD_OK;
    });
    EXPECT_EQ(DD_OK, hr);
    ASSERT_EQ(10u, sides.size());
    EXPECT_EQ(std::vector<int>(9, 1024), std::vector<int>(sides.begin(), sides.begin() + 9));
    EXPECT_EQ(512, sides[9]);
    EXPECT_EQ(0, freeBytes);

    // Another failure ends the allocation with it.
    int tries = 0;
    EXPECT_EQ(DDERR_INVALIDPARAMS, AllocateLargestFirst([&](int side) {
                  ++tries;
                  return side == 256 ? DDERR_INVALIDPARAMS : DDERR_OUTOFVIDEOMEMORY;
              }));
    EXPECT_EQ(3, tries);
}

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
    EXPECT_EQ(0xAAAAAAAAu, PatternFor(32, 0));
    EXPECT_EQ(0xFFFFu, PatternFor(16, 0));
    EXPECT_EQ(0x88888888u, PatternFor(32, 17));
}

TEST(VideoMemtestCheck, StuckBitFailsAtItsPositionWithTheValueRead) {
    SurfaceView view{32, 1024 * 4, 1024, 1024, nullptr};
    auto memory = Buffer(view);
    view.bits = memory.data();
    FillPattern(view, 0xFFFFFFFF);
    reinterpret_cast<std::uint32_t*>(memory.data())[5 + 3 * 1024] = 0xFFFFFFFE;
    CBadPixelList faults;
    int budget = 0;
    const CompareOutcome outcome = ComparePattern(view, 1024, 1024, 0xFFFFFFFF, 3, faults, budget);
    EXPECT_TRUE(outcome.budgetExhausted);
    EXPECT_EQ(5 + 3 * 1024, outcome.position);
    EXPECT_EQ(0xFFFFFFFEu, outcome.valueRead);
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

TEST(VideoMemtestText, DetailNamesTheSectionSizePositionAndValues) {
    const DetailLabels labels{L"\r\nSection: ", L"Size of Section:", L"OffSet: ", L"Write: ", L"Read: ",
                              L"Local Display Memory!"};
    DetailText text;
    AppendFailureDetail(text, labels, {3, 1024, 1024, 32, 3077, 0xAAAAAAAA, 0xAAAAAAAB});
    EXPECT_STREQ(L"\r\nSection: 3\r\nLocal Display Memory!\r\nSize of Section:(1024*1024*32)\r\nOffSet: 3077\r\n"
                 L"Write: 0xAAAAAAAA\r\nRead: 0xAAAAAAAB\r\n",
                 text.c_str());
    DetailText small;
    AppendFailureDetail(small, labels, {12, 8, 8, 16, 9, 0xFFFF, 0x7FFF});
    EXPECT_NE(nullptr, wcsstr(small.c_str(), L"Write: 0xFFFF\r\nRead: 0x7FFF\r\n"));

    DetailText tested;
    AppendTestedLine(tested, 37.0, 37.0, L"free video memory has been tested!");
    EXPECT_STREQ(L"37.00M /37.00M free video memory has been tested!\r\n", tested.c_str());

    // Labels from a long translation never write past 500 characters.
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
    EXPECT_EQ(2 * 3 + 28 * 2 + 1u, ProgressLine(2, L"  ").size());
    EXPECT_EQ(30 * 3 + 1u, ProgressLine(30, L"  ").size());
    EXPECT_EQ(30 * 2 + 1u, ProgressLine(-4, L"  ").size());
}

}  // namespace
