#include "language_choice.h"

#include <shlwapi.h>
#include <memory>

namespace lang {

namespace {

constexpr int kCharsPerEntry = 5;  // four hex digits and a NUL

void ParseEntries(const wchar_t* buffer, ULONG bufferChars, ULONG count, LanguageIdList& list) {
    for (ULONG i = 0; i < count && list.count < static_cast<int>(kMaxLanguages); ++i) {
        size_t at = static_cast<size_t>(i) * kCharsPerEntry;
        if (at + 4 > bufferChars) break;  // a short buffer must not be read past its end
        wchar_t hex[7] = {L'0', L'x'};
        for (int d = 0; d < 4; ++d) hex[2 + d] = buffer[at + d];
        int value = 0;
        if (!::StrToIntExW(hex, STIF_SUPPORT_HEX, &value)) value = 0;
        list.ids[list.count++] = static_cast<LANGID>(value & 0xFFFF);
    }
}

template <typename Fn>
Fn Kernel32Function(const char* name) {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(kernel, name))) : nullptr;
}

}  // namespace

bool FetchLanguageList(PreferredLanguagesFn preferred, DefaultLangIdFn fallback, LanguageIdList& list) {
    list = LanguageIdList{};
    if (!preferred) {
        list.ids[0] = fallback ? fallback() : 0;
        list.count = 1;
        return list.ids[0] != 0;
    }
    ULONG count = 0;
    ULONG bufferChars = 0;
    if (!preferred(MUI_LANGUAGE_ID, &count, nullptr, &bufferChars)) return false;
    if (bufferChars == 0) return true;
    auto buffer = std::make_unique<wchar_t[]>(bufferChars);
    if (!preferred(MUI_LANGUAGE_ID, &count, buffer.get(), &bufferChars)) return false;
    ParseEntries(buffer.get(), bufferChars, count, list);
    return true;
}

bool UserLanguageList(LanguageIdList& list) {
    return FetchLanguageList(Kernel32Function<PreferredLanguagesFn>("GetUserPreferredUILanguages"),
                             &::GetUserDefaultLangID, list);
}

bool SystemLanguageList(LanguageIdList& list) {
    return FetchLanguageList(Kernel32Function<PreferredLanguagesFn>("GetSystemPreferredUILanguages"),
                             &::GetSystemDefaultLangID, list);
}

std::wstring LanguageAbbreviation(LANGID language) {
    wchar_t code[4] = {};
    if (!::GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), LOCALE_SABBREVLANGNAME, code, 4)) return {};
    return code;
}

static bool FindExisting(const std::wstring& searchFolder, const std::wstring& leaf, const LanguageIdList& list,
                         std::wstring& code) {
    for (int i = 0; i < list.count; ++i) {
        std::wstring abbreviation = LanguageAbbreviation(list.ids[i]);
        if (abbreviation.empty()) continue;
        if (::PathFileExistsW((searchFolder + abbreviation + leaf).c_str())) {
            code = abbreviation;
            return true;
        }
    }
    return false;
}

std::optional<std::wstring> FindPreferredLanguage(const std::wstring& searchFolder, const std::wstring& leaf,
                                                  const LanguageLists& lists) {
    std::wstring code;
    LanguageIdList list;
    if (lists.user && lists.user(list) && FindExisting(searchFolder, leaf, list, code)) return code;
    if (lists.system && lists.system(list) && FindExisting(searchFolder, leaf, list, code)) return code;
    return std::nullopt;
}

std::wstring ChooseLanguageCode(const std::wstring& searchFolder, const LanguageLists& lists) {
    return FindPreferredLanguage(searchFolder, {}, lists).value_or(kDefaultLanguageCode);
}

}  // namespace lang
