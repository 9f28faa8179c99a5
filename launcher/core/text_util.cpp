#include "text_util.h"

#include <windows.h>
#include <cwchar>

namespace launcher {

std::wstring ToUpper(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring ToLower(std::wstring text) {
    if (!text.empty()) ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

int LeadingDecimal(const std::wstring& text) {
    long value = std::wcstol(text.c_str(), nullptr, 10);  // clamps on overflow
    return static_cast<int>(value);
}

void CopyBounded(wchar_t* buffer, size_t chars, const std::wstring& text) {
    if (chars == 0) return;
    size_t n = text.size() < chars - 1 ? text.size() : chars - 1;
    wmemcpy(buffer, text.data(), n);
    buffer[n] = L'\0';
}

}  // namespace launcher
