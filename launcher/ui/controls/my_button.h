#pragma once
// An owner-drawn push button with an optional icon, title and description,
// drawn with the visual-styles theme when one is open. Attach it to an existing
// button; its parent must reflect WM_DRAWITEM and WM_COMMAND to it (fw::Dialog
// does), and is told of every click with ShowTestInfo.
#include <windows.h>
#include <string>

#include "button_layout.h"
#include "framework/control.h"
#include "framework/unique_resource.h"
#include "os_theme.h"

namespace launcher {

class CMyButton : public fw::Control {
public:
    // `themeLibrary` is loaded now and freed with the button.
    explicit CMyButton(const wchar_t* themeLibrary = kThemeLibrary) : m_theme(themeLibrary) {}

    // Makes `button` owner-drawn and multi-line and opens its theme data.
    bool Attach(HWND button);

    void SetIndex(int index) noexcept { m_index = index; }
    void SetTitle(std::wstring title);
    void SetDescription(std::wstring description);
    // The button keeps its own copy of each font.
    void SetTitleFont(const LOGFONTW& font);
    void SetDescriptionFont(const LOGFONTW& font);
    void SetTextFont(const LOGFONTW& font);
    // The icon is destroyed with the button.
    void SetIcon(fw::UniqueIcon icon);
    // A shared cursor (LoadCursor); it is not destroyed.
    void SetCursor(HCURSOR cursor) noexcept { m_cursor = cursor; }
    // Drawn only while no theme data is open.
    void Set3DBorder(bool on);

    // Whether the last push-style request (attach or BM_SETSTYLE) was for a default button.
    bool IsDefault() const noexcept { return m_default; }
    TButtonDrawState DrawState() const noexcept { return m_drawState; }

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OpenTheme();
    void Redraw() const;
    void OnMouseMove();
    void OnMouseLeave();
    void OnClicked();
    void Draw(const DRAWITEMSTRUCT& item);
    void DrawBackground(HDC dc, const RECT& area) const;
    void DrawTexts(HDC dc, const ButtonContent& content, const ButtonLayout& layout) const;
    HFONT FontOr(const fw::UniqueFont& font) const;

    COSTheme m_theme;
    CThemeData m_themeData;
    bool m_themingOn = false;
    fw::UniqueFont m_titleFont;
    fw::UniqueFont m_descriptionFont;
    fw::UniqueFont m_textFont;
    std::wstring m_title;
    std::wstring m_description;
    fw::UniqueIcon m_icon;
    SIZE m_iconSize{};
    HCURSOR m_cursor = nullptr;
    bool m_border3d = false;
    bool m_hover = false;
    bool m_pressed = false;
    bool m_default = false;
    TButtonDrawState m_drawState = kDrawNormal;
    int m_index = -1;
};

}  // namespace launcher
