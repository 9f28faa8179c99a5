#include <gtest/gtest.h>

#include <windows.h>
#include <climits>
#include <cwchar>
#include <functional>
#include <tuple>

#include "framework/unique_resource.h"
#include "result_file.h"
#include "result_writer.h"
#include "temp_folder.h"

using namespace launcher;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

const std::wstring kStopped = L"\t<Test OverallResult=\"Stopped\">\r\n\t</Test>\r\n</QDX>\r\n\r\n";

}  // namespace

TEST(ResultFolder, CreatedUnderProgramData) {
    TempFolder temp;
    ::CreateDirectoryW((temp.path() + L"data").c_str(), nullptr);
    SecureFolder folder = ResultFolderUnder(temp.path() + L"data");
    EXPECT_EQ(folder.check, TFolderCheck::Usable);
    EXPECT_EQ(folder.path, temp.path() + L"data\\Quenby Corporation\\Orlix Hardware Diagnostics\\QDXlog\\");
    EXPECT_NE(::GetFileAttributesW(folder.path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(StoppedRecord, NewFileGetsRootStart) {
    TempFolder temp;
    ASSERT_TRUE(WriteStoppedRecord(temp.path()));
    EXPECT_EQ(ReadBytes(temp.path() + kResultFileName), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + kStopped));
}

TEST(StoppedRecord, SixteenByteFileCountsAsNew) {
    TempFolder temp;
    temp.WriteBytes(kResultFileName, std::string(16, 'x'));
    ASSERT_TRUE(WriteStoppedRecord(temp.path()));
    EXPECT_EQ(ReadBytes(temp.path() + kResultFileName), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + kStopped));
}

TEST(StoppedRecord, AppendsAfterEarlierRunsAndCutsTheClosingLine) {
    TempFolder temp;
    std::wstring earlier = L"<QDX>\r\n\t<Test name=\"Video\" OverallResult=\"Pass\">\r\n\t</Test>\r\n";
    temp.WriteBytes(kResultFileName, testsupport::kUtf16Mark + testsupport::Utf16Bytes(earlier + L"</qdx>\r\n\r\n"));
    ASSERT_TRUE(WriteStoppedRecord(temp.path()));
    EXPECT_EQ(ReadBytes(temp.path() + kResultFileName), testsupport::kUtf16Mark + testsupport::Utf16Bytes(earlier + kStopped));
}

TEST(StoppedRecord, FileWithoutClosingLineIsAppendedTo) {
    TempFolder temp;
    std::wstring earlier = L"<QDX>\r\n\t<Test name=\"Video\" OverallResult=\"Fail\">\r\n";
    temp.WriteBytes(kResultFileName, testsupport::kUtf16Mark + testsupport::Utf16Bytes(earlier));
    ASSERT_TRUE(WriteStoppedRecord(temp.path()));
    EXPECT_EQ(ReadBytes(temp.path() + kResultFileName), testsupport::kUtf16Mark + testsupport::Utf16Bytes(earlier + kStopped));
}

TEST(StoppedRecord, FileInUseIsLeftAlone) {
    TempFolder temp;
    std::string before = testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n</QDX>\r\n\r\n");
    std::wstring path = temp.WriteBytes(kResultFileName, before);
    fw::UniqueFile holder(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(WriteStoppedRecord(temp.path()));
    holder.reset();
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(StoppedRecord, NoFolderNoRecord) { EXPECT_FALSE(WriteStoppedRecord(L"")); }

namespace {

// A clock that advances one second per reading, from 2024/03/05 14:07:09.
LocalTimeSource TickingClock() {
    return [second = 9]() mutable -> std::optional<SYSTEMTIME> {
        SYSTEMTIME time{};
        time.wYear = 2024;
        time.wMonth = 3;
        time.wDay = 5;
        time.wHour = 14;
        time.wMinute = 7;
        time.wSecond = static_cast<WORD>(second++);
        return time;
    };
}

// Each verdict as "name result sub-results file".
struct RecordingVerdicts : IVerdictSink {
    std::vector<std::wstring> reports;
    void ReportVerdict(std::wstring_view test, int resultIndex, const std::vector<SubResult>& subResults,
                       std::wstring_view resultFile) noexcept override {
        reports.push_back(std::wstring(test) + L" " + std::to_wstring(resultIndex) + L" " +
                          std::to_wstring(subResults.size()) + L" " + std::wstring(resultFile));
    }
    void ReportNotice(const EventReport& report) noexcept override {
        reports.push_back(std::to_wstring(report.id) + L" " + report.strings.at(0));
    }
};

// ProgramData in a temporary folder, a usable log folder, and a writer on a ticking clock.
struct ResultBench {
    TempFolder temp;
    std::wstring programData = temp.path() + L"data";
    LogFolder logFolder{temp.path() + L"prog\\"};
    RecordingVerdicts verdicts;
    ResultFolderSource folders = [this] { return ResultFolderUnder(programData); };
    ResultXmlWriter writer{verdicts, TickingClock(), folders};

    ResultBench() { ::CreateDirectoryW((temp.path() + L"data").c_str(), nullptr); }
    std::wstring Folder() const { return temp.path() + L"data\\Quenby Corporation\\Orlix Hardware Diagnostics\\QDXlog\\"; }
    std::wstring Path() const { return Folder() + kResultFileName; }
    std::string Bytes() const { return ReadBytes(Path()); }
    void Prepare(const std::string& bytes) const {
        ::CreateDirectoryW((temp.path() + L"data\\Quenby Corporation").c_str(), nullptr);
        temp.WriteBytes(L"data\\Quenby Corporation\\Orlix Hardware Diagnostics\\QDXlog\\qdx_result.xml", bytes);
    }
};

std::wstring At(int second) {
    wchar_t text[32];
    std::swprintf(text, 32, L"2024/03/05 14:07:%02d", second);
    return text;
}
std::wstring TestStart(const std::wstring& name, int second, const std::wstring& result) {
    return L"\t<Test name=\"" + name + L"\" DateTimeRan=\"" + At(second) + L"\" OverallResult=\"" + result +
           L"\">\r\n";
}
std::wstring SubTest(int number, int second, const std::wstring& result) {
    return L"\t\t<SubTest name=\"Test " + std::to_wstring(number) + L"\" DateTimeRan=\"" + At(second) +
           L"\" Result=\"" + result + L"\" />\r\n";
}
const std::wstring kTestEnd = L"\t</Test>\r\n";
const std::wstring kEnd = L"</QDX>\r\n\r\n";

}  // namespace

TEST(ResultDateTime, FormatsTheLocalTimeAndFallsBackWithoutOne) {
    SYSTEMTIME time{};
    time.wYear = 987;
    time.wMonth = 1;
    time.wDay = 2;
    time.wHour = 3;
    time.wMinute = 4;
    time.wSecond = 5;
    EXPECT_EQ(FormatResultDateTime(time), L" 987/01/02 03:04:05");
    EXPECT_EQ(FormatResultDateTime(std::nullopt), L"   0/00/00 -1:-1:-1");
    ASSERT_TRUE(CurrentLocalTime().has_value());
    EXPECT_GE(CurrentLocalTime()->wYear, 2020);
}

TEST(ResultDateTime, ResultTextsWithAnyOtherIndexAsFail) {
    EXPECT_STREQ(ResultText(1), L"Pass");
    EXPECT_STREQ(ResultText(2), L"Stopped");
    EXPECT_STREQ(ResultText(3), L"Fail");
    for (int outside : {0, 4, -1, 259, INT_MIN, INT_MAX}) EXPECT_STREQ(ResultText(outside), L"Fail") << outside;
}

TEST(ResultWriter, NewFileGetsRootStartAndNextSubTestsAreNumberedFromOne) {
    ResultBench bench;
    bench.writer.OpenResultFile(bench.logFolder);
    ASSERT_TRUE(bench.writer.IsOpen());
    EXPECT_EQ(bench.logFolder.Path(), bench.Folder());  // the logs follow the result file
    bench.writer.WriteXmlSub(0, 1);
    bench.writer.WriteXmlSub(0, 3);
    bench.writer.WriteXmlSub(0, 2);
    EXPECT_EQ(bench.writer.SubTestCount(), 3);
    EXPECT_EQ(bench.writer.WorstSubTestResult(), 3);
    bench.writer.WriteXml(L"Video", 3);
    EXPECT_EQ(bench.writer.SubTestCount(), 0);
    bench.writer.CloseResultFile();
    EXPECT_FALSE(bench.writer.IsOpen());
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + TestStart(L"Video", 12, L"Fail") + SubTest(1, 9, L"Pass") +
                                           SubTest(2, 10, L"Fail") + SubTest(3, 11, L"Stopped") + kTestEnd + kEnd));
}

TEST(ResultWriter, TestWithoutSubTestsIsJustItsStartAndEnd) {
    ResultBench bench;
    bench.writer.OpenResultFile(bench.logFolder);
    bench.writer.WriteXml(L"Memory", 1);
    bench.writer.CloseResultFile();
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + TestStart(L"Memory", 9, L"Pass") + kTestEnd + kEnd));
}

