#pragma once
// The outer window: sizes itself to the screen, hosts the diagnostics dialog and
// refuses to close while a run is in progress.
#include <memory>

#include "framework/dialog.h"
#include "framework/unique_resource.h"
#include "launcher_context.h"
#include "new_orlix_check_dlg.h"
#include "outer_layout.h"

namespace launcher {

class CTestDeckDlg : public fw::Dialog {
public:
    explicit CTestDeckDlg(LauncherContext& context) : m_context(context) {}
    // Runs the window modally; -1 when its template is missing.
    INT_PTR Run();
    // After Run: how the process ends (CNewOrlixCheckDlg).
    bool ModuleCrashed() const { return m_diagnostics && m_diagnostics->ModuleCrashed(); }
    int CloseExitCode() const { return m_diagnostics ? m_diagnostics->CloseExitCode() : 0; }

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    bool RunInProgress() const;
    void Scroll(int bar, int request, int thumb);
    void PaintMinimised();

    LauncherContext& m_context;
    std::unique_ptr<CNewOrlixCheckDlg> m_diagnostics;
    fw::UniqueIcon m_iconLarge;
    fw::UniqueIcon m_iconSmall;
    OuterLayout m_layout;
    int m_scrollX = 0;
    int m_scrollY = 0;
};

}  // namespace launcher
