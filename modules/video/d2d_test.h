#pragma once
// The 2D test's DirectDraw device: the primary display in exclusive full-screen
// mode with one back buffer, a system-memory copy of what the front surface
// shows, the running label, and the list of faulty pixels found so far.
#include <windows.h>
#include <ddraw.h>

#include "framework/com.h"
#include "framework/unique_resource.h"
#include "mode_list.h"
#include "pixel_check.h"

class CVideoModule;

namespace video {

constexpr int kInitOk = 10;

// Set-up error codes of InitDirectDraw.
namespace init {
constexpr int kCreateOutOfMemory = 201;
constexpr int kCreateNoHardware = 202;
constexpr int kCreateOther = 203;
constexpr int kCooperativeLevel = 205;
constexpr int kNoMode = 206;
constexpr int kPrimaryNoMemory = 207;
constexpr int kBackBuffer = 208;
constexpr int kCompSurfaceOther = 209;
constexpr int kGreenMask = 212;
constexpr int kPrimaryOther = 213;
constexpr int kEnumeration = 214;
constexpr int kCompSurfaceMemory = 215;
constexpr int kCompSurfaceFormat = 216;
}  // namespace init

// A locked surface that is unlocked when the scope ends.
class CSurfaceLock {
public:
    CSurfaceLock(IDirectDrawSurface7* surface);
    ~CSurfaceLock();
    CSurfaceLock(const CSurfaceLock&) = delete;
    CSurfaceLock& operator=(const CSurfaceLock&) = delete;

    HRESULT result() const { return m_result; }
    // Unlocks now and says how that went; a pattern ends with a failed unlock.
    HRESULT Unlock();
    const DDSURFACEDESC2& desc() const { return m_desc; }
    SurfaceView view() const;
    BYTE* bits() const { return static_cast<BYTE*>(m_desc.lpSurface); }

private:
    IDirectDrawSurface7* m_surface;
    DDSURFACEDESC2 m_desc{};
    HRESULT m_result;
    bool m_locked;
};

}  // namespace video

class D2DTest {
public:
    explicit D2DTest(CVideoModule& module);
    virtual ~D2DTest();
    D2DTest(const D2DTest&) = delete;
    D2DTest& operator=(const D2DTest&) = delete;

    // Sets up the display at width x height x bpp (or a fallback mode, written
    // back); video::kInitOk or a set-up error code.
    int InitDirectDraw(HWND window, int& width, int& height, int& bpp);
    void InitTextFont();

    HRESULT ClearBackBuffer(DWORD colour);
    HRESULT FillBackBuffer(const RECT& area, DWORD colour);
    HRESULT FlipPrimary();
    // Copies `rect` of the front surface into the comparison surface at the same left edge, top 0.
    HRESULT CopyToCompSurface(const RECT& rect);
    void DrawRunningLabel(int x, int y);
    void MeasureVideoMemory();
    // Gives everything back; may run any number of times.
    void Release();

    // Whether `hr` came from a display another window has taken (video::DisplayLost).
    bool DisplayLost(HRESULT hr) const;
    // True once the display is the test's again, its surfaces restored and empty.
    bool DisplayBack() const;

    void AddBadPixel(long position, int& errorBudget) { m_badPixels.AddBadPixel(position, errorBudget); }
    video::CBadPixels& BadPixels() { return m_badPixels; }
    // The latest check's faulty pixels to the launcher and the log.
    void ReportCheckFaults();

    IDirectDrawSurface7* Primary() const { return m_pddsPrimary.Get(); }
    IDirectDrawSurface7* BackBuffer() const { return m_pddsBack.Get(); }
    IDirectDrawSurface7* CompSurface() const { return m_pddsSurfForComp.Get(); }
    const RECT& LabelRect() const { return m_labelRect; }
    DWORD GreenMask16() const { return m_greenMask16; }
    double VideoMemoryMb() const { return m_videoMemoryMb; }
    CVideoModule& Module() const { return m_module; }
    // The mode in use after a successful InitDirectDraw.
    const video::DisplayMode& Mode() const { return m_mode; }

private:
    HRESULT CreatePrimary();
    int CreatePrimaryAgain(int& width, int& height, int& bpp);
    int EnumerateModes();
    void PrepareBlit(IDirectDrawSurface7* surface);
    void FinishBlit(IDirectDrawSurface7* surface);

    CVideoModule& m_module;
    fw::UniqueFont m_labelFont;
    RECT m_labelRect{};
    video::CBadPixels m_badPixels;
    double m_videoMemoryMb = 0;
    DWORD m_greenMask16 = 0x07E0;
    fw::ComPtr<IDirectDraw7> m_pDD;
    fw::ComPtr<IDirectDrawSurface7> m_pddsPrimary;
    fw::ComPtr<IDirectDrawSurface7> m_pddsBack;
    fw::ComPtr<IDirectDrawSurface7> m_pddsSurfForComp;
    HWND m_window = nullptr;
    video::DisplayMode m_mode;
};
