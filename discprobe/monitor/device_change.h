#pragma once
// Which device-change broadcasts rebuild the drive list: a CD-ROM volume
// arriving, or a listed drive's volume going away. Media changes carry flags
// and are left to the monitor thread.
#include <windows.h>
#include <dbt.h>
#include <functional>
#include <string>
#include <vector>

namespace discprobe {

// "E:\" for the lowest drive bit of a unit mask (bit 0 = A); empty for no bit.
std::wstring RootOfUnitMask(DWORD unitMask);

using DriveTypeFn = std::function<UINT(const std::wstring& root)>;

// True when the broadcast (`event`, `header` as WM_DEVICECHANGE carries them)
// asks for a rebuild. `listedPaths` are the paths texts of the listed drives.
bool IsDriveListChange(WPARAM event, const DEV_BROADCAST_HDR* header, const std::vector<std::wstring>& listedPaths,
                       const DriveTypeFn& driveType);

// The platform's drive type of a root.
UINT PlatformDriveType(const std::wstring& root);

}  // namespace discprobe
