#pragma once
// Video Test #3: a lit, textured, alpha-blended sphere turning in a full-screen
// Direct3D 8 scene, with a caption. Set-up and frames answer kD3DOk or the
// code of the call that failed.
#include <windows.h>
#include <d3d8.h>

#include <functional>
#include <memory>
#include <string>

#include "../bounded_text.h"
#include "../d3dx/font.h"
#include "framework/com.h"
#include "mode_table.h"
#include "sphere.h"

namespace video3d {

constexpr int kD3DOk = 11;
// A frame whose device another window took (a notification, a UAC prompt, Alt+Tab).
constexpr int kD3DDeviceLost = -1;
using ResolutionText = CBoundedText<60>;

// What the test gets from the platform; tests substitute their own.
struct D3DTestPlatform {
    // The Direct3D 8 object, or null when there is none.
    std::function<IDirect3D8*()> createDirect3D;
    // Texts 99 (caption) and 101 (resolution label).
    std::function<std::wstring(UINT id)> loadString;
    // Full path of the library that holds the sphere's texture as bitmap 1002.
    std::wstring textureLibrary;
};

// Direct3DCreate8 of the system's d3d8.dll (no import library exists for it).
IDirect3D8* CreateSystemDirect3D();

class D3DTest {
public:
    explicit D3DTest(D3DTestPlatform platform);
    virtual ~D3DTest();
    D3DTest(const D3DTest&) = delete;
    D3DTest& operator=(const D3DTest&) = delete;

    int SetUp(HWND window, UINT width, UINT height, int bitsPerPixel, ResolutionText& detail);
    int Frame();
    // After kD3DDeviceLost: kD3DDeviceLost while the device is still lost;
    // kD3DOk once it is back, reset and set up again; or a set-up code.
    int Restore();
    // Releases every object and leaves full screen; safe to repeat.
    void Release();

    float Angle() const { return m_angle; }
    const CModeTable& Modes() const { return m_modes; }

private:
    int BuildModeTable();
    int CreateDevice(HWND window, UINT width, UINT height, int bitsPerPixel, ResolutionText& detail);
    int SetRenderStates();
    void CreateCaptionFont();
    int SetUpLight();
    int CreateSphere();
    int LoadTexture();
    int Draw();
    void DrawCaption();

    D3DTestPlatform m_platform;
    float m_screenHeight = 0;
    float m_screenWidth = 0;
    std::unique_ptr<d3dx::CFont> m_font;
    float m_scale = 0;
    float m_angle = 0;  // degrees
    CModeTable m_modes;
    D3DMATERIAL8 m_material{};
    D3DPRESENT_PARAMETERS m_presentation{};  // of the device created
    fw::ComPtr<IDirect3DDevice8> m_device;
    fw::ComPtr<IDirect3D8> m_d3d;
    fw::ComPtr<IDirect3DVertexBuffer8> m_vertexBuffer;
    fw::ComPtr<IDirect3DIndexBuffer8> m_indexBuffer;
    fw::ComPtr<IDirect3DTexture8> m_texture;
};

}  // namespace video3d
