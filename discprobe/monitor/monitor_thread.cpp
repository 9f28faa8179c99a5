#include "monitor_thread.h"

#include <process.h>
#include <exception>

namespace discprobe {

namespace {

HANDLE NewEvent(bool manualReset, bool signalled) {
    return ::CreateEventW(nullptr, manualReset, signalled, nullptr);
}

class GateLock {
public:
    explicit GateLock(CRITICAL_SECTION& section) : m_section(section) { ::EnterCriticalSection(&m_section); }
    ~GateLock() { ::LeaveCriticalSection(&m_section); }
    GateLock(const GateLock&) = delete;
    GateLock& operator=(const GateLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

}  // namespace

CMonitorThread::CMonitorThread(IMediaPass& pass, DWORD pauseMs) : m_pass(pass), m_pauseMs(pauseMs) {
    ::InitializeCriticalSection(&m_passGate);
}

CMonitorThread::~CMonitorThread() {
    Stop();
    ::DeleteCriticalSection(&m_passGate);
}

void CMonitorThread::Start() {
    if (m_thread) return;
    m_runEvent.reset(NewEvent(true, true));
    m_idleEvent.reset(NewEvent(true, true));
    m_exitEvent.reset(NewEvent(true, true));
    m_wakeEvent.reset(NewEvent(false, false));
    m_running = true;
    ::ResetEvent(m_exitEvent.get());
    ::SetEvent(m_runEvent.get());
    ::SetEvent(m_idleEvent.get());
    m_thread.reset(reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &CMonitorThread::Entry, this, 0, nullptr)));
    if (!m_thread) m_running = false;
}

void CMonitorThread::Hold() {
    if (!m_running) return;
    {
        GateLock gate(m_passGate);
        ::ResetEvent(m_runEvent.get());
    }
    ::SetEvent(m_wakeEvent.get());
    ::WaitForSingleObject(m_idleEvent.get(), INFINITE);
}

void CMonitorThread::Release() {
    if (!m_running) return;
    ::SetEvent(m_runEvent.get());
    ::WaitForSingleObject(m_idleEvent.get(), INFINITE);
}

void CMonitorThread::Stop() {
    if (m_running.exchange(false)) {
        // Whatever the thread waits for, it wakes, sees it must leave, and ends
        // after the pass under way.
        ::SetEvent(m_wakeEvent.get());
        ::SetEvent(m_runEvent.get());
        ::WaitForSingleObject(m_exitEvent.get(), INFINITE);
        ::WaitForSingleObject(m_thread.get(), INFINITE);
    }
    m_thread.reset();
    m_runEvent.reset();
    m_idleEvent.reset();
    m_exitEvent.reset();
    m_wakeEvent.reset();
}

unsigned __stdcall CMonitorThread::Entry(void* self) {
    auto* monitor = static_cast<CMonitorThread*>(self);
    try {
        monitor->Loop();
    } catch (const std::exception& e) {
        // No exception may cross the thread entry.
        ::OutputDebugStringA(e.what());
    } catch (...) {
        ::OutputDebugStringA("unexpected exception on the monitor thread");
    }
    ::SetEvent(monitor->m_idleEvent.get());
    ::SetEvent(monitor->m_exitEvent.get());
    return 0;
}

CMonitorThread::TPassStart CMonitorThread::BeginPass() {
    GateLock gate(m_passGate);
    if (!m_running) return TPassStart::Leave;
    if (::WaitForSingleObject(m_runEvent.get(), 0) != WAIT_OBJECT_0) return TPassStart::Held;
    ::ResetEvent(m_idleEvent.get());
    return TPassStart::Go;
}

void CMonitorThread::Loop() {
    while (m_running) {
        ::WaitForSingleObject(m_runEvent.get(), INFINITE);
        TPassStart start = BeginPass();
        if (start == TPassStart::Leave) break;
        if (start == TPassStart::Held) continue;
        m_pass.RunPass();
        ::SetEvent(m_idleEvent.get());
        ::WaitForSingleObject(m_wakeEvent.get(), m_pauseMs);
    }
}

}  // namespace discprobe
