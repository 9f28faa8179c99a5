#include "lang_texts.h"

namespace discprobe {

namespace {

constexpr wchar_t kSection[] = L"DiscProbe";

fw::ComPtr<IXMLDOMNode> Section(const xml::CXMLParser& parser, IXMLDOMElement* root) {
    if (!root) return nullptr;
    try {
        return parser.SelectNode(root, kSection);
    } catch (const fw::HResultError&) {
        return nullptr;
    }
}

// The key's text, or nothing when the element is missing or unreadable.
std::optional<std::wstring> ReadKey(const xml::CXMLParser& parser, IXMLDOMNode* section, const wchar_t* key) {
    try {
        fw::ComPtr<IXMLDOMNode> node = parser.SelectNode(section, key);
        if (!node) return std::nullopt;
        return parser.GetText(node.Get());
    } catch (const fw::HResultError&) {
        return std::nullopt;
    }
}

}  // namespace

std::wstring ReadTitle(const xml::CXMLParser& parser, IXMLDOMElement* root) {
    fw::ComPtr<IXMLDOMNode> section = Section(parser, root);
    if (!section) return {};
    return ReadKey(parser, section.Get(), key::kTitle).value_or(std::wstring());
}

TextTable ReadDialogTexts(const xml::CXMLParser& parser, IXMLDOMElement* root) {
    TextTable table;
    fw::ComPtr<IXMLDOMNode> section = Section(parser, root);
    std::wstring last;
    for (const wchar_t* key : kDialogTextKeys) {
        if (section)
            if (std::optional<std::wstring> text = ReadKey(parser, section.Get(), key)) last = std::move(*text);
        table[key] = last;
    }
    return table;
}

}  // namespace discprobe
