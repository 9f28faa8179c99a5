#include "window_runner_port.h"

#include "hostlink/protocol.h"
#include "runner_messages.h"

using namespace hostlink;

namespace launcher {

namespace {
LPARAM TextParam(const std::wstring& text) { return reinterpret_cast<LPARAM>(text.c_str()); }
}  // namespace

void WindowRunnerPort::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    ::SendMessageW(m_hostWindow, message, wParam, lParam);
}

void WindowRunnerPort::SetTestCount(int count) { Send(msg::kSetTestCount, static_cast<WPARAM>(count), 0); }

void WindowRunnerPort::PrintText(const std::wstring& text) { Send(msg::kPrintText, 0, TextParam(text)); }

void WindowRunnerPort::WriteLog(const std::wstring& text) { Send(msg::kWriteLog, 0, TextParam(text)); }

void WindowRunnerPort::WriteXml(const std::wstring& testName, int resultIndex) {
    Send(msg::kWriteXml, reinterpret_cast<WPARAM>(testName.c_str()), resultIndex);
}

void WindowRunnerPort::SetModuleResult(int runResult) { Send(msg::kSetModuleResult, 0, runResult); }

void WindowRunnerPort::ExitTest() { Send(msg::kExitTest, 0, 0); }

// The dialog shows every box, or answers it when nobody is there.
void WindowRunnerPort::ShowWarning(const std::wstring& text, const std::wstring& caption) {
    MessageBoxRecord record{text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING};
    Send(msg::kShowMyMessageBox, 0, reinterpret_cast<LPARAM>(&record));
}

void WindowRunnerPort::ModuleStarted(const RunRow& row) {
    Send(runner_msg::kModuleStarted, 0, reinterpret_cast<LPARAM>(&row));
}

void WindowRunnerPort::ModuleReturned() { Send(runner_msg::kModuleReturned, 0, 0); }

void WindowRunnerPort::CycleStarted(int cycle) { Send(runner_msg::kCycleStarted, static_cast<WPARAM>(cycle), 0); }

}  // namespace launcher
