#include "instance_guard.h"

#include <windows.h>

namespace discprobe {

bool CInstanceGuard::Acquire(const wchar_t* mutexName) {
    m_mutex.reset(::CreateMutexW(nullptr, FALSE, mutexName));
    return !(m_mutex && ::GetLastError() == ERROR_ALREADY_EXISTS);
}

bool ActivateWindowTitled(const std::wstring& title) {
    if (title.empty()) return false;  // any untitled window would match
    HWND window = ::FindWindowW(nullptr, title.c_str());
    if (!window) return false;
    ::SetForegroundWindow(window);
    if (::IsIconic(window)) {
        ::ShowWindow(window, SW_RESTORE);
        ::UpdateWindow(window);
    }
    return true;
}

}  // namespace discprobe
