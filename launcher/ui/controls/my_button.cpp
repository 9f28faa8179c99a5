#include "my_button.h"

#include <vsstyle.h>

#include "framework/gdi.h"
#include "framework/reflected_messages.h"
#include "hostlink/protocol.h"
#include "palette.h"

namespace launcher {

namespace {

void FillStrip(HDC dc, RECT strip, int colourIndex) { ::FillRect(dc, &strip, ::GetSysColorBrush(colourIndex)); }

// Two lines on each side: the light ones top and left, the shadows bottom and right.
void DrawRaisedBorder(HDC dc, const RECT& area) {
    for (int ring = 0; ring < 2; ++ring) {
        const RECT r{area.left + ring, area.top + ring, area.right - ring, area.bottom - ring};
        const int light = ring == 0 ? COLOR_3DHIGHLIGHT : COLOR_3DLIGHT;
        const int dark = ring == 0 ? COLOR_3DDKSHADOW : COLOR_3DSHADOW;
        FillStrip(dc, {r.left, r.top, r.right, r.top + 1}, light);
        FillStrip(dc, {r.left, r.top, r.left + 1, r.bottom}, light);
        FillStrip(dc, {r.left, r.bottom - 1, r.right, r.bottom}, dark);
        FillStrip(dc, {r.right - 1, r.top, r.right, r.bottom}, dark);
    }
}

void DrawTextIn(HDC dc, const std::wstring& text, RECT rect, UINT format) {
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

}  // namespace

bool CMyButton::Attach(HWND button) {
    if (!fw::Control::Attach(button)) return false;
    m_default = (::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW | BS_MULTILINE);
    OpenTheme();
    m_themingOn = static_cast<bool>(m_themeData);
    return true;
}

void CMyButton::SetTitle(std::wstring title) {
    m_title = std::move(title);
    Redraw();
}

void CMyButton::SetDescription(std::wstring description) {
    m_description = std::move(description);
    Redraw();
}

void CMyButton::SetTitleFont(const LOGFONTW& font) {
    m_titleFont.reset(::CreateFontIndirectW(&font));
    Redraw();
}

void CMyButton::SetDescriptionFont(const LOGFONTW& font) {
    m_descriptionFont.reset(::CreateFontIndirectW(&font));
    Redraw();
}

void CMyButton::SetTextFont(const LOGFONTW& font) {
    m_textFont.reset(::CreateFontIndirectW(&font));
    Redraw();
}

void CMyButton::SetIcon(fw::UniqueIcon icon) {
    m_icon = std::move(icon);
    m_iconSize = {};
    ICONINFO info{};
    if (m_icon && ::GetIconInfo(m_icon.get(), &info)) {
        // GetIconInfo hands out bitmaps that the caller deletes.
        fw::UniqueBitmap mask(info.hbmMask);
        fw::UniqueBitmap colour(info.hbmColor);
        m_iconSize = {static_cast<LONG>(info.xHotspot) * 2, static_cast<LONG>(info.yHotspot) * 2};
    }
    Redraw();
}

void CMyButton::Set3DBorder(bool on) {
    m_border3d = on;
    Redraw();
}

std::optional<LRESULT> CMyButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case fw::kReflectedDrawItem:
        if (!lParam) return std::nullopt;
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case fw::kReflectedCommand:
        if (HIWORD(wParam) != BN_CLICKED) return std::nullopt;
        OnClicked();
        return 0;
    case WM_THEMECHANGED:
        m_themeData.reset();
        if (m_themingOn) OpenTheme();
        return std::nullopt;
    case BM_SETSTYLE: {
        const WPARAM type = wParam & BS_TYPEMASK;
        if (type == BS_DEFPUSHBUTTON) m_default = true;
        if (type == BS_PUSHBUTTON) m_default = false;
        return CallDefault(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lParam);
    }
    case WM_MOUSEMOVE:
        OnMouseMove();
        return std::nullopt;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return std::nullopt;
    case WM_SETCURSOR:
        if (!m_cursor) return std::nullopt;
        ::SetCursor(m_cursor);
        return TRUE;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button would only report a double click and lose the second press.
        return CallDefault(WM_LBUTTONDOWN, wParam, lParam);
    case WM_ERASEBKGND:
        return TRUE;  // drawing covers the whole button
    default:
        return std::nullopt;
    }
}

