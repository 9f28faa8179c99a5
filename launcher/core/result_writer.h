#pragma once
// Writes the verdicts of a run into qdx_result.xml: one Test element per test
// with the SubTest lines reported before it, each followed by the closing tag.
// The file is closed at the end of the run so that the next run can open it again.
#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log_folder.h"
#include "result_file.h"

namespace launcher {

// The local time now; nothing when the platform cannot convert it.
using LocalTimeSource = std::function<std::optional<SYSTEMTIME>()>;
std::optional<SYSTEMTIME> CurrentLocalTime();

// "%4d/%02d/%02d %02d:%02d:%02d"; without a time the date fields show 0 and
// the time fields -1.
std::wstring FormatResultDateTime(const std::optional<SYSTEMTIME>& time);

// 1 "Pass", 2 "Stopped", 3 "Fail"; any other index counts as a failure.
const wchar_t* ResultText(int resultIndex);

class ResultXmlWriter {
public:
    static constexpr size_t kMaxPendingSubTests = 39;

    explicit ResultXmlWriter(LocalTimeSource clock = CurrentLocalTime) : m_clock(std::move(clock)) {}

    // The start of a run: with a usable log folder, opens the result file
    // without sharing and moves the log folder to the result file's folder.
    void OpenResultFile(LogFolder& logFolder);
    // One Test element with the SubTest lines pending since the last one.
    void WriteXml(std::wstring_view name, int resultIndex);
    // Number 0 stands for the next number. Reports beyond the 39th before a
    // WriteXml are counted but not written.
    void WriteXmlSub(int number, int resultIndex);
    // The end of a run: closes the file, whose closing tag is written already.
    void CloseResultFile();

    bool IsOpen() const { return m_file.IsOpen(); }
    int SubTestCount() const { return m_subTestCount; }
    int WorstSubTestResult() const { return m_worstSubTestResult; }

private:
    LocalTimeSource m_clock;
    ResultFile m_file;
    std::vector<std::wstring> m_pendingSubTests;
    int m_subTestCount = 0;
    int m_worstSubTestResult = 0;
};

}  // namespace launcher
