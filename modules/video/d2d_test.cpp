#include "d2d_test.h"

#include "display_lost.h"
#include "fault_report.h"
#include "framework/gdi.h"
#include "framework/resources.h"
#include "resources/string_ids.h"
#include "video_module.h"

namespace video {

namespace {

// A driver that keeps answering "still drawing" must not hang the test.
constexpr ULONGLONG kStillDrawingLimitMs = 2000;

template <typename Call>
HRESULT RepeatWhileStillDrawing(Call call) {
    const ULONGLONG deadline = ::GetTickCount64() + kStillDrawingLimitMs;
    HRESULT hr = call();
    while (hr == DDERR_WASSTILLDRAWING && ::GetTickCount64() < deadline) {
        ::Sleep(0);
        hr = call();
    }
    return hr;
}

DDSURFACEDESC2 EmptyDesc() {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    return desc;
}

bool TriesNextMode(HRESULT hr) {
    return hr == E_OUTOFMEMORY || hr == DDERR_INVALIDPIXELFORMAT || hr == DDERR_OUTOFVIDEOMEMORY ||
           hr == DDERR_UNSUPPORTEDMODE;
}

bool SkipsMode(HRESULT hr) { return hr == DDERR_INVALIDMODE || hr == DDERR_UNSUPPORTEDFORMAT; }

HRESULT WINAPI CollectMode(LPDDSURFACEDESC2 desc, LPVOID context) {
    auto* added = static_cast<int*>(context);
    DisplayMode mode{static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight),
                     static_cast<int>(desc->ddpfPixelFormat.dwRGBBitCount)};
    if (AddEnumeratedMode(ModuleModeList(), mode)) ++*added;
    return DDENUMRET_OK;
}

}  // namespace

CSurfaceLock::CSurfaceLock(IDirectDrawSurface7* surface) : m_surface(surface) {
    m_desc.dwSize = sizeof m_desc;
    m_result = surface ? surface->Lock(nullptr, &m_desc, DDLOCK_WAIT, nullptr) : E_POINTER;
    m_locked = SUCCEEDED(m_result);
}

CSurfaceLock::~CSurfaceLock() {
    if (m_locked) m_surface->Unlock(nullptr);
}

HRESULT CSurfaceLock::Unlock() {
    if (!m_locked) return DDERR_NOTLOCKED;
    m_locked = false;
    return m_surface->Unlock(nullptr);
}

SurfaceView CSurfaceLock::view() const {
    return {static_cast<int>(m_desc.ddpfPixelFormat.dwRGBBitCount), m_desc.lPitch, static_cast<int>(m_desc.dwWidth),
            static_cast<int>(m_desc.dwHeight), static_cast<const BYTE*>(m_desc.lpSurface)};
}

}  // namespace video

using namespace video;

D2DTest::D2DTest(CVideoModule& module) : m_module(module) {}

D2DTest::~D2DTest() { Release(); }

int D2DTest::EnumerateModes() {
    int added = 0;
    if (FAILED(m_pDD->EnumDisplayModes(0, nullptr, &added, &CollectMode))) return init::kEnumeration;
    SortByWidth(ModuleModeList());
    return kInitOk;
}

HRESULT D2DTest::CreatePrimary() {
    DDSURFACEDESC2 desc = EmptyDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps =
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY;
    desc.dwBackBufferCount = 1;
    return m_pDD->CreateSurface(&desc, m_pddsPrimary.ReleaseAndGetAddressOf(), nullptr);
}

int D2DTest::CreatePrimaryAgain(int& width, int& height, int& bpp) {
    const AspectRatio desktop = RatioOf(width, height);
    for (bool sameRatioOnly : {true, false}) {
        for (const DisplayMode& mode : ModuleModeList()) {
            if (sameRatioOnly && !(RatioOf(mode.width, mode.height) == desktop)) continue;
            width = mode.width;
            height = mode.height;
            bpp = mode.bpp;
            HRESULT hr = m_pDD->SetDisplayMode(width, height, bpp, 0, 0);
            if (FAILED(hr)) {
                if (SkipsMode(hr)) continue;
                return init::kNoMode;
            }
            MeasureVideoMemory();
            hr = CreatePrimary();
            if (SUCCEEDED(hr)) return kInitOk;
            if (TriesNextMode(hr)) continue;
            const double neededMb = static_cast<double>(width) * height * bpp / 8 / 1024 / 1024;
            return m_videoMemoryMb > neededMb ? init::kPrimaryOther : init::kPrimaryNoMemory;
        }
    }
    return init::kNoMode;
}

