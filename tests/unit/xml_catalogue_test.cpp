#include <gtest/gtest.h>

#include <vector>

#include "ini_catalogue.h"
#include "temp_folder.h"
#include "xml_catalogue.h"

using namespace launcher;
using testsupport::TempFolder;

namespace {

LocaleNames Locales(const std::wstring& user, const std::wstring& system = L"en-US") {
    return {[user] { return user; }, [system] { return system; }};
}

std::wstring Item(const std::wstring& id, const std::wstring& file, const std::wstring& windowType = L"DEFAULT",
                  const std::wstring& repeat = L"1") {
    return L"<Item Id=\"" + id + L"\"><TestFile>" + file + L"</TestFile><WindowType>" + windowType +
           L"</WindowType><RepeatEnable>" + repeat + L"</RepeatEnable></Item>";
}

std::wstring Section(const std::wstring& name, const std::vector<std::wstring>& items) {
    std::wstring text = L"<" + name + L">";
    for (const std::wstring& item : items) text += item;
    return text + L"</" + name + L">";
}

std::wstring Normal(const std::vector<std::wstring>& items) { return Section(L"NormalDiagnosticsSection", items); }
std::wstring Advanced(const std::vector<std::wstring>& items) {
    return Section(L"AdvancedDiagnosticsSection", items);
}

std::wstring Document(const std::wstring& body) {
    return L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Diagnostics>" + body + L"</Diagnostics>\r\n";
}

// A program folder with Resources\en\Diagnostics.xml.
struct ProgramFolder {
    TempFolder temp;

    explicit ProgramFolder(const std::wstring& xml) { temp.WriteUtf8(L"Resources\\en\\Diagnostics.xml", xml); }

    TestCatalogue Load(TestCatalogue catalogue = {}) {
        LoadXmlCatalogue(temp.path(), catalogue, Locales(L"en-US"));
        return catalogue;
    }
};

std::vector<std::wstring> Names(const TestCatalogue& catalogue) {
    std::vector<std::wstring> names;
    for (int i = 0; i < catalogue.count; ++i) names.push_back(catalogue.rows[i].displayName);
    return names;
}

TestCatalogue Prefilled(int rows) {
    TestCatalogue catalogue;
    for (; catalogue.count < rows; ++catalogue.count)
        catalogue.rows[catalogue.count].displayName = L"Ini" + std::to_wstring(catalogue.count);
    return catalogue;
}

}  // namespace

TEST(LocaleFolder, EnglishFrenchSpanishReducedOthersWholeAndLowerCase) {
    EXPECT_EQ(LocaleFolderName(L"en-US"), L"en");
    EXPECT_EQ(LocaleFolderName(L"EN-GB"), L"en");
    EXPECT_EQ(LocaleFolderName(L"fr-CA"), L"fr");
    EXPECT_EQ(LocaleFolderName(L"es-MX"), L"es");
    EXPECT_EQ(LocaleFolderName(L"de-DE"), L"de-de");
    EXPECT_EQ(LocaleFolderName(L"zh-Hant-TW"), L"zh-hant-tw");
}

TEST(FindDiagnosticsXml, UserLocaleFolderFirst) {
    TempFolder temp;
    std::wstring en = temp.WriteUtf8(L"Resources\\en\\Diagnostics.xml", L"<D/>");
    std::wstring fr = temp.WriteUtf8(L"Resources\\fr\\Diagnostics.xml", L"<D/>");
    std::wstring es = temp.WriteUtf8(L"Resources\\es\\Diagnostics.xml", L"<D/>");
    EXPECT_EQ(FindDiagnosticsXml(temp.path(), Locales(L"en-US", L"fr-FR")), en);
    EXPECT_EQ(FindDiagnosticsXml(temp.path(), Locales(L"fr-CA")), fr);
    EXPECT_EQ(FindDiagnosticsXml(temp.path(), Locales(L"es-MX")), es);
}

