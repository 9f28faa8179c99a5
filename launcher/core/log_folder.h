#pragma once
// Where the launcher's logs go, and whether they may be written. The current
// log and the result file share one instance: opening the result file moves
// the logs to the result file's folder.
#include <string>
#include <string_view>

namespace launcher {

class LogFolder {
public:
    // Paths built on the folder ("hwck_log00.txt", "report.tmp") must fit
    // in this many characters, terminator included.
    static constexpr size_t kPathChars = 1024;
    static constexpr size_t kLongestFileName = 14;  // "hwck_log00.txt"

    // Starts at programDir without its trailing backslash + "\QDXlog\".
    explicit LogFolder(const std::wstring& programDir);

    // Takes `folder` with exactly one trailing backslash. An empty folder, or
    // one too long for its file paths, is refused and nothing changes.
    bool Set(std::wstring_view folder);

    const std::wstring& Path() const { return m_folder; }
    int Flag() const { return m_flag; }
    void SetFlag(int flag) { m_flag = flag; }
    // A run whose result folder was refused writes no log at all.
    void SetRefused(bool refused) { m_refused = refused; }
    // Logs and the result file are only written with a folder and flag 1.
    bool Usable() const { return !m_folder.empty() && m_flag == 1 && !m_refused; }

private:
    std::wstring m_folder;
    int m_flag = 1;
    bool m_refused = false;
};

}  // namespace launcher
