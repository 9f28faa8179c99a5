#include "disc_monitor_dlg.h"

#include <dbt.h>

#include <span>

#include "control_ids.h"
#include "device_change.h"
#include "framework/resources.h"
#include "list_view.h"
#include "row_texts.h"
#include "telemetry/telemetry_client.h"

namespace discprobe {

namespace {

constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBandColour = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kHeadingColour = RGB(0x00, 0x33, 0xBC);
constexpr int kHeadingPoints = 12;
constexpr int kTextPoints = 9;
constexpr int kDriveIconSize = 34;
constexpr int kDriveListWidth = 502 - 5;

constexpr int kSelectionPage[] = {IDC_HEADING,         IDC_CHECK_MEDIA_IN, IDC_STATUS_LINE, IDC_DRIVE_LIST,
                                  IDC_SUPPORTED_MEDIA, IDC_NEXT,           IDC_CANCEL};
constexpr int kInformationPage[] = {IDC_INFO_HEADING, IDC_MEDIA_LIST, IDC_DRIVE_INFO_LABEL, IDC_DRIVE_INFO_LIST,
                                    IDC_OK};
constexpr int kHeadings[] = {IDC_HEADING, IDC_INFO_HEADING};
constexpr int kLabels[] = {IDC_HEADING, IDC_INFO_HEADING, IDC_SUPPORTED_MEDIA, IDC_CHECK_MEDIA_IN, IDC_STATUS_LINE,
                           IDC_DRIVE_INFO_LABEL};
constexpr int kTextControls[] = {IDC_CHECK_MEDIA_IN, IDC_STATUS_LINE, IDC_SUPPORTED_MEDIA, IDC_DRIVE_INFO_LABEL,
                                 IDC_OK,             IDC_NEXT,        IDC_CANCEL,          IDC_MEDIA_LIST,
                                 IDC_DRIVE_INFO_LIST, IDC_DRIVE_LIST};

template <size_t N>
bool Contains(const int (&ids)[N], int id) {
    for (int i : ids)
        if (i == id) return true;
    return false;
}

ScreenDpi ReadScreenDpi() {
    ScreenDpi dpi;
    if (HDC screen = ::GetDC(nullptr)) {
        dpi = {::GetDeviceCaps(screen, LOGPIXELSX), ::GetDeviceCaps(screen, LOGPIXELSY)};
        ::ReleaseDC(nullptr, screen);
    }
    return dpi;
}

HFONT NewFont(int points, const ScreenDpi& dpi, const std::wstring& face) {
    return ::CreateFontW(FontHeight(points, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                         0, face.c_str());
}

void SendUsageEvent() {
    const wchar_t* const event[] = {L"Diag", L"DiscProbe"};
    telemetry::TelemetryOpen();
    telemetry::Telemetry().SubmitEvent(event);
    telemetry::TelemetryClose();
}

}  // namespace

CDiscMonitorDlg::CDiscMonitorDlg(DialogSetup setup) : m_setup(std::move(setup)), m_dpi(ReadScreenDpi()) {}

CDiscMonitorDlg::~CDiscMonitorDlg() = default;

INT_PTR CDiscMonitorDlg::Run() { return DoModal(fw::OwnModule(), IDD_DISCPROBE, nullptr); }

void CDiscMonitorDlg::OnInitDialog() {
    m_icon.reset(static_cast<HICON>(::LoadImageW(fw::OwnModule(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0)));
    m_smallIcon.reset(static_cast<HICON>(::LoadImageW(fw::OwnModule(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON),
                                                      IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                      ::GetSystemMetrics(SM_CYSMICON), 0)));
    ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.get()));
    ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));

    SendUsageEvent();

    m_selectedRow = -1;
    m_autoplay.Suppress();

    HWND self = hwnd();
    if (m_setup.driveSource)
        m_drives = m_setup.driveSource([self](int row, int state) {
            ::PostMessageW(self, WM_MEDIASTATE, static_cast<WPARAM>(row), static_cast<LPARAM>(state));
        });
    if (m_drives) m_drives->Rebuild();

    m_background.reset(::CreateSolidBrush(kWhite));
    AttachImageList();
    ShowPage(false);

    m_texts = ReadDialogTexts(m_setup.parser, m_setup.root);
    ::SetWindowTextW(hwnd(), m_setup.applicationName.c_str());
    SetControlTexts();

    ApplyLayout();

    ::EnableWindow(Item(IDC_NEXT), FALSE);
    FillDriveList();
    CreateFonts();
    if (DriveCount() > 0) SelectRow(0);
    ::PostMessageW(hwnd(), WM_STARTMONITOR, 0, 0);
}

