#include "pixel_check.h"

#include <algorithm>
#include <cstring>

namespace video {

DWORD PixelValue(Rgb c, int bpp, DWORD greenMask16) {
    if (bpp == 16) {
        if (greenMask16 == 0x03E0) return ((c.r & 0xF8u) << 7) | ((c.g & 0xF8u) << 2) | (c.b >> 3);
        return ((c.r & 0xF8u) << 8) | ((c.g & 0xFCu) << 3) | (c.b >> 3);
    }
    return (DWORD{c.r} << 16) | (DWORD{c.g} << 8) | c.b;
}

DWORD ReadPixel(const SurfaceView& view, int x, int y) {
    const BYTE* row = view.bits + static_cast<ptrdiff_t>(y) * view.pitch;
    switch (view.bpp) {
    case 32: {
        uint32_t value;
        std::memcpy(&value, row + 4 * x, 4);
        return value;
    }
    case 16: {
        uint16_t value;
        std::memcpy(&value, row + 2 * x, 2);
        return value;
    }
    case 24: {
        const BYTE* p = row + 3 * x;
        return DWORD{p[0]} | (DWORD{p[1]} << 8) | (DWORD{p[2]} << 16);
    }
    default: return 0;
    }
}

long PixelPosition(const SurfaceView& view, int x, int y) {
    if (view.bpp == 24) return 3L * x + static_cast<long>(y) * view.pitch;
    return x + static_cast<long>(y) * (view.pitch / (view.bpp / 8));
}

void CBadPixels::AddBadPixel(long position, int& errorBudget) {
    if (std::find(m_list.begin(), m_list.end(), position) != m_list.end()) return;
    auto free = std::find(m_list.begin(), m_list.end(), kFree);
    if (free != m_list.end()) *free = position;
    --errorBudget;
}

RECT ClipToView(const SurfaceView& view, const RECT& area) {
    RECT r{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0), std::min<LONG>(area.right, view.width),
           std::min<LONG>(area.bottom, view.height)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

namespace {

// Whether any pixel of the row misses a bit of `expected`: one pass that only
// reads, in a form the compiler turns into wide loads.
template <typename Pixel>
bool RowHasFault(const BYTE* row, long count, Pixel expected) {
    const Pixel* pixels = reinterpret_cast<const Pixel*>(row);
    Pixel missing = 0;
    for (long i = 0; i < count; ++i) missing |= static_cast<Pixel>(~pixels[i] & expected);
    return missing != 0;
}

}  // namespace

void CBadPixels::CheckArea(const SurfaceView& view, const RECT& requested, DWORD expected, int& errorBudget) {
    if (!IsCheckedDepth(view.bpp) || expected == 0) return;  // black never fails
    const RECT area = ClipToView(view, requested);
    for (long y = area.top; y < area.bottom; ++y) {
        const BYTE* row = view.bits + static_cast<ptrdiff_t>(y) * view.pitch;
        bool suspect = view.bpp == 32   ? RowHasFault<uint32_t>(row + 4 * area.left, area.right - area.left, expected)
                       : view.bpp == 16 ? RowHasFault<uint16_t>(row + 2 * area.left, area.right - area.left,
                                                                static_cast<uint16_t>(expected))
                                        : true;
        if (!suspect) continue;
        for (long x = area.left; x < area.right; ++x)
            if (IsFaulty(ReadPixel(view, x, y), expected)) AddBadPixel(PixelPosition(view, x, y), errorBudget);
    }
}

}  // namespace video
