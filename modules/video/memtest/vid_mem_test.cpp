#include "vid_mem_test.h"

#include "framework/gdi.h"
#include "framework/resources.h"
#include "framework/unique_resource.h"
#include "memory_patterns.h"
#include "resources/string_ids.h"
#include "surface_check.h"
#include "surface_view.h"
#include "allocation.h"
#include "display_lost.h"

namespace memtest {
namespace {

constexpr DWORD kLocalVideoMemoryCaps = DDSCAPS_LOCALVIDMEM | DDSCAPS_VIDEOMEMORY | DDSCAPS_OFFSCREENPLAIN;
constexpr DWORD kSystemMemoryCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
constexpr int kReadBackSide = 1024;
// A driver that keeps answering "still drawing" is not waited for longer.
constexpr ULONGLONG kBlitWaitMs = 5000;
constexpr int kScreenWidth = 800;
constexpr ULONGLONG kModeRestoreWaitMs = 3000;

SIZE ScreenSize() { return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

DDSURFACEDESC2 Description(int width, int height, DWORD caps) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.dwWidth = static_cast<DWORD>(width);
    description.dwHeight = static_cast<DWORD>(height);
    description.ddsCaps.dwCaps = caps;
    return description;
}

class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDc() { Reset(); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return m_dc; }
    void Reset() {
        if (m_dc) ::ReleaseDC(m_window, m_dc);
        m_dc = nullptr;
    }

private:
    HWND m_window;
    HDC m_dc;
};

bool WaitWhileDrawing(IDirectDrawSurface7* surface, DWORD flags, bool restore) {
    const ULONGLONG start = ::GetTickCount64();
    while (surface->GetBltStatus(flags) == DDERR_WASSTILLDRAWING) {
        if (::GetTickCount64() - start > kBlitWaitMs) return false;
        if (restore) surface->Restore();
    }
    return true;
}

void AppendCallFailure(DetailText& detail, const std::wstring& call, HRESULT hr) {
    detail.Append(L"%ls - Error:0x%08x\r\n", call.c_str(), static_cast<unsigned>(hr));
}

}  // namespace

VidMemTest::VidMemTest(video::IDirectDrawFactory& directDraw, std::function<void(DWORD)> sleep)
    : m_sleep(std::move(sleep)), m_factory(directDraw) {}

VidMemTest::~VidMemTest() { Release(); }

int VidMemTest::SetUp(HWND window, int width, int height, int bitsPerPixel) {
    m_window = window;
    Release();
    if (const HRESULT hr = m_factory.Create(m_directDraw); FAILED(hr) || !m_directDraw) {
        m_directDraw.Reset();
        if (hr == E_OUTOFMEMORY) return 201;
        if (hr == DDERR_NODIRECTDRAWHW) return 202;
        return 203;
    }
    DDCAPS driverCaps{};
    driverCaps.dwSize = sizeof driverCaps;
    if (SUCCEEDED(m_directDraw->GetCaps(&driverCaps, nullptr)))
        m_nonLocalVideoMemory = (driverCaps.dwCaps2 & DDCAPS2_NONLOCALVIDMEM) != 0;
    if (FAILED(m_directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN))) return 205;
    m_desktop = ScreenSize();

    for (;;) {
        const HRESULT hr = m_directDraw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                                        static_cast<DWORD>(bitsPerPixel), 0, 0);
        if (SUCCEEDED(hr)) break;
        if (hr != E_NOTIMPL && hr != DDERR_INVALIDMODE && hr != DDERR_UNSUPPORTEDFORMAT) return 206;
        if (bitsPerPixel != 32) return 204;
        bitsPerPixel = 16;
    }
    m_modeDepth = bitsPerPixel;

    DDSURFACEDESC2 readBack = Description(kReadBackSide, kReadBackSide, kSystemMemoryCaps);
    if (const HRESULT hr = m_directDraw->CreateSurface(&readBack, m_readBack.ReleaseAndGetAddressOf(), nullptr);
        FAILED(hr))
        return hr == DDERR_OUTOFVIDEOMEMORY || hr == E_OUTOFMEMORY ? 215 : 209;
    return kSetUpOk;
}

