#pragma once
// What the 2D test reads back is compared here: a view of a locked surface,
// the pixel value of an expected colour, and the list of distinct faulty
// pixels that spends the caller's error budget.
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "hostlink/protocol.h"

namespace video {

// A locked surface, or any buffer laid out like one.
struct SurfaceView {
    int bpp = 0;
    long pitch = 0;  // bytes from one row to the next
    int width = 0;
    int height = 0;
    const BYTE* bits = nullptr;
};

struct Rgb {
    BYTE r = 0, g = 0, b = 0;
};

// The pixel value of a colour at a depth (16-bit modes by their green mask).
DWORD PixelValue(Rgb colour, int bpp, DWORD greenMask16);

// The value of the pixel at (x, y).
DWORD ReadPixel(const SurfaceView& view, int x, int y);

// Where a pixel is counted: its index for 16 and 32 bits, its byte offset for 24.
long PixelPosition(const SurfaceView& view, int x, int y);

// Faulty: a bit of the expectation reads as 0. Extra set bits are no fault.
inline bool IsFaulty(DWORD read, DWORD expected) { return (read & expected) != expected; }

inline bool IsCheckedDepth(int bpp) { return bpp == 16 || bpp == 24 || bpp == 32; }

// A pixel value as 0x00RRGGBB (16-bit values by their green mask).
DWORD ColourOf(DWORD pixel, int bpp, DWORD greenMask16);

// The faulty pixels one check found: their positions (at most
// hostlink::kMaxFaultPoints) with the pixel values expected and read.
struct CheckFaults {
    std::vector<hostlink::FaultPoint> points;
    long found = 0;  // every faulty pixel of the check, kept or not
    void Add(int x, int y, DWORD expected, DWORD read) {
        if (points.size() < static_cast<size_t>(hostlink::kMaxFaultPoints)) points.push_back({x, y, expected, read});
        ++found;
    }
};

// The part of `area` that lies on the view.
RECT ClipToView(const SurfaceView& view, const RECT& area);

class CBadPixels {
public:
    static constexpr size_t kListSize = 30;
    static constexpr long kFree = -1;

    CBadPixels() { m_list.fill(kFree); }

    // A position not listed yet costs 1 from the budget and is listed while
    // there is room; a listed one costs nothing.
    void AddBadPixel(long position, int& errorBudget);

    const std::array<long, kListSize>& BadPixelList() const { return m_list; }
    // What the latest check (CheckArea or CheckEach) found; it visits each pixel once.
    const CheckFaults& LastCheckFaults() const { return m_checkFaults; }

    // Checks every pixel of `area` against one value.
    void CheckArea(const SurfaceView& view, const RECT& area, DWORD expected, int& errorBudget);

    // Checks every pixel of `area` against expectedAt(x, y).
    template <typename Expected>
    void CheckEach(const SurfaceView& view, const RECT& area, Expected expectedAt, int& errorBudget) {
        m_checkFaults = {};
        if (!IsCheckedDepth(view.bpp)) return;
        const RECT a = ClipToView(view, area);
        for (long y = a.top; y < a.bottom; ++y)
            for (long x = a.left; x < a.right; ++x)
                if (DWORD read = ReadPixel(view, x, y), expected = expectedAt(x, y); IsFaulty(read, expected)) {
                    AddBadPixel(PixelPosition(view, x, y), errorBudget);
                    m_checkFaults.Add(static_cast<int>(x), static_cast<int>(y), expected, read);
                }
    }

private:
    std::array<long, kListSize> m_list;
    CheckFaults m_checkFaults;
};

}  // namespace video