void CMyButton::OpenTheme() { m_themeData = m_theme.OpenThemeData(hwnd(), L"BUTTON"); }

void CMyButton::Redraw() const {
    if (hwnd()) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CMyButton::OnMouseMove() {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    ::TrackMouseEvent(&track);
    if (m_hover) return;
    m_hover = true;
    Redraw();
}

void CMyButton::OnMouseLeave() {
    m_hover = false;
    Redraw();
}

void CMyButton::OnClicked() {
    ::SetFocus(hwnd());
    ::SendMessageW(::GetParent(hwnd()), hostlink::msg::kShowTestInfo, static_cast<WPARAM>(m_index), 0);
}

HFONT CMyButton::FontOr(const fw::UniqueFont& font) const {
    return font ? font.get() : reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0));
}

void CMyButton::Draw(const DRAWITEMSTRUCT& item) {
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    if (width <= 0 || height <= 0) return;
    fw::MemoryCanvas canvas(item.hDC, width, height);
    if (!canvas.ok()) return;
    HDC dc = canvas.dc();

    m_pressed = (item.itemState & ODS_SELECTED) != 0;
    m_drawState = ButtonDrawState(m_hover, m_pressed);
    DrawBackground(dc, RECT{0, 0, width, height});

    const ButtonContent content{{width, height}, m_iconSize, !m_title.empty(), !m_description.empty(), m_pressed};
    SIZE titleExtent{};
    if (content.hasTitle && !content.hasDescription) {
        fw::ScopedSelect font(dc, FontOr(m_textFont));
        RECT measured = TitleArea(content);
        ::DrawTextW(dc, m_title.c_str(), static_cast<int>(m_title.size()), &measured,
                    DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        titleExtent = {measured.right - measured.left, measured.bottom - measured.top};
    }
    const ButtonLayout layout = LayoutButton(content, titleExtent);
    if (m_icon)
        ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(m_icon.get()), 0, layout.icon.left,
                     layout.icon.top, m_iconSize.cx, m_iconSize.cy, DST_ICON | DSS_NORMAL);
    DrawTexts(dc, content, layout);

    ::BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, dc, 0, 0, SRCCOPY);
}

void CMyButton::DrawBackground(HDC dc, const RECT& area) const {
    if (m_themeData) {
        m_theme.DrawThemeParentBackground(hwnd(), dc, area);
        m_theme.DrawThemeBackground(m_themeData.get(), dc, BP_PUSHBUTTON, m_drawState, area);
        return;
    }
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    if (m_border3d) DrawRaisedBorder(dc, area);
}

void CMyButton::DrawTexts(HDC dc, const ButtonContent& content, const ButtonLayout& layout) const {
    ::SetTextColor(dc, kBrandColour);
    ::SetBkMode(dc, TRANSPARENT);
    if (!content.hasDescription) {
        fw::ScopedSelect font(dc, FontOr(m_textFont));
        DrawTextIn(dc, m_title, layout.title, DT_WORDBREAK | DT_CENTER);
        return;
    }
    {
        fw::ScopedSelect font(dc, FontOr(m_titleFont));
        DrawTextIn(dc, m_title, layout.title, DT_SINGLELINE);
    }
    fw::ScopedSelect font(dc, FontOr(m_descriptionFont));
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::SetBkMode(dc, OPAQUE);
    DrawTextIn(dc, m_description, layout.description, DT_WORDBREAK);
}

}  // namespace launcher
