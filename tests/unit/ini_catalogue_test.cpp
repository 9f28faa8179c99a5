#include <gtest/gtest.h>

#include "ini_catalogue.h"
#include "temp_folder.h"

using namespace launcher;
using testsupport::TempFolder;

namespace {

// A language folder with an initest.ini written from `ini`.
struct LanguageFolder {
    TempFolder temp;
    std::wstring dir = temp.MakeFolder(L"QDXLang\\ENU");

    explicit LanguageFolder(const std::wstring& ini) { temp.WriteUtf8(L"QDXLang\\ENU\\initest.ini", ini); }

    CatalogueResult Load(int pcCardSwitch = 0, unsigned* flags = nullptr, const CatalogueAppender& more = {}) {
        CatalogueResult result;
        unsigned local = 0;
        LoadIniCatalogue(dir, pcCardSwitch, more, result, flags ? *flags : local);
        return result;
    }
};

std::wstring ComponentIni(std::initializer_list<std::wstring> sections) {
    std::wstring ini = L"[COMPONUM]\r\nNUM=" + std::to_wstring(sections.size()) + L"\r\n[COMPOSECTION]\r\n";
    int i = 0;
    for (const std::wstring& s : sections) ini += L"SECT_NAME_" + std::to_wstring(i++) + L"=" + s + L"\r\n";
    return ini;
}

std::wstring Section(const std::wstring& name, const std::wstring& body) { return L"[" + name + L"]\r\n" + body; }

}  // namespace

TEST(DisplayName, DerivedFromTestFile) {
    EXPECT_EQ(DisplayNameFromTestFile(L"SD.dll"), L"SD");
    EXPECT_EQ(DisplayNameFromTestFile(L"sd.dll"), L"SD");
    EXPECT_EQ(DisplayNameFromTestFile(L"memorystick.dll"), L"MemoryStick");
    EXPECT_EQ(DisplayNameFromTestFile(L"lan.dll"), L"LAN");
    EXPECT_EQ(DisplayNameFromTestFile(L"dvdrom.exe"), L"DVDROM");
    EXPECT_EQ(DisplayNameFromTestFile(L"CDROM.exe"), L"CDROM");
    EXPECT_EQ(DisplayNameFromTestFile(L"bluetooth.dll"), L"Bluetooth");
    EXPECT_EQ(DisplayNameFromTestFile(L"video.dll"), L"Video");
    EXPECT_EQ(DisplayNameFromTestFile(L"hdd.dll"), L"HDD");
}

TEST(DisplayName, NoDotKeepsWholeNameAndLeadingDotStays) {
    EXPECT_EQ(DisplayNameFromTestFile(L"keyboard"), L"Keyboard");
    EXPECT_EQ(DisplayNameFromTestFile(L".hidden"), L".hidden");  // a dot gets no capital
    EXPECT_EQ(DisplayNameFromTestFile(L".ab"), L".AB");           // three characters stay upper case
    EXPECT_EQ(DisplayNameFromTestFile(L""), L"");
}

TEST(IniCatalogue, MissingFileChangesNothing) {
    TempFolder temp;
    CatalogueResult result;
    unsigned flags = 0x4;
    LoadIniCatalogue(temp.path(), 0, [](TestCatalogue& c) { c.count = 99; }, result, flags);
    EXPECT_EQ(result.catalogue.count, 0);
    EXPECT_EQ(flags, 0x4u);
    EXPECT_TRUE(result.fastCheckManual.empty());
}

