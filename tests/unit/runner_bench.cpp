#include "runner_bench.h"

#include <cstring>

#include "hostlink/protocol.h"

using namespace hostlink;
using namespace launcher;

namespace runnertest {

namespace {

constexpr DWORD kPumpSliceMs = 20;

std::wstring N(long long value) { return std::to_wstring(value); }

std::wstring TextAt(LPARAM pointer) {
    return pointer ? std::wstring(reinterpret_cast<const wchar_t*>(pointer)) : L"<null>";
}

const wchar_t* NameOf(UINT message) {
    switch (message) {
    case msg::kProgress: return L"Progress";
    case msg::kGetAbort: return L"GetAbort";
    case msg::kExitTest: return L"ExitTest";
    case msg::kSetTestCount: return L"SetTestCount";
    case msg::kSetAbort: return L"SetAbort";
    case msg::kEnableStopBut: return L"EnableStopBut";
    case msg::kClearCurrentLog: return L"ClearCurrentLog";
    case msg::kSaveCurrentLog: return L"SaveCurrentLog";
    case msg::kSetModuleResult: return L"SetModuleResult";
    case msg::kWriteXmlSub: return L"WriteXmlSub";
    case msg::kStartRun: return L"StartRun";
    case msg::kPrintEstimateTestTime: return L"PrintEstimateTestTime";
    case msg::kHoldWindow: return L"HoldWindow";
    default: return nullptr;
    }
}

bool IsProtocolMessage(UINT message) {
    return message == WM_COPYDATA || (message > WM_USER && message <= msg::kX64Start);
}

}  // namespace

RunnerBench::RunnerBench(std::wstring programDir)
    : m_dispatcher(HostServices{*this, *this, *this, *this, m_runner, *this, *this}, keepOpen, std::move(programDir)) {
    static const ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &RunnerBench::Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"RunnerBench";
        return ::RegisterClassW(&windowClass);
    }();
    // A hidden top-level window: it can own the runner's warning boxes.
    m_hwnd = ::CreateWindowExW(0, MAKEINTATOM(atom), L"Runner bench", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), this);
}

RunnerBench::~RunnerBench() { ::DestroyWindow(m_hwnd); }

LRESULT CALLBACK RunnerBench::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RunnerBench*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self)
        if (std::optional<LRESULT> answer = self->Route(message, wParam, lParam)) return *answer;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

std::optional<LRESULT> RunnerBench::Route(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsProtocolMessage(message)) {
        Record(message, wParam, lParam);
        if (intercept)
            if (std::optional<LRESULT> answer = intercept(message, wParam, lParam)) return answer;
    } else if (message != WM_TIMER) {
        return std::nullopt;
    }
    return m_dispatcher.Handle(message, wParam, lParam);
}

void RunnerBench::Record(UINT message, WPARAM wParam, LPARAM lParam) {
    std::wstring line;
    switch (message) {
    case msg::kPrintText: line = L"PrintText " + TextAt(lParam); break;
    case msg::kWriteLog: line = L"WriteLog " + TextAt(lParam); break;
    case msg::kWriteXml: line = L"WriteXml " + TextAt(static_cast<LPARAM>(wParam)) + L" " + N(lParam); break;
    case msg::kPrintColorText:
        line = L"PrintColorText " + TextAt(static_cast<LPARAM>(wParam)) + L" " + N(lParam);
        break;
    case msg::kSetSusResLog: {
        const char* folder = reinterpret_cast<const char*>(lParam);
        line = L"SetSusResLog " + N(static_cast<long long>(wParam)) + L" " +
               (folder ? std::wstring(folder, folder + std::strlen(folder)) : L"<null>");
        break;
    }
    case msg::kShowMyMessageBox: {
        const auto* record = reinterpret_cast<const MessageBoxRecord*>(lParam);
        line = L"ShowMyMessageBox " + std::wstring(record->text) + L"|" + record->caption + L"|" + N(record->style);
        break;
    }
    case msg::kX64Hello: line = L"X64Hello"; break;
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData == copydata::kX64Text)
            line = L"X64Text " + std::wstring(static_cast<const wchar_t*>(data->lpData));
        else
            line = L"CopyData " + N(static_cast<long long>(data->dwData)) + L" " + N(data->cbData);
        break;
    }
    default:
        const wchar_t* name = NameOf(message);
        line = (name ? std::wstring(name) : L"WM_USER+" + N(message - WM_USER)) + L" " +
               N(static_cast<long long>(wParam)) + L" " + N(lParam);
        break;
    }
    messages.push_back(line);
}

bool RunnerBench::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kPumpSliceMs, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return true;
}

bool RunnerBench::RunToEnd(DWORD timeoutMs) {
    ::SendMessageW(m_hwnd, msg::kStartRun, 0, kNoEntry);
    return PumpUntil([this] { return ended; }, timeoutMs);
}

bool RunnerBench::StartRun(int entryIndex) {
    Effect(L"window.StartRun " + N(entryIndex));
    return makeRun && m_runner.Start(makeRun());
}

int RunnerBench::ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT style) {
    Effect(L"window.ShowMessageBox " + text + L"|" + caption + L"|" + N(style));
    return boxAnswer;
}

void RunnerBench::SendCopyData(HWND target, ULONG_PTR kind, const void* data, DWORD bytes) {
    Effect(L"window.SendCopyData " + N(static_cast<long long>(kind)) + L" " + N(bytes));
    COPYDATASTRUCT copy{kind, bytes, const_cast<void*>(data)};
    ::SendMessageW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(m_hwnd), reinterpret_cast<LPARAM>(&copy));
}

void RunnerBench::SendTo(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    Effect(L"window.SendTo " + N(message) + L" " + N(static_cast<long long>(wParam)) + L" " + N(lParam));
    ::SendMessageW(target, message, wParam, lParam);
}

void RunnerBench::CloseAndWriteHistory(bool userStopped, int runResult) {
    Effect(L"log.CloseAndWriteHistory " + N(userStopped) + L" " + N(runResult));
}

void RunnerBench::WriteXml(std::wstring_view name, int resultIndex) {
    Effect(L"results.WriteXml " + std::wstring(name) + L" " + N(resultIndex));
}

void RunnerBench::WriteXmlSub(int number, int resultIndex) {
    Effect(L"results.WriteXmlSub " + N(number) + L" " + N(resultIndex));
}

Lines RunnerBench::Only(const Lines& lines, const std::wstring& prefix) {
    Lines out;
    for (const std::wstring& line : lines)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

Lines RunnerBench::Without(const Lines& lines, const std::wstring& prefix) {
    Lines out;
    for (const std::wstring& line : lines)
        if (line.rfind(prefix, 0) != 0) out.push_back(line);
    return out;
}

}  // namespace runnertest
