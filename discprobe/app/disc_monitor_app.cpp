#include "disc_monitor_app.h"

#include <windows.h>
#include <commctrl.h>

#include "framework/library_loading.h"
#include "framework/module_path.h"
#include "instance_guard.h"
#include "lang_texts.h"
#include "language_file.h"

namespace discprobe {

namespace {

constexpr DWORD kAllBasicControlClasses = 0xFF;

void ShowError(const wchar_t* text) { ::MessageBoxW(nullptr, text, kErrorCaption, MB_OK | MB_ICONERROR); }

}  // namespace

CDiscMonitorApp::CDiscMonitorApp(DialogRunner runDialog, lang::LanguageLists languages)
    : m_runDialog(std::move(runDialog)), m_languages(std::move(languages)) {}

bool CDiscMonitorApp::LoadLanguageFile() {
    m_parser.emplace();
    if (m_parser->Init() != xml::kXmlOk || m_parser->Load(m_languageFile) != xml::kXmlOk) return false;
    try {
        m_root = m_parser->GetRoot();
    } catch (const fw::HResultError&) {
        return false;
    }
    return true;
}

bool CDiscMonitorApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, kAllBasicControlClasses};
    ::InitCommonControlsEx(&controls);
    ::RegisterApplicationRestart(nullptr, 0);  // restart only; there is nothing to recover

    // The monitor thread and every disc object share this apartment.
    m_apartment.emplace(COINIT_MULTITHREADED);
    m_richEdit.reset(fw::LoadSystemLibrary(L"riched20.dll"));

    m_programDir = fw::FolderOf(fw::ModuleFileName(nullptr));
    if (m_programDir.empty()) {
        ShowError(kNoProgramDirText);
        return false;
    }

    LanguageFile file = ChooseLanguageFile(m_programDir, m_languages);
    m_languageFile = file.path;
    m_languageCode = file.code;
    if (!LoadLanguageFile()) {
        ShowError(kBadLanguageFileText);
        return false;
    }
    m_applicationName = ReadTitle(*m_parser, m_root.Get());

    CInstanceGuard instance;
    if (!instance.Acquire()) {
        ActivateWindowTitled(m_applicationName);
        return false;
    }
    if (m_runDialog) m_runDialog(*this);
    return false;
}

}  // namespace discprobe
