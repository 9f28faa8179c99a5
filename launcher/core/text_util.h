#pragma once
#include <string>

namespace launcher {

// Case mapping of the platform (not just ASCII).
std::wstring ToUpper(std::wstring text);
std::wstring ToLower(std::wstring text);
bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b);

// The decimal value of the text's leading digits (after blanks and a sign); 0 when none.
int LeadingDecimal(const std::wstring& text);

// Copies `text` into `buffer` of `chars` characters, cut to fit, always NUL-terminated.
void CopyBounded(wchar_t* buffer, size_t chars, const std::wstring& text);

}  // namespace launcher
