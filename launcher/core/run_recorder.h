#pragma once
// Collects what a report shows of a run while it runs: each test's times,
// sub-results, log lines and fault points, as the host messages bring them.
#include <optional>
#include <string>
#include <string_view>

#include "result_writer.h"
#include "run_report.h"

namespace launcher {

// A copy of a fault-points record, or nothing when it is outside the protocol's bounds.
std::optional<FaultPicture> CopyFaultPoints(const hostlink::FaultPointsRecord* record);

class RunRecorder {
public:
    static constexpr size_t kLogLinesPerTest = 200;
    // Distinct points a picture keeps across the checks of one sub-test.
    static constexpr size_t kPointsPerPicture = 10000;

    explicit RunRecorder(LocalTimeSource clock = CurrentLocalTime) : m_clock(std::move(clock)) {}

    void BeginRun();
    // The tests that begin from here on belong to burn-in cycle `cycle` (0: none).
    void SetCycle(int cycle) { m_cycle = cycle; }
    void BeginTest(std::wstring_view name);
    // Text of the log: whole lines go to the test under way.
    void Log(std::wstring_view text);
    // As the result file numbers them: 0 is the next number, at most 39 kept.
    void SubResult(int number, int resultIndex);
    // The points kept, 0 for a record out of bounds.
    int FaultPoints(int number, const hostlink::FaultPointsRecord* record);
    void Verdict(std::wstring_view name, int resultIndex);
    // The run so far; a test still under way is shown as failed.
    RunReport Report(TRunVerdict verdict) const;

private:
    void CloseTest(ReportTest& test) const;

    LocalTimeSource m_clock;
    std::optional<SYSTEMTIME> m_started;
    std::vector<ReportTest> m_tests;
    std::optional<ReportTest> m_current;
    std::optional<SYSTEMTIME> m_currentStart;
    std::wstring m_partialLine;
    int m_cycle = 0;
};

}  // namespace launcher
