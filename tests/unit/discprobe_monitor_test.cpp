// The optical checker's monitor thread (passes, pause, hold, stop) and its
// Autoplay switch.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
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

TEST(DiscMonitorThread, HoldWaitsForThePassUnderWayAndNoPassRunsUntilRelease) {
    GatedPass pass;
    CMonitorThread monitor(pass, 1);
    monitor.Start();
    pass.Block();
    ASSERT_TRUE(pass.WaitInPass());
    std::thread letGo = pass.LetGoSoon();
    monitor.Hold();
    pass.Log("held");
    letGo.join();
    std::vector<std::string> log = pass.log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "pass end");
    EXPECT_EQ(log.back(), "held");

    int held = pass.passes();
    ::Sleep(200);
    EXPECT_EQ(pass.passes(), held) << "a pass ran while the thread was held";

    monitor.Release();
    EXPECT_TRUE(PollUntil(kWaitMs, [&] { return pass.passes() > held + 2; }));
    monitor.Stop();
}

TEST(DiscMonitorThread, StopDuringAPassLetsItFinishAndNoPassFollows) {
    GatedPass pass;
    CMonitorThread monitor(pass, 1);
    monitor.Start();
    pass.Block();
    ASSERT_TRUE(pass.WaitInPass());
    std::thread letGo = pass.LetGoSoon();
    monitor.Stop();
    pass.Log("stopped");
    letGo.join();
    int passes = pass.passes();
    std::vector<std::string> log = pass.log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "pass end");
    EXPECT_EQ(log.back(), "stopped");
    ::Sleep(100);
    EXPECT_EQ(pass.passes(), passes);
}

namespace {

// Records replaced wholesale by Rebuild, read record by record by the pass; a
// pass that meets a rebuild in progress counts a collision.
class RebuiltList : public IMediaPass {
public:
    void RunPass() override {
        for (size_t i = 0; i < m_records.size(); ++i) {
            if (m_rebuilding) ++m_collisions;
            m_records[i]->state += 1;
        }
        ++m_passes;
    }
    void Rebuild() {
        m_rebuilding = true;
        std::vector<std::unique_ptr<Record>> fresh;
        for (int i = 0; i < 4; ++i) fresh.push_back(std::make_unique<Record>());
        m_records.swap(fresh);
        m_rebuilding = false;
    }
    int collisions() const { return m_collisions; }
    int passes() const { return m_passes; }

private:
    struct Record {
        int state = 0;
    };
    std::vector<std::unique_ptr<Record>> m_records = [] {
        std::vector<std::unique_ptr<Record>> records;
        for (int i = 0; i < 4; ++i) records.push_back(std::make_unique<Record>());
        return records;
    }();
    std::atomic<bool> m_rebuilding{false};
    std::atomic<int> m_collisions{0};
    std::atomic<int> m_passes{0};
};

}  // namespace

TEST(DiscMonitorThread, RebuildsWhileHeldNeverMeetAPass) {
    RebuiltList list;
    CMonitorThread monitor(list, 0);
    monitor.Start();
    for (int i = 0; i < 300; ++i) {
        monitor.Hold();
        list.Rebuild();
        monitor.Release();
    }
    EXPECT_TRUE(PollUntil(kWaitMs, [&] { return list.passes() > 300; }));
    monitor.Stop();
    EXPECT_EQ(list.collisions(), 0);
}

namespace {

constexpr wchar_t kTestKey[] = L"Software\\Quenby\\DiscProbeTest\\AutoplayHandlers";

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

TEST_F(DiscAutoplay, AbsentValueIsOneWhileOpenAndZeroAfter) {
    CreateKey();
    CAutoplaySwitch autoplay(kTestKey);
    autoplay.Suppress();
    EXPECT_EQ(Read(), 1u);
    autoplay.Restore();
    EXPECT_EQ(Read(), 0u);
}

TEST_F(DiscAutoplay, ExistingValueIsPutBack) {
    CreateKey();
    DWORD existing = 0x91;
    Write(REG_DWORD, &existing, sizeof existing);
    CAutoplaySwitch autoplay(kTestKey);
    autoplay.Suppress();
    EXPECT_EQ(Read(), 1u);
    autoplay.Restore();
    EXPECT_EQ(Read(), 0x91u);
}

TEST_F(DiscAutoplay, AMissingKeyStaysMissing) {
    CAutoplaySwitch autoplay(kTestKey);
    autoplay.Suppress();
    autoplay.Restore();
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(DiscAutoplay, AValueThatIsNoNumberIsNotReadPastItsSize) {
    CreateKey();
    std::wstring text(200, L'x');
    Write(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    CAutoplaySwitch autoplay(kTestKey);
    autoplay.Suppress();
    EXPECT_EQ(autoplay.keptValue(), 0u);
    autoplay.Restore();
    EXPECT_EQ(Read(), 0u);
}
