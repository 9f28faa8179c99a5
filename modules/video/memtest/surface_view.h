#pragma once
// A locked surface as plain memory, so that the fill and compare code runs the
// same on a real lock, a test's buffer and a benchmark's.
#include <windows.h>

struct SurfaceView {
    int bitsPerPixel;  // 32 or 16; other depths are neither written nor compared
    LONG pitch;        // bytes from one row to the next
    int width;
    int height;
    void* bits;
};
