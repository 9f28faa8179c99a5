#pragma once
// What an end-to-end test of the launcher needs around the real program: a
// program folder of its own (a copy of the shipped one that the test may change)
// and an empty result folder: the launcher takes ProgramData from the
// platform, so each session first removes what earlier ones left there.
#include <windows.h>
#include <string>
#include <vector>

#include "process.h"
#include "temp_folder.h"

namespace e2e {

constexpr wchar_t kTitle[] = L"Orlix Hardware Diagnostics";
constexpr DWORD kLauncherExitCode = 0xFFFFFFFF;  // -1
constexpr DWORD kStartTimeoutMs = 30000;

class LauncherSession {
public:
    LauncherSession();

    // The copied program folder, ending with a backslash.
    const std::wstring& programDir() const { return m_programDir; }
    // The platform's ProgramData folder, ending with a backslash.
    static std::wstring programData();
    // Where the launcher writes its result file and logs.
    std::wstring resultFolder() const;
    // A folder of the session's own, outside the program folder.
    std::wstring MakeFolder(const std::wstring& name) const { return m_temp.MakeFolder(name); }
    std::wstring resultFile() const { return resultFolder() + L"qdx_result.xml"; }

    testsupport::Process Start(const std::wstring& arguments, const testsupport::EnvironmentVariables& extra = {}) const;

    // Puts the scriptable test module into the program folder and the catalogue
    // (as scripted.dll, display name "Scripted", or as `name`.dll) with `script` to replay.
    void AddScriptedModule(const std::wstring& script, const std::wstring& name = L"scripted") const {
        AddModule(L"scripted.dll", script, name);
    }
    // The same with another test module of the test programs folder, its
    // settings in <name>.txt.
    void AddModule(const std::wstring& testProgram, const std::wstring& settings,
                   const std::wstring& name = L"scripted") const;

    // Writes a file of the program folder.
    void WriteProgramFile(const std::wstring& relativePath, const std::string& bytes) const;

    // Copies a file of the test programs folder into the program folder.
    void AddTestProgram(const std::wstring& name, const std::wstring& targetName = {}) const;
    void Remove(const std::wstring& relativePath) const;

private:
    testsupport::TempFolder m_temp;
    std::wstring m_programDir;
};

// Makes `link` a Unix symbolic link to the folder `target`, as a user could
// (Wine follows it, and shows it as a reparse point); false when it did not appear.
bool MakeFolderLink(const std::wstring& target, const std::wstring& link);
// Removes such a link, not what it points to.
void RemoveFolderLink(const std::wstring& link);

// An event the launcher reported, as Wine shows it: a program started with
// Environment() writes "fixme:advapi:ReportEventW (source,0xTYPE,0xCATEGORY,0xID,...)"
// and then its strings on eventlog lines to its standard error, which is the
// test program's: keep_stderr.sh keeps it in the file LAUNCHER_STDERR names.
struct ReportedEvent {
    unsigned type = 0;
    unsigned id = 0;
    std::wstring text;  // the strings' lines
};

class EventLogTrace {
public:
    EventLogTrace();  // the events after this point
    bool Available() const { return !m_path.empty(); }
    std::vector<ReportedEvent> Events() const;
    std::wstring Text() const;  // all of the standard error after that point
    static testsupport::EnvironmentVariables Environment() { return {{L"WINEDEBUG", L"fixme+advapi,+eventlog"}}; }

private:
    std::wstring m_path;
    size_t m_start = 0;
};

// Copies a folder and everything in it.
void CopyTree(const std::wstring& from, const std::wstring& to);

}  // namespace e2e
