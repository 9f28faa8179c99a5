#pragma once
// The display modes the 2D test may fall back to, and how a fallback is chosen
// when the desktop mode is refused.
#include <windows.h>

#include <functional>
#include <vector>

namespace video {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bpp = 0;
};

// Modes seen by every enumeration of the loaded module; never emptied.
std::vector<DisplayMode>& ModuleModeList();

// Adds an enumerated mode when it is a test mode (more than 8 bits, at least
// 640 x 480) that the list does not hold yet; true when added.
bool AddEnumeratedMode(std::vector<DisplayMode>& list, const DisplayMode& mode);

// Widest first.
void SortByWidth(std::vector<DisplayMode>& list);

struct AspectRatio {
    int width = 0;
    int height = 0;
    bool operator==(const AspectRatio&) const = default;
};
// W:H reduced by their greatest common divisor; both must be positive.
AspectRatio RatioOf(int width, int height);

using SetModeCall = std::function<HRESULT(const DisplayMode&)>;

enum class TModeTry { Accepted, Skipped, Refused };
// Requests a mode and, when refused, once more: a second refusal with an
// invalid mode or format passes over the mode; any other refusal is final.
TModeTry TryMode(const SetModeCall& setMode, const DisplayMode& mode);

enum class TFallback { Accepted, Refused, Exhausted };
// Looks for a mode the display accepts, first among the modes of the desktop's
// ratio, then among all, in list order. `mode` follows every mode examined.
TFallback FindFallbackMode(const std::vector<DisplayMode>& list, AspectRatio desktop, const SetModeCall& setMode,
                           DisplayMode& mode);

}  // namespace video
