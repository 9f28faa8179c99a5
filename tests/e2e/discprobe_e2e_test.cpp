// The optical checker as a technician runs it: the real discprobe.exe under
// Wine, with simulated drives behind the recorder service's class ids.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "discprobe_session.h"
#include "screenshot.h"
#include "statsagent_log.h"
#include "ui_automation.h"

using namespace testsupport;
using e2e::DiscProbeSession;
using e2e::DiscProbeWindow;

namespace {

constexpr int kDriveList = IDC_DRIVE_LIST, kSupported = IDC_SUPPORTED_MEDIA, kMediaList = IDC_MEDIA_LIST;
constexpr int kDriveInfoList = IDC_DRIVE_INFO_LIST;
constexpr DWORD kExitMs = e2e::kDiscTimeoutMs;

const std::string kDvdRDrive =
    "[drive]\nid=DVD1\npaths=E:\\\nvendor=ACMEOPT\nproduct=DVDRAM XR80\nrevision=1.00\n"
    "profiles=0x08,0x09,0x0A,0x10,0x11,0x1B\n";
const std::string kBluRayDrive =
    "[drive]\nid=BD1\npaths=F:\\\nvendor=NORDDISC\nproduct=BD-RW NB-X07\nrevision=1.03\n"
    "profiles=0x08,0x09,0x0A,0x10,0x11,0x1B,0x40,0x41,0x43\n";
const std::string kDvdRInserted = "current=0x10\ndvd_category=2\ndvd_layers=0\n";
const std::string kNoDisc = "current=0\nphysical_hr=0xC0AA0202\nstatus_hr=0xC0AA0202\n";
const std::string kBecomingReady = "current=0\nphysical_hr=0xC0AA0205\nstatus_hr=0xC0AA0205\n";

class DiscProbeE2E : public testing::Test {
protected:
    // Starts the checker on `scenario` and waits for its window.
    const DiscProbeWindow& Open(const std::string& scenario, const std::wstring& title = e2e::kDiscTitle) {
        session.SetScenario(scenario);
        checker = session.Start();
        window.emplace(checker.pid(), title);
        return *window;
    }
    void Close() { EXPECT_TRUE(window->Close(checker)) << "the checker did not end"; }
    // Next opens the information page, which names the medium and its size.
    void ExpectMediumOnNextPage(const wchar_t* type, const wchar_t* size) {
        ClickButton(window->item(IDC_NEXT));
        ASSERT_TRUE(PollUntil(kExitMs, [&] { return window->RowCount(kMediaList) == 2; }));
        EXPECT_EQ(window->Cell(kMediaList, 0, 2), type);
        EXPECT_EQ(window->Cell(kMediaList, 1, 2), size);
    }

    DiscProbeSession session;
    Process checker;
    std::optional<DiscProbeWindow> window;
};

}  // namespace

TEST(DiscProbeStartE2E, WithoutTheRecorderServiceTheNoDriveTextShows) {
    DiscProbeSession session;
    Process checker = session.Start(false);
    DiscProbeWindow window(checker.pid());
    ASSERT_TRUE(window.ok()) << "the checker's window did not appear";
    EXPECT_EQ(window.RowCount(kDriveList), 0);
    EXPECT_TRUE(PollUntil(kExitMs, [&] { return window.Text(IDC_STATUS_LINE) == L"No optical drive was found on this computer."; }));
    EXPECT_FALSE(window.NextEnabled());
    SaveNamedScreenshot(L"discprobe-no-drive");
    EXPECT_TRUE(window.Close(checker));
}

TEST(DiscProbeStartE2E, StartIsReportedToTheInstalledStatisticsAgent) {
    std::optional<std::wstring> log = InstalledAgentLog();
    if (!log) GTEST_SKIP() << "no statistics agent installed on this machine";
    ::DeleteFileW(log->c_str());

    DiscProbeSession session;
    Process checker = session.Start(false);
    DiscProbeWindow window(checker.pid());
    ASSERT_TRUE(window.ok());
    EXPECT_EQ(ReadBytes(*log),
              "Initialize|Orlix Hardware Diagnostics\r\n"
              "SubmitEvent|Orlix Hardware Diagnostics|2|Diag|DiscProbe\r\n"
              "Finalize|Orlix Hardware Diagnostics|0\r\n");
    EXPECT_TRUE(window.Close(checker));
}

