#pragma once
// State of the loaded module that outlives one run: the folder StartTest was
// given and the tolerance read from video.ini.
#include <windows.h>

#include <string>

// The program folder with its trailing backslash, as StartTest received it.
extern std::wstring ModuleDirectory;
// Number of distinct faulty pixels tolerated by the pixel checks.
extern int iErrorLevel;

namespace video {

constexpr size_t kSettingsPathChars = 512;

// The folder StartTest was given, ending with a backslash as every path built
// on it expects (empty stays empty).
std::wstring ModuleFolderFrom(std::wstring folder);

// ModuleDirectory + "video.ini", cut to fit 512 characters with its terminator;
// empty when the folder is so long that the file name itself would be cut.
std::wstring SettingsPath(const std::wstring& folder);

// The tolerance a value of the file stands for: negative values (and text the
// platform's reader reads as one) tolerate nothing.
int ErrorLevelFromSetting(UINT value);

}  // namespace video

// Reads iErrorLevel from [SETTINGS] of video.ini beside the module (default 0).
void LoadSettings();
