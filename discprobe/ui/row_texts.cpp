#include "row_texts.h"

#include <cstdio>

namespace discprobe {

std::wstring StatusText(TextTable& texts, int mediaState) {
    switch (mediaState) {
    case 0: return texts[key::kDiscInserted];
    case 1: return texts[key::kInvalid];
    case 2: return texts[key::kNoDiscInserted];
    case 3: return texts[key::kDetectingMedia] + L"...";
    default: return {};
    }
}

std::wstring DriveColumnText(const std::wstring& paths, const std::wstring& productId) {
    return L"   " + paths + productId;
}

std::wstring CapacityText(double capacityGB, const std::wstring& unit) {
    wchar_t number[32] = {};
    std::swprintf(number, 32, L"%4.2f", capacityGB);
    return number + (L" " + unit);
}

std::wstring DriveLetterText(const std::wstring& paths) { return paths.substr(0, 1); }

std::wstring SupportedMediaLine(const std::wstring& label, const std::wstring& supportedMedia) {
    if (supportedMedia.empty()) return {};
    return label.empty() ? supportedMedia : label + L" " + supportedMedia;
}

bool IsNextEnabled(int row, int rowCount, bool rowSelected, int mediaState) {
    return row >= 0 && row < rowCount && rowSelected && mediaState == 0;
}

}  // namespace discprobe
