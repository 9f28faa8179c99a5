#include "allocation.h"

#include <ddraw.h>

#include "memory_patterns.h"

namespace memtest {

HRESULT AllocateLargestFirst(const std::function<HRESULT(int side)>& create, unsigned long long freeBytes,
                             int bytesPerPixel) {
    unsigned long long claimed = 0;
    for (const int side : kSurfaceSides) {
        const unsigned long long surfaceBytes = 1ULL * side * side * bytesPerPixel;
        // A driver that never answers "out of video memory" stops here, not when the process is exhausted.
        for (; claimed + surfaceBytes <= freeBytes; claimed += surfaceBytes) {
            const HRESULT hr = create(side);
            if (hr == DDERR_OUTOFVIDEOMEMORY) break;
            if (FAILED(hr)) return hr;
        }
    }
    return DD_OK;
}

}  // namespace memtest
