#pragma once
// The checker's only window: the selection page lists the optical drives with
// the live state of their media; Next (for a usable medium) shows the
// information page with the medium's type and size and the drive's details.
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <optional>
#include <string>

#include "autoplay.h"
#include "dialog_layout.h"
#include "drive_source.h"
#include "framework/dialog.h"
#include "framework/unique_resource.h"
#include "lang_texts.h"
#include "monitor_thread.h"

namespace discprobe {

// Messages of the dialog to itself; WM_USER+1 arrives from the monitor thread.
constexpr UINT WM_MEDIASTATE = WM_USER + 1;    // wParam row, lParam new state (as stored in the record)
constexpr UINT WM_SHOWSELECTION = WM_USER + 3;
constexpr UINT WM_STARTMONITOR = WM_USER + 5;

// What the dialog takes from the application.
struct DialogSetup {
    const xml::CXMLParser& parser;
    IXMLDOMElement* root;
    std::wstring applicationName;
    std::wstring fontFace;
    DriveSourceFactory driveSource;
};

struct ImageListTraits {
    using Value = HIMAGELIST;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ImageList_Destroy(v); }
};
using UniqueImageList = fw::UniqueResource<ImageListTraits>;

class CDiscMonitorDlg : public fw::Dialog {
public:
    explicit CDiscMonitorDlg(DialogSetup setup);
    ~CDiscMonitorDlg() override;

    INT_PTR Run();

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    void SetControlTexts();
    void ApplyLayout();
    void CreateFonts();
    void AttachImageList();
    void FillDriveList();
    void SelectRow(int row);
    void UpdateNext(int row);
    void ShowSupportedMedia();
    void RepaintArea(int id, bool erase);
    void ShowPage(bool information);
    void SetUpInformationLists();
    // Label and value rows of an information list.
    template <size_t N>
    void AddInformationRows(HWND list, const std::pair<const wchar_t*, std::wstring> (&rows)[N]);
    void OnNext();
    void OnOk();
    void OnShowSelection();
    void OnMediaState(int row);
    void OnDriveListClick();
    void OnDriveListItemChanged(const NMLISTVIEW& change);
    void OnDeviceChange(WPARAM event, LPARAM data);
    void OnPaint();
    std::optional<LRESULT> OnCtlColor(HDC dc, HWND control);
    void OnDestroy();
    HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }
    int DriveCount() const { return m_drives ? m_drives->DriveCount() : 0; }

    DialogSetup m_setup;
    ScreenDpi m_dpi;
    TextTable m_texts;
    CAutoplaySwitch m_autoplay;
    std::unique_ptr<IDriveSource> m_drives;
    std::unique_ptr<CMonitorThread> m_monitor;
    fw::UniqueIcon m_icon;
    fw::UniqueIcon m_smallIcon;
    fw::UniqueBrush m_background;
    fw::UniqueFont m_headingFont;
    fw::UniqueFont m_textFont;
    UniqueImageList m_driveImages;  // the list shares it (LVS_SHAREIMAGELISTS): ours to destroy
    std::optional<RECT> m_windowRect;  // after centring; the size lock uses it
    int m_selectedRow = -1;
};

}  // namespace discprobe