TEST(FindDiagnosticsXml, WholeLocaleFolderThenSystemLocaleThenEnglish) {
    TempFolder temp;
    std::wstring base = temp.path() + L"Resources\\";
    EXPECT_EQ(FindDiagnosticsXml(temp.path(), Locales(L"de-DE", L"fr-FR")), base + L"en\\Diagnostics.xml");

    std::wstring fr = temp.WriteUtf8(L"Resources\\fr\\Diagnostics.xml", L"<D/>");
    EXPECT_EQ(FindDiagnosticsXml(temp.path(), Locales(L"de-DE", L"fr-FR")), fr);

    std::wstring de = temp.WriteUtf8(L"Resources\\de-de\\Diagnostics.xml", L"<D/>");
    EXPECT_EQ(FindDiagnosticsXml(temp.path(), Locales(L"de-DE", L"fr-FR")), de);

    // A folder of the reduced name only: "de" is not "de-de".
    TempFolder other;
    other.WriteUtf8(L"Resources\\de\\Diagnostics.xml", L"<D/>");
    EXPECT_EQ(FindDiagnosticsXml(other.path(), Locales(L"de-DE", L"de-AT")),
              other.path() + L"Resources\\en\\Diagnostics.xml");
}

TEST(FindDiagnosticsXml, UnnamedLocaleIsSkipped) {
    TempFolder temp;
    temp.WriteUtf8(L"Resources\\Diagnostics.xml", L"<D/>");
    std::wstring fr = temp.WriteUtf8(L"Resources\\fr\\Diagnostics.xml", L"<D/>");
    EXPECT_EQ(FindDiagnosticsXml(temp.path(), Locales(L"", L"fr-FR")), fr);
}

TEST(XmlCatalogue, AfterFourIniRowsNormalThenAdvancedItems) {
    TempFolder temp;
    std::wstring ini = L"[COMPONUM]\r\nNUM=4\r\n[COMPOSECTION]\r\n"
                       L"SECT_NAME_0=A\r\nSECT_NAME_1=B\r\nSECT_NAME_2=C\r\nSECT_NAME_3=D\r\n"
                       L"[A]\r\nTESTFILE=hdd.dll\r\n[B]\r\nTESTFILE=lan.dll\r\n"
                       L"[C]\r\nTESTFILE=video.dll\r\n[D]\r\nTESTFILE=audio.dll\r\n";
    std::wstring languageDir = temp.MakeFolder(L"QDXLang\\ENU");
    temp.WriteUtf8(L"QDXLang\\ENU\\initest.ini", ini);
    // Advanced first in the file: the normal items still come first.
    temp.WriteUtf8(L"Resources\\en\\Diagnostics.xml",
                   Document(Advanced({Item(L"Adv1", L"adv1.dll"), Item(L"Adv2", L"adv2.exe", L"DIALOG", L"7")}) +
                            Normal({Item(L"Norm1", L"norm1.dll", L"PROMPT", L"3"), Item(L"Norm2", L"norm2.dll"),
                                    Item(L"Norm3", L"norm3.dll")})));

    CatalogueResult result;
    unsigned flags = 0;
    LoadIniCatalogue(
        languageDir, 1, [&](TestCatalogue& catalogue) { LoadXmlCatalogue(temp.path(), catalogue, Locales(L"en-US")); },
        result, flags);

    const TestCatalogue& catalogue = result.catalogue;
    EXPECT_EQ(Names(catalogue), (std::vector<std::wstring>{L"HDD", L"LAN", L"Video", L"Audio", L"Norm1", L"Norm2",
                                                           L"Norm3", L"Adv1", L"Adv2"}));
    const TestEntry& norm1 = catalogue.rows[4];
    EXPECT_EQ(norm1.testFile, L"norm1.dll");
    EXPECT_EQ(norm1.windowType, kWindowPrompt);
    EXPECT_EQ(norm1.repeatText, L"3");
    EXPECT_EQ(norm1.repeatDefault, 3);
    EXPECT_EQ(norm1.isProgram, 0);
    EXPECT_EQ(norm1.logOption, L"");
    EXPECT_EQ(norm1.testSubdir, L"");
    EXPECT_EQ(norm1.testDoc, L"");
    EXPECT_EQ(norm1.manualText, L"");
    const TestEntry& adv2 = catalogue.rows[8];
    EXPECT_EQ(adv2.testFile, L"adv2.exe");
    EXPECT_EQ(adv2.isProgram, 0);  // never derived from the file name here
    EXPECT_EQ(adv2.windowType, kWindowDialog);
    EXPECT_EQ(adv2.repeatDefault, 7);
}

