// The owner-drawn button on a real dialog: its style, clicks, hover, theme use
// and drawing; and the layout arithmetic on its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "button_layout.h"
#include "controls_test_ids.h"
#include "controls_test_window.h"
#include "fake_theme.h"
#include "framework/unique_resource.h"
#include "hostlink/protocol.h"
#include "my_button.h"
#include "palette.h"

using namespace launcher;
using hostlink::msg::kShowTestInfo;
using controls_test::Canvas;
using controls_test::ClientSize;
using controls_test::DrawThroughParent;
using controls_test::TestDialog;

namespace {

constexpr wchar_t kMissingLibrary[] = L"no_such_theme_library.dll";
constexpr wchar_t kFakeTheme[] = SUITE_TEST_BIN_DIR L"fake_theme.dll";

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

class ButtonTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(dialog.hwnd(), nullptr);
        window = dialog.Item(IDC_PICTURE_BUTTON);
        size = ClientSize(window);
    }

    // Draws the button as the dialog has it drawn, into a fresh canvas.
    void Render(Canvas& canvas, UINT itemState = 0) {
        canvas.Fill(RGB(255, 0, 255));
        ASSERT_EQ(DrawThroughParent(window, canvas.dc(), itemState), TRUE);
    }

    TestDialog dialog;
    HWND window = nullptr;
    SIZE size{};
};

LONG_PTR Style(HWND window) { return ::GetWindowLongPtrW(window, GWL_STYLE); }

LOGFONTW BigFont() {
    LOGFONTW font{};
    font.lfHeight = -24;
    font.lfWeight = FW_BOLD;
    font.lfQuality = NONANTIALIASED_QUALITY;  // exact brand-coloured pixels
    wcscpy(font.lfFaceName, L"Tahoma");
    return font;
}

TEST_F(ButtonTest, AttachMakesAnOwnerDrawnMultiLineButton) {
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));
    EXPECT_EQ(Style(window) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(Style(window) & BS_MULTILINE);
    EXPECT_FALSE(button.IsDefault());
}

TEST_F(ButtonTest, SetStyleRemembersDefaultButKeepsOwnerDraw) {
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));

    ::SendMessageW(window, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(Style(window) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(button.IsDefault());

    ::SendMessageW(window, BM_SETSTYLE, BS_CHECKBOX, TRUE);  // neither kind: no change of mind
    EXPECT_EQ(Style(window) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(button.IsDefault());

    ::SendMessageW(window, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(Style(window) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_FALSE(button.IsDefault());
}

TEST_F(ButtonTest, ClickTakesTheFocusAndShowsTestInfo) {
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));
    button.SetIndex(5);
    ::SetFocus(dialog.Item(IDC_CLOSE_BUTTON));

    ::SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_PICTURE_BUTTON, BN_CLICKED),
                   reinterpret_cast<LPARAM>(window));

    EXPECT_EQ(::GetFocus(), window);
    ASSERT_EQ(dialog.Count(kShowTestInfo), 1u);
    EXPECT_EQ(dialog.received.back().wParam, 5u);
    EXPECT_EQ(dialog.Count(WM_COMMAND), 0u);
}

TEST_F(ButtonTest, DoubleClickActsAsTwoClicks) {
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));
    button.SetIndex(3);
    const LPARAM inside = MAKELPARAM(5, 5);

    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ::SendMessageW(window, WM_LBUTTONUP, 0, inside);
    ::SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
    ::SendMessageW(window, WM_LBUTTONUP, 0, inside);

    ASSERT_EQ(dialog.Count(kShowTestInfo), 2u);
    for (const auto& r : dialog.received) {
        if (r.message == kShowTestInfo) {
            EXPECT_EQ(r.wParam, 3u);
        }
    }
    EXPECT_EQ(dialog.Count(WM_COMMAND), 0u);  // nor a BN_DOUBLECLICKED
}

TEST_F(ButtonTest, DrawsFlatWithoutTheThemeLibrary) {
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));
    Canvas canvas(size.cx, size.cy);
    Render(canvas);

    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(canvas.Count(face), size.cx * size.cy);
    EXPECT_EQ(button.DrawState(), kDrawNormal);
}

