#include "testdeck_dlg.h"

#include "framework/resources.h"
#include "outer_layout.h"
#include "string_ids.h"

namespace launcher {

namespace {

HICON LoadWindowIcon(int size) {
    HMODULE module = fw::FindResourceModule(MAKEINTRESOURCEW(ids::kWindowIcon), MAKEINTRESOURCEW(14));
    if (!module) return nullptr;
    return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(ids::kWindowIcon), IMAGE_ICON, size, size, 0));
}

void ScreenDpi(int& dpiX, int& dpiY) {
    dpiX = dpiY = 96;
    if (HDC screen = ::GetDC(nullptr)) {
        dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
        dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
}

void ApplyScrollRange(HWND window, int bar, const ScrollRange& range) {
    if (!range.enabled) return;
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, range.maximum, 1, 0, 0};
    ::SetScrollInfo(window, bar, &info, TRUE);
}

}  // namespace

INT_PTR CTestDeckDlg::Run() {
    return DoModal(fw::CurrentResourceModule(), ids::kOuterWindowTemplate, nullptr);
}

bool CTestDeckDlg::RunInProgress() const {
    return m_diagnostics && m_diagnostics->RunActive();
}

void CTestDeckDlg::OnInitDialog() {
    m_iconLarge.reset(LoadWindowIcon(::GetSystemMetrics(SM_CXICON)));
    m_iconSmall.reset(LoadWindowIcon(::GetSystemMetrics(SM_CXSMICON)));
    ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_iconLarge.get()));
    ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_iconSmall.get()));
    ::SetWindowTextW(hwnd(), fw::LoadStr(ids::kWindowTitle).c_str());

    int dpiX = 96, dpiY = 96;
    ScreenDpi(dpiX, dpiY);
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    m_layout = ComputeOuterLayout(dpiX, dpiY, workArea);
    ApplyScrollRange(hwnd(), SB_HORZ, m_layout.horizontal);
    ApplyScrollRange(hwnd(), SB_VERT, m_layout.vertical);
    ::MoveWindow(hwnd(), 0, 0, m_layout.width, m_layout.height, FALSE);

    m_diagnostics = std::make_unique<CNewOrlixCheckDlg>(m_context);
    if (m_diagnostics->Create(hwnd())) ::ShowWindow(m_diagnostics->hwnd(), SW_SHOW);
}

void CTestDeckDlg::PaintMinimised() {
    // The window's icon, centred in the client area.
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd(), &paint);
    ::SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    if (m_iconLarge) ::DrawIcon(dc, x, y, m_iconLarge.get());
    ::EndPaint(hwnd(), &paint);
}

void CTestDeckDlg::Scroll(int bar, int request, int thumb) {
    const ScrollRange& range = bar == SB_VERT ? m_layout.vertical : m_layout.horizontal;
    if (!range.enabled) return;
    int& position = bar == SB_VERT ? m_scrollY : m_scrollX;
    int next = NextScrollPosition(request, thumb, position, range.maximum);
    if (next == position) return;
    int delta = position - next;
    ::ScrollWindowEx(hwnd(), bar == SB_VERT ? 0 : delta, bar == SB_VERT ? delta : 0, nullptr, nullptr, nullptr,
                     nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    position = next;
    ::SetScrollPos(hwnd(), bar, position, TRUE);
    if (m_diagnostics) ::InvalidateRect(::GetDlgItem(m_diagnostics->hwnd(), 1000), nullptr, TRUE);
}

std::optional<LRESULT> CTestDeckDlg::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_PAINT:
        if (!::IsIconic(hwnd())) return std::nullopt;
        PaintMinimised();
        return 0;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_iconLarge.get());
    case WM_VSCROLL:
    case WM_HSCROLL:
        Scroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return 0;
    case WM_MOUSEWHEEL:
        // A turn toward the user pages down.
        Scroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? SB_PAGEDOWN : SB_PAGEUP, 0);
        return 0;
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_CLOSE:
        if (!RunInProgress()) Close(IDCANCEL);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) return 0;
        if (LOWORD(wParam) == IDCANCEL) {
            if (!RunInProgress()) Close(IDCANCEL);
            return 0;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

}  // namespace launcher
