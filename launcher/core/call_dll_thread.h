#pragma once
// The runner thread of one run. The dialog creates it, starts it, may ask it
// to stop, and deletes it once the thread has ended; it never deletes itself.
// Its exit code is the run result.
#include <windows.h>
#include <memory>

#include "framework/worker_thread.h"
#include "launcher_context.h"
#include "module_runner.h"
#include "platform_module_starter.h"
#include "window_runner_port.h"

namespace launcher {

class CCallDllThread : public fw::WorkerThread {
public:
    // `settings.hostWindow` is the dialog; `languageLibrary` is the launcher's
    // language library, or null when none is loaded.
    CCallDllThread(RunnerSettings settings, const RunList& list, HMODULE languageLibrary);

    // From the dialog's thread: the test that is running is recorded as
    // stopped when it returns, and no further test starts.
    void RequestStop() { m_runner.RequestStop(); }
    // From the dialog's thread in a burn-in: the cycle under way is the last.
    void RequestEndAfterCycle() { m_runner.RequestEndAfterCycle(); }

protected:
    DWORD Run() override;

private:
    RunList m_list;                   // its count is the row count
    WindowRunnerPort m_port;          // the host window
    PlatformModuleStarter m_starter;  // each module's library, held while its StartTest runs
    ModuleRunner m_runner;            // the flags, the repeat count and the run state
};

// The run thread as the dialog makes it: the context's run list, program
// folder and language library, the strings of the current resource module and
// the process-wide telemetry client.
std::unique_ptr<CCallDllThread> MakeRunThread(HWND dialog, const LauncherContext& context, int processorArchitecture,
                                              unsigned modeFlags, int repeatCount);

}  // namespace launcher
