#include "fake_ddraw.h"

#include <algorithm>
#include <cstring>

#include "com_fake.h"

namespace fakeddraw {

struct DisplayState {
    FakeDisplay display;
    DisplayRecord record;
};

namespace {

// One block of pixels as a DIB section, so GDI can draw into it.
class Memory {
public:
    Memory(DWORD width, DWORD height, DWORD bpp) : m_width(width), m_height(height), m_bpp(bpp) {
        struct {
            BITMAPINFOHEADER header;
            DWORD masks[3];
        } info{};
        info.header.biSize = sizeof info.header;
        info.header.biWidth = static_cast<LONG>(width);
        info.header.biHeight = -static_cast<LONG>(height);  // top-down, like a locked surface
        info.header.biPlanes = 1;
        info.header.biBitCount = static_cast<WORD>(bpp);
        info.header.biCompression = bpp == 16 ? BI_BITFIELDS : BI_RGB;
        info.masks[0] = 0xF800;
        info.masks[1] = 0x07E0;
        info.masks[2] = 0x001F;
        m_bitmap = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_pitch = ((width * bpp + 31) / 32) * 4;
    }
    ~Memory() {
        if (m_bitmap) ::DeleteObject(m_bitmap);
    }
    Memory(const Memory&) = delete;
    Memory& operator=(const Memory&) = delete;

    bool ok() const { return m_bitmap != nullptr; }
    HBITMAP bitmap() const { return m_bitmap; }
    BYTE* row(DWORD y) const { return static_cast<BYTE*>(m_bits) + static_cast<size_t>(y) * m_pitch; }
    DWORD width() const { return m_width; }
    DWORD height() const { return m_height; }
    DWORD bpp() const { return m_bpp; }
    DWORD pitch() const { return m_pitch; }

    DWORD Get(DWORD x, DWORD y) const {
        DWORD value = 0;
        std::memcpy(&value, row(y) + x * (m_bpp / 8), m_bpp / 8);
        return value;
    }
    void Set(DWORD x, DWORD y, DWORD value) { std::memcpy(row(y) + x * (m_bpp / 8), &value, m_bpp / 8); }

private:
    DWORD m_width, m_height, m_bpp, m_pitch = 0;
    HBITMAP m_bitmap = nullptr;
    void* m_bits = nullptr;
};

// Counts the objects alive in the display.
template <typename Interface>
class FakeUnknown : public ComFake<Interface> {
public:
    explicit FakeUnknown(std::shared_ptr<DisplayState> state) : m_state(std::move(state)) {
        ++m_state->record.liveObjects;
    }
    ~FakeUnknown() override { --m_state->record.liveObjects; }

protected:
    std::shared_ptr<DisplayState> m_state;
};

DDPIXELFORMAT PixelFormat(DWORD bpp, DWORD greenMask16) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = bpp;
    if (bpp == 16) {
        format.dwRBitMask = greenMask16 == 0x03E0 ? 0x7C00 : 0xF800;
        format.dwGBitMask = greenMask16;
        format.dwBBitMask = 0x001F;
    } else {
        format.dwRBitMask = 0xFF0000;
        format.dwGBitMask = 0x00FF00;
        format.dwBBitMask = 0x0000FF;
    }
    return format;
}

class FakeSurface final : public FakeUnknown<IDirectDrawSurface7> {
public:
    FakeSurface(std::shared_ptr<DisplayState> state, std::shared_ptr<Memory> memory, DWORD caps, int number,
                DWORD videoBytes)
        : FakeUnknown(std::move(state)), m_memory(std::move(memory)), m_caps(caps), m_number(number),
          m_videoBytes(videoBytes) {}
    ~FakeSurface() override { m_state->record.videoMemoryInUse -= m_videoBytes; }

    // Takes the new back buffer's only reference (mingw's ComPtr::Attach would add one).
    void Attach(FakeSurface* back) { *m_back.ReleaseAndGetAddressOf() = back; }

    // Applies the stuck cells of this surface to its memory.
    void Settle() {
        for (const StuckBits& s : m_state->display.stuck) {
            if (s.surface != m_number || s.x >= m_memory->width() || s.y >= m_memory->height()) continue;
            m_memory->Set(s.x, s.y, (m_memory->Get(s.x, s.y) & ~s.stuckAtZero) | s.stuckAtOne);
        }
    }

    Memory& memory() { return *m_memory; }

