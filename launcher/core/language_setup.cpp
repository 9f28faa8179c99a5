#include "language_setup.h"

namespace launcher {

LanguageSetup ChooseLauncherLanguage(const std::wstring& programDir, const lang::LanguageLists& lists) {
    std::wstring searchFolder = programDir + lang::kLanguageFolderName;
    LanguageSetup setup;
    setup.languageCode = lang::ChooseLanguageCode(searchFolder, lists);
    setup.languageDir = searchFolder + setup.languageCode + L"\\";
    return setup;
}

}  // namespace launcher
