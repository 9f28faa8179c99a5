#include "d3d_test.h"

#include <numbers>

#include "../d3dx/matrix.h"
#include "../d3dx/texture_loader.h"
#include "../d3dx/image.h"
#include "framework/library_loading.h"
#include "framework/unique_resource.h"

namespace video3d {
namespace {

constexpr UINT kSdkVersion = 220;
constexpr UINT kTextureBitmap = 1002;
constexpr UINT kCaptionText = 99;
constexpr UINT kResolutionLabel = 101;
constexpr D3DFORMAT kDepthFormats[] = {D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D16};

// Each of the calls, in order, or `code` for the first that fails.
template <typename... Calls>
int FirstFailure(int code, Calls... results) {
    for (const HRESULT hr : {results...})
        if (FAILED(hr)) return code;
    return kD3DOk;
}

}  // namespace

IDirect3D8* CreateSystemDirect3D() {
    // Stays loaded for the life of the process, as an imported library would.
    static const HMODULE library = fw::LoadSystemLibrary(L"d3d8.dll");
    if (!library) return nullptr;
    using Create = IDirect3D8*(WINAPI*)(UINT);
    const auto create = reinterpret_cast<Create>(::GetProcAddress(library, "Direct3DCreate8"));
    return create ? create(kSdkVersion) : nullptr;
}

D3DTest::D3DTest(D3DTestPlatform platform) : m_platform(std::move(platform)) {}

D3DTest::~D3DTest() { Release(); }

int D3DTest::SetUp(HWND window, UINT width, UINT height, int bitsPerPixel, ResolutionText& detail) {
    Release();
    // Taken over as it is: mingw's ComPtr::Attach would add a reference.
    *m_d3d.ReleaseAndGetAddressOf() = m_platform.createDirect3D ? m_platform.createDirect3D() : nullptr;
    if (!m_d3d) return 100;
    if (const int rc = BuildModeTable(); rc != kD3DOk) return rc;
    if (const int rc = CreateDevice(window, width, height, bitsPerPixel, detail); rc != kD3DOk) return rc;
    if (const int rc = SetRenderStates(); rc != kD3DOk) return rc;
    CreateCaptionFont();
    if (const int rc = SetUpLight(); rc != kD3DOk) return rc;
    if (const int rc = CreateSphere(); rc != kD3DOk) return rc;
    return LoadTexture();
}

// The table comes from the adapter the device is created on.
int D3DTest::BuildModeTable() {
    m_modes.Clear();
    const UINT count = m_d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT);
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode{};
        if (FAILED(m_d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, i, &mode))) return 118;
        m_modes.Add(mode.Width, mode.Height, mode.Format);
    }
    if (m_modes.Count() == 0) return 118;
    m_modes.Sort();
    return kD3DOk;
}

int D3DTest::CreateDevice(HWND window, UINT width, UINT height, int bitsPerPixel, ResolutionText& detail) {
    for (int i = m_modes.StartIndex(width, height, bitsPerPixel); i >= 0; --i) {
        const ModeEntry& mode = m_modes[i];
        detail.Clear();
        detail.Append(L"%ls: %ld*%ld*%ld\r\n", m_platform.loadString(kResolutionLabel).c_str(),
                      static_cast<long>(mode.width), static_cast<long>(mode.height), static_cast<long>(mode.bitsPerPixel));
        m_screenWidth = static_cast<float>(mode.width);
        m_screenHeight = static_cast<float>(mode.height);

        D3DFORMAT depth = D3DFMT_UNKNOWN;
        for (const D3DFORMAT candidate : kDepthFormats)
            if (SUCCEEDED(m_d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, mode.format, D3DUSAGE_DEPTHSTENCIL,
                                                   D3DRTYPE_SURFACE, candidate))) {
                depth = candidate;
                break;
            }
        if (depth == D3DFMT_UNKNOWN) return 102;

        D3DPRESENT_PARAMETERS presentation{};
        presentation.BackBufferWidth = mode.width;
        presentation.BackBufferHeight = mode.height;
        presentation.BackBufferFormat = mode.format;
        presentation.BackBufferCount = 1;
        presentation.MultiSampleType = D3DMULTISAMPLE_NONE;
        presentation.SwapEffect = D3DSWAPEFFECT_DISCARD;
        presentation.hDeviceWindow = window;
        presentation.Windowed = FALSE;
        presentation.EnableAutoDepthStencil = TRUE;
        presentation.AutoDepthStencilFormat = depth;
        presentation.FullScreen_RefreshRateInHz = 0;  // the default rate
        presentation.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
        const HRESULT hr = m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                               D3DCREATE_SOFTWARE_VERTEXPROCESSING, &presentation,
                                               m_device.ReleaseAndGetAddressOf());
        if (SUCCEEDED(hr)) {
            m_presentation = presentation;
            return kD3DOk;
        }
        if (hr != D3DERR_OUTOFVIDEOMEMORY) return 103;
    }
    return 103;
}

