// textflood.dll: the benchmark's test module. On the launcher's runner thread,
// StartTest sends N PrintText lines, each followed by a Progress message, in
// blocks of 1,000 lines. Before each block it times the floor: empty
// SendMessageW calls (WM_NULL) to the dialog, a window of the dialog's thread;
// floor and text take turns, so both see the same load of a shared machine. A
// block counts until the output pane shows its last line; a watcher thread
// counts the pane's text changes. Reads N from <own name>.txt and writes
// "key value" lines to <own name>.result.txt.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "hostlink/protocol.h"
#include "ui_automation.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr int kBlockLines = 1000;
constexpr int kFloorMessages = 2000;  // per block
constexpr DWORD kQuietMs = 200;       // no change for this long: the pane shows everything
constexpr DWORD kWatchIntervalMs = 5;  // each look is a message the dialog's thread answers too

double Seconds() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

extern "C" __declspec(dllexport) int __cdecl StartTest(HWND host, unsigned, int, hostlink::ModuleFolder folder) {
    hostlink::ScopedModuleFolder owned(folder);
    wchar_t path[MAX_PATH] = {};
    std::wstring base(path, ::GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH));
    base.erase(base.find_last_of(L'.'));
    int lines = 0;
    if (FILE* config = _wfopen((base + L".txt").c_str(), L"r")) {
        if (std::fscanf(config, "%d", &lines) != 1) lines = 0;
        std::fclose(config);
    }
    HWND pane = testsupport::FindControl(host, {1056});  // the output pane
    if (lines <= 0 || !pane) return hostlink::kModuleFailed;

    std::atomic<bool> stop{false};
    std::atomic<int> changes{0};
    std::atomic<double> lastChange{0};
    std::thread watcher([&] {
        for (LRESULT last = ::SendMessageW(pane, WM_GETTEXTLENGTH, 0, 0); !stop; ::Sleep(kWatchIntervalMs)) {
            LRESULT length = ::SendMessageW(pane, WM_GETTEXTLENGTH, 0, 0);
            if (length == last) continue;
            last = length;
            ++changes;
            lastChange = Seconds();
        }
    });
    double floorSeconds = 0, textSeconds = 0;
    for (int first = 1; first <= lines; first += kBlockLines) {
        const double floorStart = Seconds();
        for (int i = 0; i < kFloorMessages; ++i) ::SendMessageW(host, WM_NULL, 0, 0);
        floorSeconds += Seconds() - floorStart;
        const double start = Seconds();
        for (int i = first; i < first + kBlockLines && i <= lines; ++i) {
            std::wstring line = L"line " + std::to_wstring(i) + L" of the benchmark output\r\n";
            ::SendMessageW(host, hostlink::msg::kPrintText, 0, reinterpret_cast<LPARAM>(line.c_str()));
            ::SendMessageW(host, hostlink::msg::kProgress, 0, static_cast<LPARAM>(i * 100LL / lines));
        }
        const double sent = Seconds();
        for (double seen = -1; seen != lastChange;) {
            seen = lastChange;
            ::Sleep(kQuietMs);
        }
        textSeconds += std::max(lastChange.load(), sent) - start;
    }
    stop = true;
    watcher.join();

    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(pane)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(pane, text.data(), static_cast<int>(text.size()))));
    const bool complete = text.find(L"line " + std::to_wstring(lines) + L" of") != std::wstring::npos;
    if (FILE* result = _wfopen((base + L".result.txt").c_str(), L"w")) {
        const int floorMessages = kFloorMessages * ((lines + kBlockLines - 1) / kBlockLines);
        std::fprintf(result, "floor %.0f\ntext %.0f\nupdates %.1f\nshown %.3f\ncomplete %d\n",
                     floorMessages / floorSeconds, 2.0 * lines / textSeconds, changes / textSeconds, textSeconds,
                     complete ? 1 : 0);
        std::fclose(result);
    }
    return complete ? hostlink::kModulePassed : hostlink::kModuleFailed;
}
