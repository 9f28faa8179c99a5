#pragma once
// How the video memory test claims free video memory: surfaces of each side,
// largest first, until the driver runs out of video memory at that side.
#include <windows.h>

#include <functional>

namespace memtest {

// `create(side)` makes one side x side surface and returns the driver's result.
// Out of video memory moves on to the next smaller side; any other failure ends
// the allocation with it. DD_OK when every side ran out of memory.
HRESULT AllocateLargestFirst(const std::function<HRESULT(int side)>& create);

}  // namespace memtest