TEST(XmlCatalogue, WindowTypeIsMatchedAsWritten) {
    ProgramFolder folder(Document(Normal({Item(L"a", L"a.dll", L"prompt"), Item(L"b", L"b.dll", L"PROMPT"),
                                          Item(L"c", L"c.dll", L"DIALOG"), Item(L"d", L"d.dll", L"DEFAULTPROMPT"),
                                          Item(L"e", L"e.dll", L"Dialog"), Item(L"f", L"f.dll", L"xPROMPTx")})));
    TestCatalogue catalogue = folder.Load();
    ASSERT_EQ(catalogue.count, 6);
    std::vector<int> types;
    for (int i = 0; i < catalogue.count; ++i) types.push_back(catalogue.rows[i].windowType);
    EXPECT_EQ(types, (std::vector<int>{0, 1, 2, 0, 0, 1}));
}

TEST(XmlCatalogue, MissingSectionStillReadsTheOther) {
    EXPECT_EQ(Names(ProgramFolder(Document(Advanced({Item(L"Adv", L"adv.dll")}))).Load()),
              std::vector<std::wstring>{L"Adv"});
    EXPECT_EQ(Names(ProgramFolder(Document(Normal({Item(L"Norm", L"norm.dll")}))).Load()),
              std::vector<std::wstring>{L"Norm"});
    EXPECT_EQ(ProgramFolder(Document(L"")).Load().count, 0);
}

TEST(XmlCatalogue, OnlyDirectChildrenCountAndNamesAreCaseSensitive) {
    ProgramFolder folder(Document(Normal({Item(L"Top", L"top.dll"),
                                          L"<Group>" + Item(L"Nested", L"n.dll") + L"</Group>",
                                          L"<item Id=\"Lower\"><TestFile>l.dll</TestFile></item>"}) +
                                  L"<Wrapper>" + Advanced({Item(L"Deep", L"deep.dll")}) + L"</Wrapper>" +
                                  Section(L"advanceddiagnosticssection", {Item(L"Case", L"case.dll")})));
    EXPECT_EQ(Names(folder.Load()), std::vector<std::wstring>{L"Top"});
}

TEST(XmlCatalogue, ItemsBeyondRowFortyAreNotAdded) {
    ProgramFolder folder(Document(Normal({Item(L"N1", L"n1.dll"), Item(L"N2", L"n2.dll"), Item(L"N3", L"n3.dll")}) +
                                  Advanced({Item(L"A1", L"a1.dll"), Item(L"A2", L"a2.dll")})));
    TestCatalogue catalogue = folder.Load(Prefilled(38));
    ASSERT_EQ(catalogue.count, kMaxCatalogueRows);
    EXPECT_EQ(catalogue.rows[37].displayName, L"Ini37");
    EXPECT_EQ(catalogue.rows[38].displayName, L"N1");
    EXPECT_EQ(catalogue.rows[39].displayName, L"N2");

    TestCatalogue full = folder.Load(Prefilled(kMaxCatalogueRows));
    EXPECT_EQ(full.count, kMaxCatalogueRows);
    EXPECT_EQ(full.rows[39].displayName, L"Ini39");

    std::vector<std::wstring> many;
    for (int i = 0; i < 45; ++i) many.push_back(Item(L"M" + std::to_wstring(i), L"m.dll"));
    TestCatalogue fromEmpty = ProgramFolder(Document(Normal(many))).Load();
    EXPECT_EQ(fromEmpty.count, kMaxCatalogueRows);
    EXPECT_EQ(fromEmpty.rows[39].displayName, L"M39");
}

