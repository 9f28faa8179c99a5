#pragma once
// Drives the windows of programs under test from inside the same desktop: finds
// windows, reads and presses controls, answers message boxes, takes screenshots.
// Every wait polls with a timeout; nothing here waits without bound.
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

#include "process.h"
#include "screenshot.h"

namespace testsupport {

constexpr DWORD kPollIntervalMs = 50;
// How long a window may take to answer one message before it counts as hung.
constexpr DWORD kMessageTimeoutMs = 2000;

// Calls `probe` until its result converts to true or `timeoutMs` has passed; returns the last result.
template <typename Probe>
auto PollUntil(DWORD timeoutMs, Probe probe) -> decltype(probe()) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        auto result = probe();
        if (result || ::GetTickCount64() >= deadline) return result;
        ::Sleep(kPollIntervalMs);
    }
}

// Top-level windows. Unset fields match anything; texts match exactly.
struct WindowQuery {
    std::optional<std::wstring> title;
    std::optional<std::wstring> className;
    DWORD pid = 0;  // 0: any process
    bool visibleOnly = true;
};
std::vector<HWND> FindTopWindows(const WindowQuery& query);
HWND FindTopWindow(const WindowQuery& query);  // the first match, or null
HWND WaitTopWindow(const WindowQuery& query, DWORD timeoutMs);

// Descendants of a window (children, their children, ...).
struct ControlQuery {
    std::optional<int> id;
    std::optional<std::wstring> className;
    std::optional<std::wstring> text;
    bool visibleOnly = false;
};
HWND FindControl(HWND ancestor, const ControlQuery& query);
HWND WaitControl(HWND ancestor, const ControlQuery& query, DWORD timeoutMs);

// A control's text through WM_GETTEXT; nothing when the window is gone or does not answer.
std::optional<std::wstring> ReadText(HWND window);
// A top-level window's title, read without a message so a hung program cannot stall it.
std::wstring TitleOf(HWND window);
std::wstring ClassOf(HWND window);
DWORD ProcessOf(HWND window);
RECT WindowRect(HWND window);  // screen coordinates; empty when the window is gone
bool IsShown(HWND window);     // the window and all its parents are visible
bool IsEnabled(HWND window);
bool WaitForeground(HWND window, DWORD timeoutMs);
bool WaitGone(HWND window, DWORD timeoutMs);  // destroyed or hidden

// Pressing a button: BM_CLICK makes the button itself notify its parent (it must be
// enabled); CommandParent posts the parent the WM_COMMAND a click would send.
void ClickButton(HWND button);
void CommandParent(HWND control);

// Closing a window, three different ways a test must choose between:
void PressAltF4(HWND window);          // the keystrokes, to the window procedure
void PostSysCommandClose(HWND window);  // what Alt+F4 and the caption's close button ask for
void PostCloseMessage(HWND window);     // WM_CLOSE, skipping the system menu logic
// A key press and release as the keyboard delivers them to the focused window (VK_RETURN, VK_ESCAPE...).
void PressKey(HWND window, UINT virtualKey, bool withAlt = false);

// Message boxes: "#32770" dialogs that hold the static text control 0xFFFF. A dialog
// from a plain DIALOG template with an unnumbered label looks the same, so tests
// that may meet one name the caption or the process.
struct MessageBoxQuery {
    std::optional<std::wstring> caption;
    DWORD pid = 0;  // 0: any process
};
bool IsMessageBox(HWND window);
HWND FindMessageBox(const MessageBoxQuery& query);
HWND WaitMessageBox(const MessageBoxQuery& query, DWORD timeoutMs);
std::wstring MessageBoxText(HWND box);
// The button that Enter would press: the default push button, else OK.
int DefaultButtonOf(HWND box);
// Clicks the button `buttonId` (IDOK, IDYES, ...); false when the box has no such button.
bool PressMessageBoxButton(HWND box, int buttonId);

enum class BoxOutcome { Answered, NoBox, NoSuchButton, StayedOpen };
struct BoxAnswer {
    BoxOutcome outcome = BoxOutcome::NoBox;
    std::wstring caption;
    std::wstring text;
    int button = 0;  // the button pressed, or that the box lacked
};
// Waits for a box, reads it, presses `buttonId` (nothing: its default button) and
// waits for the box to close, so that the next search cannot find it again.
BoxAnswer AnswerMessageBox(const MessageBoxQuery& query, std::optional<int> buttonId, DWORD timeoutMs);

}  // namespace testsupport
