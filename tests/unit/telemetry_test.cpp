#include <gtest/gtest.h>

#include <windows.h>

#include "temp_folder.h"
#include "telemetry/telemetry_client.h"

using namespace telemetry;

namespace {

const std::wstring kAgent = std::wstring(SUITE_TEST_BIN_DIR) + L"statsagent\\statsagent.dll";
const std::wstring kPartialAgent = std::wstring(SUITE_TEST_BIN_DIR) + L"statsagent_partial\\statsagent.dll";

std::wstring LogOf(const std::wstring& agent) { return agent.substr(0, agent.find_last_of(L'\\') + 1) + L"statsagent.log"; }

std::string FreshLog(const std::wstring& agent) {
    ::DeleteFileW(LogOf(agent).c_str());
    return {};
}

std::string ReadLog(const std::wstring& agent) { return testsupport::ReadBytes(LogOf(agent)); }

constexpr const wchar_t* kEvent[3] = {L"Diag", L"Video", L"Pass"};

}  // namespace

TEST(Telemetry, OpenSubmitCloseReachesTheAgent) {
    FreshLog(kAgent);
    {
        TelemetryClient client(kAgent);
        EXPECT_EQ(client.Open(), S_OK);
        EXPECT_EQ(client.SubmitEvent(kEvent), S_OK);
        EXPECT_EQ(client.Close(), S_OK);
    }
    EXPECT_EQ(ReadLog(kAgent),
              "Initialize|Orlix Hardware Diagnostics\r\n"
              "SubmitEvent|Orlix Hardware Diagnostics|3|Diag|Video|Pass\r\n"
              "Finalize|Orlix Hardware Diagnostics|0\r\n");
}

TEST(Telemetry, LastUserUnloadsTheAgent) {
    FreshLog(kAgent);
    TelemetryClient client(kAgent);
    ASSERT_EQ(client.Open(), S_OK);
    EXPECT_EQ(client.Open(), 1);  // already loaded
    EXPECT_EQ(client.users(), 2);
    EXPECT_EQ(client.Close(), 1);  // another user remains
    EXPECT_NE(::GetModuleHandleW(kAgent.c_str()), nullptr);
    EXPECT_EQ(client.Close(), S_OK);
    EXPECT_EQ(::GetModuleHandleW(kAgent.c_str()), nullptr);
    EXPECT_EQ(client.SubmitEvent(kEvent), kAgentNotAvailable);
    EXPECT_EQ(ReadLog(kAgent), "Initialize|Orlix Hardware Diagnostics\r\nFinalize|Orlix Hardware Diagnostics|0\r\n");
}

TEST(Telemetry, MissingAgentIsAQuietNoOp) {
    testsupport::TempFolder temp;
    TelemetryClient client(temp.path() + L"statsagent.dll");
    EXPECT_EQ(client.Open(), kAgentNotAvailable);
    EXPECT_EQ(client.SubmitEvent(kEvent), kAgentNotAvailable);
    EXPECT_EQ(client.Close(), kAgentNotAvailable);
}

TEST(Telemetry, AgentWithoutARequiredEntryIsNeverCalled) {
    FreshLog(kPartialAgent);
    TelemetryClient client(kPartialAgent);
    EXPECT_EQ(client.Open(), kAgentNotAvailable);
    EXPECT_EQ(client.SubmitEvent(kEvent), kAgentNotAvailable);
    EXPECT_EQ(client.Close(), kAgentNotAvailable);
    EXPECT_EQ(ReadLog(kPartialAgent), "");
}

TEST(Telemetry, DefaultLocationIsUnderProgramFiles) {
    // The test prefix has no agent installed there unless a test put one.
    wchar_t expanded[MAX_PATH];
    ::ExpandEnvironmentStringsW(L"%PROGRAMFILES%\\Quenby\\Orlix Improvement\\statsagent.dll", expanded, MAX_PATH);
    if (::GetFileAttributesW(expanded) != INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "an agent is installed";
    EXPECT_EQ(TelemetryOpen(), kAgentNotAvailable);
    EXPECT_EQ(TelemetryClose(), kAgentNotAvailable);
}
