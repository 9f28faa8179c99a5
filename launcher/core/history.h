#pragma once
// The run history in report.tmp: a private-profile file in UTF-16 with the
// newest run in HISTORY_0 and at most 99 runs.
#include <string>

namespace launcher {

constexpr wchar_t kHistoryFileName[] = L"report.tmp";

// The result texts of the history (strings 140, 141 and 142).
struct HistoryTexts {
    std::wstring stopped;
    std::wstring passed;
    std::wstring failed;
};
const std::wstring& HistoryResultText(const HistoryTexts& texts, bool userStopped, int runResult);

struct HistoryEntry {
    std::wstring date;
    std::wstring result;  // run title, two tabs, result text
};

class RunHistory {
public:
    static constexpr int kMaxEntries = 99;
    static constexpr size_t kValueChars = 100;  // read buffer; a value keeps at most 99 characters

    explicit RunHistory(std::wstring path) : m_path(std::move(path)) {}

    // A new file gets FF FE first, so that the profile writer stores UTF-16.
    bool CreateIfMissing() const;

    int Count() const;
    HistoryEntry Entry(int index) const;
    // Shifts the entries down by one (dropping the 99th) and writes the run as HISTORY_0.
    void Add(const std::wstring& runDate, const std::wstring& runTitle, const std::wstring& resultText) const;

private:
    std::wstring Read(int index, const wchar_t* key) const;
    void Write(int index, const wchar_t* key, const std::wstring& value) const;

    std::wstring m_path;
};

}  // namespace launcher
