#pragma once
// Text for a Direct3D 8 scene: GDI draws the text into a texture once, and each
// call draws that texture as one screen-aligned quad, blended by its coverage.
#include <windows.h>
#include <d3d8.h>

#include <memory>
#include <string>

#include "framework/com.h"
#include "framework/unique_resource.h"

namespace d3dx {

class CFont {
public:
    // Copies the font's description; the caller may delete `font` afterwards.
    static HRESULT Create(IDirect3DDevice8* device, HFONT font, std::unique_ptr<CFont>* out);

    // Saves the device state that drawing changes; End restores it.
    HRESULT Begin();
    // With DT_CALCRECT only measures: the rectangle's right and bottom follow the
    // text. Otherwise draws the text at the rectangle's top left in `color`.
    // Returns the text's height in pixels, 0 on failure.
    int DrawTextW(const wchar_t* text, int count, RECT* rect, DWORD format, D3DCOLOR color);
    HRESULT End();

private:
    CFont(IDirect3DDevice8* device, fw::UniqueFont font) : m_device(device), m_font(std::move(font)) {}
    SIZE Measure(const std::wstring& text) const;
    HRESULT PrepareTexture(const std::wstring& text);

    struct SavedState {
        DWORD renderStates[5];
        DWORD stageStates[6];
        DWORD vertexShader;
        bool saved;
    };

    fw::ComPtr<IDirect3DDevice8> m_device;
    fw::UniqueFont m_font;
    fw::ComPtr<IDirect3DTexture8> m_texture;  // holds m_textureText
    std::wstring m_textureText;
    SIZE m_textSize{};
    UINT m_textureWidth = 0;
    UINT m_textureHeight = 0;
    SavedState m_saved{};
};

}  // namespace d3dx
