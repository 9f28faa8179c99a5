#pragma once
// What the sub-tests read from the machine besides the graphics devices: the
// primary screen's size and orientation, and the pauses between their steps.
// Tests give the module a platform of their own (a portrait screen, no waiting).
#include <windows.h>

namespace video {

struct ScreenSize {
    int width = 0;
    int height = 0;
};

class IVideoPlatform {
public:
    virtual ~IVideoPlatform() = default;
    // The primary display's metrics at this moment.
    virtual ScreenSize Screen() = 0;
    // The current display settings' orientation: 0 landscape, 1, 2, 3 rotated by 90, 180, 270 degrees.
    virtual DWORD DisplayOrientation() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

IVideoPlatform& SystemVideoPlatform();

}  // namespace video
