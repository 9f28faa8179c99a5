#include "my_tab_ctrl.h"

#include <commctrl.h>

namespace launcher {

bool CMyTabCtrl::Attach(HWND tab) {
    if (!fw::Control::Attach(tab)) return false;
    ModifyStyle(0, TCS_FIXEDWIDTH | TCS_OWNERDRAWFIXED);
    m_enabled.assign(static_cast<size_t>(TabCtrl_GetItemCount(tab)), true);
    return true;
}

bool CMyTabCtrl::EnableTab(int index, bool enable) {
    if (index < 0 || static_cast<size_t>(index) >= m_enabled.size()) return false;
    m_enabled[static_cast<size_t>(index)] = enable;
    return true;
}

bool CMyTabCtrl::IsTabEnabled(int index) const {
    return index >= 0 && static_cast<size_t>(index) < m_enabled.size() && m_enabled[static_cast<size_t>(index)];
}

std::optional<LRESULT> CMyTabCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case TCM_INSERTITEMW:
    case TCM_INSERTITEMA: {
        LRESULT inserted = CallDefault(message, wParam, lParam);
        if (inserted >= 0 && static_cast<size_t>(inserted) <= m_enabled.size())
            m_enabled.insert(m_enabled.begin() + inserted, true);
        return inserted;
    }
    case TCM_DELETEITEM: {
        LRESULT deleted = CallDefault(message, wParam, lParam);
        if (deleted && wParam < m_enabled.size()) m_enabled.erase(m_enabled.begin() + static_cast<ptrdiff_t>(wParam));
        return deleted;
    }
    case TCM_DELETEALLITEMS: {
        LRESULT deleted = CallDefault(message, wParam, lParam);
        if (deleted) m_enabled.clear();
        return deleted;
    }
    default:
        return std::nullopt;
    }
}

}  // namespace launcher
