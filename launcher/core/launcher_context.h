#pragma once
// Process-wide state of the launcher, made at start-up and read by its dialogs.
#include <windows.h>
#include <string>

#include "command_line.h"
#include "test_catalogue.h"

namespace launcher {

struct LauncherContext {
    std::wstring programDir;    // with a trailing backslash
    std::wstring languageDir;   // programDir + "QDXLang\" + languageCode + "\"
    std::wstring languageCode;  // e.g. "ENU"
    HMODULE languageLibrary = nullptr;  // uistrings.dll, held for the life of the process
    CommandLine commandLine;
    bool keepOpen = false;
    CatalogueResult catalogue;
    RunList runList;
};

constexpr wchar_t kInstanceMutexName[] = L"Orlix Hardware Diagnostics";
constexpr wchar_t kNoModuleMessage[] = L"No module was specified.";
constexpr int kLauncherExitCode = -1;

}  // namespace launcher
