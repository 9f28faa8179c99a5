#pragma once
// Child notifications handed back to the control that sent them, so that a
// control class can draw, colour and react to its own clicks.
//
// Contract: a parent that receives one of the notifications below from a child
// window first sends that child the reflected message ReflectedOf(message).
// On the wire the reflected message carries wParam 0 and lParam pointing to a
// Reflection that holds the original parameters; the child returns TRUE when it
// handled the notification and leaves its answer in Reflection::result. A
// window that does not know the message returns 0 through its default
// procedure, and the parent then handles the notification itself.
// fw::Control unpacks the record: its OnMessage sees ReflectedOf(message) with
// the original wParam and lParam, and handles it by returning a value.
#include <windows.h>
#include <optional>

namespace fw {

// Reflected number = base + original number; all lie in the application range
// (WM_APP..0xBFFF), away from the protocol's WM_USER numbers.
constexpr UINT kReflectBase = WM_APP + 0x3000;
constexpr UINT ReflectedOf(UINT message) noexcept { return kReflectBase + message; }

constexpr UINT kReflectedDrawItem = ReflectedOf(WM_DRAWITEM);          // owner draw
constexpr UINT kReflectedCommand = ReflectedOf(WM_COMMAND);            // control notifications only
constexpr UINT kReflectedNotify = ReflectedOf(WM_NOTIFY);
constexpr UINT kReflectedCtlColorEdit = ReflectedOf(WM_CTLCOLOREDIT);
constexpr UINT kReflectedCtlColorButton = ReflectedOf(WM_CTLCOLORBTN);
constexpr UINT kReflectedCtlColorStatic = ReflectedOf(WM_CTLCOLORSTATIC);

constexpr bool IsReflected(UINT message) noexcept {
    return message == kReflectedDrawItem || message == kReflectedCommand || message == kReflectedNotify ||
           message == kReflectedCtlColorEdit || message == kReflectedCtlColorButton ||
           message == kReflectedCtlColorStatic;
}

// What travels in lParam of a reflected message.
struct Reflection {
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;  // the child's answer; meaningful only when it returned TRUE
};

// Parent side: offers `message` to the child window it came from, when it is a
// reflected kind and comes from a child of `parent`. Returns the child's answer,
// or nothing when the message is not reflected or the child did not handle it.
std::optional<LRESULT> ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace fw
