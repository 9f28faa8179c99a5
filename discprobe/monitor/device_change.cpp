#include "device_change.h"

#include <algorithm>

namespace discprobe {

std::wstring RootOfUnitMask(DWORD unitMask) {
    for (int bit = 0; bit < 26; ++bit)
        if (unitMask & (1u << bit)) return {static_cast<wchar_t>(L'A' + bit), L':', L'\\'};
    return {};
}

bool IsDriveListChange(WPARAM event, const DEV_BROADCAST_HDR* header, const std::vector<std::wstring>& listedPaths,
                       const DriveTypeFn& driveType) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return false;
    if (!header || header->dbch_devicetype != DBT_DEVTYP_VOLUME) return false;
    const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header);
    std::wstring root = RootOfUnitMask(volume->dbcv_unitmask);
    if (event == DBT_DEVICEARRIVAL) {
        if (driveType(root) != DRIVE_CDROM) return false;
    } else if (std::find(listedPaths.begin(), listedPaths.end(), root) == listedPaths.end()) {
        return false;
    }
    return volume->dbcv_flags == 0;
}

UINT PlatformDriveType(const std::wstring& root) { return ::GetDriveTypeW(root.c_str()); }

}  // namespace discprobe
