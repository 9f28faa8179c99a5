#include "my_rich_edit_ctrl.h"

namespace launcher {

namespace {
bool MovesTheSelection(UINT message) {
    switch (message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_CHAR:
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        return true;
    default:
        return false;
    }
}
}  // namespace

std::optional<LRESULT> CMyRichEditCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    if (m_beforeInput && MovesTheSelection(message)) m_beforeInput();
    if (message == WM_VSCROLL || message == WM_HSCROLL) m_scrollPosition = HIWORD(wParam);
    return std::nullopt;  // the control scrolls as usual
}

}  // namespace launcher
