// The decisions of a burn-in: its texts, its progress over the whole run and its summary.
#include <gtest/gtest.h>

#include "burn_in.h"
#include "string_ids.h"

using namespace launcher;

namespace {
std::wstring English(unsigned id) {
    switch (id) {
    case ids::kCycleOfCycles: return L"Cycle %1 of %2";
    case ids::kCycleOfMinutes: return L"Cycle %1, %2 of %3 minutes";
    case ids::kBurnInCounts: return L"%1 cycles, %2 passed, %3 failed";
    case ids::kBurnInFirstFailure: return L"first: %1 %2";
    case ids::kBurnInFirstFailureSubTest: return L"first: %1 %2 sub %3";
    case ids::kBurnInNoFailure: return L"none failed";
    case ids::kBurnInCycleTimes: return L"times %1 %2 %3";
    default: return L"?";
    }
}
constexpr ULONGLONG kMinute = 60000;
}  // namespace

TEST(BurnIn, CycleLinesAndProgressOverTheWholeRun) {
    const BurnInPlan cycles{3, {}, false}, minutes{{}, 90, false}, both{4, 10, true};
    EXPECT_EQ(CycleLine(cycles, 2, 0, English), L"Cycle 2 of 3\r\n");
    EXPECT_EQ(CycleLine(minutes, 4, 61 * kMinute + 59999, English), L"Cycle 4, 61 of 90 minutes\r\n");
    EXPECT_EQ(CycleLine(both, 1, 0, English), L"Cycle 1 of 4\r\n");
    EXPECT_EQ(FillIn(L"%2 before %1, 100%", {L"a", L"b"}), L"b before a, 100%");

    const std::tuple<BurnInPlan, int, long long, int, ULONGLONG, int> table[] = {
        {cycles, 1, 100, 2, 0, 16}, {cycles, 2, 150, 2, 0, 58}, {cycles, 3, 999, 2, 0, 99},
        {minutes, 7, 200, 1, 45 * kMinute, 50}, {minutes, 1, 0, 1, 200 * kMinute, 99}, {both, 4, 50, 1, kMinute, 87},
    };
    for (const auto& [plan, cycle, units, tests, elapsed, percent] : table)
        EXPECT_EQ(BurnInPercent(plan, cycle, units, tests, elapsed), percent) << cycle << " " << units;
}

TEST(BurnIn, SummaryNamesTheFirstFailureAndTheCycleTimes) {
    BurnInTally tally;
    tally.Begin();
    tally.CycleStarted(1, 1000);
    tally.SubResult(0, 1);
    tally.Verdict(L"A", 1);
    tally.CycleStarted(2, 4000);  // 3 s
    tally.Verdict(L"A", 3);       // no sub-result failed
    tally.CycleStarted(3, 5000);  // 1 s
    tally.SubResult(0, 1);
    tally.SubResult(0, 3);
    tally.Verdict(L"A", 3);
    tally.End(15000);  // 10 s
    EXPECT_EQ(SummaryText(tally, English), L"3 cycles, 1 passed, 2 failed\r\nfirst: 2 A\r\ntimes 1.0 3.0 10.0\r\n");
    EXPECT_EQ(tally.Cycles()[2], (CycleResult{3, 10.0, 0, 1, 0}));

    BurnInTally quiet;
    EXPECT_EQ(BurnInEndType(quiet, true), EVENTLOG_WARNING_TYPE);
}
