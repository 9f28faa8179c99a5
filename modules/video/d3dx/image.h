#pragma once
// A picture in memory as the texture loader works on it: 32-bit A8R8G8B8 texels,
// rows from the top, no padding.
#include <windows.h>
#include <d3d8types.h>

#include <cstdint>
#include <vector>

namespace d3dx {

struct Image {
    UINT width = 0;
    UINT height = 0;
    std::vector<std::uint32_t> texels;

    std::uint32_t At(UINT x, UINT y) const { return texels[static_cast<size_t>(y) * width + x]; }
};

// Filter flags of the loader, with the platform's values.
constexpr DWORD kFilterNone = 1;
constexpr DWORD kFilterPoint = 2;
constexpr DWORD kFilterLinear = 3;
constexpr DWORD kFilterTriangle = 4;
constexpr DWORD kFilterBox = 5;
constexpr DWORD kFilterMirrorU = 0x10000;
constexpr DWORD kFilterMirrorV = 0x20000;
constexpr DWORD kFilterMirrorW = 0x40000;
// The loader's "image data not understood" result.
constexpr HRESULT kErrInvalidData = static_cast<HRESULT>(0x88760B59);

// Loads bitmap resource `id` of `module`, whatever its bit depth. False when it
// is missing or unreadable.
bool LoadBitmapResource(HMODULE module, UINT id, Image* out);

// Number of levels of a full mipmap chain down to 1x1.
UINT FullMipCount(UINT width, UINT height);

// The next level: each side halved (never below 1), every texel the tent-weighted
// mean (1, 3, 3, 1) / 8 of the four source texels across it on each axis, per
// channel. Outside the picture the source is mirrored (flag kFilterMirrorU/V) or
// wrapped. Filters other than the triangle take the plain 2x2 mean.
Image Downsample(const Image& source, DWORD filter);

// Turns transparent every texel equal to `colorKey` (0: no key).
void ApplyColorKey(Image* image, D3DCOLOR colorKey);

// Bytes per texel of a texture format the loader can write; 0 for any other.
UINT BytesPerTexel(D3DFORMAT format);

// Writes one row of texels in `format` (one BytesPerTexel supports).
void ConvertRow(const std::uint32_t* texels, UINT count, D3DFORMAT format, void* destination);

}  // namespace d3dx
