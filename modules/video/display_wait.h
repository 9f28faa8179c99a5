#pragma once
// How a sub-test waits for a display that another window took.
#include <windows.h>

#include <functional>

class CVideoModule;

namespace video {

// What one sub-test waits in all, over every time its display is taken, and how
// often it takes the display back: each time, the step under way starts again.
constexpr DWORD kDisplayWaitMs = 30000;
constexpr DWORD kDisplayWaitStepMs = 100;
constexpr int kDisplayReturns = 5;

class CDisplayWait {
public:
    explicit CDisplayWait(CVideoModule& module) : m_module(module) {}

    // Asks for the foreground for `window`, then keeps the thread's messages
    // flowing and asks `back` after every step of the platform's sleep until it
    // answers true (logged: the test goes on) or the sub-test's wait, or its
    // returns, are spent.
    bool WaitUntil(HWND window, const std::function<bool()>& back);

private:
    CVideoModule& m_module;
    DWORD m_left = kDisplayWaitMs;
    int m_returns = 0;
};

// A sub-test whose display was not given back: says so on screen and in the log,
// records it "Stopped", and answers 2, which ends the pass as cancelled.
int StopForLostDisplay(CVideoModule& module);

}  // namespace video