TEST(ResultWriter, SixteenByteFileCountsAsNew) {
    ResultBench bench;
    bench.Prepare(std::string(16, 'x'));
    bench.writer.OpenResultFile(bench.logFolder);
    bench.writer.WriteXml(L"Video", 2);
    bench.writer.CloseResultFile();
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + TestStart(L"Video", 9, L"Stopped") + kTestEnd + kEnd));
}

TEST(ResultWriter, EarlierRunsStayAndTheirClosingLineIsCutWithItsEmptyLine) {
    for (const wchar_t* closing : {L"</QDX>\r\n\r\n", L"</qdx>\r\n\r\n"}) {
        ResultBench bench;
        std::wstring earlier = L"<QDX>\r\n" + TestStart(L"Video", 1, L"Pass") + kTestEnd;
        bench.Prepare(testsupport::kUtf16Mark + testsupport::Utf16Bytes(earlier + closing));
        bench.writer.OpenResultFile(bench.logFolder);
        bench.writer.WriteXmlSub(4, 1);
        bench.writer.WriteXml(L"Audio", 1);
        bench.writer.CloseResultFile();
        EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(earlier + TestStart(L"Audio", 10, L"Pass") + SubTest(4, 9, L"Pass") +
                                               kTestEnd + kEnd))
            << "closing line " << testsupport::ToUtf8(closing);
    }
}

