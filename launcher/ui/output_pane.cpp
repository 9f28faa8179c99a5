#include "output_pane.h"

#include <richedit.h>

#include <optional>

namespace launcher {

namespace {
// The colour of what is inserted next at the selection; none: the pane's own.
void SetInsertionColour(HWND pane, std::optional<COLORREF> colour) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.dwEffects = colour ? 0 : CFE_AUTOCOLOR;
    format.crTextColor = colour.value_or(0);
    ::SendMessageW(pane, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}
}  // namespace

void AppendAtEnd(HWND pane, const std::wstring& text) {
    int length = ::GetWindowTextLengthW(pane);
    ::SendMessageW(pane, EM_SETSEL, length, -1);
    // Said again: the control forgets the colour set for its caret once it scrolls or repaints.
    SetInsertionColour(pane, std::nullopt);
    ::SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void InsertAtSelection(HWND pane, const std::wstring& text, COLORREF colour) {
    SetInsertionColour(pane, colour);
    ::SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SetInsertionColour(pane, std::nullopt);  // later text in the pane's own colour
}

}  // namespace launcher
