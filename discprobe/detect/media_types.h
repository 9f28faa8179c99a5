#pragma once
// What an inserted medium is: its type code, display name and nominal capacity.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace discprobe {

// A 32-bit code: below 0x4C an MMC profile number, 0x4C to 0x55 a medium
// recognised from its disc structure, 0 when the type could not be determined.
enum TMediaType : std::uint32_t {
    MEDIA_TYPE_UNKNOWN = 0x00,
    MEDIA_PROFILE_DVD_ROM = 0x10,
    MEDIA_PROFILE_DVD_PLUS_R_DL = 0x2B,
    MEDIA_PROFILE_BD_ROM = 0x40,
    MEDIA_PROFILE_BD_R = 0x41,
    MEDIA_DVD_PLUS_R = 0x4C,
    MEDIA_DVD_PLUS_R_DL = 0x4D,
    MEDIA_DVD_DASH_R = 0x4E,
    MEDIA_DVD_DASH_R_DL = 0x4F,
    MEDIA_BD_R = 0x50,
    MEDIA_BD_R_DL = 0x51,
    MEDIA_BD_RE = 0x52,
    MEDIA_BD_RE_DL = 0x53,
    MEDIA_BD_R_XL = 0x54,
    MEDIA_BD_RE_XL = 0x55,
};
static_assert(sizeof(TMediaType) == 4);

// The inserted medium as the dialog shows it.
struct TMediaInfo {
    std::wstring typeName;  // empty when the type is not known
    double capacityGB = 0.0;
};

// Display name of a type; empty for a code the name table does not hold.
std::wstring_view MediaName(TMediaType type);

// Nominal capacities in GB, built afresh with every probe; an unknown code
// is added with 0.0 when looked up.
class CCapacityTable {
public:
    CCapacityTable();
    double Capacity(TMediaType type);

private:
    std::map<TMediaType, double> m_table;
};

// Supported-media text of a drive: its profile numbers plus what the Blu-ray
// write check found (0 none, 1 BD-R DL writing, 2 also BD-RE DL), named once
// each in ascending order and joined with ", ".
std::wstring SupportedMediaText(std::span<const long> profiles, int bluRayWriteResult);

}  // namespace discprobe