HRESULT VidMemTest::Allocate(DetailText& detail) {
    m_memoryKind = 1;
    DDSCAPS2 local{};
    local.dwCaps = DDSCAPS_LOCALVIDMEM | DDSCAPS_VIDEOMEMORY;
    DWORD totalBytes = 0, freeBytes = 0;
    if (const HRESULT hr = m_directDraw->GetAvailableVidMem(&local, &totalBytes, &freeBytes); FAILED(hr)) {
        AppendCallFailure(detail, L"GetAvailableVidMem", hr);
        return hr;
    }
    return AllocateLargestFirst([&](int side) {
        DDSURFACEDESC2 description = Description(side, side, kLocalVideoMemoryCaps);
        fw::ComPtr<IDirectDrawSurface7> surface;
        const HRESULT hr = m_directDraw->CreateSurface(&description, surface.GetAddressOf(), nullptr);
        if (FAILED(hr)) {
            if (hr != DDERR_OUTOFVIDEOMEMORY) AppendCallFailure(detail, L"CreateSurface", hr);
            return hr;
        }
        DDPIXELFORMAT format{};
        format.dwSize = sizeof format;
        surface->GetPixelFormat(&format);
        m_surfaceDepth = static_cast<int>(format.dwRGBBitCount);
        m_megabytesAllocated += SurfaceMegabytes(side, side, m_surfaceDepth);
        m_surfaces.push_back({std::move(surface), side, side, m_memoryKind});
        return DD_OK;
    }, freeBytes, m_modeDepth / 8);
}

bool VidMemTest::DisplayBack() const { return video::DisplayBack(m_directDraw.Get()); }

HRESULT VidMemTest::Run(HWND window, DetailText& detail, int errorLevel, const std::function<bool()>& displayBack) {
    m_window = window;
    m_errorBudget = errorLevel;
    if (!m_directDraw || !m_readBack) return DDERR_NOTINITIALIZED;
    WindowDc dc(window);

    if (const HRESULT hr = Allocate(detail); FAILED(hr)) return hr;

    for (SurfaceRecord& record : m_surfaces) {
        ++m_surfaceCounter;
        DDPIXELFORMAT format{};
        format.dwSize = sizeof format;
        record.surface->GetPixelFormat(&format);
        const int depth = static_cast<int>(format.dwRGBBitCount);
        for (m_patternIndex = 0; m_patternIndex < kPatternCount; ++m_patternIndex) {
            const std::uint32_t pattern = PatternFor(depth, m_patternIndex);
            m_pattern32 = pattern;
            m_pattern16 = static_cast<std::uint16_t>(pattern);
            DrawProgress(dc.get(), record);
            std::wstring failedCall;
            HRESULT hr = FillAndVerify(record, failedCall);
            while (video::DisplayLost(m_directDraw.Get(), hr)) {
                if (!displayBack || !displayBack()) return kDisplayNotBack;
                hr = FillAndVerify(record, failedCall);
            }
            if (hr == E_FAIL) {
                DetailLabels labels{fw::LoadStr(IDS_VIDEO_MEM_SECTION), fw::LoadStr(IDS_VIDEO_MEM_SECTION_SIZE),
                                    fw::LoadStr(IDS_VIDEO_MEM_OFFSET),  fw::LoadStr(IDS_VIDEO_MEM_WRITE),
                                    fw::LoadStr(IDS_VIDEO_MEM_READ),    fw::LoadStr(IDS_VIDEO_MEM_LOCAL)};
                AppendFailureDetail(detail, labels,
                                    {m_surfaceCounter, record.width, record.height, depth, m_failingPosition,
                                     depth == 16 ? m_pattern16 : m_pattern32, m_failingValue});
                return E_FAIL;
            }
            // Memory that could not be written or read back was not tested.
            if (FAILED(hr)) {
                AppendCallFailure(detail, failedCall, hr);
                return hr;
            }
        }
        m_megabytesVerified += static_cast<float>(SurfaceMegabytes(record.width, record.height, depth));
        record.surface.Reset();
    }
    m_surfaces.clear();

    m_sleep(1000);
    dc.Reset();
    AppendTestedLine(detail, m_megabytesVerified, m_megabytesAllocated, fw::LoadStr(IDS_VIDEO_MEM_TESTED));
    return 0;
}

