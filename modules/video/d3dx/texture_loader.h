#pragma once
// Texture from a bitmap resource, with its mipmap chain filtered down in memory.
#include <windows.h>
#include <d3d8.h>

namespace d3dx {

struct TextureLoad {
    UINT levels = 0;  // 0: the full chain down to 1x1
    DWORD usage = 0;
    D3DFORMAT format = D3DFMT_R5G6B5;
    D3DPOOL pool = D3DPOOL_MANAGED;
    DWORD filter = 0;     // how the image is fitted to the top level (it keeps its size)
    DWORD mipFilter = 0;  // how each level is made from the one above
    D3DCOLOR colorKey = 0;
};

// The texture's size is the image's. Results: D3D_OK; kErrInvalidData when the
// resource is missing or unreadable; D3DERR_NOTAVAILABLE for a format the loader
// cannot write; otherwise the device's failure.
HRESULT CreateTextureFromResource(IDirect3DDevice8* device, HMODULE module, UINT id, const TextureLoad& load,
                                  IDirect3DTexture8** texture);

}  // namespace d3dx
