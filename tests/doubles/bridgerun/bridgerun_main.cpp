// Stand-in for the 64-bit module host x64\bridgerun.exe, for tests only.
// Command line: <module> <dialog window in decimal>. It greets the dialog with
// X64Hello from a hidden window, expects exactly one valid X64Setup record and
// then X64Start while the greeting is handled, prints one line through X64Text
// ("bridgerun <module> folder=<folder> flags=<n> repeat=<n>"), sends X64Done,
// and exits with the number in bridgerun.txt beside it (0 without the file);
// "hang" there instead keeps it running, its process id in bridgerun.pid.
// Any deviation from that exchange ends it with kHandshakeFailed instead.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "hostlink/protocol.h"

using namespace hostlink;

namespace {

constexpr int kHandshakeFailed = 97;

struct Handshake {
    HWND dialog = nullptr;
    int setups = 0;
    int starts = 0;
    bool setupValid = false;
    bool startAfterSetup = false;
    std::wstring folder;
    INT32 modeFlags = 0;
    INT32 repeatCount = 0;
};

Handshake g_handshake;  // one exchange per process

// The record must be exactly one set-up record from the dialog whose folder
// is NUL-terminated inside its field and ends with a backslash.
bool AcceptSetup(HWND sender, const COPYDATASTRUCT& data) {
    if (sender != g_handshake.dialog || data.cbData != sizeof(X64SetupRecord) || !data.lpData) return false;
    const auto& record = *static_cast<const X64SetupRecord*>(data.lpData);
    size_t length = wcsnlen(record.folder, kX64FolderChars);
    if (length == 0 || length == kX64FolderChars || record.folder[length - 1] != L'\\') return false;
    g_handshake.folder.assign(record.folder, length);
    g_handshake.modeFlags = record.modeFlags;
    g_handshake.repeatCount = record.repeatCount;
    return true;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!data || data->dwData != copydata::kX64Setup) return FALSE;
        ++g_handshake.setups;
        g_handshake.setupValid = AcceptSetup(reinterpret_cast<HWND>(wParam), *data);
        return TRUE;
    }
    if (message == msg::kX64Start) {
        ++g_handshake.starts;
        g_handshake.startAfterSetup = g_handshake.setups == 1 && wParam == 0 && lParam == 0;
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SendCopy(HWND from, ULONG_PTR kind, const std::wstring* text) {
    COPYDATASTRUCT data{kind, 0, nullptr};
    if (text) {
        data.cbData = static_cast<DWORD>((text->size() + 1) * sizeof(wchar_t));
        data.lpData = const_cast<wchar_t*>(text->c_str());
    }
    return ::SendMessageW(g_handshake.dialog, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                          reinterpret_cast<LPARAM>(&data));
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring own(path, length);
    return own.substr(0, own.find_last_of(L'\\') + 1);
}

std::string ChosenOutcome() {
    HANDLE file = ::CreateFileW((OwnFolder() + L"bridgerun.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "0";
    char text[32] = {};
    DWORD read = 0;
    ::ReadFile(file, text, sizeof text - 1, &read, nullptr);
    ::CloseHandle(file);
    return text;
}

[[noreturn]] void Hang() {
    HANDLE file = ::CreateFileW((OwnFolder() + L"bridgerun.pid").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                nullptr);
    std::string pid = std::to_string(::GetCurrentProcessId());
    DWORD written = 0;
    ::WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
    ::CloseHandle(file);
    for (;;) ::Sleep(INFINITE);
}

// The dialog's window from its decimal text; null unless the whole text is a number.
HWND WindowFrom(const wchar_t* text) {
    wchar_t* end = nullptr;
    unsigned long long value = std::wcstoull(text, &end, 10);
    if (end == text || *end != L'\0') return nullptr;
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 3) return kHandshakeFailed;
    const std::wstring module = argv[1];
    g_handshake.dialog = WindowFrom(argv[2]);
    ::LocalFree(argv);
    if (!::IsWindow(g_handshake.dialog)) return kHandshakeFailed;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"BridgerunStandIn";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                    nullptr);
    if (!window) return kHandshakeFailed;

    // The dialog answers the greeting only after it has sent the set-up record and the start.
    LRESULT answer = ::SendMessageW(g_handshake.dialog, msg::kX64Hello, reinterpret_cast<WPARAM>(window), 0);
    bool good = answer == kX64Answer && g_handshake.setups == 1 && g_handshake.setupValid &&
                g_handshake.starts == 1 && g_handshake.startAfterSetup;
    if (good) {
        std::wstring line = L"bridgerun " + module + L" folder=" + g_handshake.folder +
                            L" flags=" + std::to_wstring(g_handshake.modeFlags) +
                            L" repeat=" + std::to_wstring(g_handshake.repeatCount) + L"\r\n";
        good = SendCopy(window, copydata::kX64Text, &line) == kX64Answer &&
               SendCopy(window, copydata::kX64Done, nullptr) == kX64Answer;
    }
    ::DestroyWindow(window);
    const std::string outcome = ChosenOutcome();
    if (good && outcome.rfind("hang", 0) == 0) Hang();
    return good ? std::atoi(outcome.c_str()) : kHandshakeFailed;
}
