// The optical checker's monitor thread (passes, pause, hold, stop) and its
// Autoplay switch on keys the end-to-end test does not reach.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "autoplay.h"
#include "framework/unique_resource.h"
#include "monitor_thread.h"
#include "ui_automation.h"

using namespace discprobe;
using testsupport::PollUntil;

namespace {

constexpr DWORD kWaitMs = 10000;

// A pass that can be made to block until the test lets it go, and that logs
// its end beside what the test logs.
class GatedPass : public IMediaPass {
public:
    GatedPass() : m_inPass(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_letGo(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

    void RunPass() override {
        ++m_passes;
        ::SetEvent(m_inPass.get());
        ::WaitForSingleObject(m_letGo.get(), INFINITE);
        ::ResetEvent(m_inPass.get());
        Log("pass end");
    }
    void Block() { ::ResetEvent(m_letGo.get()); }
    bool WaitInPass() { return ::WaitForSingleObject(m_inPass.get(), kWaitMs) == WAIT_OBJECT_0; }
    // Lets the blocked pass go from another thread, a little later.
    std::thread LetGoSoon() {
        return std::thread([this] {
            ::Sleep(100);
            ::SetEvent(m_letGo.get());
        });
    }
    void Log(const std::string& what) {
        std::lock_guard lock(m_mutex);
        m_log.push_back(what);
    }
    std::vector<std::string> log() {
        std::lock_guard lock(m_mutex);
        return m_log;
    }
    int passes() const { return m_passes; }

private:
    std::atomic<int> m_passes{0};
    fw::UniqueHandle m_inPass;
    fw::UniqueHandle m_letGo;
    std::mutex m_mutex;
    std::vector<std::string> m_log;
};

}  // namespace

TEST(DiscMonitorThread, WaitsBetweenPassesAndStopCutsThePauseShort) {
    GatedPass pass;
    CMonitorThread monitor(pass, 60000);
    monitor.Start();
    ASSERT_TRUE(PollUntil(kWaitMs, [&] { return pass.passes() == 1; }));
    // A pass every minute here: the thread sleeps instead of spinning.
    ::Sleep(300);
    EXPECT_EQ(pass.passes(), 1);

    ULONGLONG before = ::GetTickCount64();
    monitor.Stop();
    EXPECT_LT(::GetTickCount64() - before, 30000u) << "Stop waited for the pause to run out";
    EXPECT_FALSE(monitor.IsRunning());
}

// Hold and Stop both wait for the pass under way to end, and no pass follows.
TEST(DiscMonitorThread, HoldAndStopWaitForThePassUnderWay) {
    for (const bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "Stop" : "Hold");
        GatedPass pass;
        CMonitorThread monitor(pass, 1);
        monitor.Start();
        pass.Block();
        ASSERT_TRUE(pass.WaitInPass());
        std::thread letGo = pass.LetGoSoon();
        stop ? monitor.Stop() : monitor.Hold();
        pass.Log("returned");
        letGo.join();
        std::vector<std::string> log = pass.log();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], "pass end");
        EXPECT_EQ(log.back(), "returned");

        const int passes = pass.passes();
        ::Sleep(200);
        EXPECT_EQ(pass.passes(), passes) << "a pass ran after the call returned";
        if (stop) continue;
        monitor.Release();
        EXPECT_TRUE(PollUntil(kWaitMs, [&] { return pass.passes() > passes + 2; }));
        monitor.Stop();
    }
}

namespace {

constexpr wchar_t kTestKey[] = L"Software\\Quenby\\DiscProbeTest\\AutoplayHandlers";
constexpr wchar_t kTestKeptKey[] = L"Software\\Quenby\\DiscProbeTest\\Kept";

class DiscAutoplay : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quenby\\DiscProbeTest"); }
    void TearDown() override { SetUp(); }
    static void CreateKey() {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    static void Write(DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kTestKey, kAutoplayValue, type, data, size), ERROR_SUCCESS);
    }
    // The value as a number; nothing when absent or of another type.
    static std::optional<DWORD> Read() {
        DWORD value = 0, size = sizeof value;
        if (::RegGetValueW(HKEY_CURRENT_USER, kTestKey, kAutoplayValue, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return value;
    }
};

}  // namespace

TEST_F(DiscAutoplay, AMissingKeyStaysMissing) {
    CAutoplaySwitch autoplay(kTestKey, kTestKeptKey);
    autoplay.Suppress();
    autoplay.Restore();
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(DiscAutoplay, AValueThatIsNoNumberIsNotReadPastItsSize) {
    CreateKey();
    std::wstring text(200, L'x');
    Write(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    CAutoplaySwitch autoplay(kTestKey, kTestKeptKey);
    autoplay.Suppress();
    EXPECT_EQ(autoplay.keptValue(), 0u);
    autoplay.Restore();
    EXPECT_EQ(Read(), 0u);
}
