// The checker switches the user's Autoplay off while it is open and puts the
// setting back when it closes or the session ends, or at its next start after a crash.
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

}  // namespace

TEST(DiscProbeAutoplay, OneWhileOpenThenZeroOrTheValueThatWasThere) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    for (const std::optional<DWORD> before : {std::optional<DWORD>{}, std::optional<DWORD>{0xFF}}) {
        SCOPED_TRACE(before ? "existing value" : "absent value");
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
        if (before) {
            ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &*before, sizeof(DWORD)),
                      ERROR_SUCCESS);
        }
        e2e::DiscProbeSession session;
        Process checker = session.Start(false);
        e2e::DiscProbeWindow window(checker.pid());
        ASSERT_TRUE(window.ok());
        EXPECT_EQ(ReadAutoplay(), 1u);
        // A log-off ends the process without destroying the window.
        ::SendMessageW(window.dialog(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(ReadAutoplay(), before.value_or(0));
        EXPECT_TRUE(window.Close(checker));
        EXPECT_EQ(ReadAutoplay(), before.value_or(0));

        // A checker that is killed leaves its 1; the next one puts the user's value back.
        Process killed = session.Start(false);
        ASSERT_TRUE(e2e::DiscProbeWindow(killed.pid()).ok());
        killed.Kill();
        EXPECT_EQ(ReadAutoplay(), 1u);
        Process next = session.Start(false);
        e2e::DiscProbeWindow nextWindow(next.pid());
        ASSERT_TRUE(nextWindow.ok());
        EXPECT_TRUE(nextWindow.Close(next));
        EXPECT_EQ(ReadAutoplay(), before.value_or(0));
    }
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
}
