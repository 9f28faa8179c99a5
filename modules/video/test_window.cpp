#include "test_window.h"

#include <cstdio>

#include "video_module.h"

namespace video {

LRESULT CALLBACK TestWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_POWERBROADCAST && wParam == PBT_APMQUERYSUSPEND) return BROADCAST_QUERY_DENY;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void UnregisterTestWindowClass() { ::UnregisterClassW(kTestWindowClass, ::GetModuleHandleW(nullptr)); }

void CloseTestWindow(HWND window) {
    MSG message{};
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    if (message.message != WM_QUIT) {
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (window) ::DestroyWindow(window);
    }
    UnregisterTestWindowClass();
}

}  // namespace video

void CreateTestWindow(CVideoModule& module, HWND& window) {
    HINSTANCE program = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &video::TestWindowProcedure;
    windowClass.hInstance = program;
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = video::kTestWindowClass;
    ::RegisterClassW(&windowClass);  // may still be registered: that is fine

    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    window = ::CreateWindowExW(WS_EX_TOPMOST, video::kTestWindowClass, video::kTestWindowTitle, WS_POPUP | WS_VISIBLE,
                               CW_USEDEFAULT, CW_USEDEFAULT, width, height, module.Parent(), nullptr, program, nullptr);
    // Exclusive full screen needs the focus; a window left behind another would lose its display.
    if (window) ::SetForegroundWindow(window);
    ::ShowCursor(FALSE);

    wchar_t trace[128];
    std::swprintf(trace, std::size(trace), L"QDX====================WinInit Height: %d, Wight: %d====================QDX",
                  height, width);
    TraceLog(trace, video::kSetupTraceFile);
}

void TraceLog(const std::wstring&, const wchar_t*) {}
