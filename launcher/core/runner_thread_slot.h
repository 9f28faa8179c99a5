#pragma once
// The dialog's hold on the runner thread of the current run, as the host
// dispatcher sees it.
#include <windows.h>
#include <memory>

#include "call_dll_thread.h"
#include "host_interfaces.h"

namespace launcher {

class RunnerThreadSlot : public IRunner {
public:
    RunnerThreadSlot() = default;
    ~RunnerThreadSlot() override { Delete(); }
    RunnerThreadSlot(const RunnerThreadSlot&) = delete;
    RunnerThreadSlot& operator=(const RunnerThreadSlot&) = delete;

    // Starts `thread` and keeps it. False, and the thread object dropped
    // unstarted, when a run is held already or the thread cannot start.
    bool Start(std::unique_ptr<CCallDllThread> thread);

    bool Exists() const override { return m_thread != nullptr; }
    bool WaitForEnd(DWORD milliseconds) override { return !m_thread || m_thread->Wait(milliseconds); }
    DWORD ExitCode() const override { return m_thread ? m_thread->ExitCode() : 0xFFFFFFFF; }
    void RequestStop() override;
    void EndAfterCycle() override {
        if (m_thread) m_thread->RequestEndAfterCycle();
    }
    void Delete() override;

private:
    std::unique_ptr<CCallDllThread> m_thread;
};

}  // namespace launcher