TEST(XmlCatalogue, MissingFileAddsNothing) {
    TempFolder temp;
    temp.WriteUtf8(L"Resources\\fr\\Diagnostics.xml", Document(Normal({Item(L"Fr", L"fr.dll")})));
    TestCatalogue catalogue = Prefilled(2);
    LoadXmlCatalogue(temp.path(), catalogue, Locales(L"de-DE", L"de-DE"));  // falls back to en, which is absent
    EXPECT_EQ(Names(catalogue), (std::vector<std::wstring>{L"Ini0", L"Ini1"}));
}

TEST(XmlCatalogue, MalformedFileAddsNoRowsAtAll) {
    // Well-formed items before the fault must not slip in either.
    std::wstring truncated =
        L"<Diagnostics>" + Normal({Item(L"Good", L"good.dll")}) + L"<AdvancedDiagnosticsSection><Item";
    EXPECT_EQ(Names(ProgramFolder(truncated).Load(Prefilled(1))), std::vector<std::wstring>{L"Ini0"});
    EXPECT_EQ(ProgramFolder(L"").Load().count, 0);
    EXPECT_EQ(ProgramFolder(L"TestFile=video.dll").Load().count, 0);
}

TEST(XmlCatalogue, UnreadableItemAddsNoRowsAtAll) {
    // Well-formed, but the second item's text cannot be read: the first must not slip in alone.
    ProgramFolder folder(L"<Diagnostics xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">" +
                         Normal({Item(L"Good", L"good.dll"),
                                 L"<Item Id=\"Bad\"><RepeatEnable dt:dt=\"int\">x</RepeatEnable></Item>"}) +
                         L"</Diagnostics>");
    EXPECT_EQ(Names(folder.Load(Prefilled(1))), std::vector<std::wstring>{L"Ini0"});
}

TEST(XmlCatalogue, MissingChildrenGiveEmptyTexts) {
    ProgramFolder folder(Document(Normal({
        L"<Item Id=\"DIALOG\"><WindowType>PROMPT</WindowType><RepeatEnable>2</RepeatEnable></Item>",
        L"<Item Id=\"PROMPT\"><TestFile>x.dll</TestFile></Item>",
        L"<Item><TestFile>noid.dll</TestFile><RepeatEnable>abc</RepeatEnable></Item>",
    })));
    TestCatalogue catalogue = folder.Load();
    ASSERT_EQ(catalogue.count, 3);

    const TestEntry& noFile = catalogue.rows[0];
    EXPECT_EQ(noFile.displayName, L"DIALOG");
    EXPECT_EQ(noFile.testFile, L"");  // not the Id read just before
    EXPECT_EQ(noFile.windowType, kWindowPrompt);
    EXPECT_EQ(noFile.repeatDefault, 2);

    const TestEntry& noType = catalogue.rows[1];
    EXPECT_EQ(noType.testFile, L"x.dll");
    EXPECT_EQ(noType.windowType, kWindowDefault);  // the Id would have said PROMPT
    EXPECT_EQ(noType.repeatText, L"");
    EXPECT_EQ(noType.repeatDefault, 0);

    const TestEntry& noId = catalogue.rows[2];
    EXPECT_EQ(noId.displayName, L"");
    EXPECT_EQ(noId.testFile, L"noid.dll");
    EXPECT_EQ(noId.repeatText, L"abc");
    EXPECT_EQ(noId.repeatDefault, 0);
}

TEST(XmlCatalogue, ShippedCatalogueDoesNotRepeatTheVideoModule) {
    // The video test is listed by initest.ini, with its manual; a second row would show it twice.
    TestCatalogue catalogue;
    LoadXmlCatalogue(SUITE_DIST_DIR, catalogue, Locales(L"en-US"));
    EXPECT_EQ(catalogue.count, 0);
}
