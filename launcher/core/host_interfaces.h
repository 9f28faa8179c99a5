#pragma once
// What the host dispatcher acts on. The diagnostics dialog implements these
// with its windows and files; tests implement them with recorders.
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

#include "hostlink/protocol.h"
#include "run_report.h"

namespace launcher {

enum class TPageState { Idle = 0, Running = 1, Finished = 3 };

// The suite page (page kind 0).
class ISuitePage {
public:
    virtual ~ISuitePage() = default;
    // Output pane: append at the end and scroll to the bottom; no line break added.
    virtual void AppendText(const std::wstring& text) = 0;
    // Output pane: insert at the selection in `colour`; later text gets the default colour.
    virtual void InsertColoredText(const std::wstring& text, COLORREF colour) = 0;
    // Progress bar position, the stored percentage and the percentage label (string 129).
    virtual void SetProgress(int percent) = 0;
    virtual int Percentage() const = 0;
    // The stored estimate; -1 = none.
    virtual int Estimate() const = 0;
    virtual void StoreEstimate(int estimate) = 0;
    // Estimate label text (string 168 with `estimate`); its visibility is not changed.
    virtual void SetEstimateText(int estimate) = 0;
    virtual void ShowEstimateLabel(bool show) = 0;
    virtual void EnableStartStop(bool enable) = 0;  // button 1037
    virtual void SetPageState(TPageState state) = 0;
    virtual void ResetDisplay() = 0;                // back to the idle display
    // The run has ended: Start/Stop enabled with its Start text and the
    // instruction saying so; its next press resets the page, the one after
    // starts a new run.
    virtual void OfferNextRun() = 0;
};

// The diagnostics dialog around the page.
class IDiagnosticsWindow {
public:
    virtual ~IDiagnosticsWindow() = default;
    // The rest of a run's start: screen saver off, system kept awake, page
    // prepared, Close button and system-menu Close disabled, result file
    // opened, log header written, runner created and started. False when the
    // runner thread could not start.
    virtual bool StartRun(int entryIndex) = 0;
    // The names the run's tests are recorded under, in order.
    virtual std::vector<std::wstring> RunTestNames() const = 0;
    virtual void SelectTest(int entryIndex) = 0;
    // Sleep suppression lifted; the screen saver switched on again when it was on before the run.
    virtual void EndRunSession() = 0;
    // Close button 1022 and the system menu's Close item enabled again.
    virtual void EnableClose() = 0;
    // A modal box owned by the dialog, or its answer when nobody is there; the button code.
    virtual int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT style) = 0;
    virtual unsigned ModeFlags() const = 0;
    // The 64-bit module host's side of the handshake: WM_COPYDATA (wParam = the
    // dialog) and a plain SendMessageW.
    virtual void SendCopyData(HWND target, ULONG_PTR kind, const void* data, DWORD bytes) = 0;
    virtual void SendTo(HWND target, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// The current log (hwck_log00.txt) and the history. Every operation but the
// two SetSusResLog forms does nothing while no log is open.
class ICurrentLog {
public:
    virtual ~ICurrentLog() = default;
    virtual void WriteLog(std::wstring_view text) = 0;  // the code units, no terminator
    // The same, or once the run's log opens when none is open yet.
    virtual void WriteLogWhenOpen(std::wstring_view text) { WriteLog(text); }
    // ClearCurrentLog with flag 1: not ready, recreated with byte-order mark and header, ready again.
    virtual void Restart() = 0;
    virtual bool IsReady() const = 0;
    virtual void SaveCurrentLog() = 0;  // closed and reopened so that readers see the text
    virtual void SetSusResLog() = 0;    // the run's log from the dialog's settings
    // An explicit log folder, in the system code page (never null here); its
    // log is opened unless one is open.
    virtual void SetSusResLog(const char* ansiFolder) = 0;
    // End of a run: closes the log and adds the history entry (string 140 when
    // the user stopped the run, else 142 for a non-zero run result, else 141).
    virtual void CloseAndWriteHistory(bool userStopped, int runResult) = 0;
};

// The result file qdx_result.xml. The writer keeps the sub-test lines (at most
// 39 held, every report counted, number 0 = the next number) and maps a result
// index outside 1..3 to "Fail"; indexes arrive as the sender gave them.
class IResultFile {
public:
    virtual ~IResultFile() = default;
    // The test now under way: its sub-results are written under this name as they come.
    virtual void BeginTest(std::wstring_view name) = 0;
    virtual void WriteXml(std::wstring_view name, int resultIndex) = 0;
    virtual void WriteXmlSub(int number, int resultIndex) = 0;
    // A burn-in's cycle: the records from now on carry it.
    virtual void SetCycle(int /*cycle*/) {}
    // The end of a run: the file, whole after every record, is let go for the next run.
    virtual void CloseResultFile() = 0;
};

// The run's runner thread object, owned by the dialog.
class IRunner {
public:
    virtual ~IRunner() = default;
    virtual bool Exists() const = 0;
    // Waits at most `milliseconds` for the thread; true when it has ended.
    virtual bool WaitForEnd(DWORD milliseconds) = 0;
    virtual DWORD ExitCode() const = 0;
    virtual void RequestStop() = 0;  // the runner's own state becomes 1
    virtual void EndAfterCycle() {}  // a burn-in: no further cycle starts
    virtual void Delete() = 0;       // deleted and forgotten
};

class ITimers {
public:
    virtual ~ITimers() = default;
    virtual void Set(UINT_PTR id, UINT milliseconds) = 0;
    virtual void Kill(UINT_PTR id) = 0;
};

class IProcessExit {
public:
    virtual ~IProcessExit() = default;
    virtual void Exit(int code) = 0;
    // Ends the process at once, waiting for no thread and telling no library:
    // a module that hangs must not hold up the end.
    virtual void Abandon(int code) = 0;
};

// The run's report page. Reporting never fails a run: what goes wrong is ignored.
class IRunReportSink {
public:
    virtual ~IRunReportSink() = default;
    // The tests' part of the report; the sink adds the computer and the files.
    virtual void WriteReport(RunReport report) noexcept = 0;
};

struct HostServices {
    ISuitePage& page;
    IDiagnosticsWindow& window;
    ICurrentLog& log;
    IResultFile& results;
    IRunner& runner;
    ITimers& timers;
    IProcessExit& process;
    IRunReportSink* report = nullptr;  // none: no report is written
};

}  // namespace launcher
