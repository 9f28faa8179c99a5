#pragma once
// The texts the checker's lists show for a drive and its medium.
#include <string>

#include "lang_texts.h"

namespace discprobe {

// Column 1 of the drive list for a media state (0 usable, 1 not usable, 2 none,
// 3 becoming ready); empty for any other value.
std::wstring StatusText(TextTable& texts, int mediaState);

// Column 0 of the drive list: "   " + paths + product.
std::wstring DriveColumnText(const std::wstring& paths, const std::wstring& productId);

// "4.70 GB": the nominal capacity with two decimals and the unit text.
std::wstring CapacityText(double capacityGB, const std::wstring& unit);

// The drive letter shown on the information page: the paths' first character.
std::wstring DriveLetterText(const std::wstring& paths);

// Area 1004 under the status line: the label, then what the drive supports;
// empty when the drive reports nothing.
std::wstring SupportedMediaLine(const std::wstring& label, const std::wstring& supportedMedia);

// Next is enabled for a valid, selected row whose medium is usable.
bool IsNextEnabled(int row, int rowCount, bool rowSelected, int mediaState);

}  // namespace discprobe
