#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/resources.h"
#include "framework/unique_resource.h"
#include "modules/video/resources/string_ids.h"
#include "string_ids.h"
#include "text_util.h"

namespace ids = launcher::ids;

namespace {

const wchar_t* const kLanguages[] = {L"ENU", L"DEU", L"JPN"};

constexpr unsigned kLauncherStrings[] = {
    ids::kSeparator,        ids::kSummaryFailed,         ids::kSummaryPassed,       ids::kWindowTitle,
    ids::kStartButton,      ids::kStopButton,            ids::kInstruction,         ids::kRunTitle,
    ids::kInstructionRunning, ids::kPercentFormat,       ids::kRunPreventsClose,    ids::kModuleLoadFailed,
    ids::kSummaryStopped,   ids::kHistoryStopped,        ids::kHistoryPassed,       ids::kHistoryFailed,
    ids::kSummaryRecoveryFailed, ids::kBoxCaption,       ids::kCloseButton,         ids::kCloseQuestion,
    ids::kRunTitleFullTest, ids::kEstimateFormat,        ids::kInstructionFullTest, ids::kInstructionFinished};

constexpr unsigned kVideoStrings[] = {
    IDS_VIDEO_ABORT, IDS_VIDEO_START, IDS_VIDEO_NO_ERRORS, IDS_VIDEO_ERRORS, IDS_VIDEO_OK, IDS_VIDEO_FAILED,
    IDS_VIDEO_PASS_HEADER, IDS_VIDEO_ERROR_BANNER, IDS_VIDEO_ERRORS_ACCELERATION, IDS_VIDEO_CANCELLED,
    IDS_VIDEO_PORTRAIT_SCREEN, IDS_VIDEO_NOTE_CAPTION, IDS_VIDEO_NOTE_TEXT, IDS_VIDEO_TEST1_TITLE,
    IDS_VIDEO_TEST2_TITLE, IDS_VIDEO_TEST3_TITLE, IDS_VIDEO_TEST1_RUNNING, IDS_VIDEO_TEST2_RUNNING,
    IDS_VIDEO_TEST3_RUNNING, IDS_VIDEO_2D_RESOLUTION, IDS_VIDEO_3D_RESOLUTION, IDS_VIDEO_2D_INIT_FAILED,
    IDS_VIDEO_WINDOW_INIT_FAILED, IDS_VIDEO_D3D_INIT_FAILED, IDS_VIDEO_DDRAW_INIT_FAILED,
    IDS_VIDEO_PATTERN1_FAILED, IDS_VIDEO_PATTERN2_FAILED, IDS_VIDEO_PATTERN3_FAILED, IDS_VIDEO_NO_TEXTURE,
    IDS_VIDEO_MEM_SECTION, IDS_VIDEO_MEM_SECTION_SIZE, IDS_VIDEO_MEM_OFFSET, IDS_VIDEO_MEM_WRITE,
    IDS_VIDEO_MEM_READ, IDS_VIDEO_MEM_LOCAL, IDS_VIDEO_MEM_EMPTY_CELL, IDS_VIDEO_MEM_TESTED};

fw::UniqueModule LoadFromProgramFolder(const std::wstring& relative) {
    return fw::UniqueModule(::LoadLibraryW((std::wstring(SUITE_DIST_DIR) + relative).c_str()));
}

fw::UniqueModule LoadLanguageLibrary(const wchar_t* language, const wchar_t* name) {
    return LoadFromProgramFolder(std::wstring(L"QDXLang\\") + language + L"\\" + name);
}

// The printf conversions of a format text, in order ("%%" is none).
std::vector<std::wstring> Conversions(const std::wstring& text) {
    std::vector<std::wstring> found;
    for (size_t i = text.find(L'%'); i != std::wstring::npos; i = text.find(L'%', i)) {
        size_t end = text.find_first_not_of(L"-+ #0123456789.lh", i + 1);
        if (end == std::wstring::npos) {
            found.push_back(text.substr(i));
            break;
        }
        if (text[end] != L'%' || end != i + 1) found.push_back(text.substr(i, end - i + 1));
        i = end + 1;
    }
    return found;
}

using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&::DestroyWindow)>;

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

UniqueWindow CreateHidden(HMODULE module, unsigned templateId, HWND parent) {
    return UniqueWindow(::CreateDialogParamW(module, MAKEINTRESOURCEW(templateId), parent, QuietDialog, 0),
                        ::DestroyWindow);
}

struct ExpectedControl {
    int id;
    const wchar_t* windowClass;
    bool visible;
    DWORD requiredStyle;
};