void CDiscMonitorDlg::SetControlTexts() {
    const std::pair<int, const wchar_t*> texts[] = {
        {IDC_HEADING, key::kInsertBlankDisc}, {IDC_CHECK_MEDIA_IN, key::kCheckMediaIn},
        {IDC_NEXT, key::kNextButton},         {IDC_CANCEL, key::kCancelButton},
        {IDC_INFO_HEADING, key::kSubTile2},   {IDC_DRIVE_INFO_LABEL, key::kDriveInfo},
        {IDC_OK, key::kOKButton},
    };
    for (const auto& [id, key] : texts) ::SetWindowTextW(Item(id), m_texts[key].c_str());
    ::SetWindowTextW(Item(IDC_STATUS_LINE), L"");
    ::SetWindowTextW(Item(IDC_SUPPORTED_MEDIA), L"");
}

void CDiscMonitorDlg::ApplyLayout() {
    for (const PlacedControl& control : PlaceControls(m_dpi)) {
        const RECT& r = control.rect;
        ::MoveWindow(Item(control.id), r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    }
    SIZE size = DialogSize(m_dpi);
    int x = (::GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    int y = (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    ::MoveWindow(hwnd(), x, y, size.cx, size.cy, FALSE);
    RECT rect{};
    ::GetWindowRect(hwnd(), &rect);
    m_windowRect = rect;
}

void CDiscMonitorDlg::CreateFonts() {
    m_headingFont.reset(NewFont(kHeadingPoints, m_dpi, m_setup.fontFace));
    m_textFont.reset(NewFont(kTextPoints, m_dpi, m_setup.fontFace));
    for (int id : kHeadings) ::SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_headingFont.get()), TRUE);
    for (int id : kTextControls) ::SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_textFont.get()), TRUE);
}

void CDiscMonitorDlg::AttachImageList() {
    HWND list = Item(IDC_DRIVE_LIST);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    int size = ScaleX(kDriveIconSize, m_dpi);
    m_driveImages.reset(ImageList_Create(size, size, ILC_COLOR32, 3, 1));
    fw::UniqueIcon drive(static_cast<HICON>(
        ::LoadImageW(fw::OwnModule(), MAKEINTRESOURCEW(IDI_DRIVE_ICON), IMAGE_ICON, size, size, 0)));
    ImageList_AddIcon(m_driveImages.get(), drive.get());
    ListView_SetImageList(list, m_driveImages.get(), LVSIL_SMALL);
}

void CDiscMonitorDlg::FillDriveList() {
    HWND list = Item(IDC_DRIVE_LIST);
    ListView_DeleteAllItems(list);
    listview::DeleteAllColumns(list);
    int total = ScaleX(kDriveListWidth, m_dpi);
    listview::AddColumn(list, 0, L"    ProductID", total * 45 / 100);
    listview::AddColumn(list, 1, L"Status", total * 55 / 100);
    for (int row = 0; row < DriveCount(); ++row) {
        DriveView drive = m_drives->Drive(row);
        listview::AddRow(list, DriveColumnText(drive.paths, drive.productId), 0);
        listview::SetCell(list, row, 1, StatusText(m_texts, drive.state));
    }
    ::SetWindowTextW(Item(IDC_STATUS_LINE), DriveCount() == 0 ? m_texts[key::kNoDrive].c_str() : L"");
    ::SetWindowTextW(Item(IDC_SUPPORTED_MEDIA), L"");
    RepaintArea(IDC_STATUS_LINE, true);
}

