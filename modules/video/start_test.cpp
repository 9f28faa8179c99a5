// video.dll's entry point: runs the whole video test on a worker thread of its
// own and returns its verdict.
#define HOSTLINK_TEST_MODULE
#include <windows.h>

#include <cstdio>
#include <memory>

#include "dll_thread.h"
#include "hostlink/protocol.h"
#include "module_globals.h"

extern "C" __declspec(dllexport) int __cdecl StartTest(HWND hostWindow, unsigned modeFlags, int count,
                                                       hostlink::ModuleFolder folder) {
    hostlink::ScopedModuleFolder directory(folder);
    try {
        auto thread = std::make_unique<CDllThread>(hostWindow);
        thread->m_loopCount = count;
        thread->m_flags = modeFlags;
        thread->m_moduleDirectory = video::ModuleFolderFrom(directory.text());
        ModuleDirectory = thread->m_moduleDirectory;
        if (!thread->Start()) return hostlink::kModuleFailed;
        thread->Wait(INFINITE);
        int result = static_cast<int>(thread->ExitCode());
        char trace[16];
        std::snprintf(trace, sizeof trace, "%d", result);
        ::OutputDebugStringA(trace);
        return result;
    } catch (...) {
        // No exception may cross the export: without memory for the thread the test did not run.
        return hostlink::kModuleFailed;
    }
}
