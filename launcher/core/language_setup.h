#pragma once
#include <string>

#include "language/language_choice.h"

namespace launcher {

struct LanguageSetup {
    std::wstring languageDir;
    std::wstring languageCode;
};

// Chooses the launcher's language folder under programDir + "QDXLang\".
LanguageSetup ChooseLauncherLanguage(const std::wstring& programDir, const lang::LanguageLists& lists = {});

}  // namespace launcher
