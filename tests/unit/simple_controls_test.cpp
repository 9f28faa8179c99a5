// The label, the output pane and the tab frame on a real dialog.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "controls_test_ids.h"
#include "controls_test_window.h"
#include "my_rich_edit_ctrl.h"
#include "my_static.h"
#include "my_tab_ctrl.h"
#include "palette.h"

using namespace launcher;
using controls_test::Canvas;
using controls_test::ClientSize;
using controls_test::TestDialog;

namespace {

class SimpleControlsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(dialog.hwnd(), nullptr); }
    TestDialog dialog;
};

LOGFONTW LabelFont() {
    LOGFONTW font{};
    font.lfHeight = -20;
    font.lfWeight = FW_BOLD;
    font.lfQuality = NONANTIALIASED_QUALITY;
    wcscpy(font.lfFaceName, L"Tahoma");
    return font;
}

TEST_F(SimpleControlsTest, LabelAnswersItsColourRequest) {
    HWND label = dialog.Item(IDC_INSTRUCTION);
    CMyStatic instruction;
    ASSERT_TRUE(instruction.Attach(label));
    instruction.SetTextColor(kBrandColour);
    instruction.SetFont(LabelFont());
    Canvas canvas(8, 8);

    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(dialog.hwnd(), WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(canvas.dc()),
                                                         reinterpret_cast<LPARAM>(label)));

    ASSERT_NE(brush, nullptr);
    LOGBRUSH described{};
    ASSERT_EQ(::GetObjectW(brush, sizeof described, &described), static_cast<int>(sizeof described));
    EXPECT_EQ(described.lbColor, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetBkColor(canvas.dc()), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetTextColor(canvas.dc()), kBrandColour);
    EXPECT_EQ(::GetBkMode(canvas.dc()), TRANSPARENT);
    LOGFONTW selected{};
    ::GetObjectW(::GetCurrentObject(canvas.dc(), OBJ_FONT), sizeof selected, &selected);
    EXPECT_EQ(selected.lfHeight, -20);
    EXPECT_EQ(dialog.Count(WM_CTLCOLORSTATIC), 0u);

    // Each request makes a fresh brush of the current colour.
    auto again = reinterpret_cast<HBRUSH>(::SendMessageW(dialog.hwnd(), WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(canvas.dc()),
                                                         reinterpret_cast<LPARAM>(label)));
    ASSERT_EQ(::GetObjectW(again, sizeof described, &described), static_cast<int>(sizeof described));
    EXPECT_EQ(described.lbColor, ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(SimpleControlsTest, LabelPaintsInItsColours) {
    HWND label = dialog.Item(IDC_INSTRUCTION);
    CMyStatic instruction;
    ASSERT_TRUE(instruction.Attach(label));
    instruction.SetTextColor(kBrandColour);
    instruction.SetFont(LabelFont());
    ::SetWindowTextW(label, L"MMM");
    const SIZE size = ClientSize(label);
    Canvas canvas(size.cx, size.cy);
    canvas.Fill(RGB(255, 0, 255));

    ::SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);

    EXPECT_GT(canvas.Count(kBrandColour), 20);
    EXPECT_EQ(canvas.Count(RGB(255, 0, 255)), 0);
    const RECT text = canvas.Bounds(kBrandColour);
    EXPECT_GT(text.bottom - text.top, 10);  // the label's own 20-pixel font, not the dialog's
}

TEST_F(SimpleControlsTest, LabelGivesTheWindowItsFontBackWhenItGoesFirst) {
    HWND label = dialog.Item(IDC_INSTRUCTION);
    const auto dialogFont = ::SendMessageW(label, WM_GETFONT, 0, 0);
    {
        CMyStatic instruction;
        instruction.SetFont(LabelFont());  // before attaching: applied on attach
        ASSERT_TRUE(instruction.Attach(label));
        EXPECT_NE(::SendMessageW(label, WM_GETFONT, 0, 0), dialogFont);
        instruction.SetFont(LabelFont());
        CMyStatic moved(std::move(instruction));
        EXPECT_NE(::SendMessageW(label, WM_GETFONT, 0, 0), dialogFont);
    }
    EXPECT_EQ(::SendMessageW(label, WM_GETFONT, 0, 0), dialogFont);
}

TEST_F(SimpleControlsTest, OutputPaneStoresTheScrollPositionAndStillScrolls) {
    HWND pane = dialog.Item(IDC_OUTPUT_PANE);
    CMyRichEditCtrl output;
    ASSERT_TRUE(output.Attach(pane));
    std::wstring lines;
    for (int i = 0; i < 100; ++i) lines += L"line " + std::to_wstring(i) + L"\r\n";
    ::SetWindowTextW(pane, lines.c_str());
    EXPECT_EQ(output.ScrollPosition(), 0);

    ::SendMessageW(pane, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 37), 0);
    EXPECT_EQ(output.ScrollPosition(), 37);
    ::SendMessageW(pane, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 12), 0);
    EXPECT_EQ(output.ScrollPosition(), 12);

    ::SendMessageW(pane, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(output.ScrollPosition(), 0);
    EXPECT_GT(::SendMessageW(pane, EM_GETFIRSTVISIBLELINE, 0, 0), 50);
}

TEST_F(SimpleControlsTest, TabFrameHasFixedOwnerDrawnTabsAndAFlagPerTab) {
    HWND tab = dialog.Item(IDC_TAB_FRAME);
    CMyTabCtrl frame;
    ASSERT_TRUE(frame.Attach(tab));
    const LONG_PTR style = ::GetWindowLongPtrW(tab, GWL_STYLE);
    EXPECT_TRUE(style & TCS_FIXEDWIDTH);
    EXPECT_TRUE(style & TCS_OWNERDRAWFIXED);
    EXPECT_FALSE(frame.IsTabEnabled(0));
    EXPECT_FALSE(frame.EnableTab(0, false));

    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"tab");
    ASSERT_EQ(TabCtrl_InsertItem(tab, 0, &item), 0);
    ASSERT_EQ(TabCtrl_InsertItem(tab, 1, &item), 1);
    EXPECT_TRUE(frame.IsTabEnabled(0));
    EXPECT_TRUE(frame.EnableTab(1, false));
    EXPECT_FALSE(frame.IsTabEnabled(1));

    ASSERT_EQ(TabCtrl_InsertItem(tab, 0, &item), 0);  // the flags move with their tabs
    EXPECT_FALSE(frame.IsTabEnabled(2));
    EXPECT_TRUE(frame.IsTabEnabled(0));
    ASSERT_TRUE(TabCtrl_DeleteItem(tab, 0));
    EXPECT_FALSE(frame.IsTabEnabled(1));
    EXPECT_FALSE(frame.EnableTab(2, true));
    ASSERT_TRUE(TabCtrl_DeleteAllItems(tab));
    EXPECT_FALSE(frame.IsTabEnabled(0));
}

}  // namespace
