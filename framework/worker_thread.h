#pragma once
// A thread with a virtual body. Its exit code is the body's return value and can
// be read with GetExitCodeThread while the object lives.
#include <windows.h>
#include "unique_resource.h"

namespace fw {

class WorkerThread {
public:
    WorkerThread() = default;
    // The owner destroys the object only after the thread has ended.
    virtual ~WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    bool Start();
    HANDLE handle() const noexcept { return m_thread.get(); }
    bool IsRunning() const noexcept;
    // STILL_ACTIVE while running; 0xFFFFFFFF when never started.
    DWORD ExitCode() const noexcept;
    // Waits at most `milliseconds`; true when the thread has ended.
    bool Wait(DWORD milliseconds) const noexcept;

protected:
    virtual DWORD Run() = 0;

private:
    static unsigned __stdcall Entry(void* self);
    UniqueHandle m_thread;
};

}  // namespace fw
