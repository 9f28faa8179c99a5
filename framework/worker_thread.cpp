#include "worker_thread.h"

#include <process.h>
#include <exception>

namespace fw {

bool WorkerThread::Start() {
    if (m_thread) return false;
    uintptr_t handle = ::_beginthreadex(nullptr, 0, &WorkerThread::Entry, this, 0, nullptr);
    m_thread.reset(reinterpret_cast<HANDLE>(handle));
    return static_cast<bool>(m_thread);
}

bool WorkerThread::IsRunning() const noexcept { return ExitCode() == STILL_ACTIVE; }

DWORD WorkerThread::ExitCode() const noexcept {
    DWORD code = 0xFFFFFFFF;
    if (!m_thread || !::GetExitCodeThread(m_thread.get(), &code)) return 0xFFFFFFFF;
    return code;
}

bool WorkerThread::Wait(DWORD milliseconds) const noexcept {
    return !m_thread || ::WaitForSingleObject(m_thread.get(), milliseconds) == WAIT_OBJECT_0;
}

unsigned __stdcall WorkerThread::Entry(void* self) {
    try {
        return static_cast<WorkerThread*>(self)->Run();
    } catch (const std::exception& e) {
        // No exception may cross the thread entry; a failed body reports 1.
        ::OutputDebugStringA(e.what());
    } catch (...) {
        ::OutputDebugStringA("unexpected exception in a worker thread");
    }
    return 1;
}

}  // namespace fw
