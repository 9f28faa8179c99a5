#pragma once
// Where the checker's controls sit: a table in pixels at 96 dots per inch,
// scaled to the screen (x and widths horizontally, y and heights vertically).
#include <windows.h>
#include <vector>

namespace discprobe {

struct ScreenDpi {
    int x = 96;
    int y = 96;
};

// MulDiv(size, dpi, 96).
int ScaleX(int size, const ScreenDpi& dpi);
int ScaleY(int size, const ScreenDpi& dpi);

struct PlacedControl {
    int id;
    RECT rect;  // client coordinates of the dialog
};

// Every control of both pages, in the order of the table.
std::vector<PlacedControl> PlaceControls(const ScreenDpi& dpi);

// The dialog's window size.
SIZE DialogSize(const ScreenDpi& dpi);

// Font height for a point size: -(points * vertical dpi / 72).
int FontHeight(int points, const ScreenDpi& dpi);

}  // namespace discprobe