TEST_F(ButtonTest, ThreeDimensionalBorderHasTwoLinesASide) {
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));
    button.Set3DBorder(true);
    Canvas canvas(size.cx, size.cy);
    Render(canvas);

    const int right = size.cx - 1;
    const int bottom = size.cy - 1;
    EXPECT_EQ(canvas.Pixel(0, 10), ::GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(canvas.Pixel(10, 0), ::GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(canvas.Pixel(1, 10), ::GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(canvas.Pixel(10, 1), ::GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(canvas.Pixel(right, 10), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.Pixel(10, bottom), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.Pixel(right - 1, 10), ::GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.Pixel(10, bottom - 1), ::GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(canvas.Pixel(size.cx / 2, size.cy / 2), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(ButtonTest, PaintingThroughTheWindowClassReachesTheButton) {
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));
    Canvas canvas(size.cx, size.cy);
    canvas.Fill(RGB(255, 0, 255));
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(canvas.Count(::GetSysColor(COLOR_BTNFACE)), size.cx * size.cy);
}

TEST_F(ButtonTest, HoverAndPressChangeTheDrawState) {
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));
    Canvas canvas(size.cx, size.cy);

    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Render(canvas);
    EXPECT_EQ(button.DrawState(), kDrawHot);
    Render(canvas, ODS_SELECTED);
    EXPECT_EQ(button.DrawState(), kDrawPressed);

    ::SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    Render(canvas);
    EXPECT_EQ(button.DrawState(), kDrawNormal);
}

TEST_F(ButtonTest, TitleIsCentredInTheBrandColourAndMovesWhenPressed) {
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));
    button.SetTextFont(BigFont());
    button.SetTitle(L"MM");
    Canvas canvas(size.cx, size.cy);

    Render(canvas);
    const RECT normal = canvas.Bounds(kBrandColour);
    ASSERT_FALSE(::IsRectEmpty(&normal));
    EXPECT_NEAR((normal.left + normal.right) / 2, size.cx / 2, 2);
    EXPECT_NEAR((normal.top + normal.bottom) / 2, size.cy / 2, 4);

    Render(canvas, ODS_SELECTED);
    RECT pressed = canvas.Bounds(kBrandColour);
    ::OffsetRect(&pressed, -kPressedOffset.x, -kPressedOffset.y);
    EXPECT_TRUE(SameRect(pressed, normal));
}

TEST_F(ButtonTest, IconWithoutTextIsCentred) {
    // A 16 x 16 red icon: its hot spot is its centre, so the button takes it as 16 x 16.
    fw::UniqueBitmap colour(::CreateBitmap(16, 16, 1, 32, nullptr));
    fw::UniqueBitmap mask(::CreateBitmap(16, 16, 1, 1, nullptr));  // all zero: opaque
    {
        fw::UniqueDc dc(::CreateCompatibleDC(nullptr));
        fw::ScopedSelect select(dc.get(), colour.get());
        RECT all{0, 0, 16, 16};
        ::SetDCBrushColor(dc.get(), RGB(255, 0, 0));
        ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    }
    ICONINFO info{TRUE, 8, 8, mask.get(), colour.get()};
    CMyButton button(kMissingLibrary);
    ASSERT_TRUE(button.Attach(window));
    button.SetIcon(fw::UniqueIcon(::CreateIconIndirect(&info)));
    Canvas canvas(size.cx, size.cy);
    Render(canvas);

    const RECT red = canvas.Bounds(RGB(255, 0, 0));
    const LONG left = (size.cx - 16) / 2;
    const LONG top = (size.cy - 16) / 2;
    EXPECT_TRUE(SameRect(red, RECT{left, top, left + 16, top + 16}))
        << red.left << "," << red.top << " " << red.right << "," << red.bottom;
}

// The visual-styles path, with a stand-in library that records the calls.
class ThemedButtonTest : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        ASSERT_TRUE(library) << "fake_theme.dll is missing beside the test program";
        auto logFunction = reinterpret_cast<FakeThemeLogFunction>(::GetProcAddress(library.get(), "FakeThemeLog"));
        ASSERT_NE(logFunction, nullptr);
        record = logFunction();
        *record = FakeThemeRecord{};
    }
    // Keeps the stand-in loaded, and its record readable, after a button freed it.
    fw::UniqueModule library{::LoadLibraryW(kFakeTheme)};
    FakeThemeRecord* record = nullptr;
};

