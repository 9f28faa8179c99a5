#include <gtest/gtest.h>

#include <windows.h>

#include "framework/unique_resource.h"
#include "result_file.h"
#include "temp_folder.h"

using namespace launcher;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

std::string Utf16(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}
const std::string kMark("\xFF\xFE", 2);
const std::wstring kStopped = L"\t<Test OverallResult=\"Stopped\">\r\n\t</Test>\r\n</QDX>\r\n\r\n";

// Points %ProgramData% at a temporary folder for one test.
class ProgramDataRedirect {
public:
    explicit ProgramDataRedirect(const std::wstring& folder) {
        wchar_t old[MAX_PATH] = {};
        m_had = ::GetEnvironmentVariableW(L"ProgramData", old, MAX_PATH) > 0;
        m_old = old;
        ::SetEnvironmentVariableW(L"ProgramData", folder.c_str());
    }
    ~ProgramDataRedirect() { ::SetEnvironmentVariableW(L"ProgramData", m_had ? m_old.c_str() : nullptr); }

private:
    bool m_had;
    std::wstring m_old;
};

}  // namespace

TEST(ResultFolder, CreatedUnderProgramData) {
    TempFolder temp;
    ProgramDataRedirect redirect(temp.path() + L"data");
    ::CreateDirectoryW((temp.path() + L"data").c_str(), nullptr);
    EXPECT_EQ(ResultFolder(), temp.path() + L"data\\Quenby Corporation\\Orlix Hardware Diagnostics\\QDXlog\\");
    EXPECT_NE(::GetFileAttributesW(ResultFolder().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(StoppedRecord, NewFileGetsRootStart) {
    TempFolder temp;
    ASSERT_TRUE(WriteStoppedRecord(temp.path()));
    EXPECT_EQ(ReadBytes(temp.path() + kResultFileName), kMark + Utf16(L"<QDX>\r\n" + kStopped));
}

TEST(StoppedRecord, SixteenByteFileCountsAsNew) {
    TempFolder temp;
    temp.WriteBytes(kResultFileName, std::string(16, 'x'));
    ASSERT_TRUE(WriteStoppedRecord(temp.path()));
    EXPECT_EQ(ReadBytes(temp.path() + kResultFileName), kMark + Utf16(L"<QDX>\r\n" + kStopped));
}

TEST(StoppedRecord, AppendsAfterEarlierRunsAndCutsTheClosingLine) {
    TempFolder temp;
    std::wstring earlier = L"<QDX>\r\n\t<Test name=\"Video\" OverallResult=\"Pass\">\r\n\t</Test>\r\n";
    temp.WriteBytes(kResultFileName, kMark + Utf16(earlier + L"</qdx>\r\n\r\n"));
    ASSERT_TRUE(WriteStoppedRecord(temp.path()));
    EXPECT_EQ(ReadBytes(temp.path() + kResultFileName), kMark + Utf16(earlier + kStopped));
}

TEST(StoppedRecord, FileWithoutClosingLineIsAppendedTo) {
    TempFolder temp;
    std::wstring earlier = L"<QDX>\r\n\t<Test name=\"Video\" OverallResult=\"Fail\">\r\n";
    temp.WriteBytes(kResultFileName, kMark + Utf16(earlier));
    ASSERT_TRUE(WriteStoppedRecord(temp.path()));
    EXPECT_EQ(ReadBytes(temp.path() + kResultFileName), kMark + Utf16(earlier + kStopped));
}

TEST(StoppedRecord, FileInUseIsLeftAlone) {
    TempFolder temp;
    std::string before = kMark + Utf16(L"<QDX>\r\n</QDX>\r\n\r\n");
    std::wstring path = temp.WriteBytes(kResultFileName, before);
    fw::UniqueFile holder(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(WriteStoppedRecord(temp.path()));
    holder.reset();
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(StoppedRecord, NoFolderNoRecord) { EXPECT_FALSE(WriteStoppedRecord(L"")); }
