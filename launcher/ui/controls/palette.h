#pragma once
#include <windows.h>

namespace launcher {

// The brand colour of the launcher's own controls: button titles, the test
// page's instruction line.
inline constexpr COLORREF kBrandColour = 0xCC6600;

}  // namespace launcher
