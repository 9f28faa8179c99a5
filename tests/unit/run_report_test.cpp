// The run's report: the fault-points record's bounds, and names and log lines
// kept as text in the page.
#include <gtest/gtest.h>

#include <vector>

#include "report_html.h"
#include "run_recorder.h"

using namespace launcher;

namespace {

// A record as a module builds it: the header, then `points` points.
std::vector<INT32> Record(INT32 width, INT32 height, INT32 count, int points) {
    std::vector<INT32> record{width, height, count};
    for (int i = 0; i < points; ++i) record.insert(record.end(), {i, 2 * i, 0xFFFFFF, 0x7F7F7F});
    return record;
}

const hostlink::FaultPointsRecord* AsRecord(const std::vector<INT32>& record) {
    return reinterpret_cast<const hostlink::FaultPointsRecord*>(record.data());
}

}  // namespace

TEST(RunReport, FaultPointsRecordsOutsideTheBoundsAreIgnored) {
    const struct {
        INT32 width, height, count;
        int kept;
    } rows[] = {
        {1024, 768, 50, 50}, {1, 1, 0, 0},          {16384, 16384, 1000, 1000}, {0, 768, 1, 0},
        {1024, 0, 1, 0},     {16385, 768, 1, 0},    {1024, 16385, 1, 0},        {-1, 768, 1, 0},
        {1024, 768, -1, 0},  {1024, 768, 1001, 0},
    };
    for (const auto& row : rows) {
        RunRecorder recorder;
        recorder.BeginTest(L"Video");
        std::vector<INT32> record = Record(row.width, row.height, row.count, std::max(0, std::min(row.count, 1000)));
        EXPECT_EQ(recorder.FaultPoints(0, AsRecord(record)), row.kept) << row.width << "x" << row.height << " " << row.count;
        std::fill(record.begin(), record.end(), -7);  // the sender's record is gone after the call
        const RunReport report = recorder.Report(TRunVerdict::Fail);
        const std::vector<FaultPicture>& pictures = report.tests.at(0).faults;
        ASSERT_EQ(pictures.size(), row.kept > 0 ? 1u : 0u);
        if (row.kept == 0) continue;
        EXPECT_EQ(pictures[0].points.size(), static_cast<size_t>(row.kept));
        EXPECT_EQ(pictures[0].points.back().y, 2 * (row.kept - 1));
        EXPECT_EQ(pictures[0].subTest, 1);  // the next sub-test
    }
    EXPECT_EQ(RunRecorder().FaultPoints(0, nullptr), 0);
}

TEST(RunReport, NamesAndLogLinesStayTextInThePage) {
    const struct {
        const wchar_t* text;
        const char* html;
    } rows[] = {
        {L"Card \"A\" & <B>", "Card &quot;A&quot; &amp; &lt;B&gt;"},
        {L"it's", "it&#39;s"},
        {L"</pre><script>x()</script>", "&lt;/pre&gt;&lt;script&gt;x()&lt;/script&gt;"},
        {L"Grüße \u65E5\u672C", "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC"},
        {L"\U0001F5A5", "\xF0\x9F\x96\xA5"},  // a surrogate pair
        {L"a\x01" L"b\tc", "a\xEF\xBF\xBD" "b\tc"},
        {L"lone \xD800 half", "lone \xEF\xBF\xBD half"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(HtmlText(row.text), row.html);
        RunRecorder recorder;
        recorder.BeginTest(row.text);
        recorder.Log(std::wstring(row.text) + L"\r\n");
        recorder.Verdict(row.text, kResultFail);
        const std::string page = BuildReportHtml(recorder.Report(TRunVerdict::Fail), ReportTexts{});
        EXPECT_NE(page.find("<td class=\"name\">" + std::string(row.html) + "</td>"), std::string::npos) << row.html;
        EXPECT_NE(page.find("<pre>" + std::string(row.html) + "\n</pre>"), std::string::npos) << row.html;
        EXPECT_EQ(page.find("<script"), std::string::npos);
    }
}
