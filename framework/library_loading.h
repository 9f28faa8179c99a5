#pragma once
// Library loading for programs that run elevated from a folder their user may
// write to: a library named without a path never comes from the program folder.
#include <windows.h>
#include <string>

namespace fw {

// Libraries loaded by name are searched for in the system folder only, where
// the platform can restrict it; elsewhere the current folder leaves the search.
void RestrictLibrarySearch() noexcept;

// A platform library by its name, from the system folder.
HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;

// One of the suite's libraries or a test module, by its full path; what it
// imports comes from its own folder, then from the system folder.
HMODULE LoadLibraryAt(const std::wstring& path) noexcept;

}  // namespace fw
