#pragma once
// The suite page: instruction line, description, output pane, progress bar with
// its labels, and the Start/Stop button. It turns button presses into the host
// messages StartRun, SetAbort and ResetAbort, and shows what a run reports.
#include <windows.h>
#include <richedit.h>
#include <string>

#include "framework/dialog.h"
#include "controls/my_rich_edit_ctrl.h"
#include "controls/my_static.h"
#include "framework/unique_resource.h"
#include "host_interfaces.h"
#include "pane_buffer.h"

namespace launcher {

struct PageSettings {
    unsigned modeFlags = 0;
    std::wstring languageCode;
    std::wstring manualText;  // the test group's description
    int dpiX = 96;
    int dpiY = 96;
};

class CMyTestPage : public fw::Dialog, public ISuitePage {
public:
    bool Create(HWND parent, PageSettings settings);

    // Starts the run of `entryIndex` at once, as if Start had been pressed.
    void StartAtOnce(int entryIndex);
    void PrepareDisplay();
    void SetStartStopText(const std::wstring& text);
    void EnableListButton(bool enable);
    // The finished page offers the run's report page, opened in the default browser.
    void OfferReport(const std::wstring& path);
    TPageState State() const { return m_state; }

    // ISuitePage
    void AppendText(const std::wstring& text) override;
    void InsertColoredText(const std::wstring& text, COLORREF colour) override;
    void SetProgress(int percent) override;
    int Percentage() const override { return m_percentage; }
    int Estimate() const override { return m_estimate; }
    void StoreEstimate(int estimate) override { m_estimate = estimate; }
    void SetEstimateText(int estimate) override;
    void ShowEstimateLabel(bool show) override;
    void EnableStartStop(bool enable) override;
    void SetPageState(TPageState state) override;
    void ResetDisplay() override;
    void OfferNextRun() override;

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    void OnStartStop();
    void ResetProgressDisplay();
    void ShowInstruction();
    void StreamManualText();
    void ShowContextMenu();
    void Place(int id, int x, int y, int width, int height);
    void SetFormattingRect(int id, RECT designRect);
    HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }
    void SendToDialog(UINT message, LPARAM lParam);
    void HoldDisplay();
    void FlushDisplay();
    void ShowProgress(int percent);

    PageSettings m_settings;
    TPageState m_state = TPageState::Idle;
    int m_estimate = -1;
    int m_percentage = 0;
    int m_barPosition = 0;  // what the bar and its label show; m_percentage may be ahead
    int m_entryIndex = -1;
    CMyStatic m_instruction;
    CMyRichEditCtrl m_description;
    CMyRichEditCtrl m_output;
    CMyRichEditCtrl m_percentLabel;
    PaneBuffer m_pendingOutput;
    DisplayThrottle m_throttle;
    bool m_flushTimerSet = false;
    std::wstring m_reportPath;
};

}  // namespace launcher
