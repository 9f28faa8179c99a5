#pragma once
// 24-bit pictures and the BMP file format they are saved in.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct Image24 {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rows;  // blue, green, red per pixel; bottom row first; rows padded to 4 bytes

    static size_t StrideFor(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3); }
};

// The whole BMP file: file header, info header, pixel rows. Empty when `image`
// is not consistent (no pixels, or rows of another size).
std::string EncodeBmp(const Image24& image);

}  // namespace testsupport
