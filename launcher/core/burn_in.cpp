#include "burn_in.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "hostlink/protocol.h"
#include "string_ids.h"

namespace launcher {

namespace {

constexpr ULONGLONG kMsPerMinute = 60000;
// Result indexes of the result file (1 Pass, 2 Stopped, 3 Fail).
constexpr int kPass = 1;
constexpr int kStopped = 2;

std::wstring Load(const StringLoader& text, unsigned id) { return text ? text(id) : std::wstring(); }

std::wstring Seconds(double seconds) {
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%.1f", seconds);
    return buffer;
}

}  // namespace

int BurnInPlan::RepeatCount() const {
    if (cycles) return static_cast<int>(*cycles);
    return minutes ? INT_MAX : 1;
}

std::wstring BurnInPlan::Switches() const {
    std::wstring text;
    auto add = [&](const std::wstring& one) { text += (text.empty() ? L"" : L" ") + one; };
    if (cycles) add(L"-cycles:" + std::to_wstring(*cycles));
    if (minutes) add(L"-for:" + std::to_wstring(*minutes));
    if (stopOnFail) add(L"-stoponfail");
    return text;
}

bool TimeLeft(const BurnInPlan& plan, ULONGLONG elapsedMs) {
    return !plan.minutes || elapsedMs < *plan.minutes * kMsPerMinute;
}

bool MayStartCycle(const BurnInPlan& plan, int cycle, ULONGLONG elapsedMs) {
    if (plan.cycles && cycle > static_cast<int>(*plan.cycles)) return false;
    return TimeLeft(plan, elapsedMs);
}

bool EndsRunAfter(const BurnInPlan& plan, int moduleResult) {
    return plan.stopOnFail && moduleResult != hostlink::kModulePassed && moduleResult != hostlink::kModuleStopped;
}

std::wstring FillIn(const std::wstring& format, std::initializer_list<std::wstring> values) {
    std::wstring result;
    for (size_t i = 0; i < format.size(); ++i) {
        const size_t index = i + 1 < format.size() ? static_cast<size_t>(format[i + 1] - L'1') : values.size();
        if (format[i] == L'%' && index < values.size()) {
            result += values.begin()[index];
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}

std::wstring CycleLine(const BurnInPlan& plan, int cycle, ULONGLONG elapsedMs, const StringLoader& text) {
    if (plan.cycles)
        return FillIn(Load(text, ids::kCycleOfCycles), {std::to_wstring(cycle), std::to_wstring(*plan.cycles)}) +
               L"\r\n";
    return FillIn(Load(text, ids::kCycleOfMinutes),
                  {std::to_wstring(cycle), std::to_wstring(elapsedMs / kMsPerMinute),
                   std::to_wstring(plan.minutes.value_or(0))}) +
           L"\r\n";
}

int BurnInPercent(const BurnInPlan& plan, int cycle, long long cycleUnits, int testCount, ULONGLONG elapsedMs) {
    const long long tests = std::max(1, testCount);
    long long percent = 0;
    if (plan.cycles && *plan.cycles > 0) {
        const long long done = std::max(0, cycle - 1) * 100 * tests + std::clamp(cycleUnits, 0LL, 100 * tests);
        percent = done / (static_cast<long long>(*plan.cycles) * tests);
    }
    if (plan.minutes && *plan.minutes > 0)
        percent = std::max(percent, static_cast<long long>(elapsedMs * 100 / (*plan.minutes * kMsPerMinute)));
    return static_cast<int>(std::clamp(percent, 0LL, 99LL));
}

std::optional<CycleTimes> TimesOf(const std::vector<CycleResult>& cycles) {
    if (cycles.empty()) return std::nullopt;
    std::vector<double> seconds;
    seconds.reserve(cycles.size());
    for (const CycleResult& cycle : cycles) seconds.push_back(cycle.seconds);
    std::sort(seconds.begin(), seconds.end());
    const size_t half = seconds.size() / 2;
    const double median = seconds.size() % 2 ? seconds[half] : (seconds[half - 1] + seconds[half]) / 2;
    return CycleTimes{seconds.front(), median, seconds.back()};
}

void BurnInTally::Begin() { *this = BurnInTally{}; }

void BurnInTally::CycleStarted(int cycle, ULONGLONG nowMs) {
    End(nowMs);
    m_cycles.push_back({cycle, 0, 0, 0, 0});
    m_cycleStart = nowMs;
    m_cycleOpen = true;
}

void BurnInTally::SubResult(int number, int resultIndex) {
    ++m_subResults;
    if (number == 0) number = m_subResults;
    if (resultIndex != kPass && m_firstFailedSubTest == 0) m_firstFailedSubTest = number;
}

void BurnInTally::Verdict(std::wstring_view test, int resultIndex) {
    CycleResult none;
    CycleResult& cycle = m_cycles.empty() ? none : m_cycles.back();
    if (resultIndex == kPass) {
        ++m_passed;
        ++cycle.passed;
    } else if (resultIndex == kStopped) {
        ++m_stopped;
        ++cycle.stopped;
    } else {
        ++m_failed;
        ++cycle.failed;
        if (!m_firstFailure) m_firstFailure = BurnInFailure{Cycle(), std::wstring(test), m_firstFailedSubTest, resultIndex};
    }
    m_subResults = 0;
    m_firstFailedSubTest = 0;
}

void BurnInTally::End(ULONGLONG nowMs) {
    if (!m_cycleOpen) return;
    m_cycles.back().seconds = static_cast<double>(nowMs - m_cycleStart) / 1000.0;
    m_cycleOpen = false;
}

std::wstring SummaryText(const BurnInTally& tally, const StringLoader& text) {
    std::wstring summary = FillIn(Load(text, ids::kBurnInCounts),
                                  {std::to_wstring(tally.Cycles().size()), std::to_wstring(tally.Passed()),
                                   std::to_wstring(tally.Failed())}) +
                           L"\r\n";
    if (const std::optional<BurnInFailure>& first = tally.FirstFailure(); !first)
        summary += Load(text, ids::kBurnInNoFailure);
    else if (first->subTest == 0)
        summary += FillIn(Load(text, ids::kBurnInFirstFailure), {std::to_wstring(first->cycle), first->test});
    else
        summary += FillIn(Load(text, ids::kBurnInFirstFailureSubTest),
                          {std::to_wstring(first->cycle), first->test, std::to_wstring(first->subTest)});
    summary += L"\r\n";
    if (std::optional<CycleTimes> times = TimesOf(tally.Cycles()))
        summary += FillIn(Load(text, ids::kBurnInCycleTimes),
                          {Seconds(times->shortest), Seconds(times->median), Seconds(times->longest)}) +
                   L"\r\n";
    return summary;
}

WORD BurnInEndType(const BurnInTally& tally, bool userStopped) {
    if (tally.Failed() > 0) return EVENTLOG_ERROR_TYPE;
    if (userStopped || tally.Stopped() > 0 || tally.EndRequestedBy()) return EVENTLOG_WARNING_TYPE;
    return EVENTLOG_INFORMATION_TYPE;
}

}  // namespace launcher