TEST(DiscProbeStartE2E, MissingLanguageFileStopsWithTheParseMessage) {
    DiscProbeSession session;
    session.RemoveProgramFile(L"qdxlang\\ENU\\lang.xml");
    Process checker = session.Start();
    BoxAnswer answer = AnswerMessageBox({std::wstring(L"Orlix Hardware Diagnostics"), checker.pid()}, IDOK, kExitMs);
    EXPECT_EQ(answer.outcome, BoxOutcome::Answered);
    EXPECT_EQ(answer.text, L"Can't parse the XML file.");
    EXPECT_TRUE(checker.WaitExit(kExitMs).has_value());
    EXPECT_FALSE(FindTopWindow({std::wstring(e2e::kDiscTitle), std::nullopt, checker.pid()}));
}

TEST_F(DiscProbeE2E, DiscAtStartEnablesNextUntilAClickOnEmptySpaceOrAnEjectAndKeysNeverClose) {
    const DiscProbeWindow& window = Open(kDvdRDrive + kDvdRInserted);
    ASSERT_TRUE(window.ok());
    ASSERT_EQ(window.RowCount(kDriveList), 1);
    EXPECT_EQ(window.Cell(kDriveList, 0, 0), L"   E:\\DVDRAM XR80");
    EXPECT_EQ(window.Cell(kDriveList, 0, 1), L"Disc inserted");
    EXPECT_TRUE(window.IsRowSelected(kDriveList, 0));
    EXPECT_TRUE(window.NextEnabled());
    EXPECT_EQ(window.Text(IDC_STATUS_LINE), L"");
    EXPECT_EQ(window.Text(kSupported), L"Supported media: CD-ROM, CD-R, CD-RW, DVD-ROM, DVD-R, DVD+R");

    RECT list{};
    ::GetClientRect(window.item(kDriveList), &list);
    window.ClickList({list.right / 2, list.bottom - 3});  // below the only row
    ASSERT_TRUE(window.Settle());
    EXPECT_FALSE(window.NextEnabled());
    EXPECT_EQ(window.Text(kSupported), L"");
    window.ClickList({list.right / 2, 8});  // on the row
    ASSERT_TRUE(window.Settle());
    EXPECT_TRUE(window.NextEnabled());

    PressKey(window.item(kDriveList), VK_RETURN);
    PressKey(window.item(kDriveList), VK_ESCAPE);
    PressKey(window.dialog(), VK_ESCAPE);
    ASSERT_TRUE(window.Settle());
    EXPECT_TRUE(::IsWindowVisible(window.dialog()));
    EXPECT_FALSE(checker.WaitExit(0).has_value());
    EXPECT_TRUE(window.NextEnabled()) << "Enter on the list went on to the information page";

    session.SetScenario(kDvdRDrive + kNoDisc);
    EXPECT_TRUE(window.WaitCell(kDriveList, 0, 1, L"No disc inserted"));
    EXPECT_TRUE(window.WaitNextEnabled(false));
    Close();
}

TEST_F(DiscProbeE2E, InsertedBluRayDiscIsDetectedThenClassified) {
    const DiscProbeWindow& window = Open(kBluRayDrive + kNoDisc);
    ASSERT_TRUE(window.ok());
    ASSERT_TRUE(window.WaitCell(kDriveList, 0, 1, L"No disc inserted"));
    EXPECT_FALSE(window.NextEnabled());

    session.SetScenario(kBluRayDrive + kBecomingReady);
    EXPECT_TRUE(window.WaitCell(kDriveList, 0, 1, L"Detecting media..."));
    // Current profile BD-R (0x41); its disc information names a single-layer BD-R.
    session.SetScenario(kBluRayDrive + "current=0x41\nbd_key=0x12\n");
    EXPECT_TRUE(window.WaitCell(kDriveList, 0, 1, L"Disc inserted"));
    ASSERT_TRUE(window.WaitNextEnabled(true));
    ExpectMediumOnNextPage(L"BD-R", L"25.00 GB");
    Close();
}

// A standard user's checker may not send the drive MMC commands: the recorder
// service's physical media type (6, DVD+R) names the medium.
TEST_F(DiscProbeE2E, WithoutPassThroughTheInformationPageShowsThePhysicalMediaType) {
    const std::string denied = kDvdRDrive + "pass_through=denied\n";
    const DiscProbeWindow& window = Open(denied + kNoDisc);
    ASSERT_TRUE(window.ok());
    session.SetScenario(denied + "current=0x10\nphysical_type=6\n");
    ASSERT_TRUE(window.WaitNextEnabled(true));
    ExpectMediumOnNextPage(L"DVD+R", L"4.70 GB");
    Close();
}

