#pragma once
// A dialog built from a template in a resource module, with one virtual handler
// for every message. `this` is bound to the window at WM_INITDIALOG; there is no
// global window map.
#include <windows.h>
#include <optional>

namespace fw {

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally; returns the value given to EndDialog, or -1 when
    // the template is missing or the window could not be created.
    INT_PTR DoModal(HMODULE resources, UINT templateId, HWND parent);

    // Creates the dialog modelessly; false when the template is missing.
    bool Create(HMODULE resources, UINT templateId, HWND parent);

    HWND hwnd() const noexcept { return m_hwnd; }

protected:
    // The message handler. Return a value to answer the message (it reaches the
    // sender through DWLP_MSGRESULT), or nothing for the dialog manager's default.
    // For WM_INITDIALOG the value is the "set default focus" flag. Notifications
    // that a child control handled itself (reflected_messages.h) never get here.
    virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Called after the window is gone (WM_NCDESTROY); self-owning modeless
    // dialogs delete themselves here.
    virtual void OnWindowGone() {}

    // Ends a modal dialog with `result`, or destroys a modeless one.
    void Close(INT_PTR result);

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    bool m_modal = false;
};

}  // namespace fw
