#pragma once
// The diagnostics dialog: reads the catalogue, builds the run list and hosts
// the test page. A modeless child of the outer window.
#include <windows.h>
#include <string>

#include "framework/dialog.h"
#include "framework/unique_resource.h"
#include "launcher_context.h"

namespace launcher {

constexpr int kRunStateIdle = 3;
constexpr int kRunStateRunning = 1;
constexpr LONG kAbortNone = 259;
constexpr LONG kAbortRequested = 1;

class CNewOrlixCheckDlg : public fw::Dialog {
public:
    explicit CNewOrlixCheckDlg(LauncherContext& context) : m_context(context) {}
    bool Create(HWND parent);
    int RunState() const { return m_runState; }

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    void LoadIniCatalogue();
    void LoadArtwork();
    std::optional<LRESULT> OnCommand(WORD id);

    LauncherContext& m_context;

    int m_processorArchitecture = 0;
    unsigned m_modeFlags = 0;
    int m_repeatCount = 1;
    LONG m_abortState = kAbortNone;
    int m_selectedTest = -1;
    int m_pcCardSwitch = 0;
    std::wstring m_modelName;
    std::wstring m_runDate;
    int m_userLogFolderFlag = 1;
    int m_runState = kRunStateIdle;
    int m_currentEntry = -1;
    bool m_hasTestPages = false;

    fw::UniqueBitmap m_picture;
    fw::UniqueIcon m_iconLarge;
    fw::UniqueIcon m_iconSmall;
};

}  // namespace launcher
