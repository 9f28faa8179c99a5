// The optical checker's dialog in this process, over drives the test sets.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "control_ids.h"
#include "disc_monitor_dlg.h"
#include "framework/resources.h"
#include "temp_folder.h"

using namespace discprobe;

namespace {

class FakeDrives : public IDriveSource {
public:
    explicit FakeDrives(std::vector<DriveView>& drives) : m_drives(drives) {}
    int DriveCount() const override { return static_cast<int>(m_drives.size()); }
    DriveView Drive(int row) const override { return m_drives.at(static_cast<size_t>(row)); }
    int StateOf(int row) const override { return m_drives.at(static_cast<size_t>(row)).state; }
    std::vector<std::wstring> PathsTexts() const override { return {}; }
    void Rebuild() override {}
    void RunPass() override {}

private:
    std::vector<DriveView>& m_drives;
};

class DiscDialog : public testing::Test {
protected:
    void SetUp() override {
        std::wstring path = m_temp.WriteUtf8(
            L"lang.xml", L"<L><DiscProbe><DiscInserted>In</DiscInserted><NoDiscInserted>None</NoDiscInserted>"
                         L"</DiscProbe></L>");
        ASSERT_EQ(m_parser.Init(), xml::kXmlOk);
        ASSERT_EQ(m_parser.Load(path), xml::kXmlOk);
        m_root = m_parser.GetRoot();
        m_drives = {{L"E:\\", L"DVDRAM", L"V", L"1.0", L"DVD-R", L"CD-ROM, DVD-R", 0, 4.7},
                    {L"F:\\", L"BDRW", L"V", L"1.0", L"", L"BD-ROM", 2, 0.0}};
        DriveSourceFactory factory = [this](StateSink) { return std::make_unique<FakeDrives>(m_drives); };
        m_dialog = std::make_unique<CDiscMonitorDlg>(DialogSetup{m_parser, m_root.Get(), L"Disc dialog test", L"", factory});
        ASSERT_TRUE(m_dialog->Create(fw::OwnModule(), IDD_DISCPROBE, nullptr));
        ::ShowWindow(m_dialog->hwnd(), SW_SHOW);
        Pump();
    }

    // Handles what is queued for the dialog, as its message loop would.
    void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!::IsDialogMessageW(m_dialog->hwnd(), &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
    }
    HWND Item(int id) const { return ::GetDlgItem(m_dialog->hwnd(), id); }
    std::wstring Status(int row) const {
        wchar_t text[64] = {};
        ListView_GetItemText(Item(IDC_DRIVE_LIST), row, 1, text, 64);
        return text;
    }
    testsupport::TempFolder m_temp;
    xml::CXMLParser m_parser;
    fw::ComPtr<IXMLDOMElement> m_root;
    std::vector<DriveView> m_drives;
    std::unique_ptr<CDiscMonitorDlg> m_dialog;
};

}  // namespace

TEST_F(DiscDialog, AStateMessageShowsWhatTheRecordHoldsNow) {
    // A message from before a rebuild names state 0 for row 0; the record there now has no disc.
    m_drives[0].state = 2;
    ::PostMessageW(m_dialog->hwnd(), WM_MEDIASTATE, 0, 0);
    Pump();
    EXPECT_EQ(Status(0), L"None");
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_NEXT)));

    // The dialog manager's message of the same number (a button id, no row) changes no row.
    ::SendMessageW(m_dialog->hwnd(), DM_SETDEFID, IDC_NEXT, 0);
    Pump();
    EXPECT_EQ(Status(0), L"None");
    EXPECT_EQ(Status(1), L"None");
}

TEST_F(DiscDialog, DriveListAddsFullRowSelectionAndTheSupportedMediaShowInTheLanguageFont) {
    // None of the list's window style turns up among its extended style bits.
    EXPECT_EQ(ListView_GetExtendedListViewStyle(Item(IDC_DRIVE_LIST)), static_cast<DWORD>(LVS_EX_FULLROWSELECT));
    const LRESULT font = ::SendMessageW(Item(IDC_CHECK_MEDIA_IN), WM_GETFONT, 0, 0);
    EXPECT_NE(font, ::SendMessageW(m_dialog->hwnd(), WM_GETFONT, 0, 0));
    EXPECT_EQ(::SendMessageW(Item(IDC_SUPPORTED_MEDIA), WM_GETFONT, 0, 0), font);
}
