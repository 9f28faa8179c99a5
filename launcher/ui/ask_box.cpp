#include "ask_box.h"

#include "unattended.h"

namespace launcher {

int AskBox(HWND owner, bool unattended, const std::wstring& text, const std::wstring& caption, UINT style,
           const BoxNotes& notes) {
    if (!unattended) return ::MessageBoxW(owner, text.c_str(), caption.c_str(), style);
    const int answer = DefaultButton(style);
    const std::wstring note = AnsweredBoxNote(caption, text, answer);
    if (notes)
        notes(note);
    else
        ::OutputDebugStringW(note.c_str());
    return answer;
}

}  // namespace launcher
