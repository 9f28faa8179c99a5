#pragma once
// Starts modules for real: loads the library and calls its StartTest on the
// calling thread, or runs the 64-bit module host as a hidden process.
#include <windows.h>
#include <string>

#include "module_runner.h"

namespace launcher {

class PlatformModuleStarter : public ModuleStarter {
public:
    // `languageLibrary` is the launcher's uistrings.dll, or null when none was loaded.
    PlatformModuleStarter(HWND hostWindow, std::wstring programDir, HMODULE languageLibrary)
        : m_hostWindow(hostWindow), m_programDir(std::move(programDir)), m_languageLibrary(languageLibrary) {}

    std::optional<int> CallStartTest(const std::wstring& libraryPath, unsigned flags, int count) override;
    std::optional<int> RunBridge(const std::wstring& commandLine) override;
    bool FileExists(const std::wstring& path) override;
    void RestoreResources() override;

private:
    HWND m_hostWindow;
    std::wstring m_programDir;
    HMODULE m_languageLibrary;
};

}  // namespace launcher
