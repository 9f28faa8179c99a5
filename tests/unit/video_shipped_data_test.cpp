// What the program folder holds for the video module: the catalogue names the
// video test once, every language library has every text, video.ini tolerates nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/resources.h"
#include "ini_catalogue.h"
#include "xml_catalogue.h"

namespace {

size_t Count(const std::wstring& text, const std::wstring& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

}  // namespace

TEST(VideoShippedData, CatalogueListsTheVideoTestOnce) {
    for (const wchar_t* language : {L"ENU", L"DEU", L"JPN"}) {
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
    for (const wchar_t* language : {L"ENU", L"DEU", L"JPN"}) {
        const std::wstring path = std::wstring(SUITE_DIST_DIR) + L"QDXLang\\" + language + L"\\langpack.dll";
        HMODULE library = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(library, nullptr);
        // Every text of the module's own table (linked into this test) must be translated.
        for (UINT id = 0; id < 1000; ++id) {
            std::wstring own = fw::LoadStrFrom(fw::OwnModule(), id), text = fw::LoadStrFrom(library, id);
            if (own.empty()) continue;
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
