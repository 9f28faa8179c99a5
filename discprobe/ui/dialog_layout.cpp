#include "dialog_layout.h"

#include <climits>

#include "control_ids.h"

namespace discprobe {

namespace {

constexpr int kAbsolute = INT_MIN;  // placed at x, y rather than below another control

struct LayoutRow {
    int id;
    int below;  // the control this one is placed below, or kAbsolute
    int x, y;   // position, or offsets from the left and bottom of `below`
    int width, height;
};

constexpr LayoutRow kLayout[] = {
    {IDC_HEADING, kAbsolute, 22, 16, 528, 23},
    {IDC_CHECK_MEDIA_IN, IDC_HEADING, 0, 16, 500, 20},
    {IDC_DRIVE_LIST, IDC_CHECK_MEDIA_IN, 0, 0, 502, 74},
    {IDC_STATUS_LINE, IDC_DRIVE_LIST, 0, 20, 400, 20},
    {IDC_SUPPORTED_MEDIA, IDC_STATUS_LINE, 0, -2, 474, 44},
    {IDC_BOTTOM_BAND, kAbsolute, 0, 245, 554, 45},
    {IDC_NEXT, kAbsolute, 365, 255, 82, 23},  // the buttons hold the longer translations
    {IDC_CANCEL, kAbsolute, 454, 255, 82, 23},
    {IDC_INFO_HEADING, kAbsolute, 22, 17, 500, 23},
    {IDC_MEDIA_LIST, IDC_INFO_HEADING, -4, 20, 474, 42},
    {IDC_DRIVE_INFO_LABEL, IDC_MEDIA_LIST, 6, 20, 400, 20},
    {IDC_DRIVE_INFO_LIST, IDC_DRIVE_INFO_LABEL, 0, 0, 477, 84},
    {IDC_OK, kAbsolute, 454, 255, 82, 23},
};

constexpr SIZE kDialogSize{554, 315};

}  // namespace

int ScaleX(int size, const ScreenDpi& dpi) { return ::MulDiv(size, dpi.x, 96); }
int ScaleY(int size, const ScreenDpi& dpi) { return ::MulDiv(size, dpi.y, 96); }

std::vector<PlacedControl> PlaceControls(const ScreenDpi& dpi) {
    std::vector<PlacedControl> placed;
    for (const LayoutRow& row : kLayout) {
        int left = ScaleX(row.x, dpi), top = ScaleY(row.y, dpi);
        if (row.below != kAbsolute) {
            for (const PlacedControl& anchor : placed)
                if (anchor.id == row.below) {
                    left += anchor.rect.left;
                    top += anchor.rect.bottom;
                }
        }
        placed.push_back({row.id, {left, top, left + ScaleX(row.width, dpi), top + ScaleY(row.height, dpi)}});
    }
    return placed;
}

SIZE DialogSize(const ScreenDpi& dpi) { return {ScaleX(kDialogSize.cx, dpi), ScaleY(kDialogSize.cy, dpi)}; }

int FontHeight(int points, const ScreenDpi& dpi) { return -::MulDiv(points, dpi.y, 72); }

}  // namespace discprobe
