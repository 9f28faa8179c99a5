#include "new_orlix_check_dlg.h"

#include "framework/resources.h"
#include "ini_catalogue.h"
#include "machine_info.h"
#include "string_ids.h"
#include "xml_catalogue.h"

namespace launcher {

namespace {
constexpr WORD kCloseButtonId = 1022;
constexpr WORD kPictureButtonId = 1048;

HICON LoadIconResource(HMODULE module, unsigned id, int size) {
    return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}
}  // namespace

bool CNewOrlixCheckDlg::Create(HWND parent) {
    return fw::Dialog::Create(fw::CurrentResourceModule(), ids::kDiagnosticsTemplate, parent);
}

std::optional<LRESULT> CNewOrlixCheckDlg::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> CNewOrlixCheckDlg::OnCommand(WORD id) {
    switch (id) {
    case kCloseButtonId:
        ::PostMessageW(::GetParent(hwnd()), WM_CLOSE, 0, 0);
        return 0;
    case kPictureButtonId:
    case IDOK:      // Enter and Escape never end the dialog
    case IDCANCEL:
        return 0;
    default:
        return std::nullopt;
    }
}

void CNewOrlixCheckDlg::LoadIniCatalogue() {
    launcher::LoadIniCatalogue(
        m_context.languageDir, m_pcCardSwitch,
        [this](TestCatalogue& catalogue) { launcher::LoadXmlCatalogue(m_context.programDir, catalogue); },
        m_context.catalogue, m_modeFlags);
}

void CNewOrlixCheckDlg::LoadArtwork() {
    fw::UniqueModule art(::LoadLibraryW((m_context.programDir + L"artpack.dll").c_str()));
    if (!art) return;  // the dialog shows without its picture and icons
    fw::ScopedResourceModule useArt(art.get());
    m_picture.reset(static_cast<HBITMAP>(
        ::LoadImageW(art.get(), MAKEINTRESOURCEW(ids::kDialogBitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    m_iconLarge.reset(LoadIconResource(art.get(), ids::kDialogIconLarge, ::GetSystemMetrics(SM_CXICON)));
    m_iconSmall.reset(LoadIconResource(art.get(), ids::kDialogIconSmall, ::GetSystemMetrics(SM_CXSMICON)));
}

void CNewOrlixCheckDlg::OnInitDialog() {
    m_processorArchitecture = ReadProcessorArchitecture();
    m_modeFlags &= ~1u;
    m_abortState = kAbortNone;
    m_runState = kRunStateIdle;
    m_currentEntry = -1;
    m_pcCardSwitch = ReadPcCardSwitch(m_context.programDir);
    LoadIniCatalogue();

    ModelNameSource model = ReadModelName(m_context.programDir);
    if (!model.loaded) return;  // without sysident the dialog stays without test pages
    m_modelName = model.modelName;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    m_runDate = FormatRunDate(now);
    m_userLogFolderFlag = (m_modeFlags & mode::kRecovery) ? 0 : 1;

    ::SetWindowTextW(hwnd(), fw::LoadStr(ids::kWindowTitle).c_str());
    LoadArtwork();
    if (m_iconLarge) ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_iconLarge.get()));
    if (m_iconSmall) ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_iconSmall.get()));

    m_context.runList = BuildRunList(m_context.commandLine.moduleArguments, m_context.catalogue.catalogue,
                                     m_context.catalogue.fastCheck);
    if (m_context.runList.count == 0) {
        ::MessageBoxW(hwnd(), kNoModuleMessage, fw::LoadStr(ids::kBoxCaption).c_str(), MB_OK | MB_ICONWARNING);
        ::ExitProcess(static_cast<UINT>(kLauncherExitCode));
    }
    m_hasTestPages = true;
}

}  // namespace launcher
