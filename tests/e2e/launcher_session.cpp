#include "launcher_session.h"

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

LauncherSession::LauncherSession()
    : m_programDir(m_temp.MakeFolder(L"program")), m_programData(m_temp.MakeFolder(L"programdata")) {
    CopyTree(SUITE_DIST_DIR, m_programDir);
}

std::wstring LauncherSession::resultFolder() const {
    return m_programData + L"Quenby Corporation\\Orlix Hardware Diagnostics\\QDXlog\\";
}

testsupport::Process LauncherSession::Start(const std::wstring& arguments) const {
    testsupport::LaunchOptions options;
    options.workingFolder = m_programDir;
    std::wstring data = m_programData.substr(0, m_programData.size() - 1);
    options.environment = {{L"ProgramData", data}, {L"ALLUSERSPROFILE", data}};
    return testsupport::Process::Launch(m_programDir + L"testdeck.exe", arguments, options);
}

void LauncherSession::AddTestProgram(const std::wstring& name, const std::wstring& targetName) const {
    std::wstring target = m_programDir + (targetName.empty() ? name : targetName);
    ::CopyFileW((std::wstring(SUITE_TEST_BIN_DIR) + name).c_str(), target.c_str(), FALSE);
}

void LauncherSession::AddModule(const std::wstring& testProgram, const std::wstring& script) const {
    AddTestProgram(testProgram, L"scripted.dll");
    m_temp.WriteUtf8(L"program\\scripted.txt", script);
    std::wstring ini = m_programDir + L"QDXLang\\ENU\\initest.ini";
    ::WritePrivateProfileStringW(L"COMPONUM", L"NUM", L"2", ini.c_str());
    ::WritePrivateProfileStringW(L"COMPOSECTION", L"SECT_NAME_1", L"SCRIPTED", ini.c_str());
    ::WritePrivateProfileStringW(L"SCRIPTED", L"TESTFILE", L"scripted.dll", ini.c_str());
    ::WritePrivateProfileStringW(L"SCRIPTED", L"TESTMANUAL", L"video.txt", ini.c_str());
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());  // written through now
}

void LauncherSession::WriteProgramFile(const std::wstring& relativePath, const std::string& bytes) const {
    m_temp.WriteBytes(L"program\\" + relativePath, bytes);
}

void LauncherSession::Remove(const std::wstring& relativePath) const {
    ::DeleteFileW((m_programDir + relativePath).c_str());
}

}  // namespace e2e