    STDMETHOD(Blt)(LPRECT dest, LPDIRECTDRAWSURFACE7, LPRECT, DWORD flags, LPDDBLTFX fx) override {
        if (!(flags & DDBLT_COLORFILL) || !fx) return E_NOTIMPL;
        RECT r = dest ? *dest : RECT{0, 0, static_cast<LONG>(m_memory->width()), static_cast<LONG>(m_memory->height())};
        r.right = std::min<LONG>(r.right, static_cast<LONG>(m_memory->width()));
        r.bottom = std::min<LONG>(r.bottom, static_cast<LONG>(m_memory->height()));
        for (LONG y = std::max<LONG>(r.top, 0); y < r.bottom; ++y)
            for (LONG x = std::max<LONG>(r.left, 0); x < r.right; ++x) m_memory->Set(x, y, fx->dwFillColor);
        Settle();
        return DD_OK;
    }
    STDMETHOD(BltFast)(DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source, LPRECT rect, DWORD) override {
        HRESULT hr = m_state->display.bltFast.Next();
        if (FAILED(hr)) return hr;
        auto* from = static_cast<FakeSurface*>(source);
        if (!from || from->memory().bpp() != m_memory->bpp()) return DDERR_INVALIDPARAMS;
        RECT r = rect ? *rect
                      : RECT{0, 0, static_cast<LONG>(from->memory().width()), static_cast<LONG>(from->memory().height())};
        const DWORD bytes = m_memory->bpp() / 8;
        for (LONG row = r.top; row < r.bottom; ++row) {
            DWORD toY = y + static_cast<DWORD>(row - r.top);
            if (toY >= m_memory->height() || row >= static_cast<LONG>(from->memory().height())) break;
            LONG width = std::min<LONG>(r.right - r.left, static_cast<LONG>(m_memory->width() - x));
            std::memcpy(m_memory->row(toY) + x * bytes, from->memory().row(row) + r.left * bytes, width * bytes);
        }
        Settle();
        return DD_OK;
    }
    STDMETHOD(Flip)(LPDIRECTDRAWSURFACE7, DWORD) override {
        HRESULT hr = m_state->display.flip.Next();
        if (FAILED(hr)) return hr;
        if (!m_back) return DDERR_NOTFLIPPABLE;
        std::swap(m_memory, m_back->m_memory);
        Settle();
        m_back->Settle();
        return DD_OK;
    }
    STDMETHOD(GetAttachedSurface)(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* out) override {
        HRESULT hr = m_state->display.backBuffer.Next();
        if (FAILED(hr)) return hr;
        if (!m_back || !caps || !(caps->dwCaps & DDSCAPS_BACKBUFFER)) return DDERR_NOTFOUND;
        m_back->AddRef();
        *out = m_back.Get();
        return DD_OK;
    }
    STDMETHOD(GetBltStatus)(DWORD) override {
        if (m_state->display.stillDrawingTimes > 0) {
            --m_state->display.stillDrawingTimes;
            return DDERR_WASSTILLDRAWING;
        }
        return DD_OK;
    }
    STDMETHOD(GetDC)(HDC* out) override {
        if (!out || m_dc) return DDERR_DCALREADYCREATED;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_previous = ::SelectObject(m_dc, m_memory->bitmap());
        *out = m_dc;
        return DD_OK;
    }
    STDMETHOD(ReleaseDC)(HDC dc) override {
        if (!m_dc || dc != m_dc) return DDERR_NODC;
        ::GdiFlush();
        ::SelectObject(m_dc, m_previous);
        ::DeleteDC(m_dc);
        m_dc = nullptr;
        Settle();
        return DD_OK;
    }
    STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT format) override {
        if (!format) return DDERR_INVALIDPARAMS;
        *format = PixelFormat(m_memory->bpp(), m_state->display.greenMask16);
        return DD_OK;
    }
    STDMETHOD(IsLost)() override {
        if (m_state->display.lostTimes > 0) {
            --m_state->display.lostTimes;
            return DDERR_SURFACELOST;
        }
        return DD_OK;
    }
    STDMETHOD(Lock)(LPRECT, LPDDSURFACEDESC2 desc, DWORD, HANDLE) override {
        HRESULT hr = m_state->display.lock.Next();
        if (FAILED(hr)) return hr;
        if (!desc) return DDERR_INVALIDPARAMS;
        ::GdiFlush();
        Describe(*desc);
        return DD_OK;
    }
    STDMETHOD(Unlock)(LPRECT) override {
        Settle();
        return m_state->display.unlock.Next();
    }
    STDMETHOD(Restore)() override {
        ++m_state->record.restores;
        return DD_OK;
    }

