// The monitor's pass over real drive records, built in this process through the
// simulated recorder service that the bench registers (discsim.dll).
#include <gtest/gtest.h>

#include <mutex>
#include <utility>
#include <vector>

#include "framework/com.h"
#include "monitor_thread.h"
#include "optical_state_monitor.h"
#include "simulated_drives.h"

using namespace discprobe;

namespace {

const std::string kDrive = "[drive]\nid=D1\npaths=E:\\\nproduct=DVDRAM XR80\n";
const std::string kEmpty = "current=0\nphysical_hr=0xC0AA0202\nstatus_hr=0xC0AA0202\n";
const std::string kDvdR = "current=0x10\ndvd_category=2\n";
const std::string kBluRayXl = "current=0x41\nbd_key=0x32\n";
const std::string kUnusable = "current=0x0A\nphysical_hr=0x80004005\nstatus_hr=0x80004005\n";

class DiscMonitorPass : public testing::Test {
protected:
    void SetUp() override { SetScenario(kDrive + kEmpty); }

    void SetScenario(const std::string& text) { ASSERT_TRUE(m_drives.Write(text)); }
    std::vector<std::pair<int, int>> Reports() {
        std::lock_guard lock(m_mutex);
        return m_reports;
    }
    // A monitor whose drive list is built from the scenario as it is now.
    std::unique_ptr<COpticalStateMonitor> MakeMonitor() {
        auto monitor = std::make_unique<COpticalStateMonitor>([this](int row, int state) {
            std::lock_guard lock(m_mutex);
            m_reports.emplace_back(row, state);
        });
        monitor->CreateMaster();
        monitor->Rebuild();
        return monitor;
    }

    fw::ComApartment m_apartment{COINIT_MULTITHREADED};
    discsim::CSimulatedDrives m_drives;
    std::mutex m_mutex;
    std::vector<std::pair<int, int>> m_reports;
};

}  // namespace

TEST_F(DiscMonitorPass, ReportsOnlyChangesAndDescribesAUsableMedium) {
    auto monitor = MakeMonitor();
    ASSERT_EQ(monitor->DriveCount(), 1) << "is discsim.dll registered in the bench's prefix?";
    EXPECT_EQ(monitor->StateOf(0), 2);

    monitor->RunPass();
    EXPECT_TRUE(Reports().empty()) << "an unchanged state was reported";

    SetScenario(kDrive + kBluRayXl);
    monitor->RunPass();
    ASSERT_EQ(Reports(), (std::vector<std::pair<int, int>>{{0, 0}}));
    DriveView drive = monitor->Drive(0);
    EXPECT_EQ(drive.state, 0);
    EXPECT_EQ(drive.mediaTypeName, L"BD-R XL");
    EXPECT_EQ(drive.capacityGB, 100.0);
}

TEST_F(DiscMonitorPass, StopDuringPassesLosesNoState) {
    for (int round = 0; round < 20; ++round) {
        SetScenario(kDrive + kEmpty);
        auto monitor = MakeMonitor();
        ASSERT_EQ(monitor->DriveCount(), 1);
        {
            std::lock_guard lock(m_mutex);
            m_reports.clear();
        }
        CMonitorThread thread(*monitor, 0);
        thread.Start();
        SetScenario(kDrive + (round % 2 ? kDvdR : kUnusable));
        thread.Stop();
        // Whatever the thread stored, it reported; what it did not report, it did not store.
        std::vector<std::pair<int, int>> reports = Reports();
        int reported = reports.empty() ? 2 : reports.back().second;
        EXPECT_EQ(monitor->StateOf(0), reported) << "round " << round;
    }
}

TEST_F(DiscMonitorPass, RebuildsWhileHeldLeaveTheThreadOnLiveRecords) {
    SetScenario(kDrive + kDvdR + "[drive]\nid=D2\npaths=F:\\\n" + kEmpty);
    auto monitor = MakeMonitor();
    ASSERT_EQ(monitor->DriveCount(), 2);
    CMonitorThread thread(*monitor, 0);
    thread.Start();
    for (int i = 0; i < 50; ++i) {
        SetScenario(kDrive + (i % 2 ? kDvdR : kEmpty) + "[drive]\nid=D2\npaths=F:\\\n" + (i % 3 ? kEmpty : kBluRayXl));
        thread.Hold();
        monitor->Rebuild();
        thread.Release();
    }
    thread.Stop();
    EXPECT_EQ(monitor->DriveCount(), 2);
    for (const auto& [row, state] : Reports()) EXPECT_TRUE(row == 0 || row == 1) << row;
}
