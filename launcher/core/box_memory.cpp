#include "box_memory.h"

namespace launcher {

std::optional<int> BoxMemory::Recall(const std::wstring& caption, const std::wstring& text, UINT style) const {
    for (const Answer& known : m_answers)
        if (known.buttons == (style & MB_TYPEMASK) && known.caption == caption && known.text == text)
            return known.answer;
    return std::nullopt;
}

void BoxMemory::Remember(const std::wstring& caption, const std::wstring& text, UINT style, int answer) {
    if (Recall(caption, text, style) || m_answers.size() >= kMaxAnswers) return;
    m_answers.push_back({caption, text, style & MB_TYPEMASK, answer});
}

}  // namespace launcher
