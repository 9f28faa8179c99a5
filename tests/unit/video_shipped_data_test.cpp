// What the program folder holds for the video module: the catalogue names the
// video test once, every language library has every text, video.ini tolerates nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/resources.h"
#include "ini_catalogue.h"
#include "resources/string_ids.h"
#include "xml_catalogue.h"

namespace {

constexpr UINT kVideoStringIds[] = {
    IDS_VIDEO_ABORT, IDS_VIDEO_START, IDS_VIDEO_NO_ERRORS, IDS_VIDEO_ERRORS, IDS_VIDEO_OK, IDS_VIDEO_FAILED,
    IDS_VIDEO_PASS_HEADER, IDS_VIDEO_ERROR_BANNER, IDS_VIDEO_ERRORS_ACCELERATION, IDS_VIDEO_CANCELLED,
    IDS_VIDEO_PORTRAIT_SCREEN, IDS_VIDEO_NOTE_CAPTION, IDS_VIDEO_NOTE_TEXT, IDS_VIDEO_TEST1_TITLE, IDS_VIDEO_TEST2_TITLE,
    IDS_VIDEO_TEST3_TITLE, IDS_VIDEO_TEST1_RUNNING, IDS_VIDEO_TEST2_RUNNING, IDS_VIDEO_TEST3_RUNNING,
    IDS_VIDEO_2D_RESOLUTION, IDS_VIDEO_3D_RESOLUTION, IDS_VIDEO_2D_INIT_FAILED, IDS_VIDEO_WINDOW_INIT_FAILED,
    IDS_VIDEO_D3D_INIT_FAILED, IDS_VIDEO_DDRAW_INIT_FAILED, IDS_VIDEO_PATTERN1_FAILED, IDS_VIDEO_PATTERN2_FAILED,
    IDS_VIDEO_PATTERN3_FAILED, IDS_VIDEO_NO_TEXTURE, IDS_VIDEO_MEM_SECTION, IDS_VIDEO_MEM_SECTION_SIZE,
    IDS_VIDEO_MEM_OFFSET, IDS_VIDEO_MEM_WRITE, IDS_VIDEO_MEM_READ, IDS_VIDEO_MEM_LOCAL, IDS_VIDEO_MEM_EMPTY_CELL,
    IDS_VIDEO_MEM_TESTED};

size_t Count(const std::wstring& text, const std::wstring& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

}  // namespace

TEST(VideoShippedData, CatalogueListsTheVideoTestOnce) {
    for (const wchar_t* language : {L"ENU", L"DEU"}) {
        launcher::CatalogueResult result;
        unsigned flags = 0;
        launcher::LoadIniCatalogue(
            std::wstring(SUITE_DIST_DIR) + L"QDXLang\\" + language + L"\\", 1,
            [](launcher::TestCatalogue& catalogue) { launcher::LoadXmlCatalogue(SUITE_DIST_DIR, catalogue); }, result,
            flags);
        int video = 0;
        for (int i = 0; i < result.catalogue.count; ++i)
            if (::lstrcmpiW(result.catalogue.rows[i].testFile.c_str(), L"video.dll") == 0) ++video;
        EXPECT_EQ(video, 1);
    }
}

TEST(VideoShippedData, EveryLanguageLibraryHasEveryText) {
    for (const wchar_t* language : {L"ENU", L"DEU"}) {
        const std::wstring path = std::wstring(SUITE_DIST_DIR) + L"QDXLang\\" + language + L"\\langpack.dll";
        HMODULE library = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(library, nullptr);
        for (UINT id : kVideoStringIds) {
            std::wstring own = fw::LoadStrFrom(fw::OwnModule(), id), text = fw::LoadStrFrom(library, id);
            EXPECT_FALSE(text.empty()) << id;
            EXPECT_EQ(Count(text, L"%d"), Count(own, L"%d")) << id;
            EXPECT_EQ(Count(text, L"\r\n"), Count(own, L"\r\n")) << id;
            if (std::wstring(language) == L"ENU") {
                EXPECT_EQ(text, own) << id;
            }
        }
        ::FreeLibrary(library);
    }
}

TEST(VideoShippedData, VideoIniToleratesNoFaultyPixel) {
    const std::wstring ini = std::wstring(SUITE_DIST_DIR) + L"video.ini";
    EXPECT_EQ(::GetPrivateProfileIntW(L"SETTINGS", L"iErrorLevel", -1, ini.c_str()), 0u);
}
