#include "platform_module_starter.h"

#include "framework/library_loading.h"
#include "framework/module_path.h"
#include "framework/resources.h"
#include "framework/unique_resource.h"
#include "hostlink/protocol.h"

namespace launcher {

std::optional<int> PlatformModuleStarter::CallStartTest(const std::wstring& libraryPath, unsigned flags, int count) {
    fw::UniqueModule library(fw::LoadLibraryAt(libraryPath));
    if (!library) return std::nullopt;
    auto startTest = reinterpret_cast<hostlink::StartTestProc>(
        reinterpret_cast<void*>(::GetProcAddress(library.get(), hostlink::kStartTestExportName)));
    if (!startTest) return std::nullopt;
    // The module owns the folder object from here on and frees it itself.
    return startTest(m_hostWindow, flags, count, hostlink::MakeModuleFolder(m_programDir.c_str()));
}

namespace {

// Closing the job ends what runs in it: however the launcher ends (a time
// limit, a crash, a kill), no hidden memory test goes on without it.
fw::UniqueHandle MakeKillOnCloseJob() {
    fw::UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job && !::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        job.reset();
    return job;
}

}  // namespace

std::optional<int> PlatformModuleStarter::RunBridge(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    std::wstring line = commandLine;  // CreateProcessW may write into its command line
    fw::UniqueHandle job = MakeKillOnCloseJob();  // open while the host runs; the process's end closes it
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                          &started))
        return std::nullopt;
    fw::UniqueHandle process(started.hProcess);
    fw::UniqueHandle thread(started.hThread);
    // A launcher in a job of its own that allows no nesting (Windows 7) runs the host outside one, as before.
    if (job) ::AssignProcessToJobObject(job.get(), process.get());
    ::ResumeThread(thread.get());
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    if (!::GetExitCodeProcess(process.get(), &code)) return std::nullopt;
    return static_cast<int>(code);
}

bool PlatformModuleStarter::FileExists(const std::wstring& path) { return fw::PathExists(path); }

void PlatformModuleStarter::RestoreResources() {
    if (m_languageLibrary) fw::SetCurrentResourceModule(m_languageLibrary);
}

}  // namespace launcher