TEST(ResultWriter, TwoRunsInOneProcessAreBothRecordedAndCompleteAfterEach) {
    ResultBench bench;
    std::wstring first = L"<QDX>\r\n" + TestStart(L"Video", 9, L"Pass") + kTestEnd;
    bench.writer.OpenResultFile(bench.logFolder);
    bench.writer.WriteXml(L"Video", 1);
    bench.writer.CloseResultFile();
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(first + kEnd));  // readable, and a whole document

    bench.writer.OpenResultFile(bench.logFolder);
    ASSERT_TRUE(bench.writer.IsOpen());
    bench.writer.WriteXml(L"Video", 3);
    bench.writer.CloseResultFile();
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(first + TestStart(L"Video", 10, L"Fail") + kTestEnd + kEnd));
}

TEST(ResultWriter, RunThatNeverClosedDoesNotLockTheNextOne) {
    ResultBench bench;
    bench.writer.OpenResultFile(bench.logFolder);
    bench.writer.WriteXml(L"Video", 2);
    bench.writer.OpenResultFile(bench.logFolder);
    ASSERT_TRUE(bench.writer.IsOpen());
    bench.writer.WriteXml(L"Video", 1);
    bench.writer.CloseResultFile();
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + TestStart(L"Video", 9, L"Stopped") + kTestEnd +
                                           TestStart(L"Video", 10, L"Pass") + kTestEnd + kEnd));
}

