#pragma once
// The thread that keeps the drives' media states current: it runs pass after
// pass while RunEvent is signalled, with a short pause between passes, and can
// be held (for a rebuild of the drive list) and stopped from the dialog thread.
//
// Events (manual reset): RunEvent lets passes start; IdleEvent is signalled
// while no pass runs; ExitEvent is signalled by the thread as its last act.
// A pass that has started always completes before Hold or Stop return.
#include <windows.h>
#include <atomic>

#include "framework/unique_resource.h"

namespace discprobe {

// Between passes; with the pass itself, a change shows well within a second.
constexpr DWORD kPassPauseMs = 250;

// One pass over every drive; runs on the monitor thread.
class IMediaPass {
public:
    virtual ~IMediaPass() = default;
    virtual void RunPass() = 0;
};

class CMonitorThread {
public:
    explicit CMonitorThread(IMediaPass& pass, DWORD pauseMs = kPassPauseMs);
    ~CMonitorThread();  // stops the thread
    CMonitorThread(const CMonitorThread&) = delete;
    CMonitorThread& operator=(const CMonitorThread&) = delete;

    // Creates the events and starts the thread, which begins with a pass.
    void Start();
    bool IsRunning() const noexcept { return m_running.load(); }

    // No pass runs between Hold and Release: Hold waits for the pass under way.
    void Hold();
    void Release();

    // Waits for the pass under way, ends the thread and closes the events.
    void Stop();

private:
    static unsigned __stdcall Entry(void* self);
    void Loop();
    enum class TPassStart { Leave, Held, Go };
    // Go: IdleEvent is reset and the pass may run.
    TPassStart BeginPass();

    IMediaPass& m_pass;
    const DWORD m_pauseMs;
    std::atomic<bool> m_running{false};
    // Makes "RunEvent still set" and "IdleEvent reset" one step for the thread,
    // so a Hold can never slip in between them.
    CRITICAL_SECTION m_passGate;
    fw::UniqueHandle m_runEvent;
    fw::UniqueHandle m_idleEvent;
    fw::UniqueHandle m_exitEvent;
    // Cuts the pause between passes short (auto reset).
    fw::UniqueHandle m_wakeEvent;
    fw::UniqueHandle m_thread;
};

}  // namespace discprobe
