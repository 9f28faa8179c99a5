#include "allocation.h"

#include <ddraw.h>

#include "memory_patterns.h"

namespace memtest {

HRESULT AllocateLargestFirst(const std::function<HRESULT(int side)>& create) {
    for (const int side : kSurfaceSides) {
        HRESULT hr;
        while (SUCCEEDED(hr = create(side))) {
        }
        if (hr != DDERR_OUTOFVIDEOMEMORY) return hr;
    }
    return DD_OK;
}

}  // namespace memtest
