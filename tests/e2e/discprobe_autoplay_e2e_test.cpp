// The checker switches the user's Autoplay off while it is open and puts the
// setting back when it closes.
#include <gtest/gtest.h>

#include <optional>

#include "discprobe_session.h"
#include "ui_automation.h"

using namespace testsupport;

namespace {

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers";
constexpr wchar_t kValue[] = L"DisableAutoplay";

std::optional<DWORD> ReadAutoplay() {
    DWORD value = 0, size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

class DiscProbeAutoplay : public testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    }
    void TearDown() override { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue); }

    // Runs the checker; `whileOpen` is the value seen once its window shows.
    std::optional<DWORD> RunChecker() {
        e2e::DiscProbeSession session;
        Process checker = session.Start(false);
        e2e::DiscProbeWindow window(checker.pid());
        EXPECT_TRUE(window.ok());
        std::optional<DWORD> whileOpen = ReadAutoplay();
        ClickButton(window.item(1016));
        EXPECT_TRUE(checker.WaitExit(e2e::kDiscTimeoutMs).has_value());
        return whileOpen;
    }
};

}  // namespace

TEST_F(DiscProbeAutoplay, AbsentBeforeIsOneWhileOpenAndZeroAfter) {
    ASSERT_FALSE(ReadAutoplay().has_value());
    EXPECT_EQ(RunChecker(), 1u);
    EXPECT_EQ(ReadAutoplay(), 0u);
}

TEST_F(DiscProbeAutoplay, AnExistingValueIsPutBack) {
    DWORD existing = 0xFF;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &existing, sizeof existing), ERROR_SUCCESS);
    EXPECT_EQ(RunChecker(), 1u);
    EXPECT_EQ(ReadAutoplay(), 0xFFu);
}
