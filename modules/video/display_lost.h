#pragma once
// A full-screen test loses the display when another window takes the focus (a
// notification, a UAC prompt, Alt+Tab): DirectDraw then answers
// DDERR_SURFACELOST. That is no fault of the hardware.
#include <windows.h>
#include <ddraw.h>

namespace video {

// Whether `hr`, which ended a step, came from a display that is not the test's
// now. E_FAIL is a check that found faults in what the test itself drew.
inline bool DisplayLost(IDirectDraw7* directDraw, HRESULT hr) {
    if (hr == DDERR_SURFACELOST) return true;
    if (!FAILED(hr) || hr == E_FAIL || !directDraw) return false;
    const HRESULT level = directDraw->TestCooperativeLevel();
    return level == DDERR_NOEXCLUSIVEMODE || level == DDERR_EXCLUSIVEMODEALREADYSET || level == DDERR_WRONGMODE;
}

// True once the exclusive mode is back and every surface has its memory again
// (what they held is gone).
inline bool DisplayBack(IDirectDraw7* directDraw) {
    return directDraw && directDraw->TestCooperativeLevel() == DD_OK && SUCCEEDED(directDraw->RestoreAllSurfaces());
}

}  // namespace video
