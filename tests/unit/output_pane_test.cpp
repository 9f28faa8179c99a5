// The test page holds a run's text back and shows it in batches. At the end the
// output pane must hold exactly what inserting each message at once gives: the
// same characters in the same colours, also when the user moved the caret
// between messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/resources.h"
#include "framework/unique_resource.h"
#include "my_test_page.h"
#include "output_pane.h"
#include "pane_buffer.h"

using namespace launcher;

namespace {

constexpr int kOutputPane = 1056;

using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&::DestroyWindow)>;

// Every character of the pane with its colour (0xFFFFFFFF: the pane's own).
std::vector<std::pair<wchar_t, COLORREF>> Contents(HWND pane) {
    GETTEXTLENGTHEX count{GTL_NUMCHARS, 1200};
    LONG length = static_cast<LONG>(::SendMessageW(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&count), 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    TEXTRANGEW range{{0, length}, text.data()};
    ::SendMessageW(pane, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    std::vector<std::pair<wchar_t, COLORREF>> contents;
    for (LONG i = 0; i < length; ++i) {
        ::SendMessageW(pane, EM_SETSEL, i, i + 1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        ::SendMessageW(pane, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        contents.emplace_back(text[static_cast<size_t>(i)],
                              (format.dwEffects & CFE_AUTOCOLOR) ? 0xFFFFFFFF : format.crTextColor);
    }
    return contents;
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    while (::GetTickCount64() < end) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::Sleep(1);
    }
}

}  // namespace

TEST(OutputPane, HeldTextEndsExactlyAsIfEveryMessageWentInAtOnce) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    fw::UniqueModule richEdit(::LoadLibraryW(L"riched20.dll"));
    fw::UniqueModule strings(::LoadLibraryW(SUITE_DIST_DIR L"QDXLang\\ENU\\uistrings.dll"));
    ASSERT_TRUE(strings);
    fw::ScopedResourceModule useStrings(strings.get());
    UniqueWindow parent(
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr),
        ::DestroyWindow);
    CMyTestPage page;
    ASSERT_TRUE(page.Create(parent.get(), PageSettings{}));
    page.PrepareDisplay();
    HWND held = ::GetDlgItem(page.hwnd(), kOutputPane);
    UniqueWindow reference(::CreateWindowExW(0, L"RichEdit20W", L"", WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0,
                                             700, 300, parent.get(), nullptr, nullptr, nullptr),
                           ::DestroyWindow);

    // Lines, coloured insertions, caret moves by the user and pauses, in a fixed random order.
    std::mt19937 random(8);
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255)};
    for (int step = 0; step < 600; ++step) {
        const int kind = static_cast<int>(random() % 20);
        std::wstring text = L"step " + std::to_wstring(step) + (random() % 3 ? L"\r\n" : L" ");
        if (kind < 12) {
            page.AppendText(text);
            AppendAtEnd(reference.get(), text);
        } else if (kind < 16) {
            COLORREF colour = colours[random() % 3];
            page.InsertColoredText(text, colour);
            InsertAtSelection(reference.get(), text, colour);
        } else if (kind < 18) {
            for (HWND pane : {held, reference.get()}) ::SendMessageW(pane, WM_KEYDOWN, VK_LEFT, 0);
        } else {
            PumpFor(random() % 2 ? 5 : 2 * DisplayThrottle::kMaxWaitMs);
        }
    }
    page.SetPageState(TPageState::Finished);  // the end of a run shows everything held
    std::vector<std::pair<wchar_t, COLORREF>> expected = Contents(reference.get());
    ASSERT_GT(expected.size(), 3000u);
    EXPECT_EQ(Contents(held), expected);
}

TEST(OutputPane, AFullPaneDropsItsOldestLinesAndShowsTheNewest) {
    fw::UniqueModule richEdit(::LoadLibraryW(L"riched20.dll"));
    fw::UniqueModule strings(::LoadLibraryW(SUITE_DIST_DIR L"QDXLang\\ENU\\uistrings.dll"));
    fw::ScopedResourceModule useStrings(strings.get());
    UniqueWindow parent(
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr),
        ::DestroyWindow);
    CMyTestPage page;
    ASSERT_TRUE(page.Create(parent.get(), PageSettings{}));
    std::wstring lines;
    for (int i = 0; i < 60000; ++i) lines += L"line " + std::to_wstring(100000 + i) + L"\r\n";  // 720,000 characters
    page.AppendText(lines);
    page.SetPageState(TPageState::Finished);  // shows what is held
    HWND pane = ::GetDlgItem(page.hwnd(), kOutputPane);
    GETTEXTLENGTHEX count{GTL_NUMCHARS, 1200};
    const LONG length = static_cast<LONG>(::SendMessageW(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&count), 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    TEXTRANGEW range{{0, length}, text.data()};
    text.resize(static_cast<size_t>(::SendMessageW(pane, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range))));
    EXPECT_GT(text.size(), 300000u);
    EXPECT_LE(text.size(), static_cast<size_t>(kPaneTrimToChars));
    EXPECT_EQ(text.rfind(L"line 1", 0), 0u);  // a whole line
    EXPECT_EQ(text.substr(text.size() - 12), L"line 159999\r");
}

