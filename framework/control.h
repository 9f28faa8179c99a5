#pragma once
// An object attached to an existing child window (usually a dialog item) by
// subclassing it: the object sees the window's messages before the window's own
// class does. The instance pointer is the subclass's reference data, so there is
// no global window map; moving the object moves the subclass to the new object.
#include <windows.h>
#include <optional>

namespace fw {

class Control {
public:
    Control() = default;
    virtual ~Control() { Detach(); }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    Control(Control&& other) noexcept;
    Control& operator=(Control&& other) noexcept;

    HWND hwnd() const noexcept { return m_hwnd; }

    // Hands the window back to its class. The window's destruction detaches too.
    void Detach() noexcept;

protected:
    // False when `window` is null or this object is already attached. Call on
    // the thread that owns the window. A later object attached to the same
    // window sees its messages first.
    bool Attach(HWND window) noexcept;

    // Return a value to answer the message, or nothing to pass it on to the
    // window's class. Notifications reflected by the parent arrive as
    // ReflectedOf(message) with their original wParam and lParam
    // (reflected_messages.h); answering one marks it handled for the parent.
    virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Replaces style bits of the attached window and has its frame redrawn.
    void ModifyStyle(LONG_PTR remove, LONG_PTR add) const noexcept;

    // Passes a message, perhaps with altered parameters, on to the window's
    // class. Only valid while a message of this window is being handled.
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
    LRESULT Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void TakeOver(Control& other) noexcept;

    HWND m_hwnd = nullptr;
};

}  // namespace fw