void CDiscMonitorDlg::SelectRow(int row) {
    m_selectedRow = row;
    ListView_SetItemState(Item(IDC_DRIVE_LIST), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    UpdateNext(row);
    ShowSupportedMedia();
}

void CDiscMonitorDlg::UpdateNext(int row) {
    int count = DriveCount();
    bool valid = row >= 0 && row < count;
    bool enable = IsNextEnabled(row, count, valid && listview::IsSelected(Item(IDC_DRIVE_LIST), row),
                                valid ? m_drives->StateOf(row) : -1);
    ::EnableWindow(Item(IDC_NEXT), enable);
}

void CDiscMonitorDlg::ShowSupportedMedia() {
    std::wstring line;
    if (m_selectedRow >= 0 && m_selectedRow < DriveCount())
        line = SupportedMediaLine(m_texts[key::kSupportedTypes], m_drives->Drive(m_selectedRow).supportedMedia);
    ::SetWindowTextW(Item(IDC_SUPPORTED_MEDIA), line.c_str());
    RepaintArea(IDC_SUPPORTED_MEDIA, true);
}

// The statics draw on a hollow brush: their area of the dialog is repainted
// beneath them, or a changed text would show over the old one.
void CDiscMonitorDlg::RepaintArea(int id, bool erase) {
    RECT rect{};
    HWND control = Item(id);
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    ::InvalidateRect(hwnd(), &rect, erase);
    ::InvalidateRect(control, nullptr, erase);
}

// The page left is hidden first: the two pages are never shown together.
void CDiscMonitorDlg::ShowPage(bool information) {
    const std::span<const int> selection(kSelectionPage), informationPage(kInformationPage);
    for (int id : information ? selection : informationPage) ::ShowWindow(Item(id), SW_HIDE);
    for (int id : information ? informationPage : selection) ::ShowWindow(Item(id), SW_SHOW);
}

void CDiscMonitorDlg::SetUpInformationLists() {
    const std::pair<int, int> lists[] = {{IDC_MEDIA_LIST, 205}, {IDC_DRIVE_INFO_LIST, 200}};
    for (const auto& [id, labelWidth] : lists) {
        HWND list = Item(id);
        ListView_SetExtendedListViewStyleEx(list, 0, 0);
        listview::AddColumn(list, 0, L"", 1);
        listview::AddColumn(list, 1, L"", ScaleX(labelWidth, m_dpi));
        listview::AddColumn(list, 2, L"", ScaleX(250, m_dpi));
    }
}

template <size_t N>
void CDiscMonitorDlg::AddInformationRows(HWND list, const std::pair<const wchar_t*, std::wstring> (&rows)[N]) {
    ::InvalidateRect(list, nullptr, TRUE);
    for (const auto& [label, value] : rows) {
        int row = ListView_GetItemCount(list);
        listview::AddRow(list, L"");
        listview::SetCell(list, row, 1, m_texts[label]);
        listview::SetCell(list, row, 2, value);
    }
}

void CDiscMonitorDlg::OnNext() {
    ShowPage(true);
    SetUpInformationLists();
    if (m_selectedRow < 0 || m_selectedRow >= DriveCount()) return;

    const DriveView drive = m_drives->Drive(m_selectedRow);  // the page is a snapshot of this moment
    HWND media = Item(IDC_MEDIA_LIST);
    HWND info = Item(IDC_DRIVE_INFO_LIST);
    ListView_DeleteAllItems(media);
    ListView_DeleteAllItems(info);
    const std::pair<const wchar_t*, std::wstring> mediaRows[] = {
        {key::kMediaType, drive.mediaTypeName},
        {key::kMediaSize, CapacityText(drive.capacityGB, m_texts[key::kSizeGB])},
    };
    const std::pair<const wchar_t*, std::wstring> driveRows[] = {
        {key::kDriveLetter, DriveLetterText(drive.paths)},
        {key::kDriveName, drive.productId},
        {key::kVendorName, drive.vendorId},
        {key::kFirmware, drive.revision},
    };
    AddInformationRows(media, mediaRows);
    AddInformationRows(info, driveRows);
    ::SetFocus(Item(IDC_OK));
}

void CDiscMonitorDlg::OnOk() {
    for (int id : {IDC_MEDIA_LIST, IDC_DRIVE_INFO_LIST}) {
        ListView_DeleteAllItems(Item(id));
        listview::DeleteAllColumns(Item(id));
    }
    ::SendMessageW(hwnd(), WM_SHOWSELECTION, 0, 0);
    ShowPage(false);
}

void CDiscMonitorDlg::OnShowSelection() {
    HWND list = Item(IDC_DRIVE_LIST);
    ::SetFocus(list);
    if (m_selectedRow >= 0)
        ListView_SetItemState(list, m_selectedRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    RepaintArea(IDC_SUPPORTED_MEDIA, true);
    RepaintArea(IDC_BOTTOM_BAND, false);
}

// The row shows the record's stored state rather than the message's: a message
// posted before a rebuild of the list may arrive after it, for another drive.
void CDiscMonitorDlg::OnMediaState(int row) {
    listview::SetCell(Item(IDC_DRIVE_LIST), row, 1, StatusText(m_texts, m_drives->StateOf(row)));
    if (row == m_selectedRow) UpdateNext(row);
}

// The list has already moved its selection to the clicked row, or cleared it
// for a click on empty space; its choice is the one the dialog keeps.
void CDiscMonitorDlg::OnDriveListClick() {
    m_selectedRow = ListView_GetNextItem(Item(IDC_DRIVE_LIST), -1, LVNI_SELECTED);
    UpdateNext(m_selectedRow);
    ShowSupportedMedia();
    RepaintArea(IDC_BOTTOM_BAND, false);
}

// Keyboard selection (Up, Down) reaches the dialog as item changes.
void CDiscMonitorDlg::OnDriveListItemChanged(const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE)) return;
    bool was = change.uOldState & LVIS_SELECTED, is = change.uNewState & LVIS_SELECTED;
    if (is && !was) {
        m_selectedRow = change.iItem;
    } else if (was && !is && change.iItem == m_selectedRow) {
        m_selectedRow = -1;
    } else {
        return;
    }
    UpdateNext(m_selectedRow);
    ShowSupportedMedia();
}

