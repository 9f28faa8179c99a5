#pragma once
// The checker's texts in lang.xml: one child element of <DiscProbe> (under the
// root element, whatever its name) per key.
#include <array>
#include <map>
#include <string>

#include "xml/xml_parser.h"

namespace discprobe {

// Key -> text; operator[] gives a missing key an empty text.
using TextTable = std::map<std::wstring, std::wstring>;

namespace key {
inline constexpr wchar_t kTitle[] = L"Title";
inline constexpr wchar_t kSubTile1[] = L"SubTile1";
inline constexpr wchar_t kCheckMediaIn[] = L"CheckMediaIn";
inline constexpr wchar_t kNoDiscInserted[] = L"NoDiscInserted";
inline constexpr wchar_t kDetectingMedia[] = L"DetectingMedia";
inline constexpr wchar_t kDiscInserted[] = L"DiscInserted";
inline constexpr wchar_t kInvalid[] = L"Invalid";
inline constexpr wchar_t kSupportedTypes[] = L"SupportedTypes";
inline constexpr wchar_t kNoDrive[] = L"NoDrive";
inline constexpr wchar_t kNextButton[] = L"NextButton";
inline constexpr wchar_t kCancelButton[] = L"CancelButton";
inline constexpr wchar_t kSubTile2[] = L"SubTile2";
inline constexpr wchar_t kDriveInfo[] = L"DriveInfo";
inline constexpr wchar_t kMediaType[] = L"MediaType";
inline constexpr wchar_t kMediaSize[] = L"MediaSize";
inline constexpr wchar_t kDriveLetter[] = L"DriveLetter";
inline constexpr wchar_t kDriveName[] = L"DriveName";
inline constexpr wchar_t kVendorName[] = L"VendorName";
inline constexpr wchar_t kFirmware[] = L"Firmware";
inline constexpr wchar_t kOKButton[] = L"OKButton";
inline constexpr wchar_t kSizeGB[] = L"SizeGB";
inline constexpr wchar_t kInsertBlankDisc[] = L"InsertBlankDisc";
}  // namespace key

// The order the dialog reads its texts in: a missing key takes the text read
// just before it, so the order is part of what a translator sees.
inline constexpr std::array<const wchar_t*, 21> kDialogTextKeys = {
    key::kSubTile1,   key::kCheckMediaIn, key::kNoDiscInserted, key::kDetectingMedia, key::kDiscInserted,
    key::kInvalid,    key::kSupportedTypes, key::kNoDrive,     key::kNextButton,     key::kCancelButton,
    key::kSubTile2,   key::kDriveInfo,    key::kMediaType,      key::kMediaSize,      key::kDriveLetter,
    key::kDriveName,  key::kVendorName,   key::kFirmware,       key::kOKButton,       key::kSizeGB,
    key::kInsertBlankDisc,
};

// The application name: <DiscProbe><Title>; empty when either is missing.
std::wstring ReadTitle(const xml::CXMLParser& parser, IXMLDOMElement* root);

// Every dialog text in kDialogTextKeys order; no <DiscProbe> gives empty texts.
TextTable ReadDialogTexts(const xml::CXMLParser& parser, IXMLDOMElement* root);

}  // namespace discprobe
