#include "call_dll_thread.h"

#include "framework/resources.h"
#include "runner_telemetry.h"

namespace launcher {

CCallDllThread::CCallDllThread(RunnerSettings settings, const RunList& list, HMODULE languageLibrary)
    : m_list(list),
      m_port(settings.hostWindow),
      m_starter(settings.hostWindow, settings.programDir, languageLibrary),
      m_runner(std::move(settings), m_port, m_starter) {}

DWORD CCallDllThread::Run() {
    int result = kModuleFailed;
    try {
        result = m_runner.RunList(m_list);
    } catch (...) {
        // The dialog ends a run only on ExitTest: a failed run must still send it.
        ::OutputDebugStringW(L"The run list ended with an exception.");
    }
    m_port.SetModuleResult(result);
    m_port.ExitTest();
    return static_cast<DWORD>(result);
}

std::unique_ptr<CCallDllThread> MakeRunThread(HWND dialog, const LauncherContext& context, int processorArchitecture,
                                              unsigned modeFlags, int repeatCount) {
    RunnerSettings settings;
    settings.programDir = context.programDir;
    settings.processorArchitecture = processorArchitecture;
    settings.modeFlags = modeFlags;
    settings.repeatCount = repeatCount;
    settings.burnIn = context.commandLine.burnIn;
    settings.hostWindow = dialog;
    settings.loadString = [](unsigned id) { return fw::LoadStr(id); };
    settings.reportTelemetry = ReportTelemetryTo(telemetry::Telemetry());
    return std::make_unique<CCallDllThread>(std::move(settings), context.runList, context.languageLibrary);
}

}  // namespace launcher
