#pragma once
// The log of a run: hwck_log00.txt in the log folder with up to 98 older
// generations, written as UTF-16 text exactly as the runner and the modules
// send it, and the history entry written when the run ends.
#include <string>
#include <string_view>

#include "framework/unique_resource.h"
#include "history.h"
#include "log_folder.h"

namespace launcher {

constexpr int kLogGenerations = 99;  // hwck_log00.txt .. hwck_log98.txt

// The log file of one generation in `folder` (which ends with a backslash).
std::wstring LogGenerationPath(const std::wstring& folder, int generation);

struct LogHeader {
    std::wstring runTitle;
    std::wstring runDate;
    std::wstring modelName;
};
// "[title]", the run date and the model name, then an empty line.
std::wstring FormatLogHeader(const LogHeader& header);

class CurrentLog {
public:
    explicit CurrentLog(LogFolder& folder) : m_folder(folder) {}

    // Prepares the run's log in the log folder: rotates the generations and
    // starts hwck_log00.txt with its byte-order mark, and the run's header
    // once a run has given one. While this run's log is open it is kept: one
    // log per run, whichever of its modules asks.
    void SetSusResLog();
    // Switches the logs to `folder` and opens its hwck_log00.txt, unless a log
    // is already open. A folder too long for its paths is refused (false).
    bool SetSusResLog(std::wstring_view folder);

    void WriteLog(std::wstring_view text);
    // Written now, or, while no log is open, when the run's log opens (only
    // the latest such text waits: a burn-in's cycle line comes before its first module).
    void WriteLogWhenOpen(std::wstring_view text);
    // Restarts the log with a fresh header; only a flag of 1 does anything.
    void ClearCurrentLog(int flag);
    int GetLogReady() const { return m_ready; }
    // Closes and reopens the log so that other readers see what was written.
    void SaveCurrentLog();

    // Remembers the header of the run (also used by ClearCurrentLog and the
    // history) and writes it when the log is open.
    void WriteHeader(const LogHeader& header);
    // The end of a run: when a log is open, closes it and adds the run to the history.
    void CloseAndWriteHistory(const std::wstring& resultText);

    bool IsOpen() const { return static_cast<bool>(m_file); }
    const std::wstring& LogPath() const { return m_logPath; }
    const std::wstring& HistoryPath() const { return m_historyPath; }

private:
    // Opens the log path for writing, continuing at its end.
    void ReopenForAppend();
    void WriteWaiting();

    LogFolder& m_folder;
    std::wstring m_logPath;
    std::wstring m_historyPath;
    fw::UniqueFile m_file;
    int m_ready = 1;
    LogHeader m_header;
    bool m_headerGiven = false;
    std::wstring m_waiting;  // for the log that is not open yet
};

}  // namespace launcher
