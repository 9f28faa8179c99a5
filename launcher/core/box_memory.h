#pragma once
// The answers a person gave in an attended burn-in: a box that comes again in
// a later cycle (same caption, text and buttons) is answered the same way
// without waiting for the person once more.
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace launcher {

class BoxMemory {
public:
    // Enough for every box of a run list; a box beyond them is shown each time.
    static constexpr size_t kMaxAnswers = 64;

    std::optional<int> Recall(const std::wstring& caption, const std::wstring& text, UINT style) const;
    void Remember(const std::wstring& caption, const std::wstring& text, UINT style, int answer);
    void Forget() { m_answers.clear(); }

private:
    struct Answer {
        std::wstring caption;
        std::wstring text;
        UINT buttons = 0;
        int answer = 0;
    };
    std::vector<Answer> m_answers;
};

}  // namespace launcher
