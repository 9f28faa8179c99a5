#include "bmp_file.h"

#include <windows.h>
#include <cstring>

namespace testsupport {

std::string EncodeBmp(const Image24& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rows.size() != Image24::StrideFor(image.width) * static_cast<size_t>(image.height))
        return {};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = image.width;
    info.biHeight = image.height;  // positive: bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(image.rows.size());

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + image.rows.size());

    std::string bytes(file.bfSize, '\0');
    std::memcpy(bytes.data(), &file, sizeof(file));
    std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
    std::memcpy(bytes.data() + file.bfOffBits, image.rows.data(), image.rows.size());
    return bytes;
}

}  // namespace testsupport