    FAKE_NOT_IMPLEMENTED(AddAttachedSurface, LPDIRECTDRAWSURFACE7)
    FAKE_NOT_IMPLEMENTED(AddOverlayDirtyRect, LPRECT)
    FAKE_NOT_IMPLEMENTED(BltBatch, LPDDBLTBATCH, DWORD, DWORD)
    FAKE_NOT_IMPLEMENTED(DeleteAttachedSurface, DWORD, LPDIRECTDRAWSURFACE7)
    FAKE_NOT_IMPLEMENTED(EnumAttachedSurfaces, LPVOID, LPDDENUMSURFACESCALLBACK7)
    FAKE_NOT_IMPLEMENTED(EnumOverlayZOrders, DWORD, LPVOID, LPDDENUMSURFACESCALLBACK7)
    FAKE_NOT_IMPLEMENTED(GetClipper, LPDIRECTDRAWCLIPPER*)
    FAKE_NOT_IMPLEMENTED(GetColorKey, DWORD, LPDDCOLORKEY)
    FAKE_NOT_IMPLEMENTED(GetFlipStatus, DWORD)
    FAKE_NOT_IMPLEMENTED(GetOverlayPosition, LPLONG, LPLONG)
    FAKE_NOT_IMPLEMENTED(GetPalette, LPDIRECTDRAWPALETTE*)
    FAKE_NOT_IMPLEMENTED(Initialize, LPDIRECTDRAW, LPDDSURFACEDESC2)
    FAKE_NOT_IMPLEMENTED(SetClipper, LPDIRECTDRAWCLIPPER)
    FAKE_NOT_IMPLEMENTED(SetColorKey, DWORD, LPDDCOLORKEY)
    FAKE_NOT_IMPLEMENTED(SetOverlayPosition, LONG, LONG)
    FAKE_NOT_IMPLEMENTED(SetPalette, LPDIRECTDRAWPALETTE)
    FAKE_NOT_IMPLEMENTED(UpdateOverlay, LPRECT, LPDIRECTDRAWSURFACE7, LPRECT, DWORD, LPDDOVERLAYFX)
    FAKE_NOT_IMPLEMENTED(UpdateOverlayDisplay, DWORD)
    FAKE_NOT_IMPLEMENTED(UpdateOverlayZOrder, DWORD, LPDIRECTDRAWSURFACE7)
    FAKE_NOT_IMPLEMENTED(GetDDInterface, LPVOID*)
    FAKE_NOT_IMPLEMENTED(PageLock, DWORD)
    FAKE_NOT_IMPLEMENTED(PageUnlock, DWORD)
    FAKE_NOT_IMPLEMENTED(SetSurfaceDesc, LPDDSURFACEDESC2, DWORD)
    FAKE_NOT_IMPLEMENTED(SetPrivateData, REFGUID, LPVOID, DWORD, DWORD)
    FAKE_NOT_IMPLEMENTED(GetPrivateData, REFGUID, LPVOID, LPDWORD)
    FAKE_NOT_IMPLEMENTED(FreePrivateData, REFGUID)
    FAKE_NOT_IMPLEMENTED(GetUniquenessValue, LPDWORD)
    FAKE_NOT_IMPLEMENTED(ChangeUniquenessValue)
    FAKE_NOT_IMPLEMENTED(SetPriority, DWORD)
    FAKE_NOT_IMPLEMENTED(GetPriority, LPDWORD)
    FAKE_NOT_IMPLEMENTED(GetSurfaceDesc, LPDDSURFACEDESC2)
    FAKE_NOT_IMPLEMENTED(GetCaps, LPDDSCAPS2)
    FAKE_NOT_IMPLEMENTED(SetLOD, DWORD)
    FAKE_NOT_IMPLEMENTED(GetLOD, LPDWORD)

private:
    void Describe(DDSURFACEDESC2& desc) const {
        desc = {};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
        desc.dwWidth = m_memory->width();
        desc.dwHeight = m_memory->height();
        desc.lPitch = static_cast<LONG>(m_memory->pitch());
        desc.lpSurface = m_memory->row(0);
        desc.ddpfPixelFormat = PixelFormat(m_memory->bpp(), m_state->display.greenMask16);
        desc.ddsCaps.dwCaps = m_caps;
    }