int D3DTest::SetRenderStates() {
    IDirect3DDevice8* d = m_device.Get();
    if (FAILED(d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW))) return 104;
    if (FAILED(d->SetRenderState(D3DRS_ZENABLE, TRUE))) return 105;
    if (FAILED(d->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID))) return 106;
    if (FAILED(d->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE))) return 107;
    return FirstFailure(108, d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE),
                        d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA),
                        d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA));
}

// A caption that cannot be made is left out; the scene itself is the test.
void D3DTest::CreateCaptionFont() {
    fw::UniqueFont font(::CreateFontW(30, 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, nullptr));
    if (font) d3dx::CFont::Create(m_device.Get(), font.get(), &m_font);
}

int D3DTest::SetUpLight() {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Position = {-30.0f, 0.0f, -15.0f};
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Range = 1000.0f;
    light.Attenuation0 = 1.0f;
    if (FAILED(m_device->SetLight(0, &light))) return 112;
    if (FAILED(m_device->LightEnable(0, TRUE))) return 110;
    if (FAILED(m_device->SetRenderState(D3DRS_LIGHTING, TRUE))) return 109;
    if (FAILED(m_device->SetRenderState(D3DRS_AMBIENT, 0xFF646464))) return 119;
    return kD3DOk;
}

int D3DTest::CreateSphere() {
    m_material = {};
    m_material.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    m_material.Ambient = {1.0f, 1.0f, 1.0f, 0.0f};
    if (FAILED(m_device->CreateVertexBuffer(kSphereVertexCount * sizeof(SphereVertex), 0, kSphereFvf, D3DPOOL_DEFAULT,
                                            m_vertexBuffer.ReleaseAndGetAddressOf())))
        return 120;
    if (FAILED(m_device->CreateIndexBuffer(kSphereIndexCount * sizeof(WORD), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                           m_indexBuffer.ReleaseAndGetAddressOf())))
        return 121;

    BYTE* data = nullptr;
    if (FAILED(m_vertexBuffer->Lock(0, 0, &data, 0))) return 122;
    auto* vertices = reinterpret_cast<std::array<SphereVertex, kSphereVertexCount>*>(data);
    BuildSphereVertices(*vertices);
    if (FAILED(m_vertexBuffer->Unlock())) return 122;
    if (FAILED(m_indexBuffer->Lock(0, 0, &data, 0))) return 122;
    BuildSphereIndices(*reinterpret_cast<std::array<WORD, kSphereIndexCount>*>(data));
    if (FAILED(m_indexBuffer->Unlock())) return 122;
    return kD3DOk;
}

// The library is used for this one load only; the module's own resource
// lookup is never pointed at it.
int D3DTest::LoadTexture() {
    fw::UniqueModule library(::LoadLibraryW(m_platform.textureLibrary.c_str()));
    if (!library) return 114;
    d3dx::TextureLoad load;
    load.levels = 0;
    load.usage = 0;
    load.format = D3DFMT_R5G6B5;
    load.pool = D3DPOOL_MANAGED;
    load.filter = d3dx::kFilterTriangle | d3dx::kFilterMirrorU | d3dx::kFilterMirrorV | d3dx::kFilterMirrorW;
    load.mipFilter = load.filter;
    load.colorKey = 0;
    const HRESULT hr = d3dx::CreateTextureFromResource(m_device.Get(), library.get(), kTextureBitmap, load,
                                                       m_texture.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr)) return kD3DOk;
    if (hr == D3DERR_INVALIDCALL || hr == d3dx::kErrInvalidData) return 114;
    if (hr == D3DERR_NOTAVAILABLE) return 115;
    return 116;
}

