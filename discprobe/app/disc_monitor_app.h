#pragma once
// The checker's process: chooses and reads lang.xml, keeps one instance, runs
// the dialog. The process ends when Run returns; no exit code means anything.
#include <functional>
#include <optional>
#include <string>

#include "font_table.h"
#include "framework/com.h"
#include "framework/unique_resource.h"
#include "language/language_choice.h"
#include "xml/xml_parser.h"

namespace discprobe {

constexpr wchar_t kErrorCaption[] = L"Orlix Hardware Diagnostics";
constexpr wchar_t kNoProgramDirText[] = L"Can't find resource.";
constexpr wchar_t kBadLanguageFileText[] = L"Can't parse the XML file.";

class CDiscMonitorApp {
public:
    using DialogRunner = std::function<void(CDiscMonitorApp&)>;

    explicit CDiscMonitorApp(DialogRunner runDialog, lang::LanguageLists languages = {});
    CDiscMonitorApp(const CDiscMonitorApp&) = delete;
    CDiscMonitorApp& operator=(const CDiscMonitorApp&) = delete;

    // The whole program; always false (there is no message loop to run after it).
    bool InitInstance();

    const std::wstring& ApplicationName() const { return m_applicationName; }
    // The face for the chosen language; empty when the table has no row for it.
    const std::wstring& FontFace() { return m_fonts.FaceFor(m_languageCode); }
    const xml::CXMLParser& Parser() const { return *m_parser; }
    IXMLDOMElement* Root() const { return m_root.Get(); }

private:
    bool LoadLanguageFile();

    DialogRunner m_runDialog;
    lang::LanguageLists m_languages;
    // Declared first so that COM is left last, after the document is released.
    std::optional<fw::ComApartment> m_apartment;
    fw::UniqueModule m_richEdit;
    std::wstring m_programDir;
    std::wstring m_languageFile;
    std::wstring m_languageCode = lang::kDefaultLanguageCode;
    std::optional<xml::CXMLParser> m_parser;
    fw::ComPtr<IXMLDOMElement> m_root;
    CFontTable m_fonts;
    std::wstring m_applicationName;
};

}  // namespace discprobe
