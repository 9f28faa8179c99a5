#pragma once
// The diagnostics dialog: reads the catalogue, builds the run list, hosts the
// test page, receives every host message and runs the tests. A modeless child
// of the outer window.
#include <windows.h>
#include <memory>
#include <string>

#include "box_memory.h"
#include "framework/dialog.h"
#include "framework/unique_resource.h"
#include "host_dispatcher.h"
#include "launcher_context.h"
#include "log_folder.h"
#include "my_test_page.h"
#include "report_service.h"
#include "controls/my_button.h"
#include "controls/my_tab_ctrl.h"
#include "run_services.h"
#include "runner_thread_slot.h"
#include "verdict_events.h"

namespace launcher {

class CNewOrlixCheckDlg : public fw::Dialog,
                          private IDiagnosticsWindow,
                          private ITimers,
                          private IProcessExit {
public:
    explicit CNewOrlixCheckDlg(LauncherContext& context);
    bool Create(HWND parent);
    // A run is under way, or its runner thread has not ended yet: closing now
    // would lose the run's verdicts.
    // A crashed module's runner never ends: its window closes all the same.
    bool RunActive() const {
        return !m_dispatcher.ModuleCrashed() && (m_dispatcher.RunState() == TRunState::Running || m_runner.Exists());
    }
    bool ModuleCrashed() const { return m_dispatcher.ModuleCrashed(); }
    int CloseExitCode() const { return m_dispatcher.CloseExitCode(); }

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    void LoadIniCatalogue();
    void LoadArtwork();
    void LayOut();
    std::optional<LRESULT> OnCommand(WORD id);
    void OnCloseRequest();
    int Dpi(bool vertical) const { return vertical ? m_dpiY : m_dpiX; }
    void EnableCloseItems(bool enable);
    bool Unattended() const { return m_context.commandLine.unattended; }

    // IDiagnosticsWindow
    bool StartRun(int entryIndex) override;
    std::vector<std::wstring> RunTestNames() const override;
    void SelectTest(int entryIndex) override { m_currentEntry = entryIndex; }
    void EndRunSession() override;
    void EnableClose() override { EnableCloseItems(true); }
    int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT style) override;
    unsigned ModeFlags() const override { return m_modeFlags; }
    void SendCopyData(HWND target, ULONG_PTR kind, const void* data, DWORD bytes) override;
    void SendTo(HWND target, UINT message, WPARAM wParam, LPARAM lParam) override;
    // ITimers
    void Set(UINT_PTR id, UINT milliseconds) override { ::SetTimer(hwnd(), id, milliseconds, nullptr); }
    void Kill(UINT_PTR id) override { ::KillTimer(hwnd(), id); }
    // IProcessExit
    void Exit(int code) override;
    void Abandon(int code) override;

    LauncherContext& m_context;
    int m_processorArchitecture = 0;
    unsigned m_modeFlags = 0;
    int m_pcCardSwitch = 0;
    std::wstring m_modelName;
    std::wstring m_runDate;
    std::wstring m_runTitle;
    int m_currentEntry = -1;
    bool m_hasTestPages = false;
    bool m_screenSaverWasActive = false;
    int m_dpiX = 96;
    int m_dpiY = 96;

    LogFolder m_logFolder;
    LogService m_log;
    EventLogSink m_verdictEvents;
    ResultService m_results;
    ReportService m_report;
    RunnerThreadSlot m_runner;
    CMyTestPage m_page;
    HostDispatcher m_dispatcher;
    BoxMemory m_boxAnswers;  // of the burn-in under way

    CMyTabCtrl m_tabFrame;
    CMyButton m_pictureButton;
    fw::UniqueBitmap m_picture;
    fw::UniqueIcon m_iconLarge;
    fw::UniqueIcon m_iconSmall;
};

}  // namespace launcher