void ExpectControls(HWND dialog, std::initializer_list<ExpectedControl> controls) {
    for (const ExpectedControl& expected : controls) {
        SCOPED_TRACE(expected.id);
        HWND control = ::GetDlgItem(dialog, expected.id);
        ASSERT_NE(control, nullptr);
        wchar_t windowClass[64] = {};
        ::GetClassNameW(control, windowClass, 64);
        EXPECT_TRUE(launcher::EqualsIgnoringCase(windowClass, expected.windowClass))
            << testing::PrintToString(std::wstring(windowClass));
        LONG style = ::GetWindowLongW(control, GWL_STYLE);
        EXPECT_EQ((style & WS_VISIBLE) != 0, expected.visible);
        EXPECT_EQ(static_cast<DWORD>(style) & expected.requiredStyle, expected.requiredStyle);
    }
}

class ResourceLibraries : public testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        s_richEdit = ::LoadLibraryW(L"riched20.dll");
    }
    static void TearDownTestSuite() { ::FreeLibrary(s_richEdit); }

    static inline HMODULE s_richEdit = nullptr;
};

}  // namespace

TEST_F(ResourceLibraries, EveryLauncherTextInEveryLanguage) {
    for (const wchar_t* language : kLanguages) {
        SCOPED_TRACE(testing::Message() << "language " << testing::PrintToString(std::wstring(language)));
        fw::UniqueModule library = LoadLanguageLibrary(language, L"uistrings.dll");
        ASSERT_TRUE(library);
        for (unsigned id : kLauncherStrings) EXPECT_FALSE(fw::LoadStrFrom(library.get(), id).empty()) << id;
        // A second start finds the running window by this title, whatever the language.
        EXPECT_EQ(fw::LoadStrFrom(library.get(), ids::kWindowTitle), L"Orlix Hardware Diagnostics");
        for (unsigned id : {ids::kPercentFormat, ids::kEstimateFormat}) {
            EXPECT_EQ(Conversions(fw::LoadStrFrom(library.get(), id)), std::vector<std::wstring>{L"%d"}) << id;
        }
    }
}

TEST_F(ResourceLibraries, GermanTextsKeepTheirLetters) {
    fw::UniqueModule library = LoadLanguageLibrary(L"DEU", L"uistrings.dll");
    ASSERT_TRUE(library);
    EXPECT_EQ(fw::LoadStrFrom(library.get(), ids::kCloseButton), L"Schlie\u00DFen");
    // The shared templates and menu take their texts from the language file too.
    fw::UniqueMenu menu(::LoadMenuW(library.get(), MAKEINTRESOURCEW(ids::kContextMenu)));
    ASSERT_TRUE(menu);
    wchar_t item[64] = {};
    ::GetMenuStringW(::GetSubMenu(menu.get(), 0), 1, item, 64, MF_BYPOSITION);
    EXPECT_STREQ(item, L"&Alles ausw\u00E4hlen");
}

TEST_F(ResourceLibraries, DialogTemplatesCreateWithTheirControls) {
    for (const wchar_t* language : kLanguages) {
        SCOPED_TRACE(testing::Message() << "language " << testing::PrintToString(std::wstring(language)));
        fw::UniqueModule library = LoadLanguageLibrary(language, L"uistrings.dll");
        ASSERT_TRUE(library);

        UniqueWindow outer = CreateHidden(library.get(), ids::kOuterWindowTemplate, nullptr);
        ASSERT_TRUE(outer);
        const DWORD outerStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(outer.get(), GWL_STYLE)) & outerStyle, outerStyle);

        UniqueWindow diagnostics = CreateHidden(library.get(), ids::kDiagnosticsTemplate, outer.get());
        ASSERT_TRUE(diagnostics);
        EXPECT_TRUE(::GetWindowLongW(diagnostics.get(), GWL_STYLE) & WS_CHILD);
        ExpectControls(diagnostics.get(), {{1000, L"SysTabControl32", true, 0},
                                           {1022, L"Button", true, 0},
                                           {1048, L"Button", true, BS_OWNERDRAW}});

        UniqueWindow page = CreateHidden(library.get(), ids::kTestPageTemplate, diagnostics.get());
        ASSERT_TRUE(page);
        EXPECT_TRUE(::GetWindowLongW(page.get(), GWL_STYLE) & WS_CHILD);
        const DWORD label = ES_READONLY | WS_DISABLED;
        ExpectControls(page.get(), {{1047, L"Static", true, 0},
                                    {1034, L"RichEdit20W", true, ES_MULTILINE},
                                    {1056, L"RichEdit20W", false, ES_MULTILINE},
                                    {1021, L"msctls_progress32", false, 0},
                                    {1042, L"RichEdit20W", false, label},
                                    {1093, L"RichEdit20W", false, label},
                                    {1037, L"Button", true, 0},
                                    {1035, L"Static", true, 0},
                                    {1036, L"Static", false, 0},
                                    {1038, L"ComboBox", false, 0},
                                    {1081, L"Button", false, 0}});
        page.reset();
        diagnostics.reset();
    }
}

