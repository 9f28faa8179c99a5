#include "my_rich_edit_ctrl.h"

namespace launcher {

std::optional<LRESULT> CMyRichEditCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_VSCROLL || message == WM_HSCROLL) m_scrollPosition = HIWORD(wParam);
    return std::nullopt;  // the control scrolls as usual
}

}  // namespace launcher
