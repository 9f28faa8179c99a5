#pragma once
// Texts built from translatable formats, bounded to the buffers they are
// written into. A format from a language library is only trusted with its
// integer placeholders: "%d" and "%ld" take the numbers in order, "%s" the
// text, and nothing else is read.
#include <initializer_list>
#include <string>

namespace video {

// At most `maxChars` - 1 characters (room for the terminator of a fixed buffer).
std::wstring FormatBounded(const std::wstring& format, const std::wstring& text, std::initializer_list<long> numbers,
                           size_t maxChars);

}  // namespace video