TEST(IniCatalogue, ComponentRowsWithAllFields) {
    LanguageFolder folder(ComponentIni({L"VIDEO", L"HDD"}) +
                          Section(L"VIDEO", L"TESTFILE=video.dll\r\nTESTDOC=doc.pdf\r\nTESTFILE_SUBDIR=sub\r\n"
                                            L"LOG_OPTION=ALL\r\nWINDOW_TYPE=dialog\r\nREPEAT_ENABLE=3\r\n"
                                            L"TESTMANUAL=video.txt\r\n") +
                          Section(L"HDD", L"TESTFILE=hdd.exe\r\n"));
    folder.temp.WriteUtf8(L"QDXLang\\ENU\\video.txt", L"line one\nline two\r\n");
    CatalogueResult result = folder.Load();
    ASSERT_EQ(result.catalogue.count, 2);
    const TestEntry& video = result.catalogue.rows[0];
    EXPECT_EQ(video.testFile, L"video.dll");
    EXPECT_EQ(video.displayName, L"Video");
    EXPECT_EQ(video.isProgram, 0);
    EXPECT_EQ(video.testDoc, L"doc.pdf");
    EXPECT_EQ(video.testSubdir, L"sub");
    EXPECT_EQ(video.logOption, L"ALL");
    EXPECT_EQ(video.windowType, kWindowDialog);
    EXPECT_EQ(video.repeatText, L"3");
    EXPECT_EQ(video.repeatDefault, 3);
    EXPECT_EQ(video.manualText, L"line one\r\nline two\r\n");
    const TestEntry& hdd = result.catalogue.rows[1];
    EXPECT_EQ(hdd.isProgram, 1);
    EXPECT_EQ(hdd.displayName, L"HDD");
    EXPECT_EQ(hdd.repeatDefault, 0);
    EXPECT_TRUE(hdd.repeatText.empty());
    EXPECT_TRUE(hdd.manualText.empty());
}

TEST(IniCatalogue, WindowTypeRules) {
    LanguageFolder folder(ComponentIni({L"A", L"B", L"C", L"D"}) +
                          Section(L"A", L"TESTFILE=a.dll\r\nWINDOW_TYPE=prompt\r\n") +
                          Section(L"B", L"TESTFILE=b.dll\r\nWINDOW_TYPE=DEFAULTPROMPT\r\n") +
                          Section(L"C", L"TESTFILE=c.dll\r\nWINDOW_TYPE=fullscreen\r\n") +
                          Section(L"D", L"TESTFILE=d.dll\r\nWINDOW_TYPE=Dialog\r\n"));
    CatalogueResult result = folder.Load();
    ASSERT_EQ(result.catalogue.count, 4);
    EXPECT_EQ(result.catalogue.rows[0].windowType, kWindowPrompt);
    EXPECT_EQ(result.catalogue.rows[1].windowType, kWindowDefault);
    EXPECT_EQ(result.catalogue.rows[2].windowType, kWindowDefault);
    EXPECT_EQ(result.catalogue.rows[3].windowType, kWindowDialog);
}

TEST(IniCatalogue, ModeFlagsFromTypeSection) {
    struct Case {
        const wchar_t* type;
        const wchar_t* subtype;
        const wchar_t* construction;
        unsigned expected;
    };
    const Case cases[] = {
        {L"recovery", L"", L"", mode::kRecovery | mode::kStandalone},
        {L"DIVRECOVERY", L"", L"", mode::kRecovery | mode::kDividedRecovery | mode::kStandalone},
        {L"BUNDLE_RECOVERY", L"", L"", mode::kStandalone},
        {L"BUNDLE_DIVRECOVERY", L"", L"", mode::kStandalone},
        {L"STANDARD", L"fulltest", L"", mode::kFullTest | mode::kStandalone},
        {L"STANDARD", L"", L"PlugIn", 0},
    };
    for (const Case& c : cases) {
        LanguageFolder folder(Section(L"TYPE", std::wstring(L"TYPE=") + c.type + L"\r\nSUBTYPE=" + c.subtype +
                                                   L"\r\nCONSTRUCTION=" + c.construction + L"\r\n"));
        unsigned flags = mode::kStandalone;  // PLUGIN clears what was set before
        folder.Load(0, &flags);
        EXPECT_EQ(flags, c.expected) << c.type << L" " << c.subtype << L" " << c.construction;
    }
}

