#include "display_wait.h"

#include <algorithm>

#include "hostlink/protocol.h"
#include "message_pump.h"
#include "resources/string_ids.h"
#include "video_module.h"

namespace video {

bool CDisplayWait::WaitUntil(HWND window, const std::function<bool()>& back) {
    if (m_returns == kDisplayReturns) return false;
    if (window) ::SetForegroundWindow(window);
    while (m_left > 0) {
        const DWORD step = std::min(kDisplayWaitStepMs, m_left);
        m_module.Platform().Sleep(step);
        m_left -= step;
        // The display comes back through the window's activation messages.
        if (PumpMessagesFor(0)) return false;
        if (back()) {
            ++m_returns;
            m_module.WriteLog(IDS_VIDEO_DISPLAY_BACK);
            return true;
        }
    }
    return false;
}

int StopForLostDisplay(CVideoModule& module) {
    module.Report(IDS_VIDEO_DISPLAY_NOT_BACK);
    module.WriteXmlSub(0, hostlink::kResultStopped);
    return 2;
}

}  // namespace video
