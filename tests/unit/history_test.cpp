#include <gtest/gtest.h>

#include <windows.h>

#include "current_log.h"
#include "history.h"
#include "temp_folder.h"

using namespace launcher;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

const HistoryTexts kTexts{L"Stopped by user", L"All passed", L"Errors found"};

// A history file holding `count` entries, DATE "date <i>" and RESULT "result <i>".
std::wstring HistoryText(int count) {
    std::wstring text = L"[HISTORY_NUM]\r\nNUM=" + std::to_wstring(count) + L"\r\n";
    for (int i = 0; i < count; ++i) {
        std::wstring n = std::to_wstring(i);
        text += L"[HISTORY_" + n + L"]\r\nDATE=date " + n + L"\r\nRESULT=result " + n + L"\r\n";
    }
    return text;
}

}  // namespace

TEST(History, ResultTextFollowsStopThenRunResult) {
    EXPECT_EQ(HistoryResultText(kTexts, true, 0), L"Stopped by user");
    EXPECT_EQ(HistoryResultText(kTexts, true, 1), L"Stopped by user");
    EXPECT_EQ(HistoryResultText(kTexts, false, 0), L"All passed");
    EXPECT_EQ(HistoryResultText(kTexts, false, 1), L"Errors found");
    EXPECT_EQ(HistoryResultText(kTexts, false, -7), L"Errors found");
}

TEST(History, CreatedOnceWithTheMark) {
    TempFolder temp;
    RunHistory history(temp.path() + kHistoryFileName);
    EXPECT_TRUE(history.CreateIfMissing());
    EXPECT_EQ(ReadBytes(temp.path() + kHistoryFileName), std::string("\xFF\xFE", 2));
    EXPECT_FALSE(history.CreateIfMissing());
    EXPECT_EQ(history.Count(), 0);
    EXPECT_EQ(history.Entry(0).date, L"");
}

TEST(History, NewestEntryComesFirstAndStaysUtf16) {
    TempFolder temp;
    RunHistory history(temp.path() + kHistoryFileName);
    history.CreateIfMissing();
    history.Add(L"2024/01/01  10:00:00", L"Quick Check", L"All passed");
    history.Add(L"2024/01/02  11:00:00", L"Prüfung", L"Errors found");
    history.Add(L"2024/01/03  12:00:00", L"Quick Check", L"Stopped by user");
    EXPECT_EQ(history.Count(), 3);
    EXPECT_EQ(history.Entry(0).date, L"2024/01/03  12:00:00");
    EXPECT_EQ(history.Entry(0).result, L"Quick Check\t\tStopped by user");
    EXPECT_EQ(history.Entry(1).result, L"Prüfung\t\tErrors found");
    EXPECT_EQ(history.Entry(2).date, L"2024/01/01  10:00:00");
    std::string bytes = ReadBytes(temp.path() + kHistoryFileName);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    std::wstring stored(bytes.size() / 2 - 1, L'\0');
    memcpy(stored.data(), bytes.data() + 2, stored.size() * 2);
    EXPECT_NE(stored.find(L"RESULT=Prüfung\t\tErrors found"), std::wstring::npos);
}

TEST(History, HundredthEntryDropsTheOldestAndKeepsNinetyNine) {
    TempFolder temp;
    RunHistory history(temp.WriteUtf16(kHistoryFileName, HistoryText(99)));
    history.Add(L"date new", L"Quick Check", L"All passed");
    EXPECT_EQ(history.Count(), 99);
    EXPECT_EQ(history.Entry(0).date, L"date new");
    EXPECT_EQ(history.Entry(0).result, L"Quick Check\t\tAll passed");
    EXPECT_EQ(history.Entry(1).date, L"date 0");
    EXPECT_EQ(history.Entry(98).date, L"date 97");
    EXPECT_EQ(history.Entry(98).result, L"result 97");
    EXPECT_EQ(history.Entry(99).date, L"");
}

TEST(History, DamagedCountIsKeptWithinTheNinetyNineEntries) {
    TempFolder temp;
    RunHistory big(temp.WriteUtf16(L"big.tmp", L"[HISTORY_NUM]\r\nNUM=2147483647\r\n"));
    big.Add(L"d", L"t", L"r");  // must not walk two billion sections
    EXPECT_EQ(big.Count(), 99);
    RunHistory negative(temp.WriteUtf16(L"negative.tmp", L"[HISTORY_NUM]\r\nNUM=-5\r\n"));
    negative.Add(L"d", L"t", L"r");
    EXPECT_EQ(negative.Count(), 1);
    EXPECT_EQ(negative.Entry(0).result, L"t\t\tr");
}

TEST(History, ValuesAreCutToNinetyNineCharacters) {
    TempFolder temp;
    RunHistory history(temp.WriteUtf16(kHistoryFileName, L"[HISTORY_NUM]\r\nNUM=1\r\n[HISTORY_0]\r\nDATE=" +
                                                             std::wstring(300, L'd') + L"\r\nRESULT=r\r\n"));
    EXPECT_EQ(history.Entry(0).date, std::wstring(99, L'd'));
    history.Add(std::wstring(150, L'n'), std::wstring(120, L't'), L"All passed");
    EXPECT_EQ(history.Entry(0).date, std::wstring(99, L'n'));
    EXPECT_EQ(history.Entry(0).result, std::wstring(99, L't'));
    EXPECT_EQ(history.Entry(1).date, std::wstring(99, L'd'));
    // A pair of surrogates at the cut is dropped whole.
    history.Add(L"d", std::wstring(98, L't') + L"\xD83D\xDE00", L"x");
    EXPECT_EQ(history.Entry(0).result, std::wstring(98, L't'));
}

TEST(History, EndOfARunWithALogAddsItsEntry) {
    TempFolder temp;
    LogFolder folder(temp.path());
    CurrentLog log(folder);
    log.SetSusResLog();
    log.WriteHeader({L"Full Test", L"2024/05/06  07:08:09", L"Model"});
    log.CloseAndWriteHistory(kTexts.failed);
    EXPECT_FALSE(log.IsOpen());
    log.CloseAndWriteHistory(kTexts.passed);  // no log open: no second entry
    RunHistory history(log.HistoryPath());
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.Entry(0).date, L"2024/05/06  07:08:09");
    EXPECT_EQ(history.Entry(0).result, L"Full Test\t\tErrors found");
}
