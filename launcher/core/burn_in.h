#pragma once
// Burn-in runs: the run list again and again, for a number of cycles or for a
// time, ending at the first failure when asked. The rules, the texts and the
// tally of a burn-in, without windows.
#include <windows.h>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

constexpr unsigned kMaxBurnInCycles = 100000;
constexpr unsigned kMaxBurnInMinutes = 100000;

using StringLoader = std::function<std::wstring(unsigned)>;

// What the command line asked: "-cycles:N", "-for:M", "-stoponfail".
struct BurnInPlan {
    std::optional<unsigned> cycles;
    std::optional<unsigned> minutes;
    bool stopOnFail = false;

    // Records of a burn-in name their cycle; a plain run is left as it always was.
    bool Active() const { return cycles.has_value() || minutes.has_value(); }
    // The runner's repeat count: the cycles, or as many as the time allows.
    int RepeatCount() const;
    // The switches as given, for the start event.
    std::wstring Switches() const;
};

// No cycle starts after the last one or once the time is up; no test starts
// once the time is up (the one under way finishes).
bool MayStartCycle(const BurnInPlan& plan, int cycle, ULONGLONG elapsedMs);
bool TimeLeft(const BurnInPlan& plan, ULONGLONG elapsedMs);
// A test that failed or could not run ends the run under "-stoponfail".
bool EndsRunAfter(const BurnInPlan& plan, int moduleResult);

// The format with "%1" to "%9" replaced by the values (a translation may reorder them).
std::wstring FillIn(const std::wstring& format, std::initializer_list<std::wstring> values);

// "Cycle k of N", or with "-for" alone "Cycle k, m of M minutes"; with a line end.
std::wstring CycleLine(const BurnInPlan& plan, int cycle, ULONGLONG elapsedMs, const StringLoader& text);

// The bar over the whole burn-in, 0 to 99 (100 is its end): `cycleUnits` are
// the module progress of the cycle under way (100 per finished module). With
// both limits, whichever is nearer.
int BurnInPercent(const BurnInPlan& plan, int cycle, long long cycleUnits, int testCount, ULONGLONG elapsedMs);

struct BurnInFailure {
    int cycle = 0;
    std::wstring test;
    int subTest = 0;  // the first sub-test that failed; 0: none did
    int resultIndex = 0;
    bool operator==(const BurnInFailure&) const = default;
};

struct CycleResult {
    int cycle = 0;
    double seconds = 0;
    int passed = 0;
    int failed = 0;
    int stopped = 0;
    bool operator==(const CycleResult&) const = default;
};

struct CycleTimes {
    double shortest = 0;
    double median = 0;
    double longest = 0;
};
std::optional<CycleTimes> TimesOf(const std::vector<CycleResult>& cycles);

// What a burn-in did, cycle by cycle: the records (result indexes) and the
// sub-results each cycle reported, and how long each cycle took.
class BurnInTally {
public:
    void Begin();
    void CycleStarted(int cycle, ULONGLONG nowMs);
    // Number 0 stands for the next number, as in the result file.
    void SubResult(int number, int resultIndex);
    void Verdict(std::wstring_view test, int resultIndex);
    // Closes the cycle under way.
    void End(ULONGLONG nowMs);
    void EndRequestedBy(std::wstring module) { m_endRequestedBy = std::move(module); }

    int Cycle() const { return m_cycles.empty() ? 0 : m_cycles.back().cycle; }  // the one under way
    const std::vector<CycleResult>& Cycles() const { return m_cycles; }
    const std::optional<BurnInFailure>& FirstFailure() const { return m_firstFailure; }
    const std::optional<std::wstring>& EndRequestedBy() const { return m_endRequestedBy; }
    int Passed() const { return m_passed; }
    int Failed() const { return m_failed; }
    int Stopped() const { return m_stopped; }

private:
    std::vector<CycleResult> m_cycles;
    ULONGLONG m_cycleStart = 0;
    bool m_cycleOpen = false;
    int m_subResults = 0;         // of the test under way
    int m_firstFailedSubTest = 0;  // of the test under way
    int m_passed = 0;
    int m_failed = 0;
    int m_stopped = 0;
    std::optional<BurnInFailure> m_firstFailure;
    std::optional<std::wstring> m_endRequestedBy;
};

// The lines after a burn-in: cycles run, tests passed and failed, the first
// failure, the shortest, median and longest cycle time.
std::wstring SummaryText(const BurnInTally& tally, const StringLoader& text);
// The end event's type: an error when a test failed, a warning when the run
// was stopped or a test asked to end it early, else information.
WORD BurnInEndType(const BurnInTally& tally, bool userStopped);

}  // namespace launcher
