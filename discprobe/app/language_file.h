#pragma once
// Which lang.xml the checker reads: the first of the user's, then the system's
// preferred UI languages that has one under "qdxlang\", else ENU's, untested.
#include <string>

#include "language/language_choice.h"

namespace discprobe {

constexpr wchar_t kLanguageFolder[] = L"qdxlang\\";
constexpr wchar_t kLanguageFileName[] = L"lang.xml";

struct LanguageFile {
    std::wstring path;
    std::wstring code;
};

// `programDir` ends with a backslash.
LanguageFile ChooseLanguageFile(const std::wstring& programDir, const lang::LanguageLists& lists = {});

}  // namespace discprobe
