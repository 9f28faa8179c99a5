#pragma once
// A text of at most N - 1 characters in a fixed buffer: appending past the end
// truncates instead of writing beyond it.
#include <cstdarg>
#include <cstddef>
#include <cwchar>

template <std::size_t N>
class CBoundedText {
public:
    static_assert(N > 1);

    // printf-style; strings are passed with %ls.
    void Append(const wchar_t* format, ...) {
        const std::size_t used = Length();
        if (used + 1 >= N) return;
        va_list args;
        va_start(args, format);
        const int written = std::vswprintf(m_text + used, N - used, format, args);
        va_end(args);
        // vswprintf reports a cut text as an error and may leave the tail unterminated.
        if (written < 0) m_text[N - 1] = L'\0';
    }
    void Clear() { m_text[0] = L'\0'; }

    const wchar_t* c_str() const { return m_text; }
    std::size_t Length() const { return std::wcslen(m_text); }
    static constexpr std::size_t Capacity() { return N; }

private:
    wchar_t m_text[N] = {};
};
