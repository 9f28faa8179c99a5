#pragma once
// Where an owner-drawn button puts its icon and texts, and which theme state it
// draws in. Plain arithmetic on client coordinates, free of any window.
#include <windows.h>

namespace launcher {

// Theme states of the push-button part.
enum TButtonDrawState { kDrawNormal = 1, kDrawHot = 2, kDrawPressed = 3 };

TButtonDrawState ButtonDrawState(bool hover, bool selected) noexcept;

inline constexpr POINT kPressedOffset{2, 2};  // moves icon and text while pressed
inline constexpr int kIconGap = 10;           // between the left edge, the icon and the text

struct ButtonContent {
    SIZE button;           // client size
    SIZE icon;             // 0 x 0 without an icon
    bool hasTitle;
    bool hasDescription;   // two-line layout with fixed text rectangles
    bool pressed;
};

// The part of the button in which a one-line-layout title is measured and
// centred: right of the icon when there is one.
RECT TitleArea(const ButtonContent& content) noexcept;

struct ButtonLayout {
    RECT icon;         // empty without an icon
    RECT title;
    RECT description;  // empty in the one-line layout
};

// `titleExtent` is the title's word-wrapped size measured in TitleArea(); only
// the one-line layout uses it.
ButtonLayout LayoutButton(const ButtonContent& content, SIZE titleExtent) noexcept;

}  // namespace launcher