int D3DTest::Frame() {
    if (!m_device) return 123;
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    if (FAILED(m_device->BeginScene())) return 123;

    D3DMATRIX view, projection, world, part;
    const D3DVECTOR eye{0.0f, 15.0f, -50.0f}, at{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f};
    m_device->SetTransform(D3DTS_VIEW, d3dx::MatrixLookAtLH(&view, &eye, &at, &up));
    const float aspect = m_screenWidth / m_screenHeight;
    m_device->SetTransform(D3DTS_PROJECTION, d3dx::MatrixPerspectiveFovLH(&projection, std::numbers::pi_v<float> / 4,
                                                                          aspect - 0.08f, 1.0f, 2000.0f));
    m_angle += 2.0f;
    m_scale = 6.5f * aspect;
    d3dx::MatrixScaling(&world, m_scale, m_scale, m_scale);
    d3dx::MatrixMultiply(&world, &world, d3dx::MatrixRotationY(&part, -m_angle * std::numbers::pi_v<float> / 180.0f));
    d3dx::MatrixMultiply(&world, &world, d3dx::MatrixRotationYawPitchRoll(&part, 0.0f, 0.0f, 0.40910518f));
    d3dx::MatrixMultiply(&world, &world, d3dx::MatrixTranslation(&part, 0.0f, 4.0f, 0.0f));
    m_device->SetTransform(D3DTS_WORLD, &world);

    if (const int rc = Draw(); rc != kD3DOk) return rc;
    DrawCaption();
    if (FAILED(m_device->EndScene())) return 125;
    const HRESULT presented = m_device->Present(nullptr, nullptr, nullptr, nullptr);
    if (presented == D3DERR_DEVICELOST) return kD3DDeviceLost;
    if (FAILED(presented)) return 133;
    return kD3DOk;
}

int D3DTest::Restore() {
    if (!m_device) return 123;
    const HRESULT level = m_device->TestCooperativeLevel();
    if (level == D3D_OK) return kD3DOk;
    if (level != D3DERR_DEVICENOTRESET) return kD3DDeviceLost;
    // What lives in video memory goes before the reset; the reset also drops every state.
    m_vertexBuffer.Reset();
    m_indexBuffer.Reset();
    m_font.reset();
    D3DPRESENT_PARAMETERS presentation = m_presentation;
    if (FAILED(m_device->Reset(&presentation))) return kD3DDeviceLost;
    if (const int rc = SetRenderStates(); rc != kD3DOk) return rc;
    CreateCaptionFont();
    if (const int rc = SetUpLight(); rc != kD3DOk) return rc;
    return CreateSphere();
}

int D3DTest::Draw() {
    IDirect3DDevice8* d = m_device.Get();
    if (FAILED(d->SetStreamSource(0, m_vertexBuffer.Get(), sizeof(SphereVertex)))) return 126;
    if (FAILED(d->SetVertexShader(kSphereFvf))) return 127;
    if (FAILED(d->SetTexture(0, m_texture.Get()))) return 128;
    if (const int rc = FirstFailure(129, d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
                                    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
                                    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_CURRENT));
        rc != kD3DOk)
        return rc;
    if (FAILED(d->SetMaterial(&m_material))) return 130;
    if (FAILED(d->SetIndices(m_indexBuffer.Get(), 0))) return 131;
    if (FAILED(d->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, kSphereVertexCount, 0, kSpherePrimitiveCount))) return 132;
    if (FAILED(d->SetTexture(0, nullptr))) return 128;
    if (FAILED(d->SetStreamSource(0, nullptr, 0))) return 126;
    if (FAILED(d->SetIndices(nullptr, 0))) return 131;
    return kD3DOk;
}

void D3DTest::DrawCaption() {
    if (!m_font) return;
    const std::wstring caption = m_platform.loadString(kCaptionText);
    RECT area{static_cast<LONG>(m_screenWidth / 40), static_cast<LONG>(m_screenHeight / 30), 0, 0};
    m_font->Begin();
    m_font->DrawTextW(caption.c_str(), -1, &area, DT_CALCRECT, 0xFFFFFF00);
    m_font->DrawTextW(caption.c_str(), -1, &area, DT_LEFT, 0xFFFFFF00);
    m_font->End();
}

void D3DTest::Release() {
    m_texture.Reset();
    m_vertexBuffer.Reset();
    m_indexBuffer.Reset();
    // The font's texture belongs to the device: it goes before the device leaves full screen.
    m_font.reset();
    if (m_device) {
        D3DPRESENT_PARAMETERS windowed{};
        windowed.Windowed = TRUE;
        m_device->Reset(&windowed);
    }
    m_device.Reset();
    m_d3d.Reset();
}

}  // namespace video3d
