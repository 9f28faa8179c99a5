#include "dialog.h"

#include <exception>

#include "reflected_messages.h"

namespace fw {

Dialog::~Dialog() {
    if (m_hwnd) {
        ::SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
        if (!m_modal) ::DestroyWindow(m_hwnd);
    }
}

INT_PTR Dialog::DoModal(HMODULE resources, UINT templateId, HWND parent) {
    if (!::FindResourceW(resources, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5))) return -1;
    m_modal = true;
    return ::DialogBoxParamW(resources, MAKEINTRESOURCEW(templateId), parent, &Dialog::Procedure,
                             reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HMODULE resources, UINT templateId, HWND parent) {
    if (!::FindResourceW(resources, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5))) return false;
    m_modal = false;
    return ::CreateDialogParamW(resources, MAKEINTRESOURCEW(templateId), parent, &Dialog::Procedure,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::Close(INT_PTR result) {
    if (!m_hwnd) return;
    if (m_modal)
        ::EndDialog(m_hwnd, result);
    else
        ::DestroyWindow(m_hwnd);
}

// Messages whose answer is the dialog procedure's return value itself rather
// than DWLP_MSGRESULT.
static bool AnswersDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hwnd = hwnd;
    }
    if (!self) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT) and after teardown

    INT_PTR answer = FALSE;
    try {
        answer = self->Route(message, wParam, lParam);
    } catch (const std::exception& e) {
        // No exception may cross into the dialog manager.
        ::OutputDebugStringA(e.what());
    } catch (...) {
        ::OutputDebugStringA("unexpected exception in a dialog handler");
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hwnd = nullptr;
        self->OnWindowGone();
    }
    return answer;
}

INT_PTR Dialog::Route(UINT message, WPARAM wParam, LPARAM lParam) {
    // A child that handles its own notification answers for the dialog.
    std::optional<LRESULT> result = ReflectToChild(m_hwnd, message, wParam, lParam);
    if (!result) result = OnMessage(message, wParam, lParam);
    if (!result) return message == WM_INITDIALOG ? TRUE : FALSE;
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(*result);
    ::SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, *result);
    return TRUE;
}

}  // namespace fw
