#pragma once
// A rich edit that remembers the scroll-box position of the last scroll message.
#include <windows.h>

#include "framework/control.h"

namespace launcher {

class CMyRichEditCtrl : public fw::Control {
public:
    using fw::Control::Attach;

    int ScrollPosition() const noexcept { return m_scrollPosition; }

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_scrollPosition = 0;
};

}  // namespace launcher
