#pragma once
// The two ways text enters the output pane (a rich edit).
#include <windows.h>
#include <string>

namespace launcher {

// At the end of the text, in the pane's default colour; the caret follows it.
void AppendAtEnd(HWND pane, const std::wstring& text);
// At the selection, replacing it, in `colour`; later text gets the pane's own colour.
void InsertAtSelection(HWND pane, const std::wstring& text, COLORREF colour);
// Lets the pane take more than the control's default 32,767 characters.
void RaiseTextLimit(HWND pane);
// Drops the oldest whole lines once the pane holds too much; the selection
// stays on the same text where that text is still there.
void DropOldestLines(HWND pane);

}  // namespace launcher
