#pragma once
// The two ways text enters the output pane (a rich edit).
#include <windows.h>
#include <string>

namespace launcher {

// At the end of the text, in the pane's default colour; the caret follows it.
void AppendAtEnd(HWND pane, const std::wstring& text);
// At the selection, replacing it, in `colour`; later text gets the pane's own colour.
void InsertAtSelection(HWND pane, const std::wstring& text, COLORREF colour);

}  // namespace launcher
