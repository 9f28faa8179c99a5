#pragma once
// A label with its own font and text colour on the button-face background.
// Its parent must reflect WM_CTLCOLORSTATIC to it (fw::Dialog does).
#include <windows.h>

#include "framework/control.h"
#include "framework/unique_resource.h"

namespace launcher {

class CMyStatic : public fw::Control {
public:
    CMyStatic() = default;
    ~CMyStatic() override { RestoreWindowFont(); }
    CMyStatic(CMyStatic&&) noexcept = default;
    CMyStatic& operator=(CMyStatic&& other) noexcept;

    bool Attach(HWND label);

    void SetTextColor(COLORREF colour);
    // The label keeps its own copy of the font and gives the window its
    // previous font back when the label object goes first.
    void SetFont(const LOGFONTW& font);

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HBRUSH OnColourRequest(HDC dc);
    void ApplyFont();
    void RestoreWindowFont() noexcept;

    COLORREF m_textColour = ::GetSysColor(COLOR_BTNTEXT);
    COLORREF m_background = ::GetSysColor(COLOR_BTNFACE);
    fw::UniqueBrush m_brush;
    fw::UniqueFont m_font;
    bool m_fontApplied = false;
    HFONT m_windowFont = nullptr;  // the window's font before ours; not owned
};

}  // namespace launcher
