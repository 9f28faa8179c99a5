#include "output_pane.h"

#include <richedit.h>

#include <algorithm>
#include <optional>

#include "pane_buffer.h"

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

void RaiseTextLimit(HWND pane) { ::SendMessageW(pane, EM_EXLIMITTEXT, 0, kPaneTextLimit); }

void DropOldestLines(HWND pane) {
    // In the control's own positions: a line break is one character there.
    GETTEXTLENGTHEX count{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LONG drop = PaneCharsToDrop(
        static_cast<LONG>(::SendMessageW(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&count), 0)));
    if (drop == 0) return;
    const LRESULT line = ::SendMessageW(pane, EM_EXLINEFROMCHAR, 0, drop);
    const LRESULT next = ::SendMessageW(pane, EM_LINEINDEX, static_cast<WPARAM>(line + 1), 0);
    const LONG cut = next > 0 ? static_cast<LONG>(next) : drop;
    CHARRANGE selection{};
    ::SendMessageW(pane, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    CHARRANGE all{0, cut};
    ::SendMessageW(pane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    ::SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    CHARRANGE kept{std::max(0L, selection.cpMin - cut), selection.cpMax < 0 ? -1 : std::max(0L, selection.cpMax - cut)};
    ::SendMessageW(pane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
}

}  // namespace launcher
