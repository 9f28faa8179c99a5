#include "module_globals.h"

#include <windows.h>

#include <climits>

std::wstring ModuleDirectory;
int iErrorLevel = 0;

namespace video {

namespace {
constexpr wchar_t kSettingsFile[] = L"video.ini";
}

std::wstring ModuleFolderFrom(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder;
}

std::wstring SettingsPath(const std::wstring& folder) {
    std::wstring path = folder + kSettingsFile;
    if (path.size() >= kSettingsPathChars) return {};
    return path;
}

int ErrorLevelFromSetting(UINT value) {
    // The reader hands back a signed number as its UINT bit pattern.
    int level = static_cast<int>(value);
    return level < 0 ? 0 : level;
}

}  // namespace video

void LoadSettings() {
    std::wstring path = video::SettingsPath(ModuleDirectory);
    iErrorLevel = path.empty() ? 0
                               : video::ErrorLevelFromSetting(
                                     ::GetPrivateProfileIntW(L"SETTINGS", L"iErrorLevel", 0, path.c_str()));
}
