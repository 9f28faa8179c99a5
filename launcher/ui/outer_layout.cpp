#include "outer_layout.h"

namespace launcher {

constexpr int kDesignWidth = 800;
constexpr int kDesignHeight = 600;

int ScaleX(int size, int dpiX) { return ::MulDiv(size, dpiX, 96); }
int ScaleY(int size, int dpiY) { return ::MulDiv(size, dpiY, 96); }

OuterLayout ComputeOuterLayout(int dpiX, int dpiY, const RECT& workArea) {
    OuterLayout layout;
    int areaWidth = workArea.right - workArea.left;
    int areaHeight = workArea.bottom - workArea.top;
    layout.width = ScaleX(kDesignWidth, dpiX);
    if (areaWidth < layout.width) {
        layout.horizontal = {true, layout.width - areaWidth};
        layout.width = areaWidth;
    }
    layout.height = ScaleY(kDesignHeight, dpiY);
    if (areaHeight < layout.height) {
        layout.vertical = {true, layout.height - areaHeight};
        layout.height = areaHeight;
    }
    return layout;
}

int NextScrollPosition(int request, int thumb, int position, int maximum) {
    int next = position;
    switch (request) {
    case SB_LINEUP: next = position - 1; break;
    case SB_LINEDOWN: next = position + 1; break;
    case SB_PAGEUP: next = position - 2; break;
    case SB_PAGEDOWN: next = position + 2; break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: next = thumb; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = maximum; break;
    default: break;
    }
    return next < 0 ? 0 : next > maximum ? maximum : next;
}

}  // namespace launcher
