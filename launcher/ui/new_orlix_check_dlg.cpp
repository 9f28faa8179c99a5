#include "new_orlix_check_dlg.h"

#include <commctrl.h>

#include "ask_box.h"
#include "framework/resources.h"
#include "ini_catalogue.h"
#include "machine_info.h"
#include "missing_library.h"
#include "outer_layout.h"
#include "call_dll_thread.h"
#include "crash_handler.h"
#include "runner_messages.h"
#include "runner_telemetry.h"
#include "string_ids.h"
#include "verdict_events.h"
#include "xml_catalogue.h"

namespace launcher {

namespace {
constexpr WORD kTabControlId = 1000;
constexpr WORD kCloseButtonId = 1022;
constexpr WORD kPictureButtonId = 1048;
constexpr DWORD kKeepAwake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;

HICON LoadIconResource(HMODULE module, unsigned id, int size) {
    return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}
}  // namespace

CNewOrlixCheckDlg::CNewOrlixCheckDlg(LauncherContext& context)
    : m_context(context),
      m_logFolder(context.programDir),
      m_log(m_logFolder),
      m_results(m_verdictEvents),
      m_report(m_log.log(), context.languageCode,
               [this](const std::wstring& path) {
                   if (!Unattended()) m_page.OfferReport(path);
               }),
      m_dispatcher(HostServices{m_page, *this, m_log, m_results, m_runner, *this, *this, &m_report}, context.keepOpen,
                   context.programDir,
                   LaunchPolicy{context.commandLine.unattended, TimeLimitSeconds(context.commandLine),
                                ReportTelemetryTo(telemetry::Telemetry()), context.commandLine.burnIn,
                                [](unsigned id) { return fw::LoadStr(id); }, ReportEvent}) {
    m_verdictEvents.ReportPasses(!context.commandLine.burnIn.Active());
}

bool CNewOrlixCheckDlg::Create(HWND parent) {
    return fw::Dialog::Create(fw::CurrentResourceModule(), ids::kDiagnosticsTemplate, parent);
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

void CNewOrlixCheckDlg::LayOut() {
    int x = m_dpiX, y = m_dpiY;
    // 800 x 600, centred in the outer window.
    RECT outer{};
    ::GetClientRect(::GetParent(hwnd()), &outer);
    int width = ScaleX(800, x), height = ScaleY(600, y);
    ::MoveWindow(hwnd(), (outer.right - width) / 2 > 0 ? (outer.right - width) / 2 : 0,
                 (outer.bottom - height) / 2 > 0 ? (outer.bottom - height) / 2 : 0, width, height, FALSE);

    HWND tab = ::GetDlgItem(hwnd(), kTabControlId);
    m_tabFrame.Attach(tab);
    m_pictureButton.Attach(::GetDlgItem(hwnd(), kPictureButtonId));
    TabCtrl_SetMinTabWidth(tab, ScaleX(195, x));
    TabCtrl_SetItemSize(tab, ScaleX(195, x), ScaleY(24, y));
    ::MoveWindow(tab, ScaleX(0, x), ScaleY(11, y), ScaleX(784, x), ScaleY(500, y), FALSE);

    // The page sits inside the tab control, below its (absent) first tab.
    RECT client{}, first{};
    ::GetClientRect(tab, &client);
    TabCtrl_GetItemRect(tab, 0, &first);
    RECT r{ScaleX(client.left, x), ScaleY(client.top, y), ScaleX(client.right, x), ScaleY(client.bottom, y)};
    RECT t{ScaleX(first.left, x), ScaleY(first.top, y), ScaleX(first.right, x), ScaleY(first.bottom, y)};
    int left = t.left, top = t.bottom + ScaleY(1, y);
    POINT origin{left, top};
    ::MapWindowPoints(tab, hwnd(), &origin, 1);
    ::MoveWindow(m_page.hwnd(), origin.x, origin.y, r.right - ScaleX(2, x) - left, r.bottom - ScaleY(2, y) - top,
                 FALSE);
    ::SetWindowPos(m_page.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    HWND close = ::GetDlgItem(hwnd(), kCloseButtonId);
    ::MoveWindow(close, ScaleX(629, x), ScaleY(506, y), ScaleX(146, x), ScaleY(24, y), FALSE);
    ::SetWindowTextW(close, fw::LoadStr(ids::kCloseButton).c_str());
}

void CNewOrlixCheckDlg::OnInitDialog() {
    InstallCrashHandler(hwnd(), Unattended());
    m_processorArchitecture = ReadProcessorArchitecture();
    m_modeFlags &= ~1u;
    m_currentEntry = -1;
    m_pcCardSwitch = ReadPcCardSwitch(m_context.programDir);
    LoadIniCatalogue();

    ModelNameSource model = ReadModelName(m_context.programDir);
    if (!model.loaded) {
        // Without it no run can be recorded for this computer: an unattended line must not wait forever.
        ReportStartFailure(m_context.programDir + L"sysident.dll");
        ReportMissingLibrary(hwnd(), Unattended(), L"the library that identifies this computer",
                             m_context.programDir + L"sysident.dll");
        Exit(kCannotStartExitCode);
        return;
    }
    m_modelName = model.modelName;
    m_verdictEvents.SetModelName(m_modelName);
    m_report.SetModelName(m_modelName);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    m_runDate = FormatRunDate(now);
    m_logFolder.SetFlag((m_modeFlags & mode::kRecovery) ? 0 : 1);

    ::SetWindowTextW(hwnd(), fw::LoadStr(ids::kWindowTitle).c_str());
    LoadArtwork();
    if (m_iconLarge) ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_iconLarge.get()));
    if (m_iconSmall) ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_iconSmall.get()));

    if (HDC screen = ::GetDC(nullptr)) {
        m_dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
        m_dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
    PageSettings page{m_modeFlags, m_context.languageCode, m_context.catalogue.fastCheckManual, m_dpiX, m_dpiY};
    m_context.runList = BuildRunList(m_context.commandLine.moduleArguments, m_context.catalogue.catalogue,
                                     m_context.catalogue.fastCheck);
    // The page describes what runs: the fast check, or the one test named.
    if (m_context.runList.count == 1 && m_context.runList.rows[0].quick == 0)
        for (int i = 0; i < m_context.catalogue.catalogue.count; ++i)
            if (m_context.catalogue.catalogue.rows[i].testFile == m_context.runList.rows[0].moduleFile)
                page.manualText = m_context.catalogue.catalogue.rows[i].manualText;
    m_page.Create(hwnd(), page);
    LayOut();
    ::ShowWindow(m_page.hwnd(), SW_SHOW);

    if (m_context.runList.count == 0) {
        ShowMessageBox(kNoModuleMessage, fw::LoadStr(ids::kBoxCaption), MB_OK | MB_ICONWARNING);
        // A script must not read a misspelt module argument as a pass.
        Exit(Unattended() ? ExitCodeFor(RunOutcome{.nothingToRun = true}) : kLauncherExitCode);
    }
    m_hasTestPages = true;
    m_page.SetStartStopText(fw::LoadStr(ids::kStartButton));
    // Start once the windows are up: the run's messages need a running message loop.
    ::PostMessageW(hwnd(), runner_msg::kStartAtOnce, 0, 0);
}

