// The installer at work, as an IT department deploys the suite: a silent
// install, the quick check from the installed folder, a newer
// version over it, and a silent uninstall that keeps the results.
// install_e2e_test.sh builds the two packages from the test build and names
// them in PACKAGE_OLDER and PACKAGE_NEWER.
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>
#include <shlobj.h>

#include <filesystem>
#include <set>
#include <vector>

#include "framework/module_path.h"
#include "process.h"
#include "temp_folder.h"

using namespace testsupport;

namespace {

constexpr DWORD kInstallerTimeoutMs = 180000;
constexpr DWORD kLauncherClosedItself = 0xFFFFFFFF;  // -1
// Never changes: it is how a newer version finds the older one.
constexpr wchar_t kUpgradeCode[] = L"{31A8A74E-2887-4591-B131-932EAF47888A}";
constexpr wchar_t kProductFolder[] = L"Quenby Corporation\\Orlix Hardware Diagnostics\\";
constexpr wchar_t kMenuFolder[] = L"Orlix Hardware Diagnostics\\";
constexpr wchar_t kEventSourceKey[] =
    L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Orlix Hardware Diagnostics";

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)) ? std::wstring(path) + L"\\" : L"";
}

// The installed products of the suite's upgrade family, as their product codes.
std::vector<std::wstring> InstalledProducts() {
    std::vector<std::wstring> products;
    wchar_t product[39] = {};
    for (DWORD index = 0; ::MsiEnumRelatedProductsW(kUpgradeCode, 0, index, product) == ERROR_SUCCESS; ++index)
        products.emplace_back(product);
    return products;
}

// msiexec's exit code once it has finished.
DWORD RunInstaller(const std::wstring& arguments) {
    Process installer = Process::Launch(ShellFolder(CSIDL_SYSTEM) + L"msiexec.exe", arguments);
    return installer.WaitExit(kInstallerTimeoutMs).value_or(Process::kKilledExitCode);
}

// The files of a folder, as paths relative to it (`folder` ends with a backslash).
std::set<std::wstring> FilesUnder(const std::wstring& folder) {
    std::set<std::wstring> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (entry.is_regular_file()) files.insert(entry.path().wstring().substr(folder.size()));
    return files;
}

// The menu folder where the installer put the shortcuts: the all-users menu,
// or, with Wine's installer, which ignores ALLUSERS there, the user's own.
std::wstring InstalledMenuFolder() {
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        std::wstring folder = ShellFolder(csidl) + kMenuFolder;
        if (fw::PathExists(folder)) return folder;
    }
    return {};
}

class PackageInstall : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_older, nullptr) << "run by install_e2e_test.sh";
        RemoveLeftovers();
        // The bench's own machine-wide result file: the run's record must be found alone.
        ::DeleteFileW(m_resultFile.c_str());
    }

    void TearDown() override { RemoveLeftovers(); }

    // What a run that failed half-way leaves behind: the product, the test's own files.
    void RemoveLeftovers() const {
        for (const std::wstring& product : InstalledProducts()) RunInstaller(L"/x " + product + L" /qn");
        std::error_code ignored;
        std::filesystem::remove_all(m_programDir, ignored);
    }

    const wchar_t* m_older = _wgetenv(L"PACKAGE_OLDER");
    const wchar_t* m_newer = _wgetenv(L"PACKAGE_NEWER");
    // The 32-bit Program Files.
    const std::wstring m_programDir = ShellFolder(CSIDL_PROGRAM_FILESX86) + kProductFolder;
    const std::wstring m_resultFile =
        ShellFolder(CSIDL_COMMON_APPDATA) + L"Quenby Corporation\\Orlix Hardware Diagnostics\\QDXlog\\qdx_result.xml";
};

TEST_F(PackageInstall, InstallsRunsUpgradesAndUninstallsKeepingTheResults) {
    // Silent install: the program folder as built.
    ASSERT_EQ(RunInstaller(L"/i " + QuoteArgument(m_older) + L" /qn"), 0u);
    const std::vector<std::wstring> older = InstalledProducts();
    ASSERT_EQ(older.size(), 1u);
    const std::set<std::wstring> shipped = FilesUnder(SUITE_DIST_DIR);
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(FilesUnder(m_programDir), shipped);

    // The Start-menu shortcuts (their targets are checked in the package's Shortcut table).
    const std::wstring menu = InstalledMenuFolder();
    ASSERT_FALSE(menu.empty());
    EXPECT_TRUE(fw::PathExists(menu + L"Quick Check.lnk"));
    EXPECT_EQ(fw::PathExists(menu + L"Optical Media Check.lnk"), shipped.count(L"discprobe.exe") == 1);
    // The event source, with the installed launcher's message table.
    wchar_t messageFile[MAX_PATH] = {};
    DWORD bytes = sizeof messageFile;
    ::RegGetValueW(HKEY_LOCAL_MACHINE, kEventSourceKey, L"EventMessageFile", RRF_RT_REG_SZ, nullptr, messageFile, &bytes);
    EXPECT_EQ(messageFile, m_programDir + L"testdeck.exe");

    // The quick check, with a passing module in place of the video test (the
    // test's own addition to the installed folder).
    const std::wstring module = m_programDir + L"video.dll";
    const bool moduleShipped = fw::PathExists(module);
    ASSERT_TRUE(::CopyFileW((std::wstring(SUITE_TEST_BIN_DIR) + L"scripted.dll").c_str(), module.c_str(), FALSE));
    TempFolder scratch;
    ASSERT_TRUE(::CopyFileW(scratch.WriteUtf8(L"video.txt", L"init 1\nsub 0 1\nreturn 0\n").c_str(),
                            (m_programDir + L"video.txt").c_str(), FALSE));
    EXPECT_EQ(Process::Launch(m_programDir + L"testdeck.exe", L"/quick").WaitExit(60000), kLauncherClosedItself);
    std::wstring results = TextAfterMark(ReadBytes(m_resultFile));
    EXPECT_NE(results.find(L"OverallResult=\"Pass\">\r\n\t\t<SubTest name=\"Test 1\""), std::wstring::npos)
        << ToUtf8(results);
    for (const wchar_t* added : {L"video.txt", L"video.received.txt"}) ::DeleteFileW((m_programDir + added).c_str());
    if (!moduleShipped) ::DeleteFileW(module.c_str());

    // A newer version replaces the older one: one product, the newer one (each version has its own code).
    ASSERT_EQ(RunInstaller(L"/i " + QuoteArgument(m_newer) + L" /qn"), 0u);
    const std::vector<std::wstring> newer = InstalledProducts();
    EXPECT_EQ(newer.size(), 1u);
    EXPECT_NE(newer, older);
    EXPECT_EQ(FilesUnder(m_programDir), shipped);

    // Silent uninstall: program folder and shortcuts go, the results stay.
    ASSERT_EQ(RunInstaller(L"/x " + QuoteArgument(m_newer) + L" /qn"), 0u);
    EXPECT_TRUE(InstalledProducts().empty());
    EXPECT_FALSE(fw::PathExists(m_programDir));
    EXPECT_EQ(InstalledMenuFolder(), L"");
    HKEY eventSource = nullptr;  // the key is gone, not only its values
    EXPECT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kEventSourceKey, 0, KEY_READ, &eventSource), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(TextAfterMark(ReadBytes(m_resultFile)).find(L"OverallResult=\"Pass\""), std::wstring::npos);
}

}  // namespace
