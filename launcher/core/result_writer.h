#pragma once
// Writes the verdicts of a run into qdx_result.xml: one Test element per test
// with the SubTest lines reported before it, each followed by the closing tag.
// A test under way stands in the file from its first sub-result on, as failed
// (a test that has not finished has not passed), rewritten with each further
// sub-result; a crash leaves it so. Its verdict writes it a last time and
// goes to the event sink. The file is closed at the end of the run so that
// the next run can open it again.
#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log_folder.h"
#include "result_file.h"
#include "verdict_events.h"

namespace launcher {

// Result indexes of the result file.
constexpr int kResultPass = 1;
constexpr int kResultStopped = 2;
constexpr int kResultFail = 3;

// The local time now; nothing when the platform cannot convert it.
using LocalTimeSource = std::function<std::optional<SYSTEMTIME>()>;
std::optional<SYSTEMTIME> CurrentLocalTime();

// "%4d/%02d/%02d %02d:%02d:%02d"; without a time the date fields show 0 and
// the time fields -1.
std::wstring FormatResultDateTime(const std::optional<SYSTEMTIME>& time);

// 1 "Pass", 2 "Stopped", 3 "Fail"; any other index counts as a failure.
const wchar_t* ResultText(int resultIndex);

// Why a refused folder is not used, for the event log (English).
std::wstring RefusalReason(const SecureFolder& folder);
// The same for the page, from the language library's texts: `linkText` with
// %1 the folder, or `ownerText` with %1 the folder and %2 its owner.
std::wstring RefusalNote(const SecureFolder& folder, std::wstring linkText, std::wstring ownerText);

using ResultFolderSource = std::function<SecureFolder()>;

// At start-up without the language library: the stopped record, or an event
// that says why the folder was refused; an oversized file set aside says so too.
void RecordStoppedStart();

class ResultXmlWriter {
public:
    static constexpr size_t kMaxPendingSubTests = 39;

    explicit ResultXmlWriter(IVerdictSink& verdicts, LocalTimeSource clock = CurrentLocalTime,
                             ResultFolderSource folders = ResultFolder)
        : m_verdicts(verdicts), m_clock(std::move(clock)), m_folders(std::move(folders)) {}

    // The start of a run: with a usable log folder, opens the result file
    // (others may read it) and moves the log folder to the result file's folder.
    // A refused folder leaves the run without result file and log, and says
    // why to the event sink; Refusal() then tells the page.
    void OpenResultFile(LogFolder& logFolder);
    const SecureFolder* Refusal() const { return m_folder.Refused() ? &m_folder : nullptr; }
    // The run's result folder with a trailing backslash; empty when it could not be used.
    const std::wstring& Folder() const { return m_folder.path; }
    // The runner starts this test: its sub-results stand in the file under this name.
    void BeginTest(std::wstring_view name) { m_testName = name; }
    // A burn-in's cycle: the records from now on say Cycle="k" after OverallResult.
    void SetCycle(int cycle) { m_cycle = cycle; }
    // The Test element with the SubTest lines pending since the last one, for
    // good; the verdict goes to the sink too, whether or not the file is open.
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
    std::wstring Record(std::wstring_view name, const std::wstring& when, int resultIndex) const;

    IVerdictSink& m_verdicts;
    LocalTimeSource m_clock;
    ResultFolderSource m_folders;
    SecureFolder m_folder;  // held for the run
    ResultFile m_file;
    std::wstring m_path;      // of the open file
    std::wstring m_testName;  // the test under way
    std::vector<SubResult> m_pendingSubTests;
    int m_subTestCount = 0;
    int m_worstSubTestResult = 0;
    std::optional<int> m_cycle;  // only in a burn-in
};

}  // namespace launcher
