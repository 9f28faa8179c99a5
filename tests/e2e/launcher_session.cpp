#include "launcher_session.h"

#include <knownfolders.h>

#include <algorithm>
#include <cwchar>

#include "framework/module_path.h"
#include "ui_automation.h"

namespace e2e {

void CopyTree(const std::wstring& from, const std::wstring& to) {
    ::CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((from + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + name + L"\\", to + name + L"\\");
        else
            ::CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

namespace {

void RemoveTree(const std::wstring& folder) {
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveFolderLink(folder);
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName, path = folder + L"\\" + name;
            if (name == L"." || name == L"..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// A Unix program started from Wine cannot be waited for: its effect is.
template <typename Done>
bool RunUnix(const std::wstring& program, const std::wstring& arguments, Done done) {
    std::wstring command = program + L" " + arguments;
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW((L"Z:\\bin\\" + program).c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return testsupport::PollUntil(10000, done);
}

std::wstring UnixPath(const std::wstring& path) {
    using UnixNameFn = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    std::wstring text = name ? std::wstring(name, name + strlen(name)) : L"";
    ::HeapFree(::GetProcessHeap(), 0, name);
    return L"\"" + text + L"\"";
}

}  // namespace

bool MakeFolderLink(const std::wstring& target, const std::wstring& link) {
    std::wstring to = target;
    while (!to.empty() && to.back() == L'\\') to.pop_back();
    return RunUnix(L"ln", L"-s " + UnixPath(to) + L" " + UnixPath(link), [&] {
        DWORD attributes = ::GetFileAttributesW(link.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    });
}

void RemoveFolderLink(const std::wstring& link) {
    RunUnix(L"rm", L"-f " + UnixPath(link), [&] { return !fw::PathExists(link); });
}

LauncherSession::LauncherSession() : m_programDir(m_temp.MakeFolder(L"program")) {
    CopyTree(SUITE_DIST_DIR, m_programDir);
    RemoveTree(programData() + L"Quenby Corporation");
}

std::wstring LauncherSession::programData() { return fw::KnownFolder(FOLDERID_ProgramData) + L"\\"; }

std::wstring LauncherSession::resultFolder() const {
    return programData() + L"Quenby Corporation\\Orlix Hardware Diagnostics\\QDXlog\\";
}

testsupport::Process LauncherSession::Start(const std::wstring& arguments,
                                            const testsupport::EnvironmentVariables& extra) const {
    testsupport::LaunchOptions options;
    options.workingFolder = m_programDir;
    options.environment = extra;
    return testsupport::Process::Launch(m_programDir + L"testdeck.exe", arguments, options);
}

void LauncherSession::AddTestProgram(const std::wstring& name, const std::wstring& targetName) const {
    std::wstring target = m_programDir + (targetName.empty() ? name : targetName);
    ::CopyFileW((std::wstring(SUITE_TEST_BIN_DIR) + name).c_str(), target.c_str(), FALSE);
}

void LauncherSession::AddModule(const std::wstring& testProgram, const std::wstring& script,
                                const std::wstring& name) const {
    AddTestProgram(testProgram, name + L".dll");
    m_temp.WriteUtf8(L"program\\" + name + L".txt", script);
    std::wstring ini = m_programDir + L"QDXLang\\ENU\\initest.ini";
    std::wstring section = name;
    ::CharUpperW(section.data());
    wchar_t listed[8] = {};
    if (::GetPrivateProfileStringW(section.c_str(), L"TESTFILE", L"", listed, 8, ini.c_str()) == 0) {
        // Listed after the entries already there.
        int count = static_cast<int>(::GetPrivateProfileIntW(L"COMPONUM", L"NUM", 0, ini.c_str()));
        ::WritePrivateProfileStringW(L"COMPOSECTION", (L"SECT_NAME_" + std::to_wstring(count)).c_str(),
                                     section.c_str(), ini.c_str());
        ::WritePrivateProfileStringW(L"COMPONUM", L"NUM", std::to_wstring(count + 1).c_str(), ini.c_str());
    }
    ::WritePrivateProfileStringW(section.c_str(), L"TESTFILE", (name + L".dll").c_str(), ini.c_str());
    ::WritePrivateProfileStringW(section.c_str(), L"TESTMANUAL", L"video.txt", ini.c_str());
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());  // written through now
}

void LauncherSession::WriteProgramFile(const std::wstring& relativePath, const std::string& bytes) const {
    m_temp.WriteBytes(L"program\\" + relativePath, bytes);
}

void LauncherSession::Remove(const std::wstring& relativePath) const {
    ::DeleteFileW((m_programDir + relativePath).c_str());
}

EventLogTrace::EventLogTrace() {
    wchar_t path[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"LAUNCHER_STDERR", path, MAX_PATH) == 0) return;
    m_path = path;
    m_start = testsupport::ReadBytes(m_path).size();
}

std::wstring EventLogTrace::Text() const {
    if (!Available()) return {};
    const std::string bytes = testsupport::ReadBytes(m_path);
    return std::wstring(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(m_start, bytes.size())), bytes.end());
}

std::vector<ReportedEvent> EventLogTrace::Events() const {
    std::vector<ReportedEvent> events;
    const std::wstring text = Text();
    const std::wstring report = L"fixme:advapi:ReportEventW (";
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find(L'\n', start), text.size());
        std::wstring line = text.substr(start, end - start);
        if (size_t at = line.find(report); at != std::wstring::npos) {
            unsigned type = 0, id = 0;  // (source,0xTYPE,0xCATEGORY,0xID,...
            if (std::swscanf(line.c_str() + at + report.size(), L"%*[^,],%x,%*x,%x", &type, &id) == 2)
                events.push_back({type, id, L""});
        } else if (line.find(L":eventlog:") != std::wstring::npos && !events.empty()) {
            events.back().text += line + L"\n";
        }
    }
    return events;
}

}  // namespace e2e
