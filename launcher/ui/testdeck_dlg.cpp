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
    return m_diagnostics && m_diagnostics->RunState() == kRunStateRunning;
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
    OuterLayout layout = ComputeOuterLayout(dpiX, dpiY, workArea);
    ApplyScrollRange(hwnd(), SB_HORZ, layout.horizontal);
    ApplyScrollRange(hwnd(), SB_VERT, layout.vertical);
    ::MoveWindow(hwnd(), 0, 0, layout.width, layout.height, FALSE);

    m_diagnostics = std::make_unique<CNewOrlixCheckDlg>(m_context);
    if (m_diagnostics->Create(hwnd())) ::ShowWindow(m_diagnostics->hwnd(), SW_SHOW);
}

std::optional<LRESULT> CTestDeckDlg::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
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
