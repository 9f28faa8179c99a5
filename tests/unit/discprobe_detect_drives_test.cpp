// The drive list and media states, built through the recorder classes of the
// simulated drives (registered for this process) and recorded pass-through answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

#include "discprobe/detect/drive_detection.h"
#include "discprobe_detect_recorded_drive.h"
#include "sim_objects.h"
#include "simulated_drives.h"

using namespace discprobe;
using namespace discprobe_test;

namespace {

// Registers the simulated classes for this process and points them at a scenario file.
class DiscprobeDrivesTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_apartment.ok());
        const CLSID* classes[] = {&CLSID_MsftDiscMaster2, &CLSID_MsftDiscRecorder2, &CLSID_MsftDiscFormat2Data};
        for (std::size_t i = 0; i < std::size(classes); ++i) {
            fw::ComPtr<IUnknown> factory;
            ASSERT_EQ(discsim::GetClassObject(*classes[i], IID_IUnknown, reinterpret_cast<void**>(factory.GetAddressOf())),
                      S_OK);
            ASSERT_EQ(::CoRegisterClassObject(*classes[i], factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                              &m_cookies[i]),
                      S_OK);
        }
    }
    void TearDown() override {
        m_drives.clear();
        for (DWORD cookie : m_cookies)
            if (cookie) ::CoRevokeClassObject(cookie);
        EXPECT_EQ(discsim::LiveObjectCount(), m_masterHeld ? 1 : 0) << "a recorder object was not released";
    }

    void Scenario(const std::wstring& text) { ASSERT_TRUE(m_simulation.Write(text)); }
    // Creates the master and lists the drives.
    void Enumerate() {
        m_master.Create();
        m_masterHeld = m_master.get() != nullptr;
        EXPECT_TRUE(EnumerateDrives(m_master, m_drives, m_transport));
    }

    fw::ComApartment m_apartment{COINIT_MULTITHREADED};
    DWORD m_cookies[3] = {};
    discsim::CSimulatedDrives m_simulation;
    CRecordedTransport m_transport;
    CDiscMasterRef m_master;
    bool m_masterHeld = false;
    CDriveList m_drives;
};

TEST_F(DiscprobeDrivesTest, ListsEachDriveWithItsIdentityStateAndMedium) {
    Scenario(L"[drive]\nid=bd\npaths=E:\\\nvendor=NORDDISC\nproduct=BD-RE NB-X07\nrevision=1.00\n"
             L"profiles=0x08,0x09,0x10,0x1B,0x40,0x41,0x43\ncurrent=0x41\n"
             L"[drive]\nid=dvd\npaths=F:\\|C:\\mnt\\dvd\\\nvendor=ACMEOPT\nproduct=DVD+-RW\nrevision=D400\n"
             L"profiles=0x08,0x0A,0x10,0x11,0xFFFF,-1\n");
    m_transport.drives[L'E'] = {ConfigurationWithProfile(0x41), {}, {}, BluRayDiscInformation(0x12)};
    Enumerate();

    ASSERT_EQ(m_drives.size(), 2u);
    const TDriveRecord& bd = *m_drives[0];
    EXPECT_EQ(bd.paths, L"E:\\");
    EXPECT_EQ(bd.vendorId + L"|" + bd.productId + L"|" + bd.revision, L"NORDDISC|BD-RE NB-X07|1.00");
    EXPECT_EQ(bd.State(), MEDIA_STATE_USABLE);
    EXPECT_EQ(bd.Media().typeName, L"BD-R");
    EXPECT_EQ(bd.Media().capacityGB, 25.0);
    EXPECT_EQ(bd.format.DriveLetter(), L'E');
    EXPECT_EQ(bd.supportedTypes, L"CD-ROM, CD-R, DVD-ROM, DVD+R, BD-ROM, BD-R, BD-RE");

    // Two mount points joined with a comma, the drive letter from the first; no medium.
    const TDriveRecord& dvd = *m_drives[1];
    EXPECT_EQ(dvd.paths, L"F:\\,C:\\mnt\\dvd\\");
    EXPECT_EQ(dvd.format.DriveLetter(), L'F');
    EXPECT_EQ(dvd.recorder.Profiles(), (std::vector<long>{0x08, 0x0A, 0x10, 0x11}));
    EXPECT_EQ(dvd.State(), MEDIA_STATE_NO_MEDIA);
    EXPECT_EQ(dvd.Media().typeName, L"");
    EXPECT_EQ(dvd.Media().capacityGB, 0.0);
    // The media type is probed for every listed drive, whatever its state.
    EXPECT_EQ(std::count(m_transport.opened.begin(), m_transport.opened.end(), L'F'), 2);

    EXPECT_EQ(FindDriveByPaths(m_drives, L"E:\\"), 0);
    EXPECT_EQ(FindDriveByPaths(m_drives, L"F:\\"), -1);
    EXPECT_EQ(FindDriveByPaths(m_drives, L"F:\\,C:\\mnt\\dvd\\"), 1);
    EXPECT_EQ(FindDriveByPaths(m_drives, L"e:\\"), -1);
    EXPECT_EQ(FindDriveByPaths(m_drives, L""), -1);
}

