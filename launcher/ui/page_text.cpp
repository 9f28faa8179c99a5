#include "page_text.h"

#include <windows.h>
#include <algorithm>
#include <cstring>

namespace launcher {

bool KeepsDefaultOutputFont(const std::wstring& languageCode) {
    static const wchar_t* const kCodes[] = {L"HUN", L"RUS", L"CSY", L"SKY", L"PLK", L"ROM", L"BGR", L"TRK", L"ELL"};
    return std::any_of(std::begin(kCodes), std::end(kCodes), [&](const wchar_t* code) { return languageCode == code; });
}

Utf8Stream::Utf8Stream(const std::wstring& text) {
    if (text.empty()) return;
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    m_bytes.resize(static_cast<size_t>(size));
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), m_bytes.data(), size, nullptr,
                          nullptr);
}

long Utf8Stream::Read(unsigned char* buffer, long bufferSize) {
    if (bufferSize <= 1 || m_position >= m_bytes.size()) return 0;
    size_t count = std::min(m_bytes.size() - m_position, static_cast<size_t>(bufferSize - 1));
    std::memcpy(buffer, m_bytes.data() + m_position, count);
    m_position += count;
    return static_cast<long>(count);
}

std::wstring FormatWithNumber(const std::wstring& format, int number) {
    // Only one %d (or %i) may be filled in: the text comes from a resource library.
    size_t at = format.find(L"%d");
    if (at == std::wstring::npos) at = format.find(L"%i");
    if (at == std::wstring::npos) return format.empty() ? std::to_wstring(number) : format;
    std::wstring result = format.substr(0, at) + std::to_wstring(number) + format.substr(at + 2);
    size_t percent = 0;
    while ((percent = result.find(L"%%", percent)) != std::wstring::npos) result.erase(percent++, 1);
    return result;
}

}  // namespace launcher
