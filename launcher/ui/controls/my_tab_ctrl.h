#pragma once
// The tab control that frames the test page: fixed-size owner-drawn tabs, each
// with an enabled flag. The launcher inserts no tabs, so it draws nothing itself.
#include <windows.h>
#include <vector>

#include "framework/control.h"

namespace launcher {

class CMyTabCtrl : public fw::Control {
public:
    // Switches `tab` to fixed-size owner-drawn tabs.
    bool Attach(HWND tab);

    // False for an index that is not a tab.
    bool EnableTab(int index, bool enable);
    bool IsTabEnabled(int index) const;

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<bool> m_enabled;  // one per tab, kept in step with insertions and deletions
};

}  // namespace launcher