TEST_F(DiscprobeDrivesTest, MasterKeepsItsLastFailure) {
    const struct {
        const wchar_t* scenario;  // null: no recorder service at all
        const wchar_t* text;
        std::size_t drives;
    } cases[] = {
        {nullptr, L"Unable to Initialize IDiscMaster2 - Error:0x80040111", 0},
        // A failed environment check changes nothing.
        {L"supported_hr=0x80004005\n[drive]\npaths=E:\\\n",
         L"IDiscMaster2->get_IsSupportedEnvironment failed! - Error:0x80004005", 1},
        {L"count_hr=0x80004005\n[drive]\npaths=E:\\\n", L"IDiscMaster2->get_Count failed! - Error:0x80004005", 0},
        {L"[drive]\npaths=E:\\\n[drive]\npaths=F:\\\nitem_hr=0x80004005\n[drive]\npaths=G:\\\n",
         L"IDiscMaster2->get_Item(1) failed! - Error:0x80004005", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.scenario)
            Scenario(c.scenario);
        else
            ::SetEnvironmentVariableW(L"DISCSIM_SCENARIO", nullptr);
        Enumerate();
        EXPECT_EQ(m_master.LastError(), c.text);
        EXPECT_EQ(m_drives.size(), c.drives);
    }
}

TEST_F(DiscprobeDrivesTest, DrivesThatCannotBeSetUpAreLeftOutWithTheFirstFailureText) {
    const struct {
        const wchar_t* drive;
        const wchar_t* text;  // of the data-format object, where it fails
    } cases[] = {
        {L"init_hr=0x80004005", nullptr},
        {L"profiles=none", nullptr},
        {L"supported=0", L"Recorder not supported"},
        {L"put_recorder_hr=0x80004005", L"IDiscFormat2Data->put_Recorder Failed - Error:0x80004005"},
        {L"client_name_hr=0x80004005", L"IDiscFormat2Data->put_ClientName Failed - Error:0x80004005"},
        {L"media_types_hr=0x80004005", L"IDiscFormat2Data->get_SupportedMediaTypes Failed - Error:0x80004005"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drive);
        Scenario(std::wstring(L"[drive]\nid=x\npaths=E:\\\n") + c.drive + L"\n[drive]\nid=kept\npaths=K:\\\n");
        Enumerate();
        ASSERT_EQ(m_drives.size(), 1u);
        EXPECT_EQ(m_drives[0]->paths, L"K:\\");
        if (!c.text) continue;
        CDiscRecorderRef recorder;
        ASSERT_TRUE(recorder.Initialize(L"x"));
        CDiscFormatData format;
        EXPECT_FALSE(format.Initialize(recorder, kClientName));
        EXPECT_EQ(format.LastError(), c.text);
    }
    CDiscFormatData format;
    EXPECT_FALSE(format.Initialize(CDiscRecorderRef(), kClientName));
    EXPECT_EQ(format.LastError(), L"Error - CDiscFormatData::Initialize - pDiscRecorder is NULL");
}

TEST_F(DiscprobeDrivesTest, MediaStateFollowsTheRecorderAnswers) {
    const struct {
        const wchar_t* answers;
        TMediaState state;
    } cases[] = {
        {L"physical_hr=0xC0AA0205\nstatus_hr=0xC0AA0205", MEDIA_STATE_BECOMING_READY},
        {L"physical_hr=0xC0AA0202\nstatus_hr=0xC0AA0202", MEDIA_STATE_NO_MEDIA},
        {L"physical_hr=S_OK\nstatus_hr=S_OK", MEDIA_STATE_USABLE},
        {L"physical_hr=0xC0AA0205\nstatus_hr=S_OK", MEDIA_STATE_USABLE},
        {L"physical_hr=S_OK\nstatus_hr=1\ncurrent=0x10", MEDIA_STATE_NOT_USABLE},  // success, but not S_OK
        // Another answer: present only when the profile list marks a profile current.
        {L"physical_hr=0x80004005\nstatus_hr=0xC0AA0407\ncurrent=0x10", MEDIA_STATE_NOT_USABLE},
        {L"physical_hr=0x80004005\nstatus_hr=0xC0AA0407\ncurrent=0x10\nfeature_current=0", MEDIA_STATE_NO_MEDIA},
        {L"physical_hr=0x80004005\nstatus_hr=0xC0AA0407\nfeature_hr=0x80004005", MEDIA_STATE_NOT_USABLE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers);
        Scenario(std::wstring(L"[drive]\npaths=E:\\\n") + c.answers + L"\n");
        Enumerate();
        ASSERT_EQ(m_drives.size(), 1u);
        EXPECT_EQ(EvaluateMediaState(*m_drives[0]), c.state);
    }

    // An inserted disc: becoming ready for two evaluations, then usable.
    Scenario(L"[drive]\npaths=E:\\\nphysical_hr=0xC0AA0202,0xC0AA0205*2,S_OK\nstatus_hr=0xC0AA0202*3,S_OK\n");
    m_transport.drives[L'E'] = {};  // answers MMC commands: only the state asks for the physical type
    Enumerate();  // the first evaluation: no medium
    ASSERT_EQ(m_drives.size(), 1u);
    EXPECT_EQ(m_drives[0]->State(), MEDIA_STATE_NO_MEDIA);
    const TMediaState expected[] = {MEDIA_STATE_BECOMING_READY, MEDIA_STATE_BECOMING_READY, MEDIA_STATE_USABLE};
    for (TMediaState state : expected) EXPECT_EQ(EvaluateMediaState(*m_drives[0]), state);
}

