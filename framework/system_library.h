#pragma once
// Platform libraries come from the system folder only: the program folder may
// be a copy that a standard user can write to, and the process runs elevated.
#include <windows.h>

namespace fw {

// `name` (such as L"ddraw.dll") loaded from the system folder, or null. Where
// the loader cannot restrict the search (a system without that update), the
// system folder's full path is loaded instead.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace fw
