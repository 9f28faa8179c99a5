#include <gtest/gtest.h>

#include <vector>

#include "language/language_choice.h"
#include "language_setup.h"
#include "temp_folder.h"

using namespace lang;
using testsupport::TempFolder;

namespace {

constexpr LANGID kGerman = 0x0407;
constexpr LANGID kEnglishUs = 0x0409;
constexpr LANGID kFrench = 0x040C;
constexpr LANGID kItalian = 0x0410;
constexpr LANGID kJapanese = 0x0411;

std::function<bool(LanguageIdList&)> Returns(std::vector<LANGID> ids, bool ok = true) {
    return [ids, ok](LanguageIdList& list) {
        list = LanguageIdList{};
        for (LANGID id : ids) list.ids[list.count++] = id;
        return ok;
    };
}

// Stand-in for the platform's preferred-languages function: answers from a
// prepared buffer, the way the real one does (size query first).
struct FakePreferred {
    static inline std::wstring buffer;
    static inline ULONG count = 0;
    static inline int calls = 0;
    static inline int failOnCall = 0;

    static BOOL WINAPI Call(DWORD flags, PULONG languages, PZZWSTR out, PULONG chars) {
        ++calls;
        if (calls == failOnCall || flags != MUI_LANGUAGE_ID) return FALSE;
        *languages = count;
        if (!out) {
            *chars = static_cast<ULONG>(buffer.size());
            return TRUE;
        }
        if (*chars < buffer.size()) return FALSE;
        std::copy(buffer.begin(), buffer.end(), out);
        return TRUE;
    }
    static void Set(const std::vector<const wchar_t*>& hex) {
        buffer.clear();
        for (const wchar_t* h : hex) buffer.append(h).push_back(L'\0');
        buffer.push_back(L'\0');
        count = static_cast<ULONG>(hex.size());
        calls = 0;
        failOnCall = 0;
    }
};

LANGID WINAPI DefaultGerman() { return kGerman; }
LANGID WINAPI DefaultNone() { return 0; }

}  // namespace

TEST(LanguageList, ParsesHexEntriesInOrder) {
    FakePreferred::Set({L"0407", L"0409", L"040C"});
    LanguageIdList list;
    ASSERT_TRUE(FetchLanguageList(&FakePreferred::Call, &DefaultNone, list));
    ASSERT_EQ(list.count, 3);
    EXPECT_EQ(list.ids[0], kGerman);
    EXPECT_EQ(list.ids[1], kEnglishUs);
    EXPECT_EQ(list.ids[2], kFrench);
}

TEST(LanguageList, KeepsOnlyTheFirst50) {
    std::vector<std::wstring> owned;
    for (int i = 0; i < 70; ++i) {
        wchar_t hex[5];
        swprintf(hex, 5, L"%04X", 0x0400 + i);
        owned.push_back(hex);
    }
    std::vector<const wchar_t*> entries;
    for (auto& s : owned) entries.push_back(s.c_str());
    FakePreferred::Set(entries);
    LanguageIdList list;
    ASSERT_TRUE(FetchLanguageList(&FakePreferred::Call, &DefaultNone, list));
    EXPECT_EQ(list.count, 50);
    EXPECT_EQ(list.ids[49], 0x0400 + 49);
}

TEST(LanguageList, FailuresAndFallbacks) {
    LanguageIdList list;
    FakePreferred::Set({L"0407"});
    FakePreferred::failOnCall = 1;
    EXPECT_FALSE(FetchLanguageList(&FakePreferred::Call, &DefaultNone, list));
    EXPECT_EQ(list.count, 0);

    FakePreferred::Set({L"0407"});
    FakePreferred::failOnCall = 2;
    EXPECT_FALSE(FetchLanguageList(&FakePreferred::Call, &DefaultNone, list));

    // Older systems without the function: the default language alone.
    EXPECT_TRUE(FetchLanguageList(nullptr, &DefaultGerman, list));
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.ids[0], kGerman);
    EXPECT_FALSE(FetchLanguageList(nullptr, &DefaultNone, list));
}

