// Every text of the launcher's test page and of the optical checker's dialog
// fits its control in every shipped language, measured in the control's font.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "control_ids.h"
#include "discprobe/detect/media_types.h"
#include "disc_monitor_dlg.h"
#include "font_table.h"
#include "framework/resources.h"
#include "my_test_page.h"
#include "page_text.h"
#include "row_texts.h"
#include "string_ids.h"

namespace {

constexpr int kFrame = 6;  // a button's or a list cell's edge on each side of its text

struct TTexts {
    HWND control;
    std::vector<std::wstring> texts;
    bool wraps;      // a static breaks its text at words, within its height
    int column = -1;  // a list cell's column: its width is the room
};

// False when the texts cannot be measured here: the font lacks their glyphs.
bool ExpectFit(const TTexts& row) {
    RECT client{};
    ::GetClientRect(row.control, &client);
    const int room = row.column < 0 ? client.right - (row.wraps ? 0 : 2 * kFrame)
                                    : ListView_GetColumnWidth(row.control, row.column) - 2 * kFrame;
    // A rich edit names no font: the DC's own, wider than the label's, measures it,
    // unless it lacks the glyphs (Japanese on a Western system): then the page's, the label's own.
    HDC dc = ::GetDC(row.control);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(row.control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = ::SelectObject(dc, font);
    auto hasGlyphs = [dc](const std::wstring& text) {
        std::vector<WORD> glyphs(text.size());
        ::GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
        return std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
    };
    bool measurable = true;
    for (const std::wstring& text : row.texts) {
        bool known = hasGlyphs(text);
        if (!known && !font) {
            ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(::GetParent(row.control), WM_GETFONT, 0, 0)));
            known = hasGlyphs(text);
        }
        measurable = measurable && known;
        RECT needed{0, 0, room, 0};
        ::DrawTextW(dc, text.c_str(), -1, &needed,
                    DT_CALCRECT | DT_NOPREFIX | (row.wraps ? DT_WORDBREAK : DT_SINGLELINE));
        EXPECT_TRUE(!known || (needed.right <= room && needed.bottom <= client.bottom))
            << ::GetDlgCtrlID(row.control) << " " << testing::PrintToString(text) << " needs " << needed.right << "x"
            << needed.bottom << " of " << room << "x" << client.bottom;
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(row.control, dc);
    return measurable;
}

}  // namespace

TEST(WindowTexts, LauncherTestPage) {
    using namespace launcher;
    fw::UniqueModule richEdit(::LoadLibraryW(L"riched20.dll"));
    for (const wchar_t* language : {L"ENU", L"DEU", L"JPN"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(language)));
        fw::UniqueModule strings(
            ::LoadLibraryW((std::wstring(SUITE_DIST_DIR) + L"QDXLang\\" + language + L"\\uistrings.dll").c_str()));
        ASSERT_TRUE(strings);
        fw::ScopedResourceModule useStrings(strings.get());
        std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&::DestroyWindow)> parent(
            ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr),
            ::DestroyWindow);
        CMyTestPage page;
        ASSERT_TRUE(page.Create(parent.get(), PageSettings{}));
        auto item = [&](int id) { return ::GetDlgItem(page.hwnd(), id); };
        auto text = [](unsigned id) { return fw::LoadStr(id); };
        const TTexts rows[] = {
            {item(1047), {text(ids::kInstruction), text(ids::kInstructionFullTest), text(ids::kInstructionRunning),
                          text(ids::kInstructionFinished)}, true},
            {item(1037), {text(ids::kStartButton), text(ids::kStopButton)}, false},
            {item(1095), {text(ids::kOpenReport)}, false},
            {item(1042), {FormatWithNumber(text(ids::kPercentFormat), 100)}, false},
            {item(1093), {FormatWithNumber(text(ids::kEstimateFormat), 999)}, false},
        };
        for (const TTexts& row : rows) EXPECT_TRUE(ExpectFit(row));
    }
}

class CheckerTexts : public testing::TestWithParam<const wchar_t*> {};
INSTANTIATE_TEST_SUITE_P(WindowTexts, CheckerTexts, testing::Values(L"ENU", L"DEU", L"JPN"));

TEST_P(CheckerTexts, FitTheOpticalCheckerDialog) {
    using namespace discprobe;
    // The longest supported-media line: every profile named, with dual-layer Blu-ray writing.
    const long profiles[] = {0x08, 0x09, 0x0A, 0x10, 0x11, 0x12, 0x13, 0x15, 0x1A, 0x1B, 0x2A, 0x2B, 0x40, 0x41, 0x43};
    const wchar_t* language = GetParam();
    xml::CXMLParser parser;
    ASSERT_EQ(parser.Init(), xml::kXmlOk);
    ASSERT_EQ(parser.Load(std::wstring(SUITE_DIST_DIR) + L"QDXLang\\" + language + L"\\lang.xml"), xml::kXmlOk);
    fw::ComPtr<IXMLDOMElement> root = parser.GetRoot();
    CDiscMonitorDlg dialog({parser, root.Get(), L"", CFontTable().FaceFor(language), {}});
    ASSERT_TRUE(dialog.Create(fw::OwnModule(), IDD_DISCPROBE, nullptr));
    ::SendMessageW(dialog.hwnd(), WM_COMMAND, IDC_NEXT, 0);  // sets up the information page's columns
    TextTable t = ReadDialogTexts(parser, root.Get());
    auto item = [&](int id) { return ::GetDlgItem(dialog.hwnd(), id); };
    const TTexts rows[] = {
        {item(IDC_HEADING), {t[key::kInsertBlankDisc]}, true},
        {item(IDC_CHECK_MEDIA_IN), {t[key::kCheckMediaIn]}, true},
        {item(IDC_STATUS_LINE), {t[key::kNoDrive]}, true},
        {item(IDC_SUPPORTED_MEDIA),
         {SupportedMediaLine(t[key::kSupportedTypes], SupportedMediaText(profiles, 2))}, true},
        {item(IDC_INFO_HEADING), {t[key::kSubTile2]}, true},
        {item(IDC_DRIVE_INFO_LABEL), {t[key::kDriveInfo]}, true},
        {item(IDC_NEXT), {t[key::kNextButton]}, false},
        {item(IDC_CANCEL), {t[key::kCancelButton]}, false},
        {item(IDC_OK), {t[key::kOKButton]}, false},
        {item(IDC_DRIVE_LIST), {StatusText(t, 0), StatusText(t, 1), StatusText(t, 2), StatusText(t, 3)}, false, 1},
        {item(IDC_MEDIA_LIST), {t[key::kMediaType], t[key::kMediaSize]}, false, 1},
        {item(IDC_MEDIA_LIST), {CapacityText(100.0, t[key::kSizeGB])}, false, 2},
        {item(IDC_DRIVE_INFO_LIST),
         {t[key::kDriveLetter], t[key::kDriveName], t[key::kVendorName], t[key::kFirmware]}, false, 1},
    };
    // The bench gives Windows' Japanese faces the IPA Gothic glyphs (tools/lib/bench.sh).
    for (const TTexts& row : rows) EXPECT_TRUE(ExpectFit(row)) << "the font lacks glyphs of these texts";
}
