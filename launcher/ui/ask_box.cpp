#include "ask_box.h"

#include "unattended.h"

namespace launcher {

int AskBox(HWND owner, bool unattended, const std::wstring& text, const std::wstring& caption, UINT style,
           const BoxNotes& notes, BoxMemory* memory) {
    std::optional<int> remembered = !unattended && memory ? memory->Recall(caption, text, style) : std::nullopt;
    if (!unattended && !remembered) {
        const int answer = ::MessageBoxW(owner, text.c_str(), caption.c_str(), style);
        if (memory && answer != 0) memory->Remember(caption, text, style, answer);
        return answer;
    }
    const int answer = remembered.value_or(DefaultButton(style));
    const std::wstring note =
        remembered ? RememberedBoxNote(caption, text, answer) : AnsweredBoxNote(caption, text, answer);
    if (notes)
        notes(note);
    else
        ::OutputDebugStringW(note.c_str());
    return answer;
}

}  // namespace launcher
