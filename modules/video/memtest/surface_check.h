#pragma once
// Writing one pattern into a surface and checking its copy pixel by pixel.
#include <cstdint>

#include "bad_pixel_list.h"
#include "../pixel_check.h"
#include "surface_view.h"

namespace memtest {

// Every pixel of the view becomes `pattern` (its low 16 bits on a 16-bit surface).
void FillPattern(const SurfaceView& surface, std::uint32_t pattern);

struct CompareOutcome {
    bool budgetExhausted = false;
    int position = 0;             // x + y * pitch in pixels of the failing pixel
    std::uint32_t valueRead = 0;  // what that pixel held
};

// Compares the top-left width x height pixels of `copy` with `pattern`. A pixel
// that differs and is new to `faults` takes one from `budget`; the check stops at
// the pixel that takes the budget below zero. Every differing pixel compared
// goes to `found` too, when given.
CompareOutcome ComparePattern(const SurfaceView& copy, int width, int height, std::uint32_t pattern,
                              int surfaceNumber, CBadPixelList& faults, int& budget, video::CheckFaults* found = nullptr);

}  // namespace memtest
