#pragma once
// Keeps a sub-test's window answering for a while before it is closed.
#include <windows.h>

namespace video {

// Removes, translates and dispatches messages one at a time until `milliseconds`
// have passed or WM_QUIT arrives; WM_QUIT is posted again, so that the window's
// closing sees it too. True when WM_QUIT arrived.
bool PumpMessagesFor(DWORD milliseconds);

}  // namespace video
