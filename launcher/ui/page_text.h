#pragma once
// Text rules of the test page that need no window.
#include <string>

namespace launcher {

// The output pane keeps the rich edit's default font for these languages and
// uses a fixed-pitch font for all others.
bool KeepsDefaultOutputFont(const std::wstring& languageCode);

// Hands a text to a rich edit's stream callback in pieces: each piece at most
// one byte shorter than the buffer, nothing lost or repeated at the seams.
class Utf8Stream {
public:
    explicit Utf8Stream(const std::wstring& text);
    // Copies the next piece into `buffer`; returns the bytes copied (0 at the end).
    long Read(unsigned char* buffer, long bufferSize);

private:
    std::string m_bytes;
    size_t m_position = 0;
};

// A format string with one integer (strings 129 and 168) filled in; an empty
// or malformed format gives just the number.
std::wstring FormatWithNumber(const std::wstring& format, int number);

}  // namespace launcher