int D2DTest::InitDirectDraw(HWND window, int& width, int& height, int& bpp) {
    Release();
    m_window = window;

    HRESULT hr = m_module.DirectDraw().Create(m_pDD);
    if (FAILED(hr) || !m_pDD) {
        m_pDD.Reset();
        return hr == E_OUTOFMEMORY ? init::kCreateOutOfMemory
               : hr == DDERR_NODIRECTDRAWHW ? init::kCreateNoHardware
                                            : init::kCreateOther;
    }
    if (int rc = EnumerateModes(); rc != kInitOk) return rc;
    if (FAILED(m_pDD->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN))) return init::kCooperativeLevel;
    if (width <= 0 || height <= 0) return init::kNoMode;
    const AspectRatio desktop = RatioOf(width, height);

    if (FAILED(m_pDD->SetDisplayMode(width, height, bpp, 0, 0))) {
        DisplayMode mode{width, height, bpp};
        TFallback found = FindFallbackMode(
            ModuleModeList(), desktop,
            [&](const DisplayMode& m) { return m_pDD->SetDisplayMode(m.width, m.height, m.bpp, 0, 0); }, mode);
        width = mode.width;
        height = mode.height;
        bpp = mode.bpp;
        if (found == TFallback::Refused) return init::kNoMode;
    }

    if (FAILED(CreatePrimary())) {
        if (int rc = CreatePrimaryAgain(width, height, bpp); rc != kInitOk) return rc;
    }

    DDSCAPS2 backCaps{};
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(m_pddsPrimary->GetAttachedSurface(&backCaps, m_pddsBack.ReleaseAndGetAddressOf())) || !m_pddsBack)
        return init::kBackBuffer;

    DDSURFACEDESC2 comp = EmptyDesc();
    comp.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    comp.dwWidth = static_cast<DWORD>(width);
    comp.dwHeight = static_cast<DWORD>(height);
    comp.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    hr = m_pDD->CreateSurface(&comp, m_pddsSurfForComp.ReleaseAndGetAddressOf(), nullptr);
    if (FAILED(hr)) {
        if (hr == E_OUTOFMEMORY || hr == DDERR_OUTOFVIDEOMEMORY) return init::kCompSurfaceMemory;
        if (hr == DDERR_INVALIDPIXELFORMAT || hr == DDERR_UNSUPPORTEDMODE) return init::kCompSurfaceFormat;
        return init::kCompSurfaceOther;
    }

    if (bpp == 16) {
        DDPIXELFORMAT format{};
        format.dwSize = sizeof format;
        m_pddsPrimary->GetPixelFormat(&format);
        m_greenMask16 = format.dwGBitMask;
        if (m_greenMask16 != 0x03E0 && m_greenMask16 != 0x07E0) return init::kGreenMask;
    }
    m_mode = {width, height, bpp};
    InitTextFont();
    return kInitOk;
}

void D2DTest::MeasureVideoMemory() {
    auto total = [&](DWORD caps) {
        DDSCAPS2 kind{};
        kind.dwCaps = caps;
        DWORD bytes = 0;
        m_pDD->GetAvailableVidMem(&kind, &bytes, nullptr);
        return bytes;
    };
    const DWORD local = total(DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM);
    const DWORD nonLocal = total(DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM);
    const DWORD all = total(DDSCAPS_VIDEOMEMORY);
    if (all == local)
        m_videoMemoryMb = all / 1024.0 / 1024.0;
    else if (all - nonLocal == local || all == nonLocal)
        m_videoMemoryMb = local / 1024.0 / 1024.0;
}

