// The drive list as the program builds it on the bench: the recorder classes
// come from the prefix's registration (the simulated drives) and the media
// types from real CreateFileW/DeviceIoControl calls, which the simulation
// answers for its own drive letters.
#include <gtest/gtest.h>

#include <optional>

#include "discprobe/detect/drive_detection.h"
#include "discprobe/detect/scsi_media_probe.h"
#include "simulated_drives.h"

using namespace discprobe;

namespace {

class DiscprobeSimulatedDrivesTest : public testing::Test {
protected:
    void Scenario(const std::wstring& text) { ASSERT_TRUE(m_drives->Write(text)); }

    fw::ComApartment m_apartment{COINIT_MULTITHREADED};
    std::optional<discsim::CSimulatedDrives> m_drives{std::in_place};
};

TEST_F(DiscprobeSimulatedDrivesTest, ListsTheDrivesAndTheirMediaThroughThePlatformCalls) {
    Scenario(L"[drive]\nid=bd\npaths=P:\\\nvendor=SIM\nproduct=BD WRITER\nrevision=2.01\n"
             L"profiles=0x08,0x10,0x40,0x41,0x43\ncurrent=0x43\nbd_key=0x34\nbd_write=2\n"
             L"[drive]\nid=dvd\npaths=Q:\\\nprofiles=0x08,0x10,0x11\ncurrent=0x10\ndvd_category=2\ndvd_layers=1\n"
             L"[drive]\nid=empty\npaths=R:\\\n"
             L"[drive]\nid=sealed\npaths=S:\\\ncurrent=0x1B\nopen=0\n");
    CDiscMasterRef master;
    master.Create();
    if (master.LastResult() == REGDB_E_CLASSNOTREG) GTEST_SKIP() << "simulated drives are registered by the bench";
    ASSERT_TRUE(master.get()) << std::hex << master.LastResult();

    CDriveList drives;
    ASSERT_TRUE(EnumerateDrives(master, drives));
    ASSERT_EQ(drives.size(), 4u);
    const struct {
        const wchar_t* paths;
        TMediaState state;
        const wchar_t* type;
        double capacity;
    } expected[] = {
        {L"P:\\", MEDIA_STATE_USABLE, L"BD-RE XL", 100.0},
        {L"Q:\\", MEDIA_STATE_USABLE, L"DVD-R DL", 8.5},
        {L"R:\\", MEDIA_STATE_NO_MEDIA, L"", 0.0},
        {L"S:\\", MEDIA_STATE_USABLE, L"", 0.0},  // the device cannot be opened
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(drives[i]->paths, expected[i].paths);
        EXPECT_EQ(drives[i]->State(), expected[i].state);
        EXPECT_EQ(drives[i]->Media().typeName, expected[i].type);
        EXPECT_EQ(drives[i]->Media().capacityGB, expected[i].capacity);
    }
    EXPECT_EQ(drives[0]->productId, L"BD WRITER");
    EXPECT_EQ(drives[0]->supportedTypes, L"CD-ROM, DVD-ROM, BD-ROM, BD-R, BD-RE, BD-R DL, BD-RE DL");

    // Ejected: the next evaluation and probe see it at once.
    Scenario(L"[drive]\nid=bd\npaths=P:\\\nprofiles=0x08,0x10,0x40,0x41,0x43\n");
    EXPECT_EQ(EvaluateMediaState(*drives[0]), MEDIA_STATE_NO_MEDIA);
    CScsiMediaProbe probe;
    EXPECT_EQ(ProbeMediaType(probe, drives[0]->paths), MEDIA_TYPE_UNKNOWN);
}

TEST_F(DiscprobeSimulatedDrivesTest, WithoutAScenarioThereIsNoRecorderService) {
    m_drives.reset();
    CDiscMasterRef master;
    master.Create();
    EXPECT_FALSE(master.get());
    CDriveList drives;
    EXPECT_TRUE(EnumerateDrives(master, drives));
    EXPECT_TRUE(drives.empty());
}

}  // namespace