TEST_F(ResourceLibraries, ContextMenuAndWindowIcon) {
    for (const wchar_t* language : kLanguages) {
        SCOPED_TRACE(testing::Message() << "language " << testing::PrintToString(std::wstring(language)));
        fw::UniqueModule library = LoadLanguageLibrary(language, L"uistrings.dll");
        ASSERT_TRUE(library);
        fw::UniqueMenu menu(::LoadMenuW(library.get(), MAKEINTRESOURCEW(ids::kContextMenu)));
        ASSERT_TRUE(menu);
        HMENU first = ::GetSubMenu(menu.get(), 0);
        ASSERT_NE(first, nullptr);
        EXPECT_GE(::GetMenuItemCount(first), 1);
        for (int size : {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CXSMICON)}) {
            fw::UniqueIcon icon(static_cast<HICON>(
                ::LoadImageW(library.get(), MAKEINTRESOURCEW(ids::kWindowIcon), IMAGE_ICON, size, size, 0)));
            EXPECT_TRUE(icon) << size;
        }
    }
}

TEST_F(ResourceLibraries, EveryVideoTextInEveryLanguage) {
    fw::UniqueModule english = LoadLanguageLibrary(L"ENU", L"langpack.dll");
    fw::UniqueModule german = LoadLanguageLibrary(L"DEU", L"langpack.dll");
    ASSERT_TRUE(english);
    ASSERT_TRUE(german);
    for (unsigned id : kVideoStrings) {
        std::wstring text = fw::LoadStrFrom(english.get(), id);
        std::wstring translation = fw::LoadStrFrom(german.get(), id);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_FALSE(translation.empty()) << id;
        // The module formats both with the same arguments.
        EXPECT_EQ(Conversions(translation), Conversions(text)) << id;
    }
}

TEST_F(ResourceLibraries, EnglishVideoTextsKeepLineBreaksTabsAndBlanks) {
    fw::UniqueModule library = LoadLanguageLibrary(L"ENU", L"langpack.dll");
    ASSERT_TRUE(library);
    auto text = [&](unsigned id) { return fw::LoadStrFrom(library.get(), id); };
    EXPECT_EQ(text(IDS_VIDEO_ABORT), L"Abort\r\n");
    EXPECT_EQ(text(IDS_VIDEO_TEST3_TITLE), L"Video Test #3              ");
    EXPECT_EQ(text(IDS_VIDEO_MEM_EMPTY_CELL), L"  ");
    EXPECT_EQ(text(IDS_VIDEO_PASS_HEADER), L"[Times: %d/%d ]\r\n");
    EXPECT_EQ(text(IDS_VIDEO_ERROR_BANNER),
              L"===========================\r\n\tError found here\r\n===========================\r\n\r\n");
    EXPECT_EQ(text(IDS_VIDEO_NOTE_TEXT),
              L"Note\nDo not press any keys while the test is in progress, as doing so may result in an "
              L"error.\nClick [OK] to continue.");
}

TEST_F(ResourceLibraries, PicturesAndIcons) {
    fw::UniqueModule library = LoadFromProgramFolder(L"artpack.dll");
    ASSERT_TRUE(library);
    for (unsigned id : {ids::kDialogBitmap, ids::kTextureBitmap}) {
        fw::UniqueBitmap bitmap(static_cast<HBITMAP>(
            ::LoadImageW(library.get(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(bitmap) << id;
        BITMAP info{};
        ASSERT_NE(::GetObjectW(bitmap.get(), sizeof info, &info), 0);
        EXPECT_EQ(info.bmBitsPixel, 24) << id;
        if (id == ids::kTextureBitmap) {  // a texture of any graphics adapter: square, power of two
            EXPECT_EQ(info.bmWidth, info.bmHeight);
            EXPECT_EQ(info.bmWidth & (info.bmWidth - 1), 0);
        }
    }
    for (auto [id, metric] : {std::pair{ids::kDialogIconLarge, SM_CXICON}, std::pair{ids::kDialogIconSmall, SM_CXSMICON}}) {
        int size = ::GetSystemMetrics(metric);
        fw::UniqueIcon icon(
            static_cast<HICON>(::LoadImageW(library.get(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
        EXPECT_TRUE(icon) << id;
    }
}