// Platform numbers of the physical media types: 6 DVD+R, 18 BD-R, 19 BD-RE, 12 a random-access disk.
TEST_F(DiscprobeDrivesTest, WithoutPassThroughThePhysicalMediaTypeNamesTheMedium) {
    // drive: what the device answers (none: it cannot be opened); 19 refuses only the disc structure.
    const struct {
        const wchar_t* physicalType;
        std::optional<TRecordedAnswers> drive;
        const wchar_t* name;
        double capacityGB;
    } cases[] = {
        {L"6", {}, L"DVD+R", 4.7}, {L"18", TRecordedAnswers{.refuse = true}, L"BD-R", 25.0},
        {L"19", TRecordedAnswers{ConfigurationWithProfile(0x43), {}, {}, {}, true}, L"BD-RE", 25.0}, {L"12", {}, L"", 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.physicalType);
        Scenario(std::wstring(L"[drive]\npaths=E:\\\ncurrent=0x10\nphysical_type=") + c.physicalType + L"\n");
        m_transport.drives.clear();
        if (c.drive) m_transport.drives[L'E'] = *c.drive;
        Enumerate();
        ASSERT_EQ(m_drives.size(), 1u);
        EXPECT_EQ(m_drives[0]->Media().typeName, c.name);
        EXPECT_EQ(m_drives[0]->Media().capacityGB, c.capacityGB);
    }
}

TEST(DiscprobeFeaturePageTest, FindsAProfileMarkedCurrent) {
    using Page = std::vector<std::uint8_t>;
    const struct {
        const char* page;
        Page bytes;
        bool current;
    } cases[] = {
        {"first descriptor current", {0, 0, 3, 8, 0, 0x10, 1, 0, 0, 0x11, 0, 0}, true},
        {"second descriptor current", {0, 0, 3, 8, 0, 0x10, 0, 0, 0, 0x11, 1, 0}, true},
        {"none current", {0, 0, 3, 8, 0, 0x10, 0, 0, 0, 0x11, 0, 0}, false},
        {"a 1 outside the flag bytes", {0, 0, 3, 8, 0, 0x01, 0, 1, 0, 0x01, 0, 0}, false},
        {"flag beyond the returned size", {0, 0, 3, 8, 0, 0x10, 0, 0, 0, 0x11}, false},
        {"empty", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(HasCurrentProfile(c.bytes), c.current);
    }
    const Page longer = {0, 0, 3, 8, 0, 0x10, 0, 0, 0, 0x11, 1};
    EXPECT_FALSE(HasCurrentProfile(std::span(longer).first(10)));
    EXPECT_TRUE(HasCurrentProfile(longer));
}

TEST(DiscprobeDriveRecordTest, MediaFieldsAreReadAndWrittenWhole) {
    TDriveRecord record;
    EXPECT_EQ(record.State(), MEDIA_STATE_NO_MEDIA);
    std::atomic<bool> torn = false;
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) {
            record.SetMedia(i % 2 ? TMediaInfo{L"BD-RE XL", 100.0} : TMediaInfo{L"DVD-R", 4.7});
            record.SetState(i % 2 ? MEDIA_STATE_USABLE : MEDIA_STATE_NO_MEDIA);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        const TMediaInfo media = record.Media();
        if (!(media.typeName.empty() && media.capacityGB == 0.0) &&
            !(media.typeName == L"BD-RE XL" && media.capacityGB == 100.0) &&
            !(media.typeName == L"DVD-R" && media.capacityGB == 4.7))
            torn = true;
    }
    writer.join();
    EXPECT_FALSE(torn);
}

}  // namespace
