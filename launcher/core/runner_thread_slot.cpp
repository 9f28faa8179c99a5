#include "runner_thread_slot.h"

namespace launcher {

bool RunnerThreadSlot::Start(std::unique_ptr<CCallDllThread> thread) {
    if (m_thread || !thread || !thread->Start()) return false;
    m_thread = std::move(thread);
    return true;
}

void RunnerThreadSlot::RequestStop() {
    if (m_thread) m_thread->RequestStop();
}

void RunnerThreadSlot::Delete() {
    // A thread that still runs keeps its object: deleting it would pull the
    // object from under the thread, and waiting here could deadlock on the
    // messages the thread sends to this very dialog. Only a dialog torn down
    // in the middle of a run gets here with one.
    if (m_thread && !m_thread->Wait(0)) static_cast<void>(m_thread.release());
    m_thread.reset();
}

}  // namespace launcher
