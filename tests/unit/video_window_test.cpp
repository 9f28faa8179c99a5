// The full-screen test window: its class, place and owner, the refused suspend
// query, and how a sub-test closes it.
#include <gtest/gtest.h>

#include "test_window.h"
#include "video_test_host.h"

using namespace videotest;

namespace {

void DrainMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool ClassRegistered() {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    return ::GetClassInfoExW(::GetModuleHandleW(nullptr), video::kTestWindowClass, &info) != 0;
}

class VideoWindowTest : public ::testing::Test {
protected:
    HostRecorder host;
    CVideoModule module{host.hwnd()};
};

}  // namespace

TEST_F(VideoWindowTest, CoversTheScreenOnTopOfItsOwner) {
    HWND window = nullptr;
    CreateTestWindow(module, window);
    ASSERT_NE(window, nullptr);
    wchar_t text[64] = {};
    ::GetClassNameW(window, text, 64);
    EXPECT_STREQ(text, L"Fullscreen Window");
    EXPECT_EQ(::GetWindow(window, GW_OWNER), host.hwnd());
    EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & (WS_POPUP | WS_VISIBLE), static_cast<LONG>(WS_POPUP | WS_VISIBLE));
    RECT rect{};
    ::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom - rect.top, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(::GetForegroundWindow(), window);

    EXPECT_EQ(::SendMessageW(window, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), BROADCAST_QUERY_DENY);

    DrainMessages();
    video::CloseTestWindow(window);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(ClassRegistered());
}

TEST_F(VideoWindowTest, AWaitingQuitLeavesTheWindowAlone) {
    HWND window = nullptr;
    CreateTestWindow(module, window);
    ASSERT_NE(window, nullptr);
    DrainMessages();
    ::PostQuitMessage(0);
    video::CloseTestWindow(window);
    EXPECT_TRUE(::IsWindow(window));
    ::DestroyWindow(window);
    video::UnregisterTestWindowClass();
    DrainMessages();
}
