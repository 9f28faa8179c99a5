#pragma once
// The texts of the video memory test: the detail of a failing pixel, the
// closing line of a clean run and the progress line of the progress screen.
#include <cstdint>
#include <string>

#include "../bounded_text.h"

namespace memtest {

using DetailText = CBoundedText<500>;

// The language texts the detail is made of (string ids 126 to 131).
struct DetailLabels {
    std::wstring section, sectionSize, offset, write, read, local;
};

struct FailingPixel {
    int surfaceNumber;
    long width, height, bitsPerPixel;
    long position;
    std::uint32_t written;
    std::uint32_t read;
};

void AppendFailureDetail(DetailText& text, const DetailLabels& labels, const FailingPixel& pixel);
// "<verified>M /<allocated>M <tested>" with two decimals each.
void AppendTestedLine(DetailText& text, double verifiedMegabytes, double allocatedMegabytes, const std::wstring& tested);

constexpr int kProgressCells = 30;

// Cells done after pattern `patternIndex` of a surface of `surfaceMegabytes`.
int ProgressCellsDone(int patternIndex, double surfaceMegabytes, double verifiedMegabytes, double allocatedMegabytes);
// `done` times ">> ", the rest of the 30 cells as `emptyCell`, then one blank.
std::wstring ProgressLine(int done, const std::wstring& emptyCell);

}  // namespace memtest
