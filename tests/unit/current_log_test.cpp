#include <gtest/gtest.h>

#include <windows.h>

#include "current_log.h"
#include "log_folder.h"
#include "temp_folder.h"

using namespace launcher;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

const LogHeader kHeader{L"Quick Check", L"2024/03/05  14:07:09", L"Model X-1"};

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A log folder state pointing into a temporary folder, with its log.
struct LogBench {
    TempFolder temp;
    LogFolder folder{temp.MakeFolder(L"prog")};
    CurrentLog log{folder};
    std::wstring LogFolderPath() const { return temp.path() + L"prog\\QDXlog\\"; }
    std::string LogBytes(int generation = 0) const { return ReadBytes(LogGenerationPath(LogFolderPath(), generation)); }
};

}  // namespace

TEST(LogFolder, StartsBesideTheProgramAndKeepsOneTrailingBackslash) {
    EXPECT_EQ(LogFolder(L"C:\\Program Files\\Diag\\").Path(), L"C:\\Program Files\\Diag\\QDXlog\\");
    LogFolder folder(L"C:\\Diag\\");
    EXPECT_EQ(folder.Flag(), 1);
    EXPECT_TRUE(folder.Set(L"D:\\logs\\\\\\"));
    EXPECT_EQ(folder.Path(), L"D:\\logs\\");
    EXPECT_TRUE(folder.Set(L"D:\\other"));
    EXPECT_EQ(folder.Path(), L"D:\\other\\");
    EXPECT_FALSE(folder.Set(L"\\\\"));
    EXPECT_EQ(folder.Path(), L"D:\\other\\");
    EXPECT_TRUE(folder.Usable());
    folder.SetFlag(0);
    EXPECT_FALSE(folder.Usable());
}

TEST(LogFolder, FolderTooLongForItsLogPathIsRefused) {
    LogFolder folder(L"C:\\Diag\\");
    // The folder and "hwck_log00.txt" must leave room for the terminator in 1024 characters.
    std::wstring longest = L"C:\\" + std::wstring(LogFolder::kPathChars - 1 - 14 - 4, L'a') + L"\\";
    ASSERT_TRUE(folder.Set(longest));
    EXPECT_EQ(LogGenerationPath(folder.Path(), 0).size(), LogFolder::kPathChars - 1);
    EXPECT_FALSE(folder.Set(L"C:\\" + std::wstring(LogFolder::kPathChars - 14 - 4, L'b')));
    EXPECT_FALSE(folder.Set(std::wstring(5000, L'c')));
    EXPECT_EQ(folder.Path(), longest);
    // A program folder that long leaves no log folder, hence no logs.
    EXPECT_FALSE(LogFolder(std::wstring(2000, L'p')).Usable());
}

TEST(CurrentLog, PreparationStartsTheLogAndTheHistoryWithTheMarkOnly) {
    LogBench bench;
    bench.log.SetSusResLog();
    ASSERT_TRUE(bench.log.IsOpen());
    EXPECT_EQ(bench.log.LogPath(), bench.LogFolderPath() + L"hwck_log00.txt");
    EXPECT_EQ(bench.log.HistoryPath(), bench.LogFolderPath() + L"report.tmp");
    EXPECT_EQ(ReadBytes(bench.log.HistoryPath()), testsupport::kUtf16Mark);
    bench.log.CloseAndWriteHistory(L"ok");
    EXPECT_EQ(bench.LogBytes(), testsupport::kUtf16Mark);
}

TEST(CurrentLog, NoFolderOrFlagZeroMeansNoLogAndNoHistory) {
    LogBench bench;
    bench.folder.SetFlag(0);
    bench.log.SetSusResLog();
    bench.log.WriteLog(L"ignored");
    bench.log.WriteHeader(kHeader);
    bench.log.CloseAndWriteHistory(L"ok");
    EXPECT_FALSE(bench.log.IsOpen());
    EXPECT_FALSE(Exists(bench.LogFolderPath()));
}

TEST(CurrentLog, HeaderAndTextAreWrittenAsUtf16WithoutConversion) {
    EXPECT_EQ(FormatLogHeader(kHeader), L"[Quick Check]\r\n2024/03/05  14:07:09\r\nModel X-1\r\n\r\n");
    LogBench bench;
    bench.log.SetSusResLog();
    bench.log.WriteHeader(kHeader);
    // Line ends, a lone LF and a character outside the basic plane go out as they come.
    std::wstring text = L"Video \xD83D\xDE00 ok\nline\r\n";
    bench.log.WriteLog(text);
    bench.log.WriteLog(L"");
    bench.log.CloseAndWriteHistory(L"ok");
    EXPECT_EQ(bench.LogBytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(FormatLogHeader(kHeader) + text));
}

TEST(CurrentLog, HeaderIsOnlyWrittenIntoAnOpenLogButRemembered) {
    LogBench bench;
    bench.log.WriteHeader(kHeader);  // the run starts before a module asks for the log
    bench.log.SetSusResLog();
    bench.log.ClearCurrentLog(1);
    bench.log.CloseAndWriteHistory(L"ok");
    EXPECT_EQ(bench.LogBytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(FormatLogHeader(kHeader)));
}

