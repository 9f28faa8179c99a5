#include "platform_module_starter.h"

#include "framework/module_path.h"
#include "framework/resources.h"
#include "framework/unique_resource.h"
#include "hostlink/protocol.h"

namespace launcher {

std::optional<int> PlatformModuleStarter::CallStartTest(const std::wstring& libraryPath, unsigned flags, int count) {
    fw::UniqueModule library(::LoadLibraryW(libraryPath.c_str()));
    if (!library) return std::nullopt;
    auto startTest = reinterpret_cast<hostlink::StartTestProc>(
        reinterpret_cast<void*>(::GetProcAddress(library.get(), hostlink::kStartTestExportName)));
    if (!startTest) return std::nullopt;
    // The module owns the folder object from here on and frees it itself.
    return startTest(m_hostWindow, flags, count, hostlink::MakeModuleFolder(m_programDir.c_str()));
}

std::optional<int> PlatformModuleStarter::RunBridge(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    std::wstring line = commandLine;  // CreateProcessW may write into its command line
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return std::nullopt;
    fw::UniqueHandle process(started.hProcess);
    fw::UniqueHandle thread(started.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    if (!::GetExitCodeProcess(process.get(), &code)) return std::nullopt;
    return static_cast<int>(code);
}

bool PlatformModuleStarter::FileExists(const std::wstring& path) { return fw::PathExists(path); }

void PlatformModuleStarter::RestoreResources() {
    if (m_languageLibrary) fw::SetCurrentResourceModule(m_languageLibrary);
}

}  // namespace launcher
