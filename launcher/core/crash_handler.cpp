#include "crash_handler.h"

#include <atomic>
#include <cwchar>

#include "runner_messages.h"
#include "unattended.h"

namespace launcher {

namespace {

std::atomic<HWND> g_dialog{nullptr};
std::atomic<DWORD> g_dialogThread{0};
std::atomic<bool> g_unattended{false};

// The dialog may need a lock the crashed thread holds (the heap's, the
// loader's): then the process ends without the records rather than hang.
constexpr UINT kHandOffTimeoutMs = 10000;

[[noreturn]] void EndProcess() {
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(kExitFailed));
    for (;;) ::Sleep(INFINITE);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers ? pointers->ExceptionRecord : nullptr;
    if (!record) return EXCEPTION_CONTINUE_SEARCH;
    if (::GetCurrentThreadId() == g_dialogThread.load()) {
        // The thread that writes the records is the one that broke.
        if (g_unattended.load()) EndProcess();
        return EXCEPTION_CONTINUE_SEARCH;
    }
    ModuleCrash crash = DescribeCrash(record->ExceptionCode, record->ExceptionAddress);
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(g_dialog.load(), runner_msg::kModuleCrashed, 0, reinterpret_cast<LPARAM>(&crash),
                               SMTO_NORMAL, kHandOffTimeoutMs, &answer))
        EndProcess();
    // What this thread was doing cannot go on; the dialog has decided how the process ends.
    for (;;) ::Sleep(INFINITE);
}

}  // namespace

ModuleCrash DescribeCrash(DWORD code, const void* address) noexcept {
    ModuleCrash crash;
    crash.code = code;
    crash.offset = reinterpret_cast<UINT_PTR>(address);
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(address), &module))
        return crash;
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return crash;
    const wchar_t* slash = std::wcsrchr(path, L'\\');
    std::wcsncpy(crash.module, slash ? slash + 1 : path, MAX_PATH - 1);
    crash.offset -= reinterpret_cast<UINT_PTR>(module);
    return crash;
}

std::wstring CrashNote(const std::wstring& testName, const ModuleCrash& crash) {
    wchar_t where[64] = {};
    std::swprintf(where, 64, L" crashed (exception 0x%08lX at ", static_cast<unsigned long>(crash.code));
    wchar_t offset[32] = {};
    std::swprintf(offset, 32, L"+0x%llX)\r\n", static_cast<unsigned long long>(crash.offset));
    const size_t moduleChars = wcsnlen(crash.module, MAX_PATH);
    return testName + where + (moduleChars ? std::wstring(crash.module, moduleChars) : L"unknown module") + offset;
}

void InstallCrashHandler(HWND dialog, bool unattended) noexcept {
    g_dialog = dialog;
    g_dialogThread = ::GetCurrentThreadId();
    g_unattended = unattended;
    ::SetUnhandledExceptionFilter(&OnUnhandledException);
}

}  // namespace launcher