void CDiscMonitorDlg::OnDeviceChange(WPARAM event, LPARAM data) {
    if (!m_drives) return;
    if (!IsDriveListChange(event, reinterpret_cast<const DEV_BROADCAST_HDR*>(data), m_drives->PathsTexts(),
                           PlatformDriveType))
        return;
    if (m_monitor) m_monitor->Hold();
    m_drives->Rebuild();
    if (m_monitor) m_monitor->Release();
    m_selectedRow = -1;
    FillDriveList();
    if (DriveCount() > 0) SelectRow(0);
    UpdateNext(m_selectedRow);
}

void CDiscMonitorDlg::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd(), &paint);
    if (::IsIconic(hwnd())) {
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc, x, y, m_icon.get());
    }
    RECT band{};
    ::GetWindowRect(Item(IDC_BOTTOM_BAND), &band);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&band), 2);
    fw::UniqueBrush fill(::CreateSolidBrush(kBandColour));
    ::FillRect(dc, &band, fill.get());
    ::EndPaint(hwnd(), &paint);
    for (int id : {IDC_NEXT, IDC_CANCEL, IDC_OK, IDC_BOTTOM_BAND}) ::InvalidateRect(Item(id), nullptr, FALSE);
}

std::optional<LRESULT> CDiscMonitorDlg::OnCtlColor(HDC dc, HWND control) {
    if (control == hwnd()) return reinterpret_cast<LRESULT>(m_background.get());
    for (int id : kLabels)
        if (control == Item(id)) {
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, Contains(kHeadings, id) ? kHeadingColour : RGB(0, 0, 0));
        }
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

void CDiscMonitorDlg::OnDestroy() {
    m_autoplay.Restore();
    if (m_monitor) m_monitor->Stop();
    m_monitor.reset();
    m_drives.reset();
    m_background.reset();
}

std::optional<LRESULT> CDiscMonitorDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_MEDIASTATE:
        // The dialog manager's DM_SETDEFID has the same number; only rows are ours.
        if (wParam >= static_cast<WPARAM>(DriveCount())) return std::nullopt;
        OnMediaState(static_cast<int>(wParam));
        return 0;
    case WM_SHOWSELECTION:
        OnShowSelection();
        return 0;
    case WM_STARTMONITOR:
        if (m_drives && !m_monitor) {
            m_monitor = std::make_unique<CMonitorThread>(*m_drives);
            m_monitor->Start();
        }
        return 0;
    case WM_DEVICECHANGE:
        OnDeviceChange(wParam, lParam);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_NEXT: OnNext(); return 0;
        case IDC_OK: OnOk(); return 0;
        case IDC_CANCEL: Close(IDCANCEL); return 0;
        case IDOK:      // Enter never closes the checker
        case IDCANCEL:  // nor does Escape
            return 0;
        default: return std::nullopt;
        }
    case WM_CLOSE:
        Close(IDCANCEL);
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_DRIVE_LIST) return std::nullopt;
        if (header->code == NM_CLICK) OnDriveListClick();
        if (header->code == LVN_ITEMCHANGED) OnDriveListItemChanged(*reinterpret_cast<const NMLISTVIEW*>(lParam));
        return 0;
    }
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_icon.get());
    case WM_HELP:
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
        return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_GETMINMAXINFO:
        if (m_windowRect) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            POINT size{m_windowRect->right - m_windowRect->left, m_windowRect->bottom - m_windowRect->top};
            info->ptMinTrackSize = info->ptMaxTrackSize = info->ptMaxSize = size;
            info->ptMaxPosition = {m_windowRect->left, m_windowRect->top};
            return 0;
        }
        return std::nullopt;
    case WM_WINDOWPOSCHANGING: {
        LONG_PTR style = ::GetWindowLongPtrW(hwnd(), GWL_STYLE);
        if (style & (WS_MAXIMIZE | WS_MINIMIZE))
            ::SetWindowLongPtrW(hwnd(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MAXIMIZE | WS_MINIMIZE));
        return std::nullopt;
    }
    case WM_ENDSESSION:
        // Log-off and shutdown end the process without WM_DESTROY.
        if (wParam) m_autoplay.Restore();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

}  // namespace discprobe
