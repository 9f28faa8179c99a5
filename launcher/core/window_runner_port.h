#pragma once
// The runner's reports as protocol messages to the diagnostics dialog. Every
// call is a SendMessageW, so the texts only have to live for the call.
#include <windows.h>

#include "module_runner.h"

namespace launcher {

class WindowRunnerPort : public RunnerPort {
public:
    explicit WindowRunnerPort(HWND hostWindow) : m_hostWindow(hostWindow) {}

    void SetTestCount(int count) override;
    void PrintText(const std::wstring& text) override;
    void WriteLog(const std::wstring& text) override;
    void WriteXml(const std::wstring& testName, int resultIndex) override;
    void SetModuleResult(int runResult) override;
    void ExitTest() override;
    void ShowWarning(const std::wstring& text, const std::wstring& caption) override;
    void ModuleStarted(const RunRow& row) override;
    void ModuleReturned() override;
    void CycleStarted(int cycle) override;

private:
    void Send(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND m_hostWindow;
};

}  // namespace launcher