TEST(ResultWriter, FileCanBeReadWhileARunWrites) {
    ResultBench bench;
    bench.writer.OpenResultFile(bench.logFolder);
    fw::UniqueFile reader(::CreateFileW(bench.Path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(reader);
    bench.writer.CloseResultFile();
}

TEST(ResultWriter, EveryStepLeavesAWholeDocumentWithTheTestUnderWayAsFailed) {
    ResultBench bench;
    bench.writer.OpenResultFile(bench.logFolder);
    ResultXmlWriter& w = bench.writer;
    const std::wstring video = TestStart(L"Video", 11, L"Pass") + SubTest(1, 9, L"Pass") + SubTest(2, 10, L"Fail") + kTestEnd;
    const std::wstring audio = TestStart(L"Audio", 12, L"Stopped") + kTestEnd;
    const struct {
        std::function<void()> step;
        std::wstring records;  // between the root's start and its end
    } steps[] = {
        {[&] { w.BeginTest(L"Video"), w.WriteXmlSub(0, 1); }, TestStart(L"Video", 9, L"Fail") + SubTest(1, 9, L"Pass") + kTestEnd},
        {[&] { w.WriteXmlSub(0, 3); }, TestStart(L"Video", 10, L"Fail") + SubTest(1, 9, L"Pass") + SubTest(2, 10, L"Fail") + kTestEnd},
        {[&] { w.WriteXml(L"Video", 1); }, video},
        {[&] { w.BeginTest(L"Audio"), w.WriteXml(L"Audio", 2); }, video + audio},
        {[&] { w.BeginTest(L"Scripted"), w.WriteXmlSub(7, 1); },
         video + audio + TestStart(L"Scripted", 13, L"Fail") + SubTest(7, 13, L"Pass") + kTestEnd},
        // A module's own verdict under a shorter name: the file gets shorter.
        {[&] { w.WriteXml(L"A", 3); }, video + audio + TestStart(L"A", 14, L"Fail") + SubTest(7, 13, L"Pass") + kTestEnd},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].step();
        EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + steps[i].records + kEnd))
            << "after step " << i + 1;
    }
    // One verdict per final record, with its sub-results.
    EXPECT_EQ(bench.verdicts.reports, (std::vector<std::wstring>{L"Video 1 2 " + bench.Path(),
                                                                 L"Audio 2 0 " + bench.Path(), L"A 3 1 " + bench.Path()}));
}

TEST(ResultWriter, FileInUseMeansTheRunsResultsAreIgnored) {
    ResultBench bench;
    std::string before = testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n</QDX>\r\n\r\n");
    bench.Prepare(before);
    fw::UniqueFile holder(::CreateFileW(bench.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    bench.writer.OpenResultFile(bench.logFolder);
    EXPECT_FALSE(bench.writer.IsOpen());
    bench.writer.WriteXmlSub(0, 3);
    EXPECT_EQ(bench.writer.SubTestCount(), 1);
    EXPECT_EQ(bench.writer.WorstSubTestResult(), 3);
    bench.writer.WriteXml(L"Video", 3);
    bench.writer.CloseResultFile();
    holder.reset();
    EXPECT_EQ(bench.Bytes(), before);
    EXPECT_EQ(bench.verdicts.reports, std::vector<std::wstring>{L"Video 3 1 "});  // the event still tells

    // The next run, with the file free again, writes no leftover sub-test.
    bench.writer.OpenResultFile(bench.logFolder);
    bench.writer.WriteXml(L"Video", 1);
    bench.writer.CloseResultFile();
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + TestStart(L"Video", 10, L"Pass") + kTestEnd + kEnd));
}

TEST(ResultWriter, NothingIsOpenedWithoutAUsableLogFolder) {
    ResultBench bench;
    bench.logFolder.SetFlag(0);
    std::wstring logs = bench.logFolder.Path();
    bench.writer.OpenResultFile(bench.logFolder);
    EXPECT_FALSE(bench.writer.IsOpen());
    EXPECT_EQ(bench.logFolder.Path(), logs);
    EXPECT_FALSE(::GetFileAttributesW(bench.Folder().c_str()) != INVALID_FILE_ATTRIBUTES);
}

