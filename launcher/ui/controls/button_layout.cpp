#include "button_layout.h"

namespace launcher {

namespace {

// Text rectangles of the two-line layout, in design pixels.
constexpr RECT kTitleRect{56, 6, 296, 20};
constexpr RECT kDescriptionRect{56, 22, 350, 53};

bool HasIcon(const ButtonContent& content) { return content.icon.cx > 0 && content.icon.cy > 0; }
bool HasText(const ButtonContent& content) { return content.hasTitle || content.hasDescription; }

RECT Pressed(RECT rect, bool pressed) {
    if (!pressed) return rect;
    return RECT{rect.left + kPressedOffset.x, rect.top + kPressedOffset.y, rect.right + kPressedOffset.x,
                rect.bottom + kPressedOffset.y};
}

}  // namespace

TButtonDrawState ButtonDrawState(bool hover, bool selected) noexcept {
    if (selected) return kDrawPressed;
    return hover ? kDrawHot : kDrawNormal;
}

RECT TitleArea(const ButtonContent& content) noexcept {
    RECT area{0, 0, content.button.cx, content.button.cy};
    if (HasIcon(content)) area.left = kIconGap + content.icon.cx + kIconGap;
    return area;
}

ButtonLayout LayoutButton(const ButtonContent& content, SIZE titleExtent) noexcept {
    ButtonLayout layout{};
    if (HasIcon(content)) {
        int left = HasText(content) ? kIconGap : (content.button.cx - content.icon.cx) / 2;
        int top = (content.button.cy - content.icon.cy) / 2;
        layout.icon = Pressed(RECT{left, top, left + content.icon.cx, top + content.icon.cy}, content.pressed);
    }
    if (content.hasDescription) {
        layout.title = Pressed(kTitleRect, content.pressed);
        layout.description = Pressed(kDescriptionRect, content.pressed);
        return layout;
    }
    RECT area = TitleArea(content);
    int left = area.left + (area.right - area.left - titleExtent.cx) / 2;
    int top = area.top + (area.bottom - area.top - titleExtent.cy) / 2;
    layout.title = Pressed(RECT{left, top, left + titleExtent.cx, top + titleExtent.cy}, content.pressed);
    return layout;
}

}  // namespace launcher

