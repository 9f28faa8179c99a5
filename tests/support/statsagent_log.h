#pragma once
// The call log of the statistics agent's stand-in, which the bench installs
// where the real agent lives.
#include <windows.h>
#include <optional>
#include <string>

namespace testsupport {

// Path of the agent's call log; nothing when no agent is installed here.
inline std::optional<std::wstring> InstalledAgentLog() {
    wchar_t folder[MAX_PATH] = {};
    ::ExpandEnvironmentStringsW(L"%PROGRAMFILES%\\Quenby\\Orlix Improvement\\", folder, MAX_PATH);
    if (::GetFileAttributesW((std::wstring(folder) + L"statsagent.dll").c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return std::wstring(folder) + L"statsagent.log";
}

}  // namespace testsupport
