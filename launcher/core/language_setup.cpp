#include "language_setup.h"

namespace launcher {

LanguageSetup ChooseLauncherLanguage(const std::wstring& programDir, const lang::LanguageLists& lists) {
    std::wstring searchFolder = programDir + lang::kLanguageFolderName;
    LanguageSetup setup;
    // A folder that holds another program's files only (the optical checker's
    // lang.xml) must not take the launcher's texts away.
    setup.languageCode = lang::FindPreferredLanguage(searchFolder, std::wstring(L"\\") + kLanguageLibrary, lists)
                             .value_or(lang::kDefaultLanguageCode);
    setup.languageDir = searchFolder + setup.languageCode + L"\\";
    return setup;
}

}  // namespace launcher
