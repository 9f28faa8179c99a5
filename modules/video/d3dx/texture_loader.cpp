#include "texture_loader.h"

#include "framework/com.h"
#include "image.h"

namespace d3dx {
namespace {

HRESULT WriteLevel(IDirect3DTexture8* texture, UINT level, const Image& image, D3DFORMAT format) {
    D3DLOCKED_RECT locked{};
    if (const HRESULT hr = texture->LockRect(level, &locked, nullptr, 0); FAILED(hr)) return hr;
    auto* row = static_cast<BYTE*>(locked.pBits);
    for (UINT y = 0; y < image.height; ++y, row += locked.Pitch)
        ConvertRow(&image.texels[static_cast<size_t>(y) * image.width], image.width, format, row);
    return texture->UnlockRect(level);
}

}  // namespace

HRESULT CreateTextureFromResource(IDirect3DDevice8* device, HMODULE module, UINT id, const TextureLoad& load,
                                  IDirect3DTexture8** texture) {
    *texture = nullptr;
    if (!device) return D3DERR_INVALIDCALL;
    Image image;
    if (!LoadBitmapResource(module, id, &image)) return kErrInvalidData;
    if (BytesPerTexel(load.format) == 0) return D3DERR_NOTAVAILABLE;
    ApplyColorKey(&image, load.colorKey);

    const UINT levels = load.levels ? load.levels : FullMipCount(image.width, image.height);
    fw::ComPtr<IDirect3DTexture8> created;
    if (const HRESULT hr = device->CreateTexture(image.width, image.height, levels, load.usage, load.format,
                                                 load.pool, created.GetAddressOf());
        FAILED(hr))
        return hr;
    // The device may give fewer levels than asked.
    const UINT made = created->GetLevelCount();
    for (UINT level = 0; level < made; ++level) {
        if (level > 0) image = Downsample(image, load.mipFilter);
        if (const HRESULT hr = WriteLevel(created.Get(), level, image, load.format); FAILED(hr)) return hr;
    }
    *texture = created.Detach();
    return D3D_OK;
}

}  // namespace d3dx
