#pragma once
// The launcher cannot start without some of its libraries: it says which one
// and ends with exit code 1, so that an unattended line sees the fault.
#include <windows.h>
#include <string>

#include "framework/unique_resource.h"

namespace launcher {

constexpr int kCannotStartExitCode = 1;

// A box naming the library at `path` (none when unattended); `role` says what it
// is for. The text is English: the language library may be the very one that is missing.
void ReportMissingLibrary(HWND owner, bool unattended, const std::wstring& role, const std::wstring& path);

// The launcher's language library at `path` when it can serve: it loads and
// holds the templates of the launcher's windows. Null when it is missing or damaged.
fw::UniqueModule LoadUserInterfaceLibrary(const std::wstring& path);

}  // namespace launcher
