#pragma once
// The one place where the launcher shows a message box, its own or a module's.
#include <windows.h>
#include <functional>
#include <string>

#include "box_memory.h"

namespace launcher {

// Where the note of a box answered unattended goes; none: the debugger output.
using BoxNotes = std::function<void(const std::wstring& line)>;

// Shows the box, owned by `owner`, and returns the button pressed. Unattended
// nobody would press one: the box is not shown, its default button is the
// answer, and what it said goes to `notes`.
// With `memory` (an attended burn-in), a box answered before is not shown
// again: its earlier answer is returned and noted.
int AskBox(HWND owner, bool unattended, const std::wstring& text, const std::wstring& caption, UINT style,
           const BoxNotes& notes = {}, BoxMemory* memory = nullptr);

}  // namespace launcher