TEST(IniCatalogue, FastCheckSkipsPcCardTestsOnlyWhenSwitchIsOff) {
    std::wstring ini = L"[FASTCHECK]\r\nNUM=3\r\nTEST_0=video.dll\r\nTEST_1=pcmcia.dll\r\nTEST_2=hdd.dll\r\n"
                       L"TESTMANUAL=fast.txt\r\n";
    LanguageFolder folder(ini);
    folder.temp.WriteUtf8(L"QDXLang\\ENU\\fast.txt", L"Fast");

    CatalogueResult off = folder.Load(0);
    ASSERT_EQ(off.fastCheckCount, 2);
    EXPECT_EQ(off.fastCheck.names[0], L"video.dll");
    EXPECT_EQ(off.fastCheck.names[1], L"hdd.dll");
    EXPECT_EQ(off.fastCheckManual, L"Fast\r\n");

    CatalogueResult on = folder.Load(1);
    ASSERT_EQ(on.fastCheckCount, 3);
    EXPECT_EQ(on.fastCheck.names[1], L"pcmcia.dll");
}

TEST(IniCatalogue, ComponentPcCardTestsFollowTheSwitch) {
    LanguageFolder folder(ComponentIni({L"P", L"V"}) + Section(L"P", L"TESTFILE=pcmcia.dll\r\n") +
                          Section(L"V", L"TESTFILE=video.dll\r\n"));
    CatalogueResult off = folder.Load(0);
    ASSERT_EQ(off.catalogue.count, 1);
    EXPECT_EQ(off.catalogue.rows[0].testFile, L"video.dll");
    EXPECT_EQ(folder.Load(1).catalogue.count, 2);
}

TEST(IniCatalogue, RecoveryCountsItsCheckButReadsNoComponents) {
    LanguageFolder folder(Section(L"TYPE", L"TYPE=RECOVERY\r\n") +
                          L"[RECOVERYCHECK]\r\nNUM=2\r\nTEST_0=pcmcia.dll\r\nTEST_1=a.dll\r\n" +
                          ComponentIni({L"V"}) + Section(L"V", L"TESTFILE=video.dll\r\n"));
    bool appended = false;
    unsigned flags = 0;
    CatalogueResult result = folder.Load(0, &flags, [&](TestCatalogue&) { appended = true; });
    EXPECT_EQ(result.fastCheckCount, 2);
    EXPECT_EQ(result.fastCheck.count, 0);
    EXPECT_EQ(result.catalogue.count, 0);
    EXPECT_FALSE(appended);
}

TEST(IniCatalogue, DividedRecoveryReplacesTheCatalogue) {
    LanguageFolder folder(Section(L"TYPE", L"TYPE=DIVRECOVERY\r\n") + L"[RECDIVINUM]\r\nNUM=2\r\n" +
                          Section(L"RECMODULE_0", L"TESTNAME=Memory check\r\nTESTFILE=mem.DLL\r\n"
                                                  L"WINDOW_TYPE=PROMPT\r\nREPEAT_ENABLE=2x\r\n") +
                          Section(L"RECMODULE_1", L"TESTNAME=hdd\r\nTESTFILE=hdd.exe\r\n"));
    CatalogueResult result = folder.Load();
    ASSERT_EQ(result.catalogue.count, 2);
    EXPECT_EQ(result.catalogue.rows[0].displayName, L"Memory check");  // taken as written
    EXPECT_EQ(result.catalogue.rows[0].isProgram, 0);
    EXPECT_EQ(result.catalogue.rows[0].windowType, kWindowPrompt);
    EXPECT_EQ(result.catalogue.rows[0].repeatDefault, 2);
    EXPECT_EQ(result.catalogue.rows[1].displayName, L"hdd");
    EXPECT_EQ(result.catalogue.rows[1].isProgram, 1);
}

