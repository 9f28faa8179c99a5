#include "surface_check.h"

#include <cstring>
#include <vector>

namespace memtest {
namespace {

template <typename Pixel>
Pixel* Row(const SurfaceView& view, int y) {
    return reinterpret_cast<Pixel*>(static_cast<std::uint8_t*>(view.bits) + static_cast<std::ptrdiff_t>(y) * view.pitch);
}

// Rows are written whole from one row of the pattern: the runtime's memcpy runs
// at memory speed on every target.
template <typename Pixel>
void Fill(const SurfaceView& surface, Pixel pattern) {
    const std::vector<Pixel> row(static_cast<size_t>(surface.width), pattern);
    for (int y = 0; y < surface.height; ++y) std::memcpy(Row<Pixel>(surface, y), row.data(), row.size() * sizeof(Pixel));
}

// Whether any of `count` pixels differs from `pattern`: one pass without a branch
// per pixel, which the compiler turns into vector instructions.
template <typename Pixel>
bool AnyDiffersPlain(const Pixel* pixels, int count, Pixel pattern) {
    Pixel difference = 0;
    for (int x = 0; x < count; ++x) difference |= static_cast<Pixel>(pixels[x] ^ pattern);
    return difference != 0;
}

#if defined(__i386__)
// A 32-bit build assumes no SSE2; nearly every processor that runs it has it.
template <typename Pixel>
__attribute__((target("sse2"))) bool AnyDiffersSse2(const Pixel* pixels, int count, Pixel pattern) {
    Pixel difference = 0;
    for (int x = 0; x < count; ++x) difference |= static_cast<Pixel>(pixels[x] ^ pattern);
    return difference != 0;
}

template <typename Pixel>
bool AnyDiffers(const Pixel* pixels, int count, Pixel pattern) {
    static const bool sse2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sse2") != 0;
    }();
    return sse2 ? AnyDiffersSse2(pixels, count, pattern) : AnyDiffersPlain(pixels, count, pattern);
}
#else
template <typename Pixel>
bool AnyDiffers(const Pixel* pixels, int count, Pixel pattern) {
    return AnyDiffersPlain(pixels, count, pattern);
}
#endif

template <typename Pixel>
CompareOutcome Compare(const SurfaceView& copy, int width, int height, Pixel pattern, int surfaceNumber,
                       CBadPixelList& faults, int& budget, video::CheckFaults* found) {
    const int pitchInPixels = static_cast<int>(copy.pitch / static_cast<LONG>(sizeof(Pixel)));
    for (int y = 0; y < height; ++y) {
        const Pixel* row = Row<Pixel>(copy, y);
        if (!AnyDiffers(row, width, pattern)) continue;
        for (int x = 0; x < width; ++x) {
            if (row[x] == pattern) continue;
            if (found) found->Add(x, y, pattern, row[x]);
            const int position = x + y * pitchInPixels;
            if (faults.Add(surfaceNumber, position)) --budget;
            if (budget < 0) return {true, position, row[x]};
        }
    }
    return {};
}

}  // namespace

void FillPattern(const SurfaceView& surface, std::uint32_t pattern) {
    if (surface.bitsPerPixel == 32) Fill<std::uint32_t>(surface, pattern);
    else if (surface.bitsPerPixel == 16) Fill<std::uint16_t>(surface, static_cast<std::uint16_t>(pattern));
}

CompareOutcome ComparePattern(const SurfaceView& copy, int width, int height, std::uint32_t pattern,
                              int surfaceNumber, CBadPixelList& faults, int& budget, video::CheckFaults* found) {
    if (copy.bitsPerPixel == 32)
        return Compare<std::uint32_t>(copy, width, height, pattern, surfaceNumber, faults, budget, found);
    if (copy.bitsPerPixel == 16)
        return Compare<std::uint16_t>(copy, width, height, static_cast<std::uint16_t>(pattern), surfaceNumber, faults,
                                      budget, found);
    return {};
}

}  // namespace memtest
