#include "language_file.h"

namespace discprobe {

LanguageFile ChooseLanguageFile(const std::wstring& programDir, const lang::LanguageLists& lists) {
    const std::wstring folder = programDir + kLanguageFolder;
    const std::wstring leaf = std::wstring(L"\\") + kLanguageFileName;
    std::wstring code = lang::FindPreferredLanguage(folder, leaf, lists).value_or(lang::kDefaultLanguageCode);
    return {folder + code + leaf, code};
}

}  // namespace discprobe
