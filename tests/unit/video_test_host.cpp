#include "video_test_host.h"

#include <cwchar>

#include "framework/resources.h"
#include "hostlink/protocol.h"

namespace videotest {

namespace {

std::wstring TextAt(LPARAM pointer) {
    return pointer ? std::wstring(reinterpret_cast<const wchar_t*>(pointer)) : L"<null>";
}

}  // namespace

HostRecorder::HostRecorder() {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &HostRecorder::Procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VideoTestHostRecorder";
        return ::RegisterClassW(&wc);
    }();
    // A hidden top-level window: it owns the module's full-screen test windows.
    m_hwnd = ::CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), this);
}

HostRecorder::~HostRecorder() { ::DestroyWindow(m_hwnd); }

std::vector<std::wstring> HostRecorder::Only(const std::wstring& prefix) const {
    std::vector<std::wstring> found;
    for (const std::wstring& line : lines)
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

std::wstring HostRecorder::Joined(const std::wstring& prefix) const {
    std::wstring all;
    for (const std::wstring& line : Only(prefix)) all += line.substr(prefix.size());
    return all;
}

LRESULT CALLBACK HostRecorder::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace hostlink;
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<HostRecorder*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || message < WM_USER) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    std::vector<std::wstring>& lines = self->lines;
    switch (message) {
    case msg::kPrintText: lines.push_back(L"text:" + TextAt(lParam)); break;
    case msg::kWriteLog: lines.push_back(L"log:" + TextAt(lParam)); break;
    case msg::kProgress: lines.push_back(L"progress:" + std::to_wstring(static_cast<int>(lParam))); break;
    case msg::kGetAbort: lines.push_back(L"abort?"); return self->abortAnswer;
    case msg::kWriteXmlSub:
        lines.push_back(L"sub:" + std::to_wstring(wParam) + L"," + std::to_wstring(lParam));
        break;
    case msg::kShowMyMessageBox: {
        auto* box = reinterpret_cast<const MessageBoxRecord*>(lParam);
        lines.push_back(L"box:" + std::wstring(box->caption));
        return IDOK;
    }
    case msg::kPrintColorText:
        lines.push_back(L"colour:" + TextAt(static_cast<LPARAM>(wParam)) + L"," + std::to_wstring(lParam));
        break;
    case msg::kSetEditBoxBKColor:
        lines.push_back(L"bk:" + std::to_wstring(lParam) + L"," + std::to_wstring(wParam));
        break;
    case msg::kReportFaultPoints: {
        auto* record = reinterpret_cast<const FaultPointsRecord*>(lParam);
        std::wstring line = L"faults:" + std::to_wstring(wParam) + L":" + std::to_wstring(record->width) + L"x" +
                            std::to_wstring(record->height) + L":";
        wchar_t point[64];
        for (int i = 0; i < record->count; ++i) {
            const FaultPoint& p = PointsOf(record)[i];
            swprintf(point, 64, L"%d,%d=%06X/%06X;", p.x, p.y, p.expected, p.read);
            line += point;
        }
        lines.push_back(line);
        return record->count;
    }
    case msg::kClearCurrentLog: lines.push_back(L"clearlog"); break;
    case msg::kSetSusResLog: lines.push_back(L"setlog"); break;
    default: break;  // the stop button's state while a box is open
    }
    return 0;
}

std::wstring Str(UINT id) { return fw::LoadStr(id); }

}  // namespace videotest
