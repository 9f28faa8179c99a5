#include "text_format.h"

namespace video {

std::wstring FormatBounded(const std::wstring& format, const std::wstring& text, std::initializer_list<long> numbers,
                           size_t maxChars) {
    std::wstring out;
    auto number = numbers.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        size_t spec = i + 1;
        if (format[spec] == L'l' && spec + 1 < format.size()) ++spec;
        if (format[spec] == L'd') {
            if (number != numbers.end()) out += std::to_wstring(*number++);
            i = spec;
        } else if (format[spec] == L's') {
            out += text;
            i = spec;
        } else if (format[spec] == L'%') {
            out += L'%';
            i = spec;
        } else {
            out += format[i];
        }
    }
    if (maxChars > 0 && out.size() > maxChars - 1) out.resize(maxChars - 1);
    return out;
}

}  // namespace video
