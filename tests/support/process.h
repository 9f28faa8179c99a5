#pragma once
// A program started by a test, with everything it starts in turn. Whatever still
// runs when the object goes away is killed, so a failing test leaves nothing behind.
#include <windows.h>
#include <optional>
#include <string>

#include "framework/unique_resource.h"
#include "launch_text.h"

namespace testsupport {

struct LaunchOptions {
    std::wstring workingFolder;            // empty: the test's own
    EnvironmentVariables environment;      // set on top of the test's environment
    std::wstring outputFile;               // when set, standard output and error go to this file
};

// Whether the test program, and so each program it starts, runs as a Japanese user.
// Wine takes a process's locale and preferred UI languages from the LANG that Wine
// itself was started with, never from a Windows environment handed to a child: the
// Japanese-user tests run in ctest entries of their own (LANG=ja_JP.UTF-8, tests/e2e).
inline bool RunsAsJapaneseUser() { return ::GetUserDefaultUILanguage() == 0x0411; }
inline constexpr char kNotJapanese[] = "not a Japanese user: run by the *_japanese ctest entries";

class Process {
public:
    // Starts `executable` with `arguments` (one command-line string, see JoinArguments).
    // Throws std::runtime_error naming the program when it cannot be started.
    static Process Launch(const std::wstring& executable, const std::wstring& arguments = {},
                          const LaunchOptions& options = {});

    Process() = default;
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;

    DWORD pid() const noexcept { return m_pid; }
    HANDLE handle() const noexcept { return m_process.get(); }

    // The exit code once the process has ended, or nothing when it still runs after `timeoutMs`.
    std::optional<DWORD> WaitExit(DWORD timeoutMs) const;

    // Ends the process and every process it started that still runs.
    void Kill() noexcept;

    static constexpr DWORD kKilledExitCode = 0xDEAD;

private:
    fw::UniqueHandle m_process;
    fw::UniqueHandle m_job;  // holds the process tree together
    DWORD m_pid = 0;
};

}  // namespace testsupport