void D2DTest::InitTextFont() {
    m_labelFont.reset(::CreateFontW(30, 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, nullptr));
    SIZE text{};
    HDC dc = nullptr;
    if (m_pddsPrimary && SUCCEEDED(m_pddsPrimary->GetDC(&dc))) {
        {
            fw::ScopedSelect font(dc, m_labelFont.get());
            std::wstring label = fw::LoadStr(IDS_VIDEO_TEST1_RUNNING);
            ::GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &text);
        }
        m_pddsPrimary->ReleaseDC(dc);
    }
    m_labelRect.left = m_mode.width / 40;
    m_labelRect.top = m_mode.height / 30;
    m_labelRect.right = m_labelRect.left + text.cx;
    m_labelRect.bottom = m_labelRect.top + text.cy;
}

void D2DTest::PrepareBlit(IDirectDrawSurface7* surface) {
    if (surface->IsLost() == DDERR_SURFACELOST) surface->Restore();
    RepeatWhileStillDrawing([&] { return surface->GetBltStatus(DDGBS_CANBLT); });
}

void D2DTest::FinishBlit(IDirectDrawSurface7* surface) {
    RepeatWhileStillDrawing([&] {
        HRESULT status = surface->GetBltStatus(DDGBS_ISBLTDONE);
        if (status == DDERR_WASSTILLDRAWING) surface->Restore();
        return status;
    });
}

HRESULT D2DTest::FillBackBuffer(const RECT& area, DWORD colour) {
    if (!m_pddsBack) return E_POINTER;
    PrepareBlit(m_pddsBack.Get());
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = colour;
    RECT target = area;
    HRESULT hr = m_pddsBack->Blt(&target, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    FinishBlit(m_pddsBack.Get());
    return hr;
}

HRESULT D2DTest::ClearBackBuffer(DWORD colour) {
    return FillBackBuffer({0, 0, m_mode.width, m_mode.height}, colour);
}

HRESULT D2DTest::FlipPrimary() {
    if (!m_pddsPrimary) return E_POINTER;
    HRESULT hr = RepeatWhileStillDrawing([&] { return m_pddsPrimary->Flip(nullptr, 0); });
    if (hr == DDERR_SURFACELOST) m_pddsPrimary->Restore();
    return hr;
}

HRESULT D2DTest::CopyToCompSurface(const RECT& rect) {
    if (!m_pddsSurfForComp || !m_pddsPrimary) return E_POINTER;
    PrepareBlit(m_pddsSurfForComp.Get());
    RECT source = rect;
    HRESULT hr = m_pddsSurfForComp->BltFast(static_cast<DWORD>(rect.left), 0, m_pddsPrimary.Get(), &source,
                                            DDBLTFAST_WAIT);
    FinishBlit(m_pddsSurfForComp.Get());
    return hr;
}

void D2DTest::DrawRunningLabel(int x, int y) {
    if (!m_pddsPrimary) return;
    m_pddsPrimary->Restore();
    HDC dc = nullptr;
    if (FAILED(m_pddsPrimary->GetDC(&dc))) return;
    {
        fw::ScopedSelect font(dc, m_labelFont.get());
        ::SetBkColor(dc, RGB(0, 0, 0));
        ::SetTextColor(dc, RGB(255, 255, 0));
        std::wstring label = fw::LoadStr(IDS_VIDEO_TEST1_RUNNING);
        ::TextOutW(dc, x, y, label.c_str(), static_cast<int>(label.size()));
    }
    m_pddsPrimary->ReleaseDC(dc);
}

bool D2DTest::DisplayLost(HRESULT hr) const { return video::DisplayLost(m_pDD.Get(), hr); }

bool D2DTest::DisplayBack() const { return video::DisplayBack(m_pDD.Get()); }

void D2DTest::ReportCheckFaults() {
    video::ReportCheckFaults(m_module, m_badPixels.LastCheckFaults(), m_mode.width, m_mode.height, m_mode.bpp,
                             m_greenMask16);
}

void D2DTest::Release() {
    m_labelFont.reset();
    if (m_pDD) m_pDD->RestoreDisplayMode();
    m_pddsSurfForComp.Reset();
    m_pddsBack.Reset();
    m_pddsPrimary.Reset();
    if (m_pDD) m_pDD->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    m_pDD.Reset();
}
