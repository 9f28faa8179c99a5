#include "controls_test_window.h"

#include <commctrl.h>

#include <algorithm>

#include "controls_test_ids.h"
#include "hostlink/protocol.h"

namespace controls_test {

namespace {

bool Recorded(UINT message) {
    switch (message) {
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT:
    case hostlink::msg::kShowTestInfo:
        return true;
    default:
        return false;
    }
}

HBITMAP CreateTopDownBitmap(int width, int height, uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<uint32_t*>(pixels);
    return bitmap;
}

}  // namespace

TestDialog::TestDialog() {
    // The template's rich edit and tab control need their classes registered.
    static const fw::UniqueModule richEdit = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&classes);
        return fw::UniqueModule(::LoadLibraryW(L"riched20.dll"));
    }();
    if (Create(::GetModuleHandleW(nullptr), IDD_CONTROLS_TEST, nullptr)) ::ShowWindow(hwnd(), SW_SHOW);
}

size_t TestDialog::Count(UINT message) const {
    return static_cast<size_t>(
        std::count_if(received.begin(), received.end(), [message](const Received& r) { return r.message == message; }));
}

std::optional<LRESULT> TestDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return TRUE;
    if (Recorded(message)) received.push_back({message, wParam, lParam});
    return std::nullopt;
}

Canvas::Canvas(int width, int height)
    : m_width(width),
      m_height(height),
      m_dc(::CreateCompatibleDC(nullptr)),
      m_bitmap(CreateTopDownBitmap(width, height, &m_bits)),
      m_select(m_dc.get(), m_bitmap.get()) {}

void Canvas::Fill(COLORREF colour) {
    ::SetDCBrushColor(dc(), colour);
    RECT all{0, 0, m_width, m_height};
    ::FillRect(dc(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

COLORREF Canvas::Pixel(int x, int y) const {
    ::GdiFlush();
    uint32_t value = m_bits[y * m_width + x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

int Canvas::Count(COLORREF colour) const {
    int count = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) count += Pixel(x, y) == colour;
    return count;
}

RECT Canvas::Bounds(COLORREF colour) const {
    RECT bounds{m_width, m_height, 0, 0};
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (Pixel(x, y) == colour) {
                bounds = {std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                          std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
            }
    return bounds.right > bounds.left ? bounds : RECT{};
}

SIZE ClientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
}

LRESULT DrawThroughParent(HWND item, HDC dc, UINT itemState) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = static_cast<UINT>(::GetDlgCtrlID(item));
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = itemState;
    draw.hwndItem = item;
    draw.hDC = dc;
    ::GetClientRect(item, &draw.rcItem);
    return ::SendMessageW(::GetParent(item), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
}

}  // namespace controls_test