TEST_F(DiscProbeE2E, InformationPageIsASnapshotAndOkReturnsWithNextDisabled) {
    const DiscProbeWindow& window = Open(kDvdRDrive + kDvdRInserted);
    ASSERT_TRUE(window.ok());
    ASSERT_TRUE(window.WaitNextEnabled(true));

    ClickButton(window.item(IDC_NEXT));
    ASSERT_TRUE(PollUntil(kExitMs, [&] { return window.RowCount(kDriveInfoList) == 4; }));
    EXPECT_TRUE(IsShown(window.item(IDC_OK)));
    EXPECT_FALSE(IsShown(window.item(IDC_NEXT)));
    auto rows = [&] {
        std::vector<std::wstring> seen;
        for (int list : {kMediaList, kDriveInfoList})
            for (int row = 0; row < window.RowCount(list); ++row)
                seen.push_back(window.Cell(list, row, 1) + L"|" + window.Cell(list, row, 2));
        return seen;
    };
    const std::vector<std::wstring> before = rows();
    EXPECT_EQ(before, (std::vector<std::wstring>{L"Media type|DVD-R", L"Media size|4.70 GB", L"Drive letter|E",
                                                 L"Drive name|DVDRAM XR80", L"Vendor|ACMEOPT", L"Firmware|1.00"}));

    // Ejected while the page shows: the page stays as it was.
    session.SetScenario(kDvdRDrive + kNoDisc);
    EXPECT_TRUE(window.WaitCell(kDriveList, 0, 1, L"No disc inserted"));
    ASSERT_TRUE(window.Settle());
    EXPECT_EQ(rows(), before);

    ClickButton(window.item(IDC_OK));
    ASSERT_TRUE(PollUntil(kExitMs, [&] { return IsShown(window.item(IDC_NEXT)); }));
    EXPECT_FALSE(IsShown(window.item(IDC_OK)));
    EXPECT_FALSE(window.NextEnabled());
    EXPECT_TRUE(window.IsRowSelected(kDriveList, 0));
    Close();
}

// The simulation announces drives that come and go as the system does.
TEST_F(DiscProbeE2E, DrivesComingAndGoingRebuildTheList) {
    const std::string driveF = "[drive]\nid=DVD2\npaths=F:\\\nproduct=CDDVDW XR08\n" + kNoDisc;
    const std::string driveG = "[drive]\nid=DVD3\npaths=G:\\\nproduct=DVD+-RW XR90\n" + kDvdRInserted;
    const DiscProbeWindow& window = Open(kDvdRDrive + kDvdRInserted + driveF);
    ASSERT_TRUE(window.ok());
    ASSERT_EQ(window.RowCount(kDriveList), 2);

    // F: unplugged: the list is rebuilt and its first row selected.
    session.SetScenario(kDvdRDrive + kNoDisc);
    EXPECT_TRUE(PollUntil(kExitMs, [&] { return window.RowCount(kDriveList) == 1; }));
    EXPECT_EQ(window.Cell(kDriveList, 0, 0), L"   E:\\DVDRAM XR80");
    EXPECT_TRUE(window.IsRowSelected(kDriveList, 0));
    EXPECT_FALSE(window.NextEnabled());

    // G: plugged in with a disc.
    session.SetScenario(kDvdRDrive + kNoDisc + driveG);
    EXPECT_TRUE(PollUntil(kExitMs, [&] { return window.RowCount(kDriveList) == 2; }));
    EXPECT_EQ(window.Cell(kDriveList, 1, 0), L"   G:\\DVD+-RW XR90");
    EXPECT_TRUE(window.WaitCell(kDriveList, 1, 1, L"Disc inserted"));

    // The monitor thread runs on over the new list.
    session.SetScenario(kDvdRDrive + kDvdRInserted + driveG);
    EXPECT_TRUE(window.WaitCell(kDriveList, 0, 1, L"Disc inserted"));
    EXPECT_TRUE(window.WaitNextEnabled(true));
    Close();
}

