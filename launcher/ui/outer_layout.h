#pragma once
// Size and scroll ranges of the outer window: the 800 x 600 design size scaled
// to the screen's dots per inch, cut to the work area with the rest scrollable.
#include <windows.h>

namespace launcher {

struct ScrollRange {
    bool enabled = false;
    int maximum = 0;  // minimum 0, page 1
};

struct OuterLayout {
    int width = 0;
    int height = 0;
    ScrollRange horizontal;
    ScrollRange vertical;  // the mouse wheel scrolls only when this is enabled
};

int ScaleX(int size, int dpiX);
int ScaleY(int size, int dpiY);

OuterLayout ComputeOuterLayout(int dpiX, int dpiY, const RECT& workArea);

// Where a scroll request (SB_LINEUP, SB_PAGEDOWN, SB_THUMBTRACK, ...) moves the
// position: lines by 1 pixel, pages by 2, clamped to 0..maximum.
int NextScrollPosition(int request, int thumb, int position, int maximum);

}  // namespace launcher
