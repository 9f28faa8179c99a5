#pragma once
// The command line of uidriver, the console program that lets shell scripts
// drive windows:
//   uidriver screenshot <file.bmp>
//   uidriver answer-box [--timeout seconds] [--button ok|yes|no|cancel]
//   uidriver wait-window --title <title> [--timeout seconds]
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

enum class DriverAction { Screenshot, AnswerBox, WaitWindow };

struct DriverCommand {
    DriverAction action = DriverAction::Screenshot;
    std::wstring file;          // screenshot
    std::wstring title;         // wait-window
    std::optional<int> button;  // answer-box; nothing: the box's default button
    DWORD timeoutMs = 30000;
};

struct DriverArguments {
    std::optional<DriverCommand> command;
    std::wstring error;  // why there is no command
};

constexpr DWORD kMaxDriverTimeoutSeconds = 3600;

// Reads the arguments that follow the program name.
DriverArguments ParseDriverArguments(const std::vector<std::wstring>& args);

extern const wchar_t kDriverUsage[];

}  // namespace testsupport
