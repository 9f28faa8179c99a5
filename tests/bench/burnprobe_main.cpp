// burnprobe.dll: the burn-in benchmark's quick test module. Each call of
// StartTest appends one line to <own name>.probe.txt with what the launcher's
// process holds at that moment: "entry_us exit_us handles gdi user private_bytes"
// (entry and exit of this call, so the bench can tell the launcher's own time
// per cycle from the module's).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "hostlink/protocol.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
long long Microseconds() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return now.QuadPart * 1000000 / frequency.QuadPart;
}
}  // namespace

extern "C" __declspec(dllexport) int __cdecl StartTest(HWND, unsigned, int, hostlink::ModuleFolder folder) {
    const long long entry = Microseconds();
    hostlink::ScopedModuleFolder owned(folder);
    HANDLE self = ::GetCurrentProcess();
    DWORD handles = 0;
    ::GetProcessHandleCount(self, &handles);
    // The commit charge is the private bytes; Wine fills it but not PrivateUsage.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(self, &memory, sizeof memory);
    const DWORD gdi = ::GetGuiResources(self, GR_GDIOBJECTS), user = ::GetGuiResources(self, GR_USEROBJECTS);

    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    std::wstring probe = std::wstring(path, length - 4) + L".probe.txt";  // without ".dll"
    char line[160];
    const int size = std::snprintf(line, sizeof line, "%lld %lld %lu %lu %lu %llu\n", entry, Microseconds(),
                                   static_cast<unsigned long>(handles), static_cast<unsigned long>(gdi),
                                   static_cast<unsigned long>(user),
                                   static_cast<unsigned long long>(memory.PagefileUsage));
    HANDLE file = ::CreateFileW(probe.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    ::WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
