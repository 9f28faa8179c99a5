#pragma once
// A test module that crashes (an access violation or any other exception that
// nothing handles) on the runner thread or on a thread of its own: the
// process's unhandled-exception filter hands the crash to the diagnostics
// dialog, which records it and ends the run (HostDispatcher), and the thread
// that crashed never goes on.
#include <windows.h>
#include <string>

namespace launcher {

struct ModuleCrash {
    DWORD code = 0;                 // the exception code
    UINT_PTR offset = 0;            // of the address in its module; the address itself when in none
    wchar_t module[MAX_PATH] = {};  // file name of the module the address lies in; empty when none
};

// Where `address` lies. Takes no lock and allocates nothing: the crashed
// thread may hold the heap's lock.
ModuleCrash DescribeCrash(DWORD code, const void* address) noexcept;

// "<test name> crashed (exception 0x%08X at <module>+0x%X)" and a line end.
std::wstring CrashNote(const std::wstring& testName, const ModuleCrash& crash);

// From now on a crash on any thread but the calling one (the dialog's) is sent
// to `dialog` as runner_msg::kModuleCrashed. One on the dialog's own thread
// ends the process with exit code 1 when unattended, else as the platform ends it.
void InstallCrashHandler(HWND dialog, bool unattended) noexcept;

}  // namespace launcher
