// The installer at work, as an IT department deploys the suite: a silent
// install, the quick check started from its Start-menu shortcut, a newer
// version over it, and a silent uninstall that keeps the results.
// install_e2e_test.sh builds the two packages from the test build and names
// them in PACKAGE_OLDER and PACKAGE_NEWER.
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>

#include <filesystem>
#include <set>
#include <vector>

#include "framework/com.h"
#include "framework/module_path.h"
#include "framework/unique_resource.h"
#include "process.h"
#include "temp_folder.h"

using namespace testsupport;

namespace {

constexpr DWORD kInstallerTimeoutMs = 180000;
constexpr DWORD kRunTimeoutMs = 60000;
constexpr DWORD kLauncherClosedItself = 0xFFFFFFFF;  // -1
constexpr wchar_t kProductFolder[] = L"Quenby Corporation\\Orlix Hardware Diagnostics\\";
constexpr wchar_t kMenuFolder[] = L"Orlix Hardware Diagnostics\\";

struct MsiHandleTraits {
    using Value = MSIHANDLE;
    static Value invalid() noexcept { return 0; }
    static void close(Value v) noexcept { ::MsiCloseHandle(v); }
};
using UniqueMsiHandle = fw::UniqueResource<MsiHandleTraits>;

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : L"";
}

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)) ? std::wstring(path) + L"\\" : L"";
}

// What identifies a package: read from its own Property table.
struct PackageIdentity {
    std::wstring productCode, upgradeCode, version;
};

std::wstring PackageProperty(MSIHANDLE database, const std::wstring& name) {
    std::wstring query = L"SELECT `Value` FROM `Property` WHERE `Property` = '" + name + L"'";
    MSIHANDLE raw = 0;
    if (::MsiDatabaseOpenViewW(database, query.c_str(), &raw) != ERROR_SUCCESS) return {};
    UniqueMsiHandle view(raw);
    if (::MsiViewExecute(view.get(), 0) != ERROR_SUCCESS || ::MsiViewFetch(view.get(), &raw) != ERROR_SUCCESS)
        return {};
    UniqueMsiHandle record(raw);
    wchar_t value[256] = {};
    DWORD size = 256;
    return ::MsiRecordGetStringW(record.get(), 1, value, &size) == ERROR_SUCCESS ? value : L"";
}

PackageIdentity ReadIdentity(const std::wstring& package) {
    MSIHANDLE raw = 0;
    if (::MsiOpenDatabaseW(package.c_str(), MSIDBOPEN_READONLY, &raw) != ERROR_SUCCESS) return {};
    UniqueMsiHandle database(raw);
    return {PackageProperty(database.get(), L"ProductCode"), PackageProperty(database.get(), L"UpgradeCode"),
            PackageProperty(database.get(), L"ProductVersion")};
}

// The installed products of the upgrade family, as their product codes.
std::vector<std::wstring> InstalledProducts(const std::wstring& upgradeCode) {
    std::vector<std::wstring> products;
    wchar_t product[39] = {};
    for (DWORD index = 0; ::MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, index, product) == ERROR_SUCCESS; ++index)
        products.emplace_back(product);
    return products;
}

std::wstring InstalledVersion(const std::wstring& productCode) {
    wchar_t version[64] = {};
    DWORD size = 64;
    return ::MsiGetProductInfoW(productCode.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &size) == ERROR_SUCCESS
               ? version
               : L"";
}

// msiexec's exit code once it has finished.
DWORD RunInstaller(const std::wstring& arguments) {
    std::wstring msiexec = ShellFolder(CSIDL_SYSTEM) + L"msiexec.exe";
    Process installer = Process::Launch(msiexec, arguments);
    std::optional<DWORD> code = installer.WaitExit(kInstallerTimeoutMs);
    return code.value_or(Process::kKilledExitCode);
}

// The files of a folder, as paths relative to it (`folder` ends with a backslash).
std::set<std::wstring> FilesUnder(const std::wstring& folder) {
    std::set<std::wstring> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (entry.is_regular_file()) files.insert(entry.path().wstring().substr(folder.size()));
    return files;
}

std::wstring WithBackslash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L"\\";
}

struct Shortcut {
    std::wstring target, arguments, workingFolder;
};

std::optional<Shortcut> ReadShortcut(const std::wstring& path) {
    fw::ComPtr<IShellLinkW> link;
    fw::ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.GetAddressOf()))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.GetAddressOf()))) ||
        FAILED(file->Load(path.c_str(), STGM_READ)))
        return std::nullopt;
    wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, 0);
    link->GetArguments(arguments, MAX_PATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    return Shortcut{target, arguments, folder};
}

// Where the installer puts the program folder: the 32-bit Program Files.
std::wstring InstallFolder() {
    std::wstring programFiles = ShellFolder(CSIDL_PROGRAM_FILESX86);
    return programFiles.empty() ? L"" : programFiles + kProductFolder;
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
        ASSERT_TRUE(m_com.ok());
        ASSERT_FALSE(m_programDir.empty());
        m_older = Environment(L"PACKAGE_OLDER");
        m_newer = Environment(L"PACKAGE_NEWER");
        ASSERT_FALSE(m_older.empty()) << "run by install_e2e_test.sh";
        m_olderIdentity = ReadIdentity(m_older);
        m_newerIdentity = ReadIdentity(m_newer);
        ASSERT_FALSE(m_olderIdentity.upgradeCode.empty());
        ASSERT_EQ(m_olderIdentity.upgradeCode, m_newerIdentity.upgradeCode);
        ASSERT_NE(m_olderIdentity.productCode, m_newerIdentity.productCode);
        RemoveLeftovers();
        // The bench's own machine-wide result file: the run's record must be found alone.
        ::DeleteFileW(m_resultFile.c_str());
    }

    void TearDown() override { RemoveLeftovers(); }

    // What a run that failed half-way leaves behind: the product, the test's own files.
    void RemoveLeftovers() const {
        if (m_olderIdentity.upgradeCode.empty()) return;
        for (const std::wstring& product : InstalledProducts(m_olderIdentity.upgradeCode))
            RunInstaller(L"/x " + product + L" /qn");
        std::error_code ignored;
        if (!m_programDir.empty()) std::filesystem::remove_all(m_programDir, ignored);
    }

    fw::ComApartment m_com;
    std::wstring m_older, m_newer;
    PackageIdentity m_olderIdentity, m_newerIdentity;
    const std::wstring m_programDir = InstallFolder();
    const std::wstring m_resultFile =
        ShellFolder(CSIDL_COMMON_APPDATA) + L"Quenby Corporation\\Orlix Hardware Diagnostics\\QDXlog\\qdx_result.xml";
};