bool CNewOrlixCheckDlg::StartRun(int entryIndex) {
    m_currentEntry = entryIndex;
    m_runTitle = fw::LoadStr((m_modeFlags & mode::kFullTest) ? ids::kRunTitleFullTest : ids::kRunTitle);

    BOOL active = FALSE;
    ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    m_screenSaverWasActive = active != FALSE;
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    ::SetThreadExecutionState(kKeepAwake);

    m_page.SetStartStopText(fw::LoadStr(ids::kStopButton));
    m_page.SetPageState(TPageState::Running);
    m_page.EnableListButton(false);
    EnableCloseItems(false);

    m_results.writer().OpenResultFile(m_logFolder);
    if (const SecureFolder* refused = m_results.writer().Refusal())
        m_page.AppendText(RefusalNote(*refused, fw::LoadStr(ids::kFolderIsLink), fw::LoadStr(ids::kFolderForeignOwner)));
    // Each run is dated when it starts; its log is opened later, when a module asks for it.
    SYSTEMTIME started{};
    ::GetLocalTime(&started);
    m_runDate = FormatRunDate(started);
    // A refused folder gets no report page either.
    const std::wstring& resultFolder = m_results.writer().Folder();
    m_report.BeginRun(resultFolder, started,
                      m_results.writer().IsOpen() ? resultFolder + kResultFileName : std::wstring());
    m_verdictEvents.SetReportFile(m_report.ReportPath());
    m_log.log().WriteHeader(LogHeader{m_runTitle, m_runDate, m_modelName});

    m_boxAnswers.Forget();  // a new run asks its person again
    const BurnInPlan& burnIn = m_context.commandLine.burnIn;
    return m_runner.Start(MakeRunThread(hwnd(), m_context, m_processorArchitecture, m_modeFlags,
                                        burnIn.Active() ? burnIn.RepeatCount() : kRepeatCount));
}

