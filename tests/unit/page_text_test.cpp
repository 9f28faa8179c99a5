#include <gtest/gtest.h>

#include <windows.h>
#include <vector>

#include "outer_layout.h"
#include "page_text.h"

using namespace launcher;

TEST(PageText, OutputFontRuleByLanguage) {
    for (const wchar_t* code : {L"HUN", L"RUS", L"CSY", L"SKY", L"PLK", L"ROM", L"BGR", L"TRK", L"ELL"})
        EXPECT_TRUE(KeepsDefaultOutputFont(code)) << code;
    for (const wchar_t* code : {L"ENU", L"DEU", L"rus", L"", L"JPN"}) EXPECT_FALSE(KeepsDefaultOutputFont(code)) << code;
}

TEST(PageText, StreamHandsEverythingOverInPiecesOneShorterThanTheBuffer) {
    std::wstring text;
    for (int i = 0; i < 300; ++i) text += L"\u00c4\u20ac\U0001F600x";  // 2-, 3- and 4-byte characters
    Utf8Stream stream(text);
    std::string joined;
    unsigned char buffer[7];
    for (long got; (got = stream.Read(buffer, sizeof buffer)) > 0;) {
        EXPECT_LE(got, 6);
        joined.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(got));
    }
    int chars = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, joined.data(), static_cast<int>(joined.size()),
                                      nullptr, 0);
    std::wstring back(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, joined.data(), static_cast<int>(joined.size()), back.data(), chars);
    EXPECT_EQ(back, text);
    EXPECT_EQ(stream.Read(buffer, 1), 0);
}

TEST(PageText, FormatWithNumber) {
    EXPECT_EQ(FormatWithNumber(L"%d %%", 42), L"42 %");
    EXPECT_EQ(FormatWithNumber(L"About %d minutes left", 3), L"About 3 minutes left");
    EXPECT_EQ(FormatWithNumber(L"", 7), L"7");                  // no library: just the number
    EXPECT_EQ(FormatWithNumber(L"%s %n %d", 5), L"%s %n 5");     // nothing but the one integer is filled in
}

TEST(OuterScrolling, StepsAndClamps) {
    EXPECT_EQ(NextScrollPosition(SB_LINEDOWN, 0, 0, 40), 1);
    EXPECT_EQ(NextScrollPosition(SB_PAGEDOWN, 0, 39, 40), 40);
    EXPECT_EQ(NextScrollPosition(SB_PAGEUP, 0, 1, 40), 0);
    EXPECT_EQ(NextScrollPosition(SB_THUMBTRACK, 25, 0, 40), 25);
    EXPECT_EQ(NextScrollPosition(SB_THUMBTRACK, 99, 0, 40), 40);
    EXPECT_EQ(NextScrollPosition(SB_BOTTOM, 0, 3, 40), 40);
    EXPECT_EQ(NextScrollPosition(SB_TOP, 0, 3, 40), 0);
    EXPECT_EQ(NextScrollPosition(SB_ENDSCROLL, 0, 3, 40), 3);
}
