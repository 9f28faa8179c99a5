// textflood.dll: the benchmark's test module. Inside the launcher, on its
// runner thread, StartTest sends N PrintText lines, each followed by a
// Progress message, in blocks of 1,000 lines; before each block it measures
// the floor, empty SendMessageW calls (WM_NULL) to the launcher's dialog, a
// window of the dialog's thread. A block counts from its first message until
// the output pane shows its last line, and the pane's text changes meanwhile
// are counted. Blocks and floor take turns, so that both see the same load of
// a shared machine. It reads "N" from <own name>.txt and writes "key value"
// lines to <own name>.result.txt.
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
constexpr int kOutputPaneId = 1056;
constexpr DWORD kQuietMs = 200;  // no change for this long: the pane shows everything
// Each look is a message the dialog's thread must answer too: not too often.
constexpr DWORD kWatchIntervalMs = 5;

double Seconds() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring OwnBase() {
    wchar_t path[MAX_PATH] = {};
    std::wstring own(path, ::GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH));
    return own.substr(0, own.find_last_of(L'.'));
}

double FloorSeconds(HWND host) {
    double start = Seconds();
    for (int i = 0; i < kFloorMessages; ++i) ::SendMessageW(host, WM_NULL, 0, 0);
    return Seconds() - start;
}

// Watches the pane's text length from a thread of its own: how often it
// changed, and when it last did.
class PaneWatch {
public:
    explicit PaneWatch(HWND pane) : m_thread([this, pane] { Watch(pane); }) {}
    ~PaneWatch() { Stop(); }
    void Stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    int changes() const { return m_changes; }
    double lastChange() const { return m_lastChange; }

private:
    void Watch(HWND pane) {
        LRESULT last = ::SendMessageW(pane, WM_GETTEXTLENGTH, 0, 0);
        while (!m_stop) {
            ::Sleep(kWatchIntervalMs);
            LRESULT length = ::SendMessageW(pane, WM_GETTEXTLENGTH, 0, 0);
            if (length == last) continue;
            last = length;
            ++m_changes;
            m_lastChange = Seconds();
        }
    }
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_changes{0};
    std::atomic<double> m_lastChange{0};
    std::thread m_thread;
};

}  // namespace

extern "C" __declspec(dllexport) int __cdecl StartTest(HWND host, unsigned, int, hostlink::ModuleFolder folder) {
    hostlink::ScopedModuleFolder owned(folder);
    const std::wstring base = OwnBase();
    int lines = 0;
    if (FILE* config = _wfopen((base + L".txt").c_str(), L"r")) {
        if (std::fscanf(config, "%d", &lines) != 1) lines = 0;
        std::fclose(config);
    }
    HWND pane = testsupport::FindControl(host, {kOutputPaneId});
    if (lines <= 0 || !pane) return hostlink::kModuleFailed;

    PaneWatch watch(pane);
    double floorSeconds = 0, textSeconds = 0;
    int floorMessages = 0, changes = 0;
    for (int first = 1; first <= lines; first += kBlockLines) {
        floorSeconds += FloorSeconds(host);
        floorMessages += kFloorMessages;
        const int changesBefore = watch.changes();
        const double start = Seconds();
        for (int i = first; i < first + kBlockLines && i <= lines; ++i) {
            std::wstring line = L"line " + std::to_wstring(i) + L" of the benchmark output\r\n";
            ::SendMessageW(host, hostlink::msg::kPrintText, 0, reinterpret_cast<LPARAM>(line.c_str()));
            ::SendMessageW(host, hostlink::msg::kProgress, 0, static_cast<LPARAM>(i * 100LL / lines));
        }
        const double sent = Seconds();
        double seen = 0;
        do {
            seen = watch.lastChange();
            ::Sleep(kQuietMs);
        } while (watch.lastChange() != seen);
        textSeconds += std::max(watch.lastChange(), sent) - start;
        changes += watch.changes() - changesBefore;
    }
    watch.Stop();

    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(pane)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(pane, text.data(), static_cast<int>(text.size()))));
    const bool complete = text.find(L"line " + std::to_wstring(lines) + L" of") != std::wstring::npos;

    if (FILE* result = _wfopen((base + L".result.txt").c_str(), L"w")) {
        std::fprintf(result, "floor %.0f\ntext %.0f\nupdates %.1f\nshown %.3f\ncomplete %d\n",
                     floorMessages / floorSeconds, 2.0 * lines / textSeconds, changes / textSeconds, textSeconds,
                     complete ? 1 : 0);
        std::fclose(result);
    }
    return complete ? hostlink::kModulePassed : hostlink::kModuleFailed;
}
