#include "window_runner_port.h"

#include "hostlink/protocol.h"

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

void WindowRunnerPort::TestStarting(const std::wstring& testName) {
    Send(kTestStartingMessage, reinterpret_cast<WPARAM>(testName.c_str()), 0);
}

void WindowRunnerPort::WriteXml(const std::wstring& testName, int resultIndex) {
    Send(msg::kWriteXml, reinterpret_cast<WPARAM>(testName.c_str()), resultIndex);
}

void WindowRunnerPort::SetModuleResult(int runResult) { Send(msg::kSetModuleResult, 0, runResult); }

void WindowRunnerPort::ExitTest() { Send(msg::kExitTest, 0, 0); }

void WindowRunnerPort::ShowWarning(const std::wstring& text, const std::wstring& caption) {
    ::MessageBoxW(m_hostWindow, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace launcher
