#include "control.h"

#include <commctrl.h>

#include <exception>
#include <utility>

#include "reflected_messages.h"

namespace fw {

namespace {
// Each object is its own subclass, so objects never take one another's window.
UINT_PTR IdOf(const Control* control) { return reinterpret_cast<UINT_PTR>(control); }
}  // namespace

Control::Control(Control&& other) noexcept { TakeOver(other); }

Control& Control::operator=(Control&& other) noexcept {
    if (this != &other) {
        Detach();
        TakeOver(other);
    }
    return *this;
}

void Control::TakeOver(Control& other) noexcept {
    HWND window = other.m_hwnd;
    other.Detach();
    Attach(window);
}

bool Control::Attach(HWND window) noexcept {
    if (!window || m_hwnd) return false;
    if (!::SetWindowSubclass(window, &Control::Procedure, IdOf(this), reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hwnd = window;
    return true;
}

void Control::Detach() noexcept {
    if (!m_hwnd) return;
    ::RemoveWindowSubclass(m_hwnd, &Control::Procedure, IdOf(this));
    m_hwnd = nullptr;
}

void Control::ModifyStyle(LONG_PTR remove, LONG_PTR add) const noexcept {
    if (!m_hwnd) return;
    LONG_PTR style = ::GetWindowLongPtrW(m_hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hwnd, GWL_STYLE, (style & ~remove) | add);
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Control::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) const {
    return m_hwnd ? ::DefSubclassProc(m_hwnd, message, wParam, lParam) : 0;
}

LRESULT CALLBACK Control::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data) {
    auto* self = reinterpret_cast<Control*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &Control::Procedure, id);
        self->m_hwnd = nullptr;
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    try {
        return self->Route(hwnd, message, wParam, lParam);
    } catch (const std::exception& e) {
        // No exception may cross into the window manager.
        ::OutputDebugStringA(e.what());
    } catch (...) {
        ::OutputDebugStringA("unexpected exception in a control handler");
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT Control::Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsReflected(message) && lParam) {
        auto* reflection = reinterpret_cast<Reflection*>(lParam);
        std::optional<LRESULT> answer = OnMessage(message, reflection->wParam, reflection->lParam);
        if (!answer) return ::DefSubclassProc(hwnd, message, wParam, lParam);
        reflection->result = *answer;
        return TRUE;
    }
    std::optional<LRESULT> answer = OnMessage(message, wParam, lParam);
    return answer ? *answer : ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace fw
