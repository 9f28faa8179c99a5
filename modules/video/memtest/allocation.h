#pragma once
// How the video memory test claims free video memory: surfaces of each side,
// largest first, until the driver runs out of video memory at that side or the
// next surface would not fit in the free memory the driver reported.
#include <windows.h>

#include <functional>

namespace memtest {

// `create(side)` makes one side x side surface of `bytesPerPixel` and returns the
// driver's result. Out of video memory, or the bound of `freeBytes`, moves on to
// the next smaller side; any other failure ends the allocation with it. DD_OK
// when every side is done.
HRESULT AllocateLargestFirst(const std::function<HRESULT(int side)>& create, unsigned long long freeBytes,
                             int bytesPerPixel);

}  // namespace memtest
