#pragma once
#include <windows.h>
#include <string>

namespace fw {

// Full path of a loaded module (null: the process executable).
std::wstring ModuleFileName(HMODULE module);

// Everything up to and including the last backslash of `path`.
std::wstring FolderOf(const std::wstring& path);

bool PathExists(const std::wstring& path);

}  // namespace fw