TEST(ResultWriter, NothingIsOpenedWhenTheFolderCannotBeMade) {
    ResultBench bench;
    bench.programData = bench.temp.WriteBytes(L"blocker", "a file, not a folder");
    std::wstring logs = bench.logFolder.Path();
    bench.writer.OpenResultFile(bench.logFolder);
    EXPECT_FALSE(bench.writer.IsOpen());
    EXPECT_EQ(bench.logFolder.Path(), logs);
    bench.writer.WriteXml(L"Video", 1);
    bench.writer.CloseResultFile();
}

TEST(ResultWriter, AtMostThirtyNineSubTestLinesAreHeldButEveryReportCounts) {
    ResultBench bench;
    bench.writer.OpenResultFile(bench.logFolder);
    for (int i = 0; i < 45; ++i) bench.writer.WriteXmlSub(0, 1);
    bench.writer.WriteXmlSub(0, 2);  // beyond the limit: counted and still the worst result
    EXPECT_EQ(bench.writer.SubTestCount(), 46);
    EXPECT_EQ(bench.writer.WorstSubTestResult(), 2);
    bench.writer.WriteXml(L"Disk", 1);
    bench.writer.CloseResultFile();
    std::wstring lines;
    for (int i = 1; i <= 39; ++i) lines += SubTest(i, 8 + i, L"Pass");
    // The clock was read for the 39 kept lines only, then for the Test line.
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + TestStart(L"Disk", 48, L"Pass") + lines + kTestEnd + kEnd));
}

TEST(ResultWriter, OutOfRangeResultIndexIsRecordedAsFail) {
    ResultBench bench;
    bench.writer.OpenResultFile(bench.logFolder);
    bench.writer.WriteXmlSub(2, 0);
    bench.writer.WriteXmlSub(0, 7);
    EXPECT_EQ(bench.writer.WorstSubTestResult(), 3);
    bench.writer.WriteXml(L"Video", -4);
    bench.writer.CloseResultFile();
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + TestStart(L"Video", 11, L"Fail") + SubTest(2, 9, L"Fail") +
                                           SubTest(2, 10, L"Fail") + kTestEnd + kEnd));
}

TEST(ResultWriter, TimeThatCannotBeConvertedShowsTheFallbackFields) {
    ResultBench bench;
    ResultXmlWriter writer(bench.verdicts, [] { return std::optional<SYSTEMTIME>(); }, bench.folders);
    writer.OpenResultFile(bench.logFolder);
    writer.WriteXmlSub(0, 1);
    writer.WriteXml(L"Video", 1);
    writer.CloseResultFile();
    const std::wstring when = L"DateTimeRan=\"   0/00/00 -1:-1:-1\"";
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n\t<Test name=\"Video\" " + when + L" OverallResult=\"Pass\">\r\n" +
                                           L"\t\t<SubTest name=\"Test 1\" " + when + L" Result=\"Pass\" />\r\n" +
                                           kTestEnd + kEnd));
}

TEST(ResultWriter, MarkupCharactersInATestNameKeepTheDocumentReadable) {
    ResultBench bench;
    bench.writer.OpenResultFile(bench.logFolder);
    bench.writer.WriteXml(L"Card \"A\" & <B>", 3);
    bench.writer.CloseResultFile();
    EXPECT_EQ(bench.Bytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"<QDX>\r\n" + TestStart(L"Card &quot;A&quot; &amp; &lt;B&gt;", 9, L"Fail") +
                                           kTestEnd + kEnd));
}

TEST(VerdictEvents, TypeAndIdFollowTheResult) {
    const std::tuple<int, WORD, DWORD> rows[] = {{1, 4, 1000}, {2, 2, 1002}, {3, 1, 1001}, {0, 1, 1001}};
    for (auto [result, type, id] : rows) {
        EventReport report = VerdictEvent(L"Video", result, {}, L"Model X-1", L"");
        EXPECT_EQ(std::pair(report.type, report.id), std::pair(type, id)) << result;
    }
}
