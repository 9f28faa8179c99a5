#pragma once
#include <windows.h>
#include <string>

namespace fw {

// Full path of a loaded module (null: the process executable).
std::wstring ModuleFileName(HMODULE module);

// Everything up to and including the last backslash of `path`.
std::wstring FolderOf(const std::wstring& path);

bool PathExists(const std::wstring& path);

// The platform's folder `id` (FOLDERID_ProgramData, ...) without a trailing
// backslash; empty when the platform does not know it. Environment variables
// are not asked: whoever starts a process chooses them.
std::wstring KnownFolder(const GUID& id);

}  // namespace fw
