#include "launch_text.h"

#include <windows.h>

namespace testsupport {

std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each one must be doubled.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');  // the closing quote follows them
    quoted += L'"';
    return quoted;
}

std::wstring JoinArguments(const std::vector<std::wstring>& arguments) {
    std::wstring line;
    for (const std::wstring& argument : arguments) {
        if (!line.empty()) line += L' ';
        line += QuoteArgument(argument);
    }
    return line;
}

namespace {
// The name part of NAME=value; entries such as "=C:=C:\\" keep their leading '='.
std::wstring NameOf(const std::wstring& entry) {
    size_t equals = entry.find(L'=', 1);
    return entry.substr(0, equals);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}
}  // namespace

std::wstring MakeEnvironmentBlock(const std::vector<std::wstring>& inherited, const EnvironmentVariables& overrides) {
    std::vector<std::wstring> entries = inherited;
    for (const auto& [name, value] : overrides) {
        std::wstring entry = name + L"=" + value;
        bool replaced = false;
        for (std::wstring& existing : entries) {
            if (SameName(NameOf(existing), name)) {
                existing = entry;
                replaced = true;
            }
        }
        if (!replaced) entries.push_back(entry);
    }
    std::wstring block;
    for (const std::wstring& entry : entries) {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    if (entries.empty()) block += L'\0';  // an empty block is still two NULs
    return block;
}

}  // namespace testsupport
