#pragma once
#include <string>

#include "language/language_choice.h"

namespace launcher {

constexpr wchar_t kLanguageLibrary[] = L"uistrings.dll";

struct LanguageSetup {
    std::wstring languageDir;
    std::wstring languageCode;
};

// Chooses the launcher's language folder under programDir + "QDXLang\": the
// first preferred language whose folder holds the launcher's library, else ENU.
LanguageSetup ChooseLauncherLanguage(const std::wstring& programDir, const lang::LanguageLists& lists = {});

}  // namespace launcher