TEST(IniCatalogue, AppenderRunsAfterComponentRows) {
    LanguageFolder folder(ComponentIni({L"V"}) + Section(L"V", L"TESTFILE=video.dll\r\n"));
    CatalogueResult result = folder.Load(0, nullptr, [](TestCatalogue& c) {
        EXPECT_EQ(c.count, 1);
        c.rows[c.count++].testFile = L"extra.dll";
    });
    ASSERT_EQ(result.catalogue.count, 2);
    EXPECT_EQ(result.catalogue.rows[1].testFile, L"extra.dll");
}

TEST(IniCatalogue, HugeOrNegativeCountsFinishWithAtMost40Rows) {
    for (const wchar_t* num : {L"2147483647", L"100000", L"41", L"-5", L"-2147483648"}) {
        std::wstring n = num;
        LanguageFolder folder(L"[COMPONUM]\r\nNUM=" + n + L"\r\n[FASTCHECK]\r\nNUM=" + n + L"\r\n" +
                              L"[TYPE]\r\nTYPE=DIVRECOVERY\r\n[RECDIVINUM]\r\nNUM=" + n + L"\r\n");
        CatalogueResult result = folder.Load();
        EXPECT_LE(result.catalogue.count, kMaxCatalogueRows) << n;
        EXPECT_GE(result.catalogue.count, 0) << n;
        EXPECT_LE(result.fastCheckCount, kMaxCatalogueRows) << n;

        LanguageFolder plain(L"[COMPONUM]\r\nNUM=" + n + L"\r\n[FASTCHECK]\r\nNUM=" + n + L"\r\n");
        CatalogueResult rows = plain.Load();
        int expected = n[0] == L'-' ? 0 : kMaxCatalogueRows;
        EXPECT_EQ(rows.catalogue.count, expected) << n;  // rows of absent keys still count
        EXPECT_EQ(rows.fastCheck.count, expected) << n;
    }
}

TEST(IniCatalogue, OverlongValuesAreCut) {
    std::wstring longName(300, L'x');
    std::wstring longDoc(1000, L'd');
    LanguageFolder folder(ComponentIni({L"V"}) +
                          Section(L"V", L"TESTFILE=" + longName + L".dll\r\nTESTDOC=" + longDoc + L"\r\n"));
    CatalogueResult result = folder.Load();
    ASSERT_EQ(result.catalogue.count, 1);
    EXPECT_EQ(result.catalogue.rows[0].testFile.size(), 49u);
    EXPECT_EQ(result.catalogue.rows[0].testDoc.size(), 511u);
}

TEST(ManualText, EncodingsAndLineEnds) {
    TempFolder temp;
    temp.WriteUtf8(L"utf8.txt", L"Gr\u00fc\u00dfe\r\nzweite Zeile");
    temp.WriteUtf16(L"utf16.txt", L"\u041f\u0440\u0438\u0432\u0435\u0442\n");
    temp.WriteBytes(L"bom.txt", "\xEF\xBB\xBFOne\r\r\nTwo\n\n");
    temp.WriteBytes(L"empty.txt", "");
    EXPECT_EQ(LoadManualText(temp.path(), L"utf8.txt"), L"Gr\u00fc\u00dfe\r\nzweite Zeile\r\n");
    EXPECT_EQ(LoadManualText(temp.path(), L"utf16.txt"), L"\u041f\u0440\u0438\u0432\u0435\u0442\r\n");
    EXPECT_EQ(LoadManualText(temp.path(), L"bom.txt"), L"One\r\r\nTwo\r\n\r\n");  // only one CR is trimmed
    EXPECT_EQ(LoadManualText(temp.path(), L"empty.txt"), L"");
    EXPECT_EQ(LoadManualText(temp.path(), L"missing.txt"), L"");
    EXPECT_EQ(LoadManualText(temp.path(), L""), L"");
}
