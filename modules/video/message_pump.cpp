#include "message_pump.h"

namespace video {

bool PumpMessagesFor(DWORD milliseconds) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return true;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        const ULONGLONG elapsed = ::GetTickCount64() - start;
        if (elapsed >= milliseconds) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds - elapsed), QS_ALLINPUT);
    }
}

}  // namespace video
