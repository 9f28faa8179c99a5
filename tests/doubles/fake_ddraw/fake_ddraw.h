#pragma once
// Our own IDirectDraw7 and IDirectDrawSurface7 for the video module's tests,
// handed to the module through its DirectDraw factory. Surfaces are plain DIB
// sections, so GDI drawing through GetDC, colour fills, flips, fast blits and
// locks act on real memory and a test can read back exactly what was drawn.
//
// A test scripts the display in FakeDisplay before the module runs: the modes
// and their answers, failing creations, lost surfaces, "still drawing"
// answers, the 16-bit green mask, the video memory sizes and stuck bits. Every
// call the module made that a test may want to check is recorded.
#include <windows.h>
#include <ddraw.h>

#include <deque>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "ddraw_factory.h"

namespace fakeddraw {

struct Mode {
    DWORD width = 0;
    DWORD height = 0;
    DWORD bpp = 0;
    auto operator<=>(const Mode&) const = default;
};

// Memory cells of one surface that read 0 or 1 whatever was written.
// `surface` is the surface's creation number in the display (1 = the first
// surface created through any of its DirectDraw objects; a primary's attached
// back buffer takes the number after its primary). The masks apply to the
// pixel value at (x, y); 24-bit pixels as B, G, R bytes of the value.
struct StuckBits {
    int surface = 0;
    DWORD x = 0;
    DWORD y = 0;
    DWORD stuckAtZero = 0;  // bits that always read 0
    DWORD stuckAtOne = 0;   // bits that always read 1
};

// Answers taken in turn; once none are left, `otherwise`.
struct Answers {
    std::deque<HRESULT> queue;
    HRESULT otherwise = DD_OK;
    HRESULT Next() {
        if (queue.empty()) return otherwise;
        HRESULT hr = queue.front();
        queue.pop_front();
        return hr;
    }
};

struct FakeDisplay {
    // The desktop mode, current until a mode is set.
    Mode desktop{1024, 768, 32};
    // What EnumDisplayModes lists, in this order.
    std::vector<Mode> modes{{640, 480, 16}, {640, 480, 32}, {800, 600, 16}, {800, 600, 32},
                            {1024, 768, 16}, {1024, 768, 32}};
    HRESULT enumResult = DD_OK;

    Answers create;        // DirectDraw object creation
    Answers cooperative;   // SetCooperativeLevel
    // SetDisplayMode answers per mode; a mode without answers is accepted.
    std::map<Mode, Answers> modeAnswers;
    Answers primary;       // CreateSurface of a primary surface
    Answers backBuffer;    // GetAttachedSurface
    Answers systemMemory;  // CreateSurface of a system-memory surface
    Answers videoMemory;   // CreateSurface of an off-screen video-memory surface (before the size check)
    Answers flip;          // Flip
    Answers bltFast;       // BltFast
    Answers lock;          // Lock
    Answers unlock;        // Unlock
    Answers cooperativeTest;  // TestCooperativeLevel: DD_OK while the display is the test's
    int lostTimes = 0;     // IsLost reports a lost surface this many times
    int stillDrawingTimes = 0;  // GetBltStatus answers DDERR_WASSTILLDRAWING this many times

    DWORD greenMask16 = 0x07E0;  // reported by 16-bit surfaces (memory is always 5-6-5)
    // GetAvailableVidMem totals (no non-local memory); video-memory surfaces are taken from the local amount.
    DWORD localVideoMemory = 64u << 20;
    DWORD totalVideoMemory = 64u << 20;
    bool videoMemoryNeverRunsOut = false;  // creation ignores the local amount

    std::vector<StuckBits> stuck;
};

// What the module did.
struct DisplayRecord {
    std::vector<Mode> modeRequests;  // every SetDisplayMode, accepted or not
    Mode current;                    // the display mode now
    int restores = 0;                // Restore calls
    int restoreAllSurfaces = 0;
    int restoreDisplayMode = 0;
    std::vector<DWORD> cooperativeLevels;
    HWND exclusiveWindow = nullptr;
    int modeRestoredWithoutWindow = 0;  // RestoreDisplayMode after the exclusive window was gone
    int surfacesCreated = 0;
    DWORD videoMemoryInUse = 0;
    int liveObjects = 0;  // DirectDraw objects and surfaces not yet released
};

struct DisplayState;

class FakeDirectDrawFactory final : public video::IDirectDrawFactory {
public:
    FakeDirectDrawFactory();
    ~FakeDirectDrawFactory() override;

    HRESULT Create(fw::ComPtr<IDirectDraw7>& out) override;

    FakeDisplay& display();
    const DisplayRecord& record() const;

private:
    std::shared_ptr<DisplayState> m_state;
};

}  // namespace fakeddraw