    std::shared_ptr<Memory> m_memory;
    DWORD m_caps;
    int m_number;
    DWORD m_videoBytes;
    fw::ComPtr<FakeSurface> m_back;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

class FakeDirectDraw final : public FakeUnknown<IDirectDraw7> {
public:
    using FakeUnknown::FakeUnknown;

    STDMETHOD(CreateSurface)(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* out, IUnknown*) override {
        if (!desc || !out) return DDERR_INVALIDPARAMS;
        *out = nullptr;
        const DWORD caps = desc->ddsCaps.dwCaps;
        FakeDisplay& display = m_state->display;
        DisplayRecord& record = m_state->record;
        const bool primary = caps & DDSCAPS_PRIMARYSURFACE;
        HRESULT hr = primary                          ? display.primary.Next()
                     : (caps & DDSCAPS_SYSTEMMEMORY) ? display.systemMemory.Next()
                                                     : display.videoMemory.Next();
        if (FAILED(hr)) return hr;
        DWORD width = primary ? record.current.width : desc->dwWidth;
        DWORD height = primary ? record.current.height : desc->dwHeight;
        DWORD bpp = (desc->dwFlags & DDSD_PIXELFORMAT) ? desc->ddpfPixelFormat.dwRGBBitCount : record.current.bpp;
        if (width == 0 || height == 0 || (bpp != 16 && bpp != 24 && bpp != 32)) return DDERR_INVALIDPARAMS;
        const int chain = primary && (desc->dwFlags & DDSD_BACKBUFFERCOUNT) && desc->dwBackBufferCount > 0 ? 2 : 1;
        DWORD videoBytes = 0;
        if (!(caps & DDSCAPS_SYSTEMMEMORY)) {
            videoBytes = width * height * (bpp / 8) * chain;
            if (!display.videoMemoryNeverRunsOut && record.videoMemoryInUse + videoBytes > display.localVideoMemory)
                return DDERR_OUTOFVIDEOMEMORY;
        }
        auto memory = std::make_shared<Memory>(width, height, bpp);
        if (!memory->ok()) return E_OUTOFMEMORY;
        record.videoMemoryInUse += videoBytes;
        auto* surface = new FakeSurface(m_state, memory, caps, ++record.surfacesCreated, videoBytes);
        if (chain == 2) {
            auto backMemory = std::make_shared<Memory>(width, height, bpp);
            surface->Attach(new FakeSurface(m_state, backMemory, DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_VIDEOMEMORY,
                                            ++record.surfacesCreated, 0));
        }
        *out = surface;
        return DD_OK;
    }
    STDMETHOD(EnumDisplayModes)(DWORD, LPDDSURFACEDESC2, LPVOID context, LPDDENUMMODESCALLBACK2 callback) override {
        if (FAILED(m_state->display.enumResult)) return m_state->display.enumResult;
        for (const Mode& mode : m_state->display.modes) {
            DDSURFACEDESC2 desc{};
            desc.dwSize = sizeof desc;
            desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_PITCH;
            desc.dwWidth = mode.width;
            desc.dwHeight = mode.height;
            desc.lPitch = static_cast<LONG>(mode.width * mode.bpp / 8);
            desc.ddpfPixelFormat = PixelFormat(mode.bpp, m_state->display.greenMask16);
            if (callback(&desc, context) == DDENUMRET_CANCEL) break;
        }
        return DD_OK;
    }
    STDMETHOD(GetAvailableVidMem)(LPDDSCAPS2 caps, LPDWORD total, LPDWORD free) override {
        if (!caps) return DDERR_INVALIDPARAMS;
        const FakeDisplay& display = m_state->display;
        DWORD amount = (caps->dwCaps & DDSCAPS_LOCALVIDMEM)      ? display.localVideoMemory
                       : (caps->dwCaps & DDSCAPS_NONLOCALVIDMEM) ? 0
                                                                 : display.totalVideoMemory;
        if (total) *total = amount;
        if (free) *free = amount - std::min(amount, m_state->record.videoMemoryInUse);
        return DD_OK;
    }
    // A driver without non-local video memory.
    STDMETHOD(GetCaps)(LPDDCAPS driver, LPDDCAPS) override {
        if (!driver) return DDERR_INVALIDPARAMS;
        const DWORD size = driver->dwSize;
        std::memset(driver, 0, size ? size : sizeof *driver);
        driver->dwSize = size;
        return DD_OK;
    }
    STDMETHOD(RestoreDisplayMode)() override {
        ++m_state->record.restoreDisplayMode;
        const HWND window = m_state->record.exclusiveWindow;
        if (window && !::IsWindow(window)) ++m_state->record.modeRestoredWithoutWindow;
        m_state->record.current = m_state->display.desktop;
        return DD_OK;
    }
    STDMETHOD(TestCooperativeLevel)() override { return m_state->display.cooperativeTest.Next(); }
    STDMETHOD(RestoreAllSurfaces)() override {
        ++m_state->record.restoreAllSurfaces;
        return DD_OK;
    }
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD flags) override {
        HRESULT hr = m_state->display.cooperative.Next();
        if (SUCCEEDED(hr)) m_state->record.cooperativeLevels.push_back(flags);
        if (SUCCEEDED(hr) && (flags & DDSCL_EXCLUSIVE)) m_state->record.exclusiveWindow = window;
        return hr;
    }
    STDMETHOD(SetDisplayMode)(DWORD width, DWORD height, DWORD bpp, DWORD, DWORD) override {
        Mode mode{width, height, bpp};
        m_state->record.modeRequests.push_back(mode);
        auto answers = m_state->display.modeAnswers.find(mode);
        HRESULT hr = answers == m_state->display.modeAnswers.end() ? DD_OK : answers->second.Next();
        if (SUCCEEDED(hr)) m_state->record.current = mode;
        return hr;
    }