HRESULT VidMemTest::FillAndVerify(const SurfaceRecord& record, std::wstring& failedCall) {
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (const HRESULT hr = record.surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr); FAILED(hr)) {
        failedCall = L"Lock";
        return hr;
    }
    const int depth = static_cast<int>(locked.ddpfPixelFormat.dwRGBBitCount);
    FillPattern({depth, locked.lPitch, record.width, record.height, locked.lpSurface}, m_pattern32);
    if (const HRESULT hr = record.surface->Unlock(nullptr); FAILED(hr)) {
        failedCall = L"Unlock";
        return hr;
    }
    if (const HRESULT hr = CopyToReadBack(record, failedCall); FAILED(hr)) return hr;

    DDSURFACEDESC2 copy{};
    copy.dwSize = sizeof copy;
    if (const HRESULT hr = m_readBack->Lock(nullptr, &copy, DDLOCK_WAIT, nullptr); FAILED(hr)) {
        failedCall = L"Lock";
        return hr;
    }
    const SurfaceView view{static_cast<int>(copy.ddpfPixelFormat.dwRGBBitCount), copy.lPitch, kReadBackSide,
                           kReadBackSide, copy.lpSurface};
    video::CheckFaults found;
    const CompareOutcome outcome = ComparePattern(view, record.width, record.height, m_pattern32, m_surfaceCounter,
                                                  m_badPixels, m_errorBudget, &found);
    const HRESULT unlocked = m_readBack->Unlock(nullptr);
    if (found.found > 0 && m_onFaults) m_onFaults(found, record.width, record.height, view.bitsPerPixel);
    if (outcome.budgetExhausted) {
        m_failingPosition = outcome.position;
        m_failingValue = outcome.valueRead;
        return E_FAIL;
    }
    if (FAILED(unlocked)) failedCall = L"Unlock";
    return unlocked;
}

HRESULT VidMemTest::CopyToReadBack(const SurfaceRecord& record, std::wstring& failedCall) {
    if (m_readBack->IsLost() == DDERR_SURFACELOST) m_readBack->Restore();
    WaitWhileDrawing(m_readBack.Get(), DDGBS_CANBLT, false);
    RECT area{0, 0, record.width, record.height};
    // No source colour key: with none set, some drivers take black as the key and
    // leave the all-zero pattern uncopied, which would read back as a fault.
    if (const HRESULT hr = m_readBack->BltFast(0, 0, record.surface.Get(), &area, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT);
        hr != DD_OK) {
        failedCall = L"BltFast";
        return FAILED(hr) ? hr : E_UNEXPECTED;
    }
    WaitWhileDrawing(m_readBack.Get(), DDGBS_ISBLTDONE, true);
    return DD_OK;
}

void VidMemTest::DrawProgress(HDC dc, const SurfaceRecord& record) {
    if (!dc) return;
    fw::UniqueFont font(::CreateFontW(30, 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, nullptr));
    fw::UniqueBrush black(::CreateSolidBrush(RGB(0, 0, 0)));
    {
        fw::ScopedSelect select(dc, font.get());
        ::SetBkColor(dc, RGB(0, 0, 0));
        ::SetTextColor(dc, RGB(255, 255, 0));
        const RECT screen{0, 0, kScreenWidth, 600};
        ::FillRect(dc, &screen, black.get());
        const std::wstring title = fw::LoadStr(IDS_VIDEO_TEST2_RUNNING);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &size);
        ::TextOutW(dc, (kScreenWidth - size.cx) / 2, 450, title.c_str(), static_cast<int>(title.size()));
    }
    ::SetTextColor(dc, RGB(255, 255, 255));
    const double surfaceMegabytes = SurfaceMegabytes(record.width, record.height, m_surfaceDepth);
    const int done = ProgressCellsDone(m_patternIndex, surfaceMegabytes, m_megabytesVerified, m_megabytesAllocated);
    const std::wstring line = ProgressLine(done, fw::LoadStr(IDS_VIDEO_MEM_EMPTY_CELL));
    std::wstring full;
    for (int i = 0; i < kProgressCells; ++i) full += L">> ";
    SIZE size{};
    ::GetTextExtentPoint32W(dc, full.c_str(), static_cast<int>(full.size()), &size);
    ::TextOutW(dc, (kScreenWidth - size.cx) / 2, 560, line.c_str(), static_cast<int>(line.size()));
}

void VidMemTest::Release() {
    m_surfaces.clear();
    if (m_directDraw) m_directDraw->RestoreDisplayMode();
    m_readBack.Reset();
    if (m_directDraw) m_directDraw->SetCooperativeLevel(m_window, DDSCL_NORMAL);
    const bool restored = m_directDraw != nullptr;
    m_directDraw.Reset();
    // The desktop may follow the restored mode a little later; the next test
    // reads the screen's size and must see the desktop's.
    if (restored && m_desktop.cx > 0) {
        const ULONGLONG start = ::GetTickCount64();
        for (SIZE now = ScreenSize(); (now.cx != m_desktop.cx || now.cy != m_desktop.cy) &&
                                      ::GetTickCount64() - start < kModeRestoreWaitMs;
             now = ScreenSize())
            ::Sleep(20);
    }
}

}  // namespace memtest
