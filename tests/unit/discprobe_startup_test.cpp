// The optical checker's start-up decisions: which lang.xml, which font, which texts.
#include <gtest/gtest.h>

#include <vector>

#include "font_table.h"
#include "lang_texts.h"
#include "language_file.h"
#include "temp_folder.h"

using namespace discprobe;
using testsupport::TempFolder;

namespace {

constexpr LANGID kJapanese = 0x0411;
constexpr LANGID kEnglishUs = 0x0409;
constexpr LANGID kDanish = 0x0406;

std::function<bool(lang::LanguageIdList&)> Returns(std::vector<LANGID> ids) {
    return [ids](lang::LanguageIdList& list) {
        list = lang::LanguageIdList{};
        for (LANGID id : ids) list.ids[list.count++] = id;
        return true;
    };
}

const std::wstring kEnu = L"<Strings><DiscProbe><Title>T</Title></DiscProbe></Strings>";

}  // namespace

TEST(DiscLanguageFile, JapaneseThenEnglishPicksTheFirstFolderWithALanguageFile) {
    TempFolder program;
    program.WriteUtf8(L"qdxlang\\ENU\\lang.xml", kEnu);
    lang::LanguageLists lists{Returns({kJapanese, kEnglishUs}), Returns({})};

    LanguageFile chosen = ChooseLanguageFile(program.path(), lists);
    EXPECT_EQ(chosen.code, L"ENU");
    EXPECT_EQ(chosen.path, program.path() + L"qdxlang\\ENU\\lang.xml");

    // A JPN folder without its file does not count; with the file it wins.
    program.MakeFolder(L"qdxlang\\JPN");
    EXPECT_EQ(ChooseLanguageFile(program.path(), lists).code, L"ENU");
    program.WriteUtf8(L"qdxlang\\JPN\\lang.xml", kEnu);
    chosen = ChooseLanguageFile(program.path(), lists);
    EXPECT_EQ(chosen.code, L"JPN");
    EXPECT_EQ(CFontTable().FaceFor(chosen.code), L"Meiryo");
}

TEST(DiscLanguageFile, SystemListThenEnuUntested) {
    TempFolder program;
    program.WriteUtf8(L"qdxlang\\DAN\\lang.xml", kEnu);
    EXPECT_EQ(ChooseLanguageFile(program.path(), {Returns({kJapanese}), Returns({kDanish})}).code, L"DAN");

    TempFolder empty;
    LanguageFile fallback = ChooseLanguageFile(empty.path(), {Returns({kJapanese}), Returns({kDanish})});
    EXPECT_EQ(fallback.code, L"ENU");
    EXPECT_EQ(fallback.path, empty.path() + L"qdxlang\\ENU\\lang.xml");
    EXPECT_EQ(CFontTable().FaceFor(L"DAN"), L"") << "no font row: the dialog's own font";
}

class DiscLangTexts : public testing::Test {
protected:
    // Loads `xml` into the parser; the root element it yields is kept.
    void Load(const std::wstring& xml) {
        std::wstring path = m_temp.WriteUtf8(L"lang.xml", L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + xml);
        ASSERT_EQ(m_parser.Init(), xml::kXmlOk);
        ASSERT_EQ(m_parser.Load(path), xml::kXmlOk);
        m_root = m_parser.GetRoot();
    }
    TempFolder m_temp;
    xml::CXMLParser m_parser;
    fw::ComPtr<IXMLDOMElement> m_root;
};

TEST_F(DiscLangTexts, AMissingKeyCarriesTheTextReadBeforeIt) {
    // SubTile1 missing (first: empty), DetectingMedia missing (gets NoDiscInserted's),
    // SizeGB missing (gets OKButton's).
    Load(L"<L><DiscProbe><CheckMediaIn>Check</CheckMediaIn><NoDiscInserted>None</NoDiscInserted>"
         L"<OKButton>OK</OKButton><InsertBlankDisc>Insert</InsertBlankDisc></DiscProbe></L>");
    TextTable texts = ReadDialogTexts(m_parser, m_root.Get());
    EXPECT_EQ(texts[key::kSubTile1], L"");
    EXPECT_EQ(texts[key::kCheckMediaIn], L"Check");
    EXPECT_EQ(texts[key::kDetectingMedia], L"None");
    EXPECT_EQ(texts[key::kFirmware], L"None");
    EXPECT_EQ(texts[key::kSizeGB], L"OK");
    EXPECT_EQ(texts[key::kInsertBlankDisc], L"Insert");
    EXPECT_EQ(ReadTitle(m_parser, m_root.Get()), L"");
}

TEST_F(DiscLangTexts, NoDiscProbeSectionGivesEmptyTexts) {
    Load(L"<L><Other><Title>x</Title><NextButton>Next</NextButton></Other></L>");
    EXPECT_EQ(ReadTitle(m_parser, m_root.Get()), L"");
    TextTable texts = ReadDialogTexts(m_parser, m_root.Get());
    for (const wchar_t* key : kDialogTextKeys) EXPECT_EQ(texts[key], L"");
}

TEST_F(DiscLangTexts, ShippedLanguageFilesHoldEveryKey) {
    for (const wchar_t* code : {L"ENU", L"DEU", L"JPN"}) {
        SCOPED_TRACE(testsupport::ToUtf8(code));
        ASSERT_EQ(m_parser.Init(), xml::kXmlOk);
        ASSERT_EQ(m_parser.Load(std::wstring(SUITE_DIST_DIR) + L"QDXLang\\" + code + L"\\lang.xml"), xml::kXmlOk);
        m_root = m_parser.GetRoot();
        fw::ComPtr<IXMLDOMNode> section = m_parser.SelectNode(m_root.Get(), L"DiscProbe");
        ASSERT_TRUE(section);
        EXPECT_FALSE(ReadTitle(m_parser, m_root.Get()).empty());
        for (const wchar_t* key : kDialogTextKeys)
            EXPECT_TRUE(m_parser.SelectNode(section.Get(), key)) << testsupport::ToUtf8(key);
    }
}
