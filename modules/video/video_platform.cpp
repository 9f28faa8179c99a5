#include "video_platform.h"

namespace video {

namespace {

class SystemPlatform final : public IVideoPlatform {
public:
    ScreenSize Screen() override { return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

    DWORD DisplayOrientation() override {
        // The 220-byte record of the display settings (no driver-private bytes).
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        if (!::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return DMDO_DEFAULT;
        return mode.dmDisplayOrientation;
    }

    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
};

}  // namespace

IVideoPlatform& SystemVideoPlatform() {
    static SystemPlatform platform;
    return platform;
}

}  // namespace video
