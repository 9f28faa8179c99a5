#include "pixel_check.h"

#include <algorithm>
#include <cstring>
#include <emmintrin.h>

namespace video {

DWORD PixelValue(Rgb c, int bpp, DWORD greenMask16) {
    if (bpp == 16) {
        if (greenMask16 == 0x03E0) return ((c.r & 0xF8u) << 7) | ((c.g & 0xF8u) << 2) | (c.b >> 3);
        return ((c.r & 0xF8u) << 8) | ((c.g & 0xFCu) << 3) | (c.b >> 3);
    }
    return (DWORD{c.r} << 16) | (DWORD{c.g} << 8) | c.b;
}

DWORD ColourOf(DWORD pixel, int bpp, DWORD greenMask16) {
    if (bpp != 16) return pixel & 0xFFFFFF;
    // Each channel's bits widened to eight by repeating their top bits.
    auto widen = [](DWORD value, int bits) { return (value << (8 - bits)) | (value >> (2 * bits - 8)); };
    const bool fiveFiveFive = greenMask16 == 0x03E0;
    const DWORD r = widen(fiveFiveFive ? (pixel >> 10) & 0x1F : (pixel >> 11) & 0x1F, 5);
    const DWORD g = fiveFiveFive ? widen((pixel >> 5) & 0x1F, 5) : widen((pixel >> 5) & 0x3F, 6);
    const DWORD b = widen(pixel & 0x1F, 5);
    return (r << 16) | (g << 8) | b;
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
// reads. `pattern` holds the expected pixel repeated over 16 bytes.
bool RowHasFaultPlain(const BYTE* row, size_t bytes, const BYTE* pattern) {
    uint32_t missing = 0, word, expected;
    std::memcpy(&expected, pattern, 4);
    size_t i = 0;
    for (; i + 4 <= bytes; i += 4) {
        std::memcpy(&word, row + i, 4);
        missing |= ~word & expected;
    }
    for (; i < bytes; ++i) missing |= static_cast<BYTE>(~row[i] & pattern[i % 4]);
    return missing != 0;
}

__attribute__((target("sse2"))) bool RowHasFaultSse2(const BYTE* row, size_t bytes, const BYTE* pattern) {
    const __m128i expected = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern));
    __m128i a = _mm_setzero_si128(), b = a, c = a, d = a;
    size_t i = 0;
    for (; i + 64 <= bytes; i += 64) {
        a = _mm_or_si128(a, _mm_andnot_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)), expected));
        b = _mm_or_si128(b, _mm_andnot_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i + 16)), expected));
        c = _mm_or_si128(c, _mm_andnot_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i + 32)), expected));
        d = _mm_or_si128(d, _mm_andnot_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i + 48)), expected));
    }
    for (; i + 16 <= bytes; i += 16)
        a = _mm_or_si128(a, _mm_andnot_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)), expected));
    const __m128i all = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(all, _mm_setzero_si128())) != 0xFFFF) return true;
    return i < bytes && RowHasFaultPlain(row + i, bytes - i, pattern);
}

bool HasSse2() {
    static const bool sse2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sse2") != 0;
    }();
    return sse2;
}

}  // namespace

void CBadPixels::CheckArea(const SurfaceView& view, const RECT& requested, DWORD expected, int& errorBudget) {
    m_checkFaults = {};
    if (!IsCheckedDepth(view.bpp) || expected == 0) return;  // black never fails
    const RECT area = ClipToView(view, requested);
    // Rows without a fault are passed over at memory speed; 24-bit rows are read pixel by pixel.
    alignas(16) BYTE pattern[16];
    const int bytesPerPixel = view.bpp / 8;
    for (int i = 0; i < 16; ++i) pattern[i] = static_cast<BYTE>(expected >> (8 * (i % bytesPerPixel)));
    const bool sse2 = HasSse2();
    const size_t rowBytes = static_cast<size_t>(area.right - area.left) * bytesPerPixel;
    for (long y = area.top; y < area.bottom; ++y) {
        const BYTE* row = view.bits + static_cast<ptrdiff_t>(y) * view.pitch + area.left * bytesPerPixel;
        if (view.bpp != 24 && !(sse2 ? RowHasFaultSse2(row, rowBytes, pattern) : RowHasFaultPlain(row, rowBytes, pattern)))
            continue;
        for (long x = area.left; x < area.right; ++x)
            if (DWORD read = ReadPixel(view, x, y); IsFaulty(read, expected)) {
                AddBadPixel(PixelPosition(view, x, y), errorBudget);
                m_checkFaults.Add(static_cast<int>(x), static_cast<int>(y), expected, read);
            }
    }
}

}  // namespace video
