#pragma once
// What the video module's tests put around it: a window that records every
// host message as one line of text, and a platform with a chosen screen that
// never waits.
#include <windows.h>

#include <string>
#include <vector>

#include "video_module.h"
#include "video_platform.h"

namespace videotest {

// Lines such as "text:OK\r\n", "log:...", "progress:50", "sub:0,1", "box:caption",
// "colour:...,65535", "bk:255,0", "clearlog", "abort?", "setlog",
// "faults:0:1024x768:10,10=FFFFFF/FFFF7F;..." (x,y=expected/read of each point).
class HostRecorder {
public:
    HostRecorder();
    ~HostRecorder();
    HostRecorder(const HostRecorder&) = delete;
    HostRecorder& operator=(const HostRecorder&) = delete;

    HWND hwnd() const { return m_hwnd; }
    std::vector<std::wstring> lines;
    LRESULT abortAnswer = 259;

    // Everything printed (text lines) or logged, joined.
    std::wstring Printed() const { return Joined(L"text:"); }
    std::wstring Logged() const { return Joined(L"log:"); }
    // The lines that start with `prefix`, in order.
    std::vector<std::wstring> Only(const std::wstring& prefix) const;

private:
    std::wstring Joined(const std::wstring& prefix) const;
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd;
};

class FakePlatform : public video::IVideoPlatform {
public:
    video::ScreenSize screen{1024, 768};
    DWORD orientation = 0;
    DWORD slept = 0;  // milliseconds asked for in all

    video::ScreenSize Screen() override { return screen; }
    DWORD DisplayOrientation() override { return orientation; }
    void Sleep(DWORD milliseconds) override { slept += milliseconds; }
};

// The text of one of the module's strings.
std::wstring Str(UINT id);

}  // namespace videotest
