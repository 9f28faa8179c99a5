#pragma once
// The second source of catalogue rows: Diagnostics.xml in a per-language
// folder under the program folder's "Resources\".
#include <functional>
#include <string>

#include "test_catalogue.h"

namespace launcher {

// GetUserDefaultLocaleName / GetSystemDefaultLocaleName; empty when the call fails.
std::wstring UserLocaleName();
std::wstring SystemLocaleName();

// Where the locale names come from; tests put their own in.
struct LocaleNames {
    std::function<std::wstring()> user = UserLocaleName;
    std::function<std::wstring()> system = SystemLocaleName;
};

// The folder name of a locale: lower-cased, and any English, French or Spanish
// locale reduced to "en", "fr" or "es" (en-US gives en, de-DE gives de-de).
std::wstring LocaleFolderName(const std::wstring& localeName);

// programDir + "Resources\" + folder + "\Diagnostics.xml" for the first of the
// user's and the system's locale folders that has the file, else the "en" one
// (whether or not it exists).
std::wstring FindDiagnosticsXml(const std::wstring& programDir, const LocaleNames& locales = {});

// Appends the normal, then the advanced items of the file FindDiagnosticsXml
// names, after the rows already in `catalogue` and never past its last row.
// A missing or unreadable file adds nothing.
void LoadXmlCatalogue(const std::wstring& programDir, TestCatalogue& catalogue, const LocaleNames& locales = {});

}  // namespace launcher
