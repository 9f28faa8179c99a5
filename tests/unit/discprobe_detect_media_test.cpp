// Media classification over the pass-through seam: the commands sent and the
// type, name and capacity found from recorded drive answers.
#include <gtest/gtest.h>

#include <cstdio>

#include "discprobe/detect/media_types.h"
#include "discprobe/detect/scsi_media_probe.h"
#include "discprobe_detect_recorded_drive.h"

using namespace discprobe;
using namespace discprobe_test;

namespace {

std::wstring Capacity(double gb) {
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%4.2f", gb);
    return text;
}

struct TClassification {
    const char* medium;
    TRecordedAnswers answers;
    TMediaType type;
    const wchar_t* name;
    const wchar_t* capacity;
};

}  // namespace

TEST(DiscprobeMediaTest, ClassifiesMediaFromProfileAndDiscStructure) {
    const TClassification cases[] = {
        {"DVD-R", {ConfigurationWithProfile(0x10), {}, DvdPhysicalFormat(2, 0), {}}, MEDIA_DVD_DASH_R, L"DVD-R", L"4.70"},
        {"DVD-R DL", {ConfigurationWithProfile(0x10), {}, DvdPhysicalFormat(2, 1), {}}, MEDIA_DVD_DASH_R_DL,
         L"DVD-R DL", L"8.50"},
        {"DVD-ROM", {ConfigurationWithProfile(0x10), {}, DvdPhysicalFormat(0, 0), {}}, MEDIA_PROFILE_DVD_ROM,
         L"DVD-ROM", L"4.70"},
        {"DVD of another book", {ConfigurationWithProfile(0x10), {}, DvdPhysicalFormat(9, 0), {}}, MEDIA_TYPE_UNKNOWN,
         L"", L"0.00"},
        {"BD-R", {ConfigurationWithProfile(0x43), {}, {}, BluRayDiscInformation(0x12)}, MEDIA_BD_R, L"BD-R", L"25.00"},
        {"BD-RE XL", {ConfigurationWithProfile(0x43), {}, {}, BluRayDiscInformation(0x34)}, MEDIA_BD_RE_XL,
         L"BD-RE XL", L"100.00"},
        {"BD-ROM", {ConfigurationWithProfile(0x40), {}, {}, BluRayDiscInformation(0x11)}, MEDIA_PROFILE_BD_ROM,
         L"BD-ROM", L"25.00"},
        {"BD-RE DL", {ConfigurationWithProfile(0x43), {}, {}, BluRayDiscInformation(0x24)}, MEDIA_BD_RE_DL,
         L"BD-RE DL", L"50.00"},
        {"BD-R XL", {ConfigurationWithProfile(0x41), {}, {}, BluRayDiscInformation(0x32)}, MEDIA_BD_R_XL, L"BD-R XL",
         L"100.00"},
        {"BD-R DL on the BD-R profile", {ConfigurationWithProfile(0x41), {}, {}, BluRayDiscInformation(0x22)},
         MEDIA_BD_R_DL, L"BD-R DL", L"50.00"},
        {"BD key outside the table", {ConfigurationWithProfile(0x41), {}, {}, BluRayDiscInformation(0x21)},
         MEDIA_TYPE_UNKNOWN, L"", L"0.00"},
        {"DVD+R", {ConfigurationWithProfile(0x1B)}, static_cast<TMediaType>(0x1B), L"DVD+R", L"4.70"},
        {"CD-RW", {ConfigurationWithProfile(0x0A)}, static_cast<TMediaType>(0x0A), L"CD-RW", L"0.70"},
        {"no answer at all", {}, MEDIA_TYPE_UNKNOWN, L"", L"0.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.medium);
        CRecordedTransport transport;
        transport.drives[L'E'] = c.answers;
        CScsiMediaProbe probe(transport);
        const TMediaType type = ProbeMediaType(probe, L"E:\\").value();
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(MediaName(type), c.name);
        EXPECT_EQ(Capacity(probe.Capacity(type)), c.capacity);
    }
}

TEST(DiscprobeMediaTest, SendsGetConfigurationThenReadDiscStructureWithTheirLengths) {
    CRecordedTransport transport;
    transport.drives[L'F'] = {ConfigurationWithProfile(0x10), {}, DvdPhysicalFormat(2, 0), {}};
    transport.drives[L'E'] = {ConfigurationWithProfile(0x43), {}, {}, BluRayDiscInformation(0x14)};
    CScsiMediaProbe probe(transport);
    // One probe, two drives in one pass: BD first, then DVD, each from its own profile.
    EXPECT_EQ(ProbeMediaType(probe, L"E:\\"), MEDIA_BD_RE);
    EXPECT_EQ(ProbeMediaType(probe, L"F:\\,C:\\mnt\\dvd\\"), MEDIA_DVD_DASH_R);

    using Cdb = std::vector<std::uint8_t>;
    const Cdb getConfiguration = {0x46, 0, 0, 0, 0, 0, 0, 0x10, 0x00, 0};
    const struct {
        wchar_t letter;
        Cdb cdb;
    } expected[] = {
        {L'E', getConfiguration},
        {L'E', {0xAD, 1, 0, 0, 0, 0, 0, 0, 0x10, 0x04, 0, 0}},  // 4,100 bytes of disc information
        {L'F', getConfiguration},
        {L'F', {0xAD, 0, 0, 0, 0, 0, 0, 0, 0x10, 0x00, 0, 0}},  // 4,096 bytes of physical format
    };
    ASSERT_EQ(transport.sent.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const TSentRequest& sent = transport.sent[i];
        EXPECT_EQ(sent.letter, expected[i].letter);
        EXPECT_EQ(sent.cdb(), expected[i].cdb);
        EXPECT_EQ(sent.header.Length, sizeof(SCSI_PASS_THROUGH));
        EXPECT_EQ(sent.header.PathId + sent.header.TargetId + sent.header.Lun, 0);
        EXPECT_EQ(sent.header.SenseInfoLength, 32);
        EXPECT_EQ(sent.header.DataIn, SCSI_IOCTL_DATA_IN);
        EXPECT_EQ(sent.header.DataTransferLength, 49152u);
        EXPECT_EQ(sent.header.TimeOutValue, 30u);
        EXPECT_EQ(sent.header.DataBufferOffset, CScsiMediaProbe::kLayout.dataOffset);
        EXPECT_EQ(sent.header.SenseInfoOffset, CScsiMediaProbe::kLayout.senseOffset);
        EXPECT_EQ(sent.inputLength, sizeof(SCSI_PASS_THROUGH));
        EXPECT_EQ(sent.outputLength, CScsiMediaProbe::kLayout.TotalSize());
    }
#ifndef _WIN64
    EXPECT_EQ(transport.sent[0].header.DataBufferOffset, 80u);
    EXPECT_EQ(transport.sent[0].header.SenseInfoOffset, 48u);
    EXPECT_EQ(transport.sent[0].outputLength, 49232u);
#endif
}

TEST(DiscprobeMediaTest, NoTypeWhereThePassThroughIsNotAllowed) {
    CRecordedTransport transport;
    transport.drives[L'H'].refuse = true;
    CScsiMediaProbe probe(transport);
    EXPECT_EQ(ProbeMediaType(probe, L"G:\\"), std::nullopt);  // the device cannot be opened
    EXPECT_EQ(ProbeMediaType(probe, L""), std::nullopt);
    EXPECT_EQ(ProbeMediaType(probe, L"H:\\"), std::nullopt);  // the request is refused
    EXPECT_EQ(transport.sent.size(), 1u);
}

TEST(DiscprobeMediaTest, FailedOrShortDiscStructureLeavesNoStaleAnswer) {
    // The configuration answer has the BD-R key's value at byte 16; a disc-structure
    // read that is refused or answers fewer bytes must not classify from it. A
    // refused one leaves the type to the recorder service.
    auto configuration = ConfigurationWithProfile(0x43);
    configuration.resize(32, 0);
    configuration[16] = 0x12;
    const std::pair<TRecordedAnswers, std::optional<TMediaType>> answers[] = {
        {{configuration, {}, {}, {}, true}, std::nullopt},
        {{configuration, {}, {}, std::vector<std::uint8_t>(8, 0)}, MEDIA_TYPE_UNKNOWN}};
    for (const auto& [answer, type] : answers) {
        CRecordedTransport transport;
        transport.drives[L'E'] = answer;
        CScsiMediaProbe probe(transport);
        EXPECT_EQ(ProbeMediaType(probe, L"E:\\"), type);
        // A second drive in the same pass starts from a cleared buffer.
        transport.drives[L'F'] = {ConfigurationWithProfile(0x0A)};
        EXPECT_EQ(ProbeMediaType(probe, L"F:\\"), static_cast<TMediaType>(0x0A));
    }
}

TEST(DiscprobeMediaTest, CodesOutsideTheTablesHaveNoNameAndNoCapacity) {
    CCapacityTable capacities;
    for (std::uint32_t code : {0x02u, 0x56u, 0xFFFFu}) {
        EXPECT_EQ(MediaName(static_cast<TMediaType>(code)), L"") << code;
        EXPECT_EQ(capacities.Capacity(static_cast<TMediaType>(code)), 0.0) << code;
    }
}

TEST(DiscprobeMediaTest, SupportedMediaTextNamesEachMediumOnceInProfileOrder) {
    const long profiles[] = {0x43, 0x10, 0x08, 0x14, 0x13, 0x41, 0x42, 0x09, 0x77, 0x00};
    EXPECT_EQ(SupportedMediaText(profiles, 0), L"CD-ROM, CD-R, DVD-ROM, DVD-RW, BD-R, BD-RE");
    EXPECT_EQ(SupportedMediaText(profiles, 2), L"CD-ROM, CD-R, DVD-ROM, DVD-RW, BD-R, BD-RE, BD-R DL, BD-RE DL");
    EXPECT_EQ(SupportedMediaText({}, 0), L"");
}

TEST(DiscprobeMediaTest, BluRayWriteCheckAsksTheWriteFeatureOnlyForBluRayDrives) {
    auto profileList = [](std::uint8_t profile) {
        std::vector<std::uint8_t> answer(24, 0);
        answer[13] = profile;
        return answer;
    };
    auto writeFeature = [](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> answer(32, 0);
        answer[at] = value;
        return answer;
    };
    const struct {
        const char* drive;
        TRecordedAnswers answers;
        int result;
        std::size_t requests;
    } cases[] = {
        {"DVD writer", {profileList(0x1B)}, 0, 1},
        {"BD-RE DL writer", {profileList(0x41), writeFeature(17, 4)}, 2, 2},
        {"BD-R DL writer", {profileList(0x41), writeFeature(25, 2)}, 1, 2},
        {"BD writer, single layer", {profileList(0x41), writeFeature(25, 1)}, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drive);
        CRecordedTransport transport;
        transport.drives[L'E'] = c.answers;
        EXPECT_EQ(BluRayWriteSupport(transport, L'E'), c.result);
        ASSERT_EQ(transport.sent.size(), c.requests);
        // Allocation length 512, as much as the transfer holds.
        EXPECT_EQ(transport.sent[0].cdb(), (std::vector<std::uint8_t>{0x46, 0, 0, 0, 0, 0, 0, 0x02, 0x00, 0}));
        EXPECT_EQ(transport.sent[0].header.DataTransferLength, 512u);
        EXPECT_EQ(transport.sent[0].header.SenseInfoLength, 24);
        if (c.requests == 2) {
            EXPECT_EQ(transport.sent[1].cdb(), (std::vector<std::uint8_t>{0x46, 0, 0, 0x41, 0, 0, 0, 0x02, 0x00, 0}));
        }
#ifndef _WIN64
        EXPECT_EQ(transport.sent[0].outputLength, 592u);
        EXPECT_EQ(transport.sent[0].header.DataBufferOffset, 80u);
#endif
    }
}
