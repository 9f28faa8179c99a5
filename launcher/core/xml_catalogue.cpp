#include "xml_catalogue.h"

#include <windows.h>
#include <vector>

#include "framework/module_path.h"
#include "text_util.h"
#include "xml/xml_parser.h"

namespace launcher {

namespace {

constexpr wchar_t kResourcesFolder[] = L"Resources\\";
constexpr wchar_t kCatalogueFile[] = L"\\Diagnostics.xml";
constexpr wchar_t kDefaultFolder[] = L"en";

using LocaleNameFn = decltype(&::GetUserDefaultLocaleName);

std::wstring FetchLocaleName(LocaleNameFn fetch) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    return fetch(name, LOCALE_NAME_MAX_LENGTH) > 0 ? std::wstring(name) : std::wstring();
}

// The text of the named child; empty when the item has no such child.
std::wstring ChildText(const xml::CXMLParser& parser, IXMLDOMNode* item, const wchar_t* name) {
    fw::ComPtr<IXMLDOMNode> child = parser.SelectNode(item, name);
    return child ? parser.GetText(child.Get()) : std::wstring();
}

TestEntry ReadItem(const xml::CXMLParser& parser, const fw::ComPtr<IXMLDOMNode>& item) {
    if (!item) throw fw::HResultError(E_POINTER, "get_item");
    fw::ComPtr<IXMLDOMElement> element;
    fw::ThrowIfFailed(item.As(&element), "QueryInterface(IXMLDOMElement)");
    TestEntry row;
    row.displayName = parser.GetAttribute(element.Get(), L"Id");
    row.testFile = ChildText(parser, item.Get(), L"TestFile");
    // Unlike the INI key, the XML text is matched as written: "prompt" is no PROMPT.
    ApplyWindowType(ChildText(parser, item.Get(), L"WindowType"), row.windowType);
    row.repeatText = ChildText(parser, item.Get(), L"RepeatEnable");
    row.repeatDefault = LeadingDecimal(row.repeatText);
    return row;
}

// Adds the "Item" children of the named section of `root` while `rows` has room.
void ReadSection(const xml::CXMLParser& parser, IXMLDOMElement* root, const wchar_t* section, size_t room,
                 std::vector<TestEntry>& rows) {
    fw::ComPtr<IXMLDOMNode> node = parser.SelectNode(root, section);
    if (!node) return;
    fw::ComPtr<IXMLDOMNodeList> items = parser.SelectNodes(node.Get(), L"Item");
    long count = xml::NodeCount(items.Get());
    for (long i = 0; i < count && rows.size() < room; ++i)
        rows.push_back(ReadItem(parser, xml::NodeAt(items.Get(), i)));
}

}  // namespace

std::wstring UserLocaleName() { return FetchLocaleName(::GetUserDefaultLocaleName); }

std::wstring SystemLocaleName() { return FetchLocaleName(::GetSystemDefaultLocaleName); }

std::wstring LocaleFolderName(const std::wstring& localeName) {
    std::wstring name = ToLower(localeName);
    for (const wchar_t* language : {L"en", L"fr", L"es"})
        if (name.starts_with(language)) return language;
    return name;
}

std::wstring FindDiagnosticsXml(const std::wstring& programDir, const LocaleNames& locales) {
    std::wstring base = programDir + kResourcesFolder;
    for (const auto& localeName : {locales.user, locales.system}) {
        std::wstring folder = LocaleFolderName(localeName());
        // A locale the system could not name would point at "Resources\" itself.
        if (folder.empty()) continue;
        std::wstring path = base + folder + kCatalogueFile;
        if (fw::PathExists(path)) return path;
    }
    return base + kDefaultFolder + kCatalogueFile;
}

void LoadXmlCatalogue(const std::wstring& programDir, TestCatalogue& catalogue, const LocaleNames& locales) {
    std::wstring path = FindDiagnosticsXml(programDir, locales);
    if (!fw::PathExists(path)) return;
    size_t room = static_cast<size_t>(kMaxCatalogueRows - catalogue.count);
    std::vector<TestEntry> rows;
    try {
        xml::CXMLParser parser;
        if (parser.Init() != xml::kXmlOk || parser.Load(path) != xml::kXmlOk) return;
        fw::ComPtr<IXMLDOMElement> root = parser.GetRoot();
        if (!root) return;
        ReadSection(parser, root.Get(), L"NormalDiagnosticsSection", room, rows);
        ReadSection(parser, root.Get(), L"AdvancedDiagnosticsSection", room, rows);
    } catch (const fw::HResultError& error) {
        // A file the document object cannot walk adds no rows at all, not some of them.
        ::OutputDebugStringA(error.what());
        return;
    }
    for (TestEntry& row : rows) catalogue.rows[catalogue.count++] = std::move(row);
}

}  // namespace launcher
