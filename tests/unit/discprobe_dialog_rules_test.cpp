// The optical checker dialog's rules that need no window: layout, texts, Next,
// and which device changes rebuild the drive list.
#include <gtest/gtest.h>

#include "control_ids.h"
#include "device_change.h"
#include "dialog_layout.h"
#include "row_texts.h"

using namespace discprobe;

namespace {

RECT Find(const std::vector<PlacedControl>& placed, int id) {
    for (const PlacedControl& control : placed)
        if (control.id == id) return control.rect;
    ADD_FAILURE() << "no control " << id;
    return {};
}

void ExpectRect(const RECT& actual, LONG left, LONG top, LONG width, LONG height) {
    EXPECT_EQ(actual.left, left);
    EXPECT_EQ(actual.top, top);
    EXPECT_EQ(actual.right - actual.left, width);
    EXPECT_EQ(actual.bottom - actual.top, height);
}

}  // namespace

TEST(DiscLayout, ChainedControlsAt96Dpi) {
    auto placed = PlaceControls({96, 96});
    ASSERT_EQ(placed.size(), 13u);
    ExpectRect(Find(placed, IDC_HEADING), 22, 16, 528, 23);
    ExpectRect(Find(placed, IDC_CHECK_MEDIA_IN), 22, 55, 500, 20);
    ExpectRect(Find(placed, IDC_DRIVE_LIST), 22, 75, 502, 74);
    ExpectRect(Find(placed, IDC_STATUS_LINE), 22, 169, 400, 20);
    ExpectRect(Find(placed, IDC_SUPPORTED_MEDIA), 22, 187, 474, 44);
    ExpectRect(Find(placed, IDC_BOTTOM_BAND), 0, 245, 554, 45);
    ExpectRect(Find(placed, IDC_NEXT), 379, 255, 75, 23);
    ExpectRect(Find(placed, IDC_MEDIA_LIST), 18, 60, 474, 42);
    ExpectRect(Find(placed, IDC_DRIVE_INFO_LABEL), 24, 122, 400, 20);
    ExpectRect(Find(placed, IDC_DRIVE_INFO_LIST), 24, 142, 477, 84);
    ExpectRect(Find(placed, IDC_OK), 461, 255, 75, 23);
    EXPECT_EQ(DialogSize({96, 96}).cx, 554);
    EXPECT_EQ(DialogSize({96, 96}).cy, 315);
    EXPECT_EQ(FontHeight(12, {96, 96}), -16);
    EXPECT_EQ(FontHeight(9, {96, 96}), -12);
}

TEST(DiscLayout, XScalesWithHorizontalAndYWithVerticalDpi) {
    auto placed = PlaceControls({144, 120});
    // 1006: x 22 -> 33; y = bottom of 1005 (20 + 29) + 16 * 1.25 = 69.
    ExpectRect(Find(placed, IDC_CHECK_MEDIA_IN), 33, 69, 750, 25);
    // 1004 sits 2 pixels (scaled: -3 rounded by MulDiv) into the status line.
    RECT status = Find(placed, IDC_STATUS_LINE);
    EXPECT_EQ(Find(placed, IDC_SUPPORTED_MEDIA).top, status.bottom + ::MulDiv(-2, 120, 96));
    EXPECT_EQ(DialogSize({144, 120}).cx, 831);
    EXPECT_EQ(DialogSize({144, 120}).cy, 394);
    EXPECT_EQ(FontHeight(9, {144, 120}), -15);
}

TEST(DiscRowTexts, StatusCapacityAndDriveColumns) {
    TextTable texts{{L"DiscInserted", L"In"}, {L"Invalid", L"Bad"}, {L"NoDiscInserted", L"None"},
                    {L"DetectingMedia", L"Detecting"}};
    EXPECT_EQ(StatusText(texts, 0), L"In");
    EXPECT_EQ(StatusText(texts, 1), L"Bad");
    EXPECT_EQ(StatusText(texts, 2), L"None");
    EXPECT_EQ(StatusText(texts, 3), L"Detecting...");
    EXPECT_EQ(StatusText(texts, 4), L"");

    EXPECT_EQ(CapacityText(0.0, L"GB"), L"0.00 GB");
    EXPECT_EQ(CapacityText(4.7, L"GB"), L"4.70 GB");
    EXPECT_EQ(CapacityText(100.0, L"GB"), L"100.00 GB");
    EXPECT_EQ(DriveColumnText(L"E:\\", L"BD-RE  BH16NS40"), L"   E:\\BD-RE  BH16NS40");
    EXPECT_EQ(DriveLetterText(L"E:\\,C:\\mnt\\dvd\\"), L"E");
    EXPECT_EQ(DriveLetterText(L""), L"");
    EXPECT_EQ(SupportedMediaLine(L"Supported media:", L"CD-ROM, DVD-R"), L"Supported media: CD-ROM, DVD-R");
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
