#pragma once
// What the video memory test allocates and writes: surface sides, largest
// first, and the 18 patterns written into every surface, in order.
#include <array>
#include <cstdint>

namespace memtest {

constexpr std::array<int, 8> kSurfaceSides = {1024, 512, 256, 128, 64, 32, 16, 8};
constexpr int kPatternCount = 18;

constexpr std::array<std::uint32_t, kPatternCount> kPatterns32 = {
    0xAAAAAAAA, 0xFFFFFFFF, 0xF0F0F0F0, 0x0F0F0F0F, 0x44444444, 0x04040404, 0x02020202, 0x55555555, 0x00000000,
    0x80808080, 0x40404040, 0x20202020, 0x10101010, 0x08080808, 0x01010101, 0x11111111, 0x22222222, 0x88888888};
constexpr std::array<std::uint16_t, kPatternCount> kPatterns16 = {
    0xFFFF, 0x0000, 0xF0F0, 0x0F0F, 0xAAAA, 0x5555, 0x8080, 0x4040, 0x2020,
    0x1010, 0x0808, 0x0404, 0x0202, 0x0101, 0x1111, 0x2222, 0x4444, 0x8888};

// Pattern `index` for a surface of `bitsPerPixel` (16: the 16-bit table, else the 32-bit one).
constexpr std::uint32_t PatternFor(int bitsPerPixel, int index) {
    return bitsPerPixel == 16 ? kPatterns16[static_cast<size_t>(index)] : kPatterns32[static_cast<size_t>(index)];
}

// Megabytes of a side x side surface.
constexpr double SurfaceMegabytes(int width, int height, int bitsPerPixel) {
    return static_cast<double>(width) * height * bitsPerPixel / 8 / 1048576;
}

}  // namespace memtest