TEST_F(PackageInstall, InstallsRunsUpgradesAndUninstallsKeepingTheResults) {
    // Silent install: the program folder as built, in the 32-bit Program Files.
    ASSERT_EQ(RunInstaller(L"/i " + QuoteArgument(m_older) + L" /qn"), 0u);
    EXPECT_EQ(InstalledProducts(m_olderIdentity.upgradeCode),
              std::vector<std::wstring>{m_olderIdentity.productCode});
    EXPECT_EQ(InstalledVersion(m_olderIdentity.productCode), m_olderIdentity.version);
    const std::set<std::wstring> shipped = FilesUnder(SUITE_DIST_DIR);
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(FilesUnder(m_programDir), shipped);
    for (const std::wstring& file : shipped)
        EXPECT_EQ(ReadBytes(m_programDir + file), ReadBytes(std::wstring(SUITE_DIST_DIR) + file)) << ToUtf8(file);

    // The Start-menu shortcuts: the quick check, and the optical checker when it ships.
    const std::wstring menu = InstalledMenuFolder();
    ASSERT_FALSE(menu.empty());
    std::optional<Shortcut> quick = ReadShortcut(menu + L"Quick Check.lnk");
    ASSERT_TRUE(quick.has_value());
    EXPECT_EQ(quick->target, m_programDir + L"testdeck.exe");
    EXPECT_EQ(quick->arguments, L"/quick");
    EXPECT_EQ(WithBackslash(quick->workingFolder), m_programDir);
    std::optional<Shortcut> optical = ReadShortcut(menu + L"Optical Media Check.lnk");
    EXPECT_EQ(optical.has_value(), shipped.count(L"discprobe.exe") == 1);
    if (optical) {
        EXPECT_EQ(optical->target, m_programDir + L"discprobe.exe");
    }

    // The quick check from its shortcut, with a passing module in place of the
    // video test (the test's own addition to the installed folder).
    const std::wstring module = m_programDir + L"video.dll";
    const bool moduleShipped = fw::PathExists(module);
    ASSERT_TRUE(::CopyFileW((std::wstring(SUITE_TEST_BIN_DIR) + L"scripted.dll").c_str(), module.c_str(), FALSE));
    TempFolder scratch;
    ASSERT_TRUE(::CopyFileW(scratch.WriteUtf8(L"video.txt", L"init 1\nsub 0 1\nreturn 0\n").c_str(),
                            (m_programDir + L"video.txt").c_str(), FALSE));
    LaunchOptions options;
    options.workingFolder = quick->workingFolder;
    Process launcher = Process::Launch(quick->target, quick->arguments, options);
    EXPECT_EQ(launcher.WaitExit(kRunTimeoutMs), kLauncherClosedItself);
    std::wstring results = TextAfterMark(ReadBytes(m_resultFile));
    EXPECT_NE(results.find(L"OverallResult=\"Pass\">\r\n\t\t<SubTest name=\"Test 1\""), std::wstring::npos)
        << ToUtf8(results);
    for (const wchar_t* added : {L"video.txt", L"video.received.txt"}) ::DeleteFileW((m_programDir + added).c_str());
    if (!moduleShipped) ::DeleteFileW(module.c_str());

    // A newer version replaces the older one: one product, the newer version.
    ASSERT_EQ(RunInstaller(L"/i " + QuoteArgument(m_newer) + L" /qn"), 0u);
    EXPECT_EQ(InstalledProducts(m_olderIdentity.upgradeCode),
              std::vector<std::wstring>{m_newerIdentity.productCode});
    EXPECT_EQ(InstalledVersion(m_newerIdentity.productCode), m_newerIdentity.version);
    EXPECT_EQ(FilesUnder(m_programDir), shipped);
    EXPECT_TRUE(ReadShortcut(InstalledMenuFolder() + L"Quick Check.lnk").has_value());

    // An older version never replaces a newer one.
    EXPECT_EQ(RunInstaller(L"/i " + QuoteArgument(m_older) + L" /qn"), static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    EXPECT_EQ(InstalledProducts(m_olderIdentity.upgradeCode),
              std::vector<std::wstring>{m_newerIdentity.productCode});

    // Silent uninstall: program folder and shortcuts go, the results stay.
    ASSERT_EQ(RunInstaller(L"/x " + QuoteArgument(m_newer) + L" /qn"), 0u);
    EXPECT_TRUE(InstalledProducts(m_olderIdentity.upgradeCode).empty());
    EXPECT_FALSE(fw::PathExists(m_programDir));
    EXPECT_EQ(InstalledMenuFolder(), L"");
    EXPECT_NE(TextAfterMark(ReadBytes(m_resultFile)).find(L"OverallResult=\"Pass\""), std::wstring::npos);
}

}  // namespace
