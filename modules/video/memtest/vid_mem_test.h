#pragma once
// Video Test #2: claims all free local video memory as off-screen surfaces at
// 800x600, writes 18 patterns into each, copies each into system memory and
// compares every pixel. Shows its progress on the test window meanwhile.
#include <windows.h>
#include <ddraw.h>

#include <functional>
#include <string>
#include <vector>

#include "bad_pixel_list.h"
#include "ddraw_factory.h"
#include "framework/com.h"
#include "memtest_text.h"
#include "../pixel_check.h"

namespace memtest {

constexpr int kSetUpOk = 10;
// Run's answer when another window took the display and did not give it back.
constexpr HRESULT kDisplayNotBack = DDERR_SURFACELOST;

class VidMemTest {
public:
    // `sleep` waits between the steps (tests pass one that does not).
    VidMemTest(video::IDirectDrawFactory& directDraw, std::function<void(DWORD)> sleep);
    virtual ~VidMemTest();
    VidMemTest(const VidMemTest&) = delete;
    VidMemTest& operator=(const VidMemTest&) = delete;

    // kSetUpOk or a set-up error code (201 to 206, 209, 215).
    int SetUp(HWND window, int width, int height, int bitsPerPixel);
    // 0 when all memory claimed was verified; E_FAIL when more faulty pixels were
    // found than `errorLevel` tolerates; otherwise the DirectDraw failure that
    // ended the run. `detail` receives the closing line or what failed. A
    // display taken by another window takes the video memory with it: once
    // `displayBack` (which waits) says it is back, the pattern is written and
    // checked again; kDisplayNotBack when it says no.
    HRESULT Run(HWND window, DetailText& detail, int errorLevel, const std::function<bool()>& displayBack = {});
    // True once the display is the test's again, its surfaces restored and empty.
    bool DisplayBack() const;
    // Receives each surface check's faulty pixels (the copy's values, its depth)
    // as soon as the check is done; a check without faults is not reported.
    using FaultReporter = std::function<void(const video::CheckFaults&, int width, int height, int bitsPerPixel)>;
    void OnFaults(FaultReporter report) { m_onFaults = std::move(report); }
    // Leaves full screen and releases every DirectDraw object; safe to repeat.
    void Release();

    int SurfaceDepth() const { return m_surfaceDepth; }
    double MegabytesAllocated() const { return m_megabytesAllocated; }

private:
    struct SurfaceRecord {
        fw::ComPtr<IDirectDrawSurface7> surface;
        int width;
        int height;
        int memoryKind;
    };

    HRESULT Allocate(DetailText& detail);
    HRESULT FillAndVerify(const SurfaceRecord& record, std::wstring& failedCall);
    HRESULT CopyToReadBack(const SurfaceRecord& record, std::wstring& failedCall);
    void DrawProgress(HDC dc, const SurfaceRecord& record);

    std::function<void(DWORD)> m_sleep;
    FaultReporter m_onFaults;
    video::IDirectDrawFactory& m_factory;
    CBadPixelList m_badPixels;
    int m_errorBudget = 0;
    bool m_nonLocalVideoMemory = false;
    int m_memoryKind = 1;  // local video memory
    int m_surfaceCounter = 0;
    int m_patternIndex = 0;
    float m_megabytesVerified = 0;
    HWND m_window = nullptr;
    SIZE m_desktop{};  // the screen before the test changed its mode
    int m_surfaceDepth = 0;
    int m_modeDepth = 32;  // of the display mode set up: what the free memory is counted in
    std::uint32_t m_pattern32 = 0;
    std::uint16_t m_pattern16 = 0;
    std::uint32_t m_failingValue = 0;
    int m_failingPosition = 0;
    double m_megabytesAllocated = 0;
    std::vector<SurfaceRecord> m_surfaces;  // in allocation order
    fw::ComPtr<IDirectDrawSurface7> m_readBack;
    fw::ComPtr<IDirectDraw7> m_directDraw;
};

}  // namespace memtest