    FAKE_NOT_IMPLEMENTED(Compact)
    FAKE_NOT_IMPLEMENTED(CreateClipper, DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*)
    FAKE_NOT_IMPLEMENTED(CreatePalette, DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*)
    FAKE_NOT_IMPLEMENTED(DuplicateSurface, LPDIRECTDRAWSURFACE7, LPDIRECTDRAWSURFACE7*)
    FAKE_NOT_IMPLEMENTED(EnumSurfaces, DWORD, LPDDSURFACEDESC2, LPVOID, LPDDENUMSURFACESCALLBACK7)
    FAKE_NOT_IMPLEMENTED(FlipToGDISurface)
    FAKE_NOT_IMPLEMENTED(GetDisplayMode, LPDDSURFACEDESC2)
    FAKE_NOT_IMPLEMENTED(GetFourCCCodes, LPDWORD, LPDWORD)
    FAKE_NOT_IMPLEMENTED(GetGDISurface, LPDIRECTDRAWSURFACE7*)
    FAKE_NOT_IMPLEMENTED(GetMonitorFrequency, LPDWORD)
    FAKE_NOT_IMPLEMENTED(GetScanLine, LPDWORD)
    FAKE_NOT_IMPLEMENTED(GetVerticalBlankStatus, WINBOOL*)
    FAKE_NOT_IMPLEMENTED(Initialize, GUID*)
    FAKE_NOT_IMPLEMENTED(WaitForVerticalBlank, DWORD, HANDLE)
    FAKE_NOT_IMPLEMENTED(GetSurfaceFromDC, HDC, LPDIRECTDRAWSURFACE7*)
    FAKE_NOT_IMPLEMENTED(GetDeviceIdentifier, LPDDDEVICEIDENTIFIER2, DWORD)
    FAKE_NOT_IMPLEMENTED(StartModeTest, LPSIZE, DWORD, DWORD)
    FAKE_NOT_IMPLEMENTED(EvaluateMode, DWORD, DWORD*)
};

}  // namespace

FakeDirectDrawFactory::FakeDirectDrawFactory() : m_state(std::make_shared<DisplayState>()) {}
FakeDirectDrawFactory::~FakeDirectDrawFactory() = default;

HRESULT FakeDirectDrawFactory::Create(fw::ComPtr<IDirectDraw7>& out) {
    out.Reset();
    HRESULT hr = m_state->display.create.Next();
    if (FAILED(hr)) return hr;
    if (m_state->record.current.width == 0) m_state->record.current = m_state->display.desktop;
    *out.ReleaseAndGetAddressOf() = new FakeDirectDraw(m_state);
    return DD_OK;
}

FakeDisplay& FakeDirectDrawFactory::display() { return m_state->display; }
const DisplayRecord& FakeDirectDrawFactory::record() const { return m_state->record; }

}  // namespace fakeddraw
