// The optical checker dialog's rules that need no window: layout, texts, Next,
// and which device changes rebuild the drive list.
#include <gtest/gtest.h>

#include "control_ids.h"
#include "device_change.h"
#include "dialog_layout.h"
#include "row_texts.h"

using namespace discprobe;

TEST(DiscLayout, ChainedControlsScaleXWithHorizontalAndYWithVerticalDpi) {
    const struct {
        ScreenDpi dpi;
        int id;
        RECT rect;
    } rows[] = {
        // Each placed below the bottom of the one before, from the left of the chain's first.
        {{96, 96}, IDC_CHECK_MEDIA_IN, {22, 55, 522, 75}},   {{96, 96}, IDC_DRIVE_LIST, {22, 75, 524, 149}},
        {{96, 96}, IDC_SUPPORTED_MEDIA, {22, 187, 496, 231}}, {{96, 96}, IDC_MEDIA_LIST, {18, 60, 492, 102}},
        {{96, 96}, IDC_DRIVE_INFO_LABEL, {24, 122, 424, 142}},
        // y = bottom of the heading (20 + 29) + 16 * 1.25; the status line's -2 overlap rounds to -3.
        {{144, 120}, IDC_CHECK_MEDIA_IN, {33, 69, 783, 94}}, {{144, 120}, IDC_SUPPORTED_MEDIA, {33, 234, 744, 289}},
    };
    for (const auto& row : rows) {
        RECT placed{};
        for (const PlacedControl& control : PlaceControls(row.dpi))
            if (control.id == row.id) placed = control.rect;
        EXPECT_TRUE(::EqualRect(&placed, &row.rect)) << row.id << " at " << row.dpi.x << "x" << row.dpi.y << ": "
                                                      << placed.left << "," << placed.top << "," << placed.right << ","
                                                      << placed.bottom;
    }
    EXPECT_EQ(DialogSize({144, 120}).cx, 831);
    EXPECT_EQ(DialogSize({144, 120}).cy, 394);
    EXPECT_EQ(FontHeight(12, {96, 96}), -16);
    EXPECT_EQ(FontHeight(9, {144, 120}), -15);
}

TEST(DiscRowTexts, StatusAndDriveTexts) {
    TextTable texts{{L"DetectingMedia", L"Detecting"}};
    EXPECT_EQ(StatusText(texts, 3), L"Detecting...");
    EXPECT_EQ(StatusText(texts, 4), L"");
    EXPECT_EQ(DriveLetterText(L"E:\\,C:\\mnt\\dvd\\"), L"E");
    EXPECT_EQ(DriveLetterText(L""), L"");
    EXPECT_EQ(SupportedMediaLine(L"Supported media:", L""), L"");
}

TEST(DiscRowTexts, NextOnlyForAValidSelectedRowWithAUsableMedium) {
    struct Case {
        int row, count;
        bool selected;
        int state;
        bool enabled;
    } cases[] = {
        {0, 1, true, 0, true},   {0, 1, false, 0, false}, {0, 1, true, 1, false}, {0, 1, true, 2, false},
        {0, 1, true, 3, false},  {-1, 1, true, 0, false}, {1, 1, true, 0, false}, {1, 2, true, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNextEnabled(c.row, c.count, c.selected, c.state), c.enabled)
            << c.row << "/" << c.count << " selected " << c.selected << " state " << c.state;
}

TEST(DiscDeviceChange, RootOfTheLowestUnitBit) {
    EXPECT_EQ(RootOfUnitMask(1u << 4), L"E:\\");
    EXPECT_EQ(RootOfUnitMask((1u << 25) | (1u << 3)), L"D:\\");
    EXPECT_EQ(RootOfUnitMask(0), L"");
}

TEST(DiscDeviceChange, OnlyCdRomArrivalsAndListedRemovalsWithoutFlagsRebuild) {
    auto volume = [](DWORD mask, WORD flags) {
        DEV_BROADCAST_VOLUME v{};
        v.dbcv_size = sizeof v;
        v.dbcv_devicetype = DBT_DEVTYP_VOLUME;
        v.dbcv_unitmask = mask;
        v.dbcv_flags = flags;
        return v;
    };
    const DWORD e = 1u << 4, f = 1u << 5;
    auto types = [](const std::wstring& root) -> UINT { return root == L"E:\\" ? DRIVE_CDROM : DRIVE_FIXED; };
    const std::vector<std::wstring> listed = {L"E:\\", L"G:\\,C:\\mnt\\bd\\"};
    struct Case {
        const char* what;
        WPARAM event;
        DEV_BROADCAST_VOLUME volume;
        bool rebuild;
    } cases[] = {
        {"CD-ROM arrives", DBT_DEVICEARRIVAL, volume(e, 0), true},
        {"fixed disk arrives", DBT_DEVICEARRIVAL, volume(f, 0), false},
        {"medium arrives", DBT_DEVICEARRIVAL, volume(e, DBTF_MEDIA), false},
        {"network volume arrives", DBT_DEVICEARRIVAL, volume(e, DBTF_NET), false},
        {"listed drive removed", DBT_DEVICEREMOVECOMPLETE, volume(e, 0), true},
        {"medium removed", DBT_DEVICEREMOVECOMPLETE, volume(e, DBTF_MEDIA), false},
        {"drive with two paths removed", DBT_DEVICEREMOVECOMPLETE, volume(1u << 6, 0), false},
        {"unlisted drive removed", DBT_DEVICEREMOVECOMPLETE, volume(f, 0), false},
        {"query remove", DBT_DEVICEQUERYREMOVE, volume(e, 0), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDriveListChange(c.event, reinterpret_cast<const DEV_BROADCAST_HDR*>(&c.volume), listed, types),
                  c.rebuild)
            << c.what;

    DEV_BROADCAST_HDR port{sizeof port, DBT_DEVTYP_PORT, 0};
    EXPECT_FALSE(IsDriveListChange(DBT_DEVICEARRIVAL, &port, listed, types));
    EXPECT_FALSE(IsDriveListChange(DBT_DEVICEARRIVAL, nullptr, listed, types));
}