TEST(CurrentLog, HundredPreparationsKeepNinetyNineGenerations) {
    LogBench bench;
    for (int run = 1; run <= 100; ++run) {
        CurrentLog log(bench.folder);  // gone with the run, and its log closed
        log.SetSusResLog();
        log.WriteLog(L"run " + std::to_wstring(run));
    }
    EXPECT_EQ(bench.LogBytes(0), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"run 100"));
    for (int generation = 1; generation <= 98; ++generation)
        ASSERT_EQ(bench.LogBytes(generation), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"run " + std::to_wstring(100 - generation)))
            << "generation " << generation;
    EXPECT_EQ(LogGenerationPath(bench.LogFolderPath(), 98), bench.LogFolderPath() + L"hwck_log98.txt");
    EXPECT_FALSE(Exists(bench.LogFolderPath() + L"hwck_log99.txt"));
}

TEST(CurrentLog, ClearWithFlagZeroLeavesTheLogAndWithOneRestartsIt) {
    LogBench bench;
    bench.log.SetSusResLog();
    bench.log.WriteHeader(kHeader);
    bench.log.WriteLog(L"before");
    bench.log.ClearCurrentLog(0);
    bench.log.WriteLog(L" kept");
    bench.log.SaveCurrentLog();
    bench.log.CloseAndWriteHistory(L"ok");
    EXPECT_EQ(bench.LogBytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(FormatLogHeader(kHeader) + L"before kept"));

    bench.log.SetSusResLog();
    bench.log.WriteHeader(kHeader);
    bench.log.WriteLog(L"dropped");
    bench.log.ClearCurrentLog(1);
    EXPECT_EQ(bench.log.GetLogReady(), 1);
    bench.log.WriteLog(L"after");
    bench.log.CloseAndWriteHistory(L"ok");
    EXPECT_EQ(bench.LogBytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(FormatLogHeader(kHeader) + L"after"));
}

TEST(CurrentLog, ClearWithoutAnOpenLogCreatesNothing) {
    LogBench bench;
    bench.log.ClearCurrentLog(1);
    EXPECT_EQ(bench.log.GetLogReady(), 1);
    EXPECT_FALSE(bench.log.IsOpen());
    EXPECT_FALSE(Exists(bench.LogFolderPath()));
}

TEST(CurrentLog, WritingContinuesAtTheEndAfterSave) {
    LogBench bench;
    bench.log.SetSusResLog();
    bench.log.WriteHeader(kHeader);
    bench.log.WriteLog(L"first part, ");
    bench.log.SaveCurrentLog();
    ASSERT_TRUE(bench.log.IsOpen());
    bench.log.WriteLog(L"second");
    bench.log.CloseAndWriteHistory(L"ok");
    EXPECT_EQ(bench.LogBytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(FormatLogHeader(kHeader) + L"first part, second"));
}

TEST(CurrentLog, ExplicitFolderAppendsToItsLogWithoutMarkOrRotation) {
    LogBench bench;
    bench.folder.SetFlag(0);
    std::wstring folder = bench.temp.MakeFolder(L"mine");
    std::string earlier = testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"earlier run\r\n");
    bench.temp.WriteBytes(L"mine\\hwck_log00.txt", earlier);

    ASSERT_TRUE(bench.log.SetSusResLog(folder + L"\\\\"));
    EXPECT_EQ(bench.folder.Flag(), 1);
    EXPECT_EQ(bench.folder.Path(), folder);
    ASSERT_TRUE(bench.log.IsOpen());
    bench.log.WriteLog(L"more");
    bench.log.SaveCurrentLog();
    bench.log.WriteLog(L" and more");
    bench.log.CloseAndWriteHistory(L"ok");
    EXPECT_EQ(ReadBytes(folder + L"hwck_log00.txt"), earlier + testsupport::Utf16Bytes(L"more and more"));
    EXPECT_FALSE(Exists(folder + L"hwck_log01.txt"));
    // Without a prepared log there is no history file to add to.
    EXPECT_FALSE(Exists(folder + L"report.tmp"));
}

TEST(CurrentLog, ExplicitFolderWhileALogIsOpenKeepsWritingThatLog) {
    LogBench bench;
    bench.log.SetSusResLog();
    std::wstring folder = bench.temp.MakeFolder(L"later");
    ASSERT_TRUE(bench.log.SetSusResLog(folder));
    EXPECT_EQ(bench.log.LogPath(), folder + L"hwck_log00.txt");
    bench.log.WriteLog(L"still here");
    bench.log.CloseAndWriteHistory(L"ok");
    EXPECT_EQ(bench.LogBytes(), testsupport::kUtf16Mark + testsupport::Utf16Bytes(L"still here"));
    EXPECT_FALSE(Exists(folder + L"hwck_log00.txt"));
}

TEST(CurrentLog, ExplicitFolderTooLongIsRefusedAndNothingChanges) {
    LogBench bench;
    bench.folder.SetFlag(0);
    EXPECT_FALSE(bench.log.SetSusResLog(std::wstring(3000, L'x')));
    EXPECT_FALSE(bench.log.IsOpen());
    EXPECT_EQ(bench.folder.Flag(), 0);
    EXPECT_EQ(bench.folder.Path(), bench.LogFolderPath());
}

TEST(CurrentLog, LogInUseLeavesTheRunWithoutLog) {
    LogBench bench;
    std::wstring path = bench.temp.WriteBytes(L"prog\\QDXlog\\hwck_log00.txt", "held");
    fw::UniqueFile holder(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    bench.log.SetSusResLog();
    EXPECT_FALSE(bench.log.IsOpen());
    bench.log.WriteLog(L"ignored");
    bench.log.CloseAndWriteHistory(L"ok");
    holder.reset();
    EXPECT_EQ(ReadBytes(path), "held");
}
