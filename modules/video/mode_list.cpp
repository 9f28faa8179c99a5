#include "mode_list.h"

#include <algorithm>
#include <ddraw.h>
#include <numeric>

namespace video {

std::vector<DisplayMode>& ModuleModeList() {
    static std::vector<DisplayMode> list;
    return list;
}

bool AddEnumeratedMode(std::vector<DisplayMode>& list, const DisplayMode& mode) {
    if (mode.bpp <= 8 || mode.width <= 639 || mode.height <= 479) return false;
    for (const DisplayMode& held : list)
        if (held.width == mode.width && held.height == mode.height && held.bpp == mode.bpp) return false;
    list.push_back(mode);
    return true;
}

void SortByWidth(std::vector<DisplayMode>& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const DisplayMode& a, const DisplayMode& b) { return a.width > b.width; });
}

AspectRatio RatioOf(int width, int height) {
    int divisor = std::gcd(width, height);
    if (divisor == 0) return {};
    return {width / divisor, height / divisor};
}

TModeTry TryMode(const SetModeCall& setMode, const DisplayMode& mode) {
    if (SUCCEEDED(setMode(mode))) return TModeTry::Accepted;
    HRESULT again = setMode(mode);
    if (SUCCEEDED(again)) return TModeTry::Accepted;
    if (again == DDERR_INVALIDMODE || again == DDERR_UNSUPPORTEDFORMAT) return TModeTry::Skipped;
    return TModeTry::Refused;
}

TFallback FindFallbackMode(const std::vector<DisplayMode>& list, AspectRatio desktop, const SetModeCall& setMode,
                           DisplayMode& mode) {
    for (bool sameRatioOnly : {true, false}) {
        for (const DisplayMode& candidate : list) {
            mode = candidate;
            if (candidate.width <= 0 || candidate.height <= 0) return TFallback::Refused;
            if (sameRatioOnly && !(RatioOf(candidate.width, candidate.height) == desktop)) continue;
            switch (TryMode(setMode, candidate)) {
            case TModeTry::Accepted: return TFallback::Accepted;
            case TModeTry::Refused: return TFallback::Refused;
            case TModeTry::Skipped: break;
            }
        }
    }
    return TFallback::Exhausted;
}

}  // namespace video
