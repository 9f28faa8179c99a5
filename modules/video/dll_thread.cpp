#include "dll_thread.h"

#include <climits>

#include "pass_sequence.h"
#include "video_module.h"

DWORD CDllThread::Run() {
    CVideoModule module(m_parent);
    // Also makes the language library this binary's first place to look up texts.
    module.SetResource(m_moduleDirectory);
    // Without this request the launcher keeps no log, and the set-up error
    // codes and result lines, which go to the log only, would be lost. A run
    // without passes has nothing to log and asks for nothing.
    if (m_loopCount > 0) module.SetSusResLog(static_cast<int>(hostlink::kLogFolderFromSettings), nullptr);
    // Three progress steps a pass; a count too large to scale gets no scaling.
    module.Initialize(m_loopCount > 0 && m_loopCount <= INT_MAX / 3 ? m_loopCount * 3 : 0);
    return static_cast<DWORD>(video::RunPasses(module, m_flags, m_loopCount));
}
