#include "my_static.h"

#include <utility>

#include "framework/reflected_messages.h"

namespace launcher {

CMyStatic& CMyStatic::operator=(CMyStatic&& other) noexcept {
    if (this != &other) {
        RestoreWindowFont();
        fw::Control::operator=(std::move(other));
        m_textColour = other.m_textColour;
        m_background = other.m_background;
        m_brush = std::move(other.m_brush);
        m_font = std::move(other.m_font);
        m_fontApplied = std::exchange(other.m_fontApplied, false);
        m_windowFont = other.m_windowFont;
    }
    return *this;
}

bool CMyStatic::Attach(HWND label) {
    if (!fw::Control::Attach(label)) return false;
    ApplyFont();
    return true;
}

void CMyStatic::SetTextColor(COLORREF colour) {
    m_textColour = colour;
    if (hwnd()) ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void CMyStatic::SetFont(const LOGFONTW& font) {
    fw::UniqueFont previous = std::exchange(m_font, fw::UniqueFont(::CreateFontIndirectW(&font)));
    ApplyFont();  // before the previous font is deleted
}

void CMyStatic::ApplyFont() {
    if (!hwnd() || !m_font) return;
    if (!m_fontApplied) m_windowFont = reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0));
    m_fontApplied = true;
    ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
}

void CMyStatic::RestoreWindowFont() noexcept {
    if (hwnd() && m_fontApplied) ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_windowFont), FALSE);
    m_fontApplied = false;
}

std::optional<LRESULT> CMyStatic::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != fw::kReflectedCtlColorStatic) return std::nullopt;
    return reinterpret_cast<LRESULT>(OnColourRequest(reinterpret_cast<HDC>(wParam)));
}

HBRUSH CMyStatic::OnColourRequest(HDC dc) {
    // The user may have changed the system colours since the last request.
    m_background = ::GetSysColor(COLOR_BTNFACE);
    m_brush.reset(::CreateSolidBrush(m_background));
    ::SetBkColor(dc, m_background);
    ::SetTextColor(dc, m_textColour);
    // Left selected on purpose: the label paints with this DC right after the
    // request and puts its own selection back when it is done.
    if (m_font) ::SelectObject(dc, m_font.get());
    ::SetBkMode(dc, TRANSPARENT);
    return m_brush.get();
}

}  // namespace launcher