TEST(DiscProbeStartE2E, SecondStartBringsTheFirstWindowToTheFrontAndEnds) {
    DiscProbeSession session;
    Process first = session.Start(false);
    DiscProbeWindow window(first.pid());
    ASSERT_TRUE(window.ok());
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(other);

    Process second = session.Start(false);
    EXPECT_TRUE(second.WaitExit(kExitMs).has_value());
    EXPECT_TRUE(WaitForeground(window.dialog(), 5000));
    EXPECT_EQ(FindTopWindows({std::wstring(e2e::kDiscTitle), std::wstring(L"#32770"), 0}).size(), 1u);
    ::DestroyWindow(other);
    EXPECT_TRUE(window.Close(first));
}

TEST_F(DiscProbeE2E, ScreenshotsOfBothPagesWithFourDrives) {
    const DiscProbeWindow& window = Open(kDvdRDrive + kDvdRInserted +  //
                        "[drive]\nid=BD2\npaths=F:\\\nvendor=NORDDISC\nproduct=BD-RW NB-X07\nrevision=1.03\n"
                        "profiles=0x08,0x10,0x40,0x41,0x43\ncurrent=0x41\nbd_key=0x32\n" +
                        "[drive]\nid=DVD3\npaths=G:\\\nvendor=ACMEOPT\nproduct=CDDVDW XR08\nrevision=F100\n"
                        "profiles=0x08,0x09,0x0A,0x10,0x11,0x14,0x1A,0x1B\n" + kNoDisc +
                        "[drive]\nid=DVD4\npaths=H:\\\nvendor=ACMEOPT\nproduct=DVD+-RW XR90\nrevision=A1C2\n"
                        "profiles=0x08,0x10,0x11,0x1B\n" + kBecomingReady);
    ASSERT_TRUE(window.ok());
    ASSERT_EQ(window.RowCount(kDriveList), 4);
    const wchar_t* states[] = {L"Disc inserted", L"Disc inserted", L"No disc inserted", L"Detecting media..."};
    for (int row = 0; row < 4; ++row) EXPECT_TRUE(window.WaitCell(kDriveList, row, 1, states[row])) << row;
    ASSERT_TRUE(window.Settle());
    SaveNamedScreenshot(L"discprobe-selection");

    // The list shows a row and a half: the last two come into view with the keys.
    PressKey(window.item(kDriveList), VK_END);
    ASSERT_TRUE(window.Settle());
    PressKey(window.item(kDriveList), VK_UP);
    ASSERT_TRUE(window.Settle());
    ASSERT_TRUE(window.IsRowSelected(kDriveList, 2));
    SaveNamedScreenshot(L"discprobe-selection-last-rows");

    PressKey(window.item(kDriveList), VK_HOME);
    PressKey(window.item(kDriveList), VK_DOWN);  // the BD-R XL
    ASSERT_TRUE(window.Settle());
    ASSERT_TRUE(window.NextEnabled());
    ClickButton(window.item(IDC_NEXT));
    ASSERT_TRUE(PollUntil(kExitMs, [&] { return window.RowCount(kDriveInfoList) == 4; }));
    EXPECT_EQ(window.Cell(kMediaList, 0, 2), L"BD-R XL");
    EXPECT_EQ(window.Cell(kMediaList, 1, 2), L"100.00 GB");
    ASSERT_TRUE(window.Settle());
    SaveNamedScreenshot(L"discprobe-information");
    Close();
}

TEST_F(DiscProbeE2E, AJapaneseUserReadsTheCheckerInJapanese) {
    if (!RunsAsJapaneseUser()) GTEST_SKIP() << kNotJapanese;
    const DiscProbeWindow& window = Open(kDvdRDrive + kDvdRInserted + "[drive]\nid=DVD3\npaths=G:\\\nvendor=ACMEOPT\n"
                                         "product=CDDVDW XR08\nrevision=F100\nprofiles=0x08,0x10\n" + kNoDisc,
                                         L"Orlix 光学メディア チェック");
    ASSERT_TRUE(window.ok());
    EXPECT_TRUE(window.WaitCell(kDriveList, 0, 1, L"ディスクが挿入されています"));
    EXPECT_TRUE(window.WaitCell(kDriveList, 1, 1, L"ディスクが挿入されていません"));
    EXPECT_EQ(window.Text(IDC_HEADING), L"光学ドライブにディスクを挿入してください");
    ASSERT_TRUE(window.Settle());
    SaveNamedScreenshot(L"discprobe-japanese-selection");
    Close();
}
