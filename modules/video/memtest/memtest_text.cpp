#include "memtest_text.h"

#include <cmath>

#include "memory_patterns.h"

namespace memtest {

void AppendFailureDetail(DetailText& text, const DetailLabels& labels, const FailingPixel& pixel) {
    text.Append(L"%ls%d\r\n", labels.section.c_str(), pixel.surfaceNumber);
    text.Append(L"%ls\r\n", labels.local.c_str());
    text.Append(L"%ls(%ld*%ld*%ld)\r\n", labels.sectionSize.c_str(), pixel.width, pixel.height, pixel.bitsPerPixel);
    text.Append(L"%ls%ld\r\n", labels.offset.c_str(), pixel.position);
    const wchar_t* value = pixel.bitsPerPixel == 16 ? L"%ls0x%.4X\r\n" : L"%ls0x%.8X\r\n";
    text.Append(value, labels.write.c_str(), static_cast<unsigned>(pixel.written));
    text.Append(value, labels.read.c_str(), static_cast<unsigned>(pixel.read));
}

void AppendTestedLine(DetailText& text, double verifiedMegabytes, double allocatedMegabytes, const std::wstring& tested) {
    text.Append(L"%.2fM /%.2fM %ls\r\n", verifiedMegabytes, allocatedMegabytes, tested.c_str());
}

int ProgressCellsDone(int patternIndex, double surfaceMegabytes, double verifiedMegabytes, double allocatedMegabytes) {
    if (allocatedMegabytes <= 0) return 0;
    const double done = ((patternIndex + 1) * surfaceMegabytes / kPatternCount + verifiedMegabytes) /
                        (allocatedMegabytes / kProgressCells);
    return static_cast<int>(std::floor(done));
}

std::wstring ProgressLine(int done, const std::wstring& emptyCell) {
    std::wstring line;
    for (int i = 0; i < done && i < kProgressCells; ++i) line += L">> ";
    for (int i = done < 0 ? 0 : done; i < kProgressCells; ++i) line += emptyCell;
    return line + L" ";
}

}  // namespace memtest