TEST(LanguageList, CountLargerThanBufferIsNotReadPastItsEnd) {
    FakePreferred::Set({L"0407"});
    FakePreferred::count = 1000;
    LanguageIdList list;
    ASSERT_TRUE(FetchLanguageList(&FakePreferred::Call, &DefaultNone, list));
    EXPECT_EQ(list.count, 1);
}

TEST(LanguageChoice, FirstExistingFolderInUserOrderWins) {
    TempFolder temp;
    std::wstring search = temp.MakeFolder(L"QDXLang");
    temp.MakeFolder(L"QDXLang\\ENU");
    LanguageLists lists{Returns({kGerman, kEnglishUs}), Returns({kGerman})};
    EXPECT_EQ(ChooseLanguageCode(search, lists), L"ENU");

    temp.MakeFolder(L"QDXLang\\DEU");
    EXPECT_EQ(ChooseLanguageCode(search, lists), L"DEU");
}

TEST(LanguageChoice, SystemListServesWhenUserListFindsNothing) {
    TempFolder temp;
    std::wstring search = temp.MakeFolder(L"QDXLang");
    temp.MakeFolder(L"QDXLang\\FRA");
    EXPECT_EQ(ChooseLanguageCode(search, {Returns({kGerman}), Returns({kFrench})}), L"FRA");
    EXPECT_EQ(ChooseLanguageCode(search, {Returns({kFrench}, false), Returns({kFrench})}), L"FRA");
}

TEST(LanguageChoice, NothingPresentGivesEnuEvenWithoutItsFolder) {
    TempFolder temp;
    std::wstring search = temp.path() + L"QDXLang\\";
    EXPECT_EQ(ChooseLanguageCode(search, {Returns({kGerman}), Returns({kFrench})}), L"ENU");
    EXPECT_EQ(ChooseLanguageCode(search, {Returns({}, false), Returns({}, false)}), L"ENU");
}

TEST(LanguageChoice, TheLauncherTakesOnlyAFolderWithItsLibrary) {
    // Folders: DEU and FRA hold uistrings.dll, JPN only the optical checker's lang.xml, ITA nothing.
    struct {
        std::vector<LANGID> user, system;
        const wchar_t* code;
    } const table[] = {
        {{kJapanese}, {}, L"ENU"},
        {{kJapanese, kGerman}, {kFrench}, L"DEU"},
        {{kItalian}, {kJapanese, kFrench}, L"FRA"},
        {{kFrench, kGerman}, {kGerman}, L"FRA"},
        {{kItalian, kJapanese}, {kItalian}, L"ENU"},
    };
    TempFolder temp;
    for (const wchar_t* file :
         {L"QDXLang\\DEU\\uistrings.dll", L"QDXLang\\FRA\\uistrings.dll", L"QDXLang\\JPN\\lang.xml"})
        temp.WriteUtf8(file, L"");
    temp.MakeFolder(L"QDXLang\\ITA");
    for (const auto& row : table) {
        launcher::LanguageSetup setup =
            launcher::ChooseLauncherLanguage(temp.path(), {Returns(row.user), Returns(row.system)});
        EXPECT_EQ(setup.languageCode, row.code);
        EXPECT_EQ(setup.languageDir, temp.path() + L"QDXLang\\" + row.code + L"\\");
    }
}

TEST(LanguageChoice, Only50LanguagesAreTested) {
    TempFolder temp;
    std::wstring search = temp.MakeFolder(L"QDXLang");
    temp.MakeFolder(L"QDXLang\\FRA");
    // French comes 51st: the list holds only 50 entries, so it is never tried.
    std::vector<const wchar_t*> hex(50, L"0407");
    hex.push_back(L"040C");
    FakePreferred::Set(hex);
    auto user = [](LanguageIdList& list) { return FetchLanguageList(&FakePreferred::Call, &DefaultNone, list); };
    EXPECT_EQ(ChooseLanguageCode(search, {user, Returns({})}), L"ENU");
}
