#pragma once
// A stand-in diagnostics dialog for runner tests: a hidden window of the test
// thread whose messages go through the real HostDispatcher. Its services
// record what the dispatcher does, except that the 64-bit host's messages are
// really sent, timer 1 is a real timer and the runner is the real
// RunnerThreadSlot. Every protocol message is recorded as it arrives, with its
// texts copied while the sender waits.
#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "call_dll_thread.h"
#include "host_dispatcher.h"
#include "runner_thread_slot.h"

namespace runnertest {

using Lines = std::vector<std::wstring>;

class RunnerBench : private launcher::ISuitePage,
                    private launcher::IDiagnosticsWindow,
                    private launcher::ICurrentLog,
                    private launcher::IResultFile,
                    private launcher::ITimers,
                    private launcher::IProcessExit {
public:
    explicit RunnerBench(std::wstring programDir);
    ~RunnerBench() override;
    RunnerBench(const RunnerBench&) = delete;
    RunnerBench& operator=(const RunnerBench&) = delete;

    HWND hwnd() const { return m_hwnd; }
    launcher::RunnerThreadSlot& runner() { return m_runner; }

    // Sends StartRun as the page does and handles messages until the run has
    // ended (the Close button is enabled again); false after `timeoutMs`.
    bool RunToEnd(DWORD timeoutMs = 30000);
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

    // Set by the test.
    std::function<std::unique_ptr<launcher::CCallDllThread>()> makeRun;  // what StartRun starts
    // Sees each protocol message before the dispatcher; an answer skips the dispatcher.
    std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> intercept;
    unsigned modeFlags = 0;
    int boxAnswer = IDYES;

    // Recorded.
    Lines messages;  // e.g. "PrintText hello", "WriteXml Video 1", "SetTestCount 1 0"
    Lines effects;   // e.g. "results.WriteXml Video 1", "window.SendTo ..."
    std::optional<int> processExit;
    bool keepOpen = false;
    bool ended = false;

    // The lines that begin with `prefix`, and those that do not.
    static Lines Only(const Lines& lines, const std::wstring& prefix);
    static Lines Without(const Lines& lines, const std::wstring& prefix);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> Route(UINT message, WPARAM wParam, LPARAM lParam);
    void Record(UINT message, WPARAM wParam, LPARAM lParam);
    void Effect(const std::wstring& line) { effects.push_back(line); }

    // ISuitePage
    void AppendText(const std::wstring& text) override { Effect(L"page.AppendText " + text); }
    void InsertColoredText(const std::wstring& text, COLORREF) override { Effect(L"page.InsertColoredText " + text); }
    void SetProgress(int percent) override { m_percentage = percent; }
    int Percentage() const override { return m_percentage; }
    int Estimate() const override { return m_estimate; }
    void StoreEstimate(int estimate) override { m_estimate = estimate; }
    void SetEstimateText(int) override {}
    void ShowEstimateLabel(bool) override {}
    void EnableStartStop(bool enable) override { Effect(L"page.EnableStartStop " + std::to_wstring(enable)); }
    void SetPageState(launcher::TPageState) override {}
    void ResetDisplay() override {}
    void OfferNextRun() override { Effect(L"page.OfferNextRun"); }
    // IDiagnosticsWindow
    bool StartRun(int entryIndex) override;
    std::vector<std::wstring> RunTestNames() const override { return {L"Unstarted"}; }
    void SelectTest(int) override {}
    void EndRunSession() override { Effect(L"window.EndRunSession"); }
    void EnableClose() override { ended = true; }
    int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT style) override;
    unsigned ModeFlags() const override { return modeFlags; }
    void SendCopyData(HWND target, ULONG_PTR kind, const void* data, DWORD bytes) override;
    void SendTo(HWND target, UINT message, WPARAM wParam, LPARAM lParam) override;
    // ICurrentLog
    void WriteLog(std::wstring_view text) override { Effect(L"log.WriteLog " + std::wstring(text)); }
    void Restart() override { Effect(L"log.Restart"); }
    bool IsReady() const override { return true; }
    void SaveCurrentLog() override { Effect(L"log.SaveCurrentLog"); }
    void SetSusResLog() override { Effect(L"log.SetSusResLog"); }
    void SetSusResLog(const char* folder) override { Effect(L"log.SetSusResLog " + std::wstring(folder, folder + strlen(folder))); }
    void CloseAndWriteHistory(bool userStopped, int runResult) override;
    // IResultFile
    void WriteXml(std::wstring_view name, int resultIndex) override;
    void WriteXmlSub(int number, int resultIndex) override;
    void BeginTest(std::wstring_view) override {}
    void CloseResultFile() override { Effect(L"results.CloseResultFile"); }
    // ITimers
    void Set(UINT_PTR id, UINT milliseconds) override { ::SetTimer(m_hwnd, id, milliseconds, nullptr); }
    void Kill(UINT_PTR id) override { ::KillTimer(m_hwnd, id); }
    // IProcessExit
    void Exit(int code) override { processExit = code; }
    void Abandon(int code) override { processExit = code; }

    int m_percentage = 0;
    int m_estimate = -1;
    HWND m_hwnd = nullptr;
    launcher::RunnerThreadSlot m_runner;
    launcher::HostDispatcher m_dispatcher;
};

}  // namespace runnertest