std::vector<std::wstring> CNewOrlixCheckDlg::RunTestNames() const {
    std::vector<std::wstring> names;
    for (int i = 0; i < m_context.runList.count; ++i) names.push_back(m_context.runList.rows[i].displayName);
    return names;
}

void CNewOrlixCheckDlg::EndRunSession() {
    ::SetThreadExecutionState(ES_CONTINUOUS);
    if (m_screenSaverWasActive) ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
}

void CNewOrlixCheckDlg::EnableCloseItems(bool enable) {
    ::EnableWindow(::GetDlgItem(hwnd(), kCloseButtonId), enable);
    UINT state = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
    HWND outer = ::GetParent(hwnd());
    ::EnableMenuItem(::GetSystemMenu(outer, FALSE), SC_CLOSE, state);
    ::EnableMenuItem(::GetSystemMenu(hwnd(), FALSE), SC_CLOSE, state);
}

int CNewOrlixCheckDlg::ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT style) {
    // In an attended burn-in a person answers each box once, not once a cycle.
    BoxMemory* answers = m_context.commandLine.burnIn.Active() && RunActive() ? &m_boxAnswers : nullptr;
    return AskBox(hwnd(), Unattended(), text, caption, style,
                  [this](const std::wstring& note) { m_dispatcher.Note(note); }, answers);
}

void CNewOrlixCheckDlg::SendCopyData(HWND target, ULONG_PTR kind, const void* data, DWORD bytes) {
    COPYDATASTRUCT copy{kind, bytes, const_cast<void*>(data)};
    ::SendMessageW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd()), reinterpret_cast<LPARAM>(&copy));
}

void CNewOrlixCheckDlg::SendTo(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    ::SendMessageW(target, message, wParam, lParam);
}

void CNewOrlixCheckDlg::Exit(int code) { ::ExitProcess(static_cast<UINT>(code)); }

// ExitProcess would tell every library to detach, and a hung module's thread
// may hold what that needs (the loader lock, a heap lock): the process ends as it is.
void CNewOrlixCheckDlg::Abandon(int code) { ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(code)); }

void CNewOrlixCheckDlg::OnCloseRequest() {
    std::wstring caption = fw::LoadStr(ids::kBoxCaption);
    if (m_runner.Exists() && !m_dispatcher.ModuleCrashed()) {
        ShowMessageBox(fw::LoadStr(ids::kRunPreventsClose), caption, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const UINT question = MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2;
    if (ShowMessageBox(fw::LoadStr(ids::kCloseQuestion), caption, question) != IDNO)
        ::PostMessageW(::GetParent(hwnd()), WM_CLOSE, 0, 0);
}

std::optional<LRESULT> CNewOrlixCheckDlg::OnCommand(WORD id) {
    switch (id) {
    case kCloseButtonId:
        ::PostMessageW(::GetParent(hwnd()), WM_CLOSE, 0, 0);
        return 0;
    case kPictureButtonId:
    case IDOK:  // Enter and Escape never end the dialog
    case IDCANCEL:
        return 0;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> CNewOrlixCheckDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Protocol messages share numbers with the dialog manager's own (WM_USER+0..2).
    if (std::optional<LRESULT> answer = m_dispatcher.Handle(message, wParam, lParam)) return answer;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case runner_msg::kStartAtOnce:
        if (m_hasTestPages) m_page.StartAtOnce(m_currentEntry);
        return 0;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            OnCloseRequest();
            return 0;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

}  // namespace launcher
