#include "run_recorder.h"

#include <algorithm>

namespace launcher {

namespace {

std::optional<ULONGLONG> Ticks(const std::optional<SYSTEMTIME>& time) {
    FILETIME file{};
    if (!time || !::SystemTimeToFileTime(&*time, &file)) return std::nullopt;
    return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

long long SecondsBetween(const std::optional<SYSTEMTIME>& from, const std::optional<SYSTEMTIME>& to) {
    std::optional<ULONGLONG> a = Ticks(from), b = Ticks(to);
    if (!a || !b || *b < *a) return 0;
    return static_cast<long long>((*b - *a) / 10000000ULL);
}

bool SamePlace(const hostlink::FaultPoint& a, const hostlink::FaultPoint& b) { return a.x == b.x && a.y == b.y; }

}  // namespace

TRunVerdict RunVerdictFor(const RunOutcome& outcome, bool userStopped, bool endedNormally) {
    if (!endedNormally || outcome.broken) return TRunVerdict::Incomplete;
    if (outcome.failed > 0) return TRunVerdict::Fail;
    if (outcome.stopped > 0 || userStopped) return TRunVerdict::Stopped;
    return TRunVerdict::Pass;
}

std::optional<FaultPicture> CopyFaultPoints(const hostlink::FaultPointsRecord* record) {
    using namespace hostlink;
    if (!record) return std::nullopt;
    const FaultPointsRecord header = *record;
    if (header.width < 1 || header.width > kMaxFaultPictureSide || header.height < 1 ||
        header.height > kMaxFaultPictureSide || header.count < 0 || header.count > kMaxFaultPoints)
        return std::nullopt;
    FaultPicture picture{0, header.width, header.height, {}, static_cast<size_t>(header.count)};
    const FaultPoint* points = PointsOf(record);
    picture.points.assign(points, points + header.count);
    return picture;
}

void RunRecorder::BeginRun() {
    m_started = m_clock();
    m_tests.clear();
    m_current.reset();
    m_partialLine.clear();
}

void RunRecorder::BeginTest(std::wstring_view name) {
    if (m_current) Verdict(m_current->name, kResultFail);  // a test that never gave its verdict has not passed
    m_currentStart = m_clock();
    m_current = ReportTest{std::wstring(name), kResultFail, m_cycle, FormatResultDateTime(m_currentStart)};
    m_partialLine.clear();
}

void RunRecorder::Log(std::wstring_view text) {
    if (!m_current) return;
    m_partialLine += text;
    size_t end;
    while ((end = m_partialLine.find(L'\n')) != std::wstring::npos) {
        std::wstring line = m_partialLine.substr(0, end);
        m_partialLine.erase(0, end + 1);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        std::vector<std::wstring>& lines = m_current->logLines;
        lines.push_back(std::move(line));
        if (lines.size() > kLogLinesPerTest) {
            lines.erase(lines.begin());
            ++m_current->logLinesLeftOut;
        }
    }
}

void RunRecorder::SubResult(int number, int resultIndex) {
    if (!m_current) BeginTest(L"");
    std::vector<launcher::SubResult>& subs = m_current->subResults;
    if (subs.size() >= ResultXmlWriter::kMaxPendingSubTests) return;
    if (number == 0) number = static_cast<int>(subs.size()) + 1;
    subs.push_back({number, resultIndex, FormatResultDateTime(m_clock())});
}

int RunRecorder::FaultPoints(int number, const hostlink::FaultPointsRecord* record) {
    std::optional<FaultPicture> copy = CopyFaultPoints(record);
    if (!copy || copy->points.empty()) return 0;
    if (!m_current) BeginTest(L"");
    if (number == 0) number = static_cast<int>(m_current->subResults.size()) + 1;
    std::vector<FaultPicture>& pictures = m_current->faults;
    auto picture = std::find_if(pictures.begin(), pictures.end(), [&](const FaultPicture& p) {
        return p.subTest == number && p.width == copy->width && p.height == copy->height;
    });
    if (picture == pictures.end())
        picture = pictures.insert(pictures.end(), FaultPicture{number, copy->width, copy->height, {}, 0});
    picture->reported += copy->reported;
    for (const hostlink::FaultPoint& point : copy->points) {
        if (picture->points.size() >= kPointsPerPicture) break;
        if (std::none_of(picture->points.begin(), picture->points.end(),
                         [&](const hostlink::FaultPoint& known) { return SamePlace(known, point); }))
            picture->points.push_back(point);
    }
    return static_cast<int>(copy->reported);
}

void RunRecorder::CloseTest(ReportTest& test) const { test.seconds = SecondsBetween(m_currentStart, m_clock()); }

// As in the result file, a verdict takes the sub-results reported since the
// last one; a verdict under another name (a module's own) leaves the test open.
void RunRecorder::Verdict(std::wstring_view name, int resultIndex) {
    if (!m_current) BeginTest(name);
    ReportTest row;
    if (m_current->name == name || m_current->name.empty()) {
        row = std::move(*m_current);
        row.name = name;
        m_current.reset();
    } else {
        row = ReportTest{std::wstring(name), resultIndex, m_current->cycle, m_current->started};
        row.subResults.swap(m_current->subResults);
        row.faults.swap(m_current->faults);
    }
    row.resultIndex = resultIndex;
    CloseTest(row);
    m_tests.push_back(std::move(row));
}

RunReport RunRecorder::Report(TRunVerdict verdict) const {
    RunReport report;
    report.verdict = verdict;
    report.started = FormatResultDateTime(m_started);
    report.ended = FormatResultDateTime(m_clock());
    report.tests = m_tests;
    if (m_current) {
        ReportTest underWay = *m_current;
        CloseTest(underWay);
        report.tests.push_back(std::move(underWay));
    }
    return report;
}

}  // namespace launcher
