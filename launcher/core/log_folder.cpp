#include "log_folder.h"

namespace launcher {

LogFolder::LogFolder(const std::wstring& programDir) {
    std::wstring folder = programDir;
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    Set(folder + L"\\QDXlog\\");
}

bool LogFolder::Set(std::wstring_view folder) {
    while (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
    if (folder.empty() || folder.size() + 1 + kLongestFileName >= kPathChars) return false;
    m_folder.assign(folder);
    m_folder += L'\\';
    return true;
}

}  // namespace launcher
