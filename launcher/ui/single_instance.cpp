#include "single_instance.h"

#include <windows.h>

namespace launcher {

bool SingleInstance::Acquire(const wchar_t* mutexName) {
    m_mutex.reset(::CreateMutexW(nullptr, TRUE, mutexName));
    if (m_mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        m_mutex.reset();
        return false;
    }
    return true;  // also when no mutex could be made at all: better two launchers than none
}

void SingleInstance::ActivateExisting(const std::wstring& title) {
    HWND window = ::FindWindowW(L"#32770", title.c_str());
    if (!window) return;
    if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
    ::SetForegroundWindow(window);
}

SingleInstance::~SingleInstance() {
    if (m_mutex) ::ReleaseMutex(m_mutex.get());
}

}  // namespace launcher
