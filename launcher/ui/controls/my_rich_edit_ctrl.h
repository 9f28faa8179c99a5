#pragma once
// A rich edit that remembers the scroll-box position of the last scroll message.
#include <windows.h>
#include <functional>

#include "framework/control.h"

namespace launcher {

class CMyRichEditCtrl : public fw::Control {
public:
    using fw::Control::Attach;

    int ScrollPosition() const noexcept { return m_scrollPosition; }
    // Called before a key or mouse button reaches the control: whatever moves
    // the selection then comes after everything its owner meant to show.
    void BeforeInput(std::function<void()> hook) { m_beforeInput = std::move(hook); }

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_scrollPosition = 0;
    std::function<void()> m_beforeInput;
};

}  // namespace launcher
