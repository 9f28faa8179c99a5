#include "image.h"

#include "framework/unique_resource.h"

namespace d3dx {
namespace {

// Source index of tap `i` on an axis of `size` texels.
UINT Address(int i, UINT size, bool mirror) {
    const int n = static_cast<int>(size);
    if (i < 0) return mirror ? static_cast<UINT>(-i - 1) : static_cast<UINT>(n + i);
    if (i >= n) return mirror ? static_cast<UINT>(2 * n - i - 1) : static_cast<UINT>(i - n);
    return static_cast<UINT>(i);
}

struct Taps {
    UINT index[4];
    float weight[4];
    int count;
};

// The source texels that make destination texel `d` on one axis.
Taps TapsFor(UINT d, UINT sourceSize, bool triangle, bool mirror) {
    if (sourceSize == 1) return {{0, 0, 0, 0}, {1, 0, 0, 0}, 1};
    const int first = static_cast<int>(2 * d);
    if (!triangle) return {{Address(first, sourceSize, mirror), Address(first + 1, sourceSize, mirror), 0, 0}, {0.5f, 0.5f, 0, 0}, 2};
    return {{Address(first - 1, sourceSize, mirror), Address(first, sourceSize, mirror),
             Address(first + 1, sourceSize, mirror), Address(first + 2, sourceSize, mirror)},
            {0.125f, 0.375f, 0.375f, 0.125f},
            4};
}

}  // namespace

bool LoadBitmapResource(HMODULE module, UINT id, Image* out) {
    fw::UniqueBitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) return false;
    BITMAP info{};
    if (!::GetObjectW(bitmap.get(), sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;

    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;  // rows from the top
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    Image image;
    image.width = static_cast<UINT>(info.bmWidth);
    image.height = static_cast<UINT>(info.bmHeight);
    image.texels.resize(static_cast<size_t>(image.width) * image.height);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap.get(), 0, image.height, image.texels.data(), &request, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) return false;
    // A bitmap has no alpha: every texel is opaque.
    for (auto& texel : image.texels) texel |= 0xFF000000u;
    *out = std::move(image);
    return true;
}

UINT FullMipCount(UINT width, UINT height) {
    UINT levels = 1;
    for (UINT side = width > height ? width : height; side > 1; side /= 2) ++levels;
    return levels;
}

Image Downsample(const Image& source, DWORD filter) {
    const bool triangle = (filter & 0xFFFF) == kFilterTriangle;
    Image result;
    result.width = source.width > 1 ? source.width / 2 : 1;
    result.height = source.height > 1 ? source.height / 2 : 1;
    result.texels.resize(static_cast<size_t>(result.width) * result.height);
    for (UINT y = 0; y < result.height; ++y) {
        const Taps rows = TapsFor(y, source.height, triangle, (filter & kFilterMirrorV) != 0);
        for (UINT x = 0; x < result.width; ++x) {
            const Taps columns = TapsFor(x, source.width, triangle, (filter & kFilterMirrorU) != 0);
            float sum[4] = {};
            for (int r = 0; r < rows.count; ++r)
                for (int c = 0; c < columns.count; ++c) {
                    const float weight = rows.weight[r] * columns.weight[c];
                    const std::uint32_t texel = source.At(columns.index[c], rows.index[r]);
                    for (int channel = 0; channel < 4; ++channel)
                        sum[channel] += weight * static_cast<float>((texel >> (8 * channel)) & 0xFF);
                }
            std::uint32_t texel = 0;
            for (int channel = 0; channel < 4; ++channel)
                texel |= static_cast<std::uint32_t>(sum[channel] + 0.5f) << (8 * channel);
            result.texels[static_cast<size_t>(y) * result.width + x] = texel;
        }
    }
    return result;
}

void ApplyColorKey(Image* image, D3DCOLOR colorKey) {
    if (colorKey == 0) return;
    for (auto& texel : image->texels)
        if (texel == colorKey) texel = 0;
}

UINT BytesPerTexel(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        return 4;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
        return 2;
    default:
        return 0;
    }
}

void ConvertRow(const std::uint32_t* texels, UINT count, D3DFORMAT format, void* destination) {
    if (BytesPerTexel(format) == 4) {
        auto* out = static_cast<std::uint32_t*>(destination);
        for (UINT i = 0; i < count; ++i) out[i] = texels[i];
        return;
    }
    auto* out = static_cast<std::uint16_t*>(destination);
    for (UINT i = 0; i < count; ++i) {
        const std::uint32_t t = texels[i];
        const std::uint32_t a = t >> 24, r = (t >> 16) & 0xFF, g = (t >> 8) & 0xFF, b = t & 0xFF;
        std::uint32_t packed = 0;
        switch (format) {
        case D3DFMT_R5G6B5: packed = (r >> 3) << 11 | (g >> 2) << 5 | b >> 3; break;
        case D3DFMT_X1R5G5B5: packed = 0x8000 | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3; break;
        case D3DFMT_A1R5G5B5: packed = (a >> 7) << 15 | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3; break;
        default: packed = (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | b >> 4; break;
        }
        out[i] = static_cast<std::uint16_t>(packed);
    }
}

}  // namespace d3dx
