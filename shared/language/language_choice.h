#pragma once
// Which language folder of "QDXLang\" serves the user: the first of the user's,
// then the system's preferred UI languages that has a folder, else "ENU".
#include <windows.h>
#include <array>
#include <functional>
#include <optional>
#include <string>

namespace lang {

constexpr size_t kMaxLanguages = 50;
constexpr wchar_t kDefaultLanguageCode[] = L"ENU";
constexpr wchar_t kLanguageFolderName[] = L"QDXLang\\";

struct LanguageIdList {
    std::array<LANGID, kMaxLanguages> ids{};
    int count = 0;
};

// GetUserPreferredUILanguages / GetSystemPreferredUILanguages.
using PreferredLanguagesFn = BOOL(WINAPI*)(DWORD flags, PULONG languageCount, PZZWSTR buffer,
                                           PULONG bufferChars);
using DefaultLangIdFn = LANGID(WINAPI*)();

// Fills `list` from the preferred-languages function, or from the default
// identifier when `preferred` is null (older systems). True on success.
bool FetchLanguageList(PreferredLanguagesFn preferred, DefaultLangIdFn fallback, LanguageIdList& list);

// The user's and the system's lists as the running system reports them.
bool UserLanguageList(LanguageIdList& list);
bool SystemLanguageList(LanguageIdList& list);

// Where the lists come from; tests put their own in.
struct LanguageLists {
    std::function<bool(LanguageIdList&)> user = UserLanguageList;
    std::function<bool(LanguageIdList&)> system = SystemLanguageList;
};

// Three-letter abbreviation (LOCALE_SABBREVLANGNAME) of a language, or empty.
std::wstring LanguageAbbreviation(LANGID language);

// The first language of the user's, then the system's list for which
// `searchFolder` + code + `leaf` exists; nothing when none does.
std::optional<std::wstring> FindPreferredLanguage(const std::wstring& searchFolder, const std::wstring& leaf,
                                                  const LanguageLists& lists = {});

// Chooses the language code for `searchFolder` (a folder ending in "QDXLang\").
// Never fails: the fallback is "ENU", whether or not that folder exists.
std::wstring ChooseLanguageCode(const std::wstring& searchFolder, const LanguageLists& lists = {});

}  // namespace lang