TEST_F(ThemedButtonTest, DrawsThePushButtonPartInTheDrawState) {
    {
        CMyButton button(kFakeTheme);
        ASSERT_TRUE(button.Attach(window));
        button.Set3DBorder(true);  // not drawn over a theme
        EXPECT_EQ(record->opened, 1);
        EXPECT_STREQ(record->lastClass, L"BUTTON");
        Canvas canvas(size.cx, size.cy);

        Render(canvas);
        EXPECT_EQ(record->parentBackgrounds, 1);
        EXPECT_EQ(record->lastPart, 1);  // BP_PUSHBUTTON
        EXPECT_EQ(canvas.Count(FakeThemeColour(kDrawNormal)), size.cx * size.cy);

        ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        Render(canvas);
        EXPECT_EQ(record->lastState, kDrawHot);
        Render(canvas, ODS_SELECTED);
        EXPECT_EQ(record->lastState, kDrawPressed);
        EXPECT_EQ(canvas.Pixel(0, 0), FakeThemeColour(kDrawPressed));
    }
    EXPECT_EQ(record->closed, record->opened);
}

TEST_F(ThemedButtonTest, ThemeChangeReopensTheThemeData) {
    {
        CMyButton button(kFakeTheme);
        ASSERT_TRUE(button.Attach(window));
        ::SendMessageW(window, WM_THEMECHANGED, 0, 0);
        EXPECT_EQ(record->closed, 1);
        EXPECT_EQ(record->opened, 2);
    }
    EXPECT_EQ(record->closed, 2);
}

TEST_F(ThemedButtonTest, ThemeDataClosesWhenTheWindowGoesFirst) {
    CMyButton button(kFakeTheme);
    ASSERT_TRUE(button.Attach(window));
    ::DestroyWindow(window);
    EXPECT_EQ(button.hwnd(), nullptr);
    CMyButton moved(std::move(button));
    EXPECT_EQ(record->closed, 0);
    moved = CMyButton(kMissingLibrary);
    EXPECT_EQ(record->closed, 1);
}

TEST(ButtonLayout, DrawStateFollowsHoverAndPress) {
    EXPECT_EQ(ButtonDrawState(false, false), kDrawNormal);
    EXPECT_EQ(ButtonDrawState(true, false), kDrawHot);
    EXPECT_EQ(ButtonDrawState(true, true), kDrawPressed);
}

TEST(ButtonLayout, IconIsCentredAloneAndSitsLeftOfText) {
    ButtonContent content{{100, 40}, {32, 32}, false, false, true};
    EXPECT_TRUE(SameRect(LayoutButton(content, {}).icon, RECT{36, 6, 68, 38}));  // pressed: moved by (2, 2)

    content = {{200, 40}, {32, 32}, true, false, false};
    EXPECT_TRUE(SameRect(TitleArea(content), RECT{52, 0, 200, 40}));
    const ButtonLayout layout = LayoutButton(content, {60, 16});
    EXPECT_TRUE(SameRect(layout.icon, RECT{10, 4, 42, 36}));
    EXPECT_TRUE(SameRect(layout.title, RECT{96, 12, 156, 28}));
    EXPECT_TRUE(::IsRectEmpty(&layout.description));
}

TEST(ButtonLayout, DescriptionUsesTheFixedRectangles) {
    ButtonContent content{{360, 60}, {}, true, true, false};
    ButtonLayout layout = LayoutButton(content, {500, 100});  // the measured title plays no part
    EXPECT_TRUE(SameRect(layout.title, RECT{56, 6, 296, 20}));
    EXPECT_TRUE(SameRect(layout.description, RECT{56, 22, 350, 53}));
    content.pressed = true;
    layout = LayoutButton(content, {});
    EXPECT_TRUE(SameRect(layout.title, RECT{58, 8, 298, 22}));
    EXPECT_TRUE(SameRect(layout.description, RECT{58, 24, 352, 55}));
}

TEST(OSTheme, MissingLibraryMakesEveryCallANoOp) {
    COSTheme theme(kMissingLibrary);
    EXPECT_FALSE(theme.OpenThemeData(nullptr, L"BUTTON"));
    RECT r{0, 0, 1, 1};
    EXPECT_EQ(theme.DrawThemeBackground(nullptr, nullptr, 1, 1, r), 0);
    EXPECT_EQ(theme.DrawThemeParentBackground(nullptr, nullptr, r), 0);
}

TEST(OSTheme, MissingFunctionsMakeTheirCallsNoOps) {
    COSTheme theme(L"kernel32.dll");  // loads, but has none of the theme functions
    EXPECT_FALSE(theme.OpenThemeData(nullptr, L"BUTTON"));
    RECT r{0, 0, 1, 1};
    EXPECT_EQ(theme.DrawThemeBackground(nullptr, nullptr, 1, 1, r), 0);
    EXPECT_EQ(theme.DrawThemeParentBackground(nullptr, nullptr, r), 0);
}

}  // namespace
