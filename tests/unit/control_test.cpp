// The subclassed-control base and the dialog's reflection of child
// notifications, with a probe control on real windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "controls_test_ids.h"
#include "controls_test_window.h"
#include "framework/control.h"
#include "framework/reflected_messages.h"

using controls_test::Canvas;
using controls_test::Received;
using controls_test::TestDialog;

namespace {

constexpr UINT kProbeMessage = WM_APP + 1;
constexpr LRESULT kProbeAnswer = 42;
constexpr UINT kThrowMessage = WM_APP + 2;

// Records what reaches it; answers reflected notifications with `answer`.
class Probe : public fw::Control {
public:
    explicit Probe(std::vector<Received>& log) : m_log(&log) {}
    using fw::Control::Attach;
    std::optional<LRESULT> answer;

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrowMessage) throw std::runtime_error("probe failure");
        if (fw::IsReflected(message)) {
            m_log->push_back({message, wParam, lParam});
            return answer;
        }
        if (message != kProbeMessage) return std::nullopt;
        m_log->push_back({message, wParam, lParam});
        return kProbeAnswer;
    }

private:
    std::vector<Received>* m_log;
};

class ReflectionTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(dialog.hwnd(), nullptr); }

    HWND MakeChild() {
        return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 20, 20, dialog.hwnd(), nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    }

    TestDialog dialog;
    std::vector<Received> log;
};

TEST_F(ReflectionTest, ClickReachesTheControlThatHandlesIt) {
    HWND close = dialog.Item(IDC_CLOSE_BUTTON);
    Probe probe(log);
    ASSERT_TRUE(probe.Attach(close));
    probe.answer = 0;

    ::SendMessageW(close, BM_CLICK, 0, 0);

    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].message, fw::kReflectedCommand);
    EXPECT_EQ(log[0].wParam, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED));
    EXPECT_EQ(log[0].lParam, reinterpret_cast<LPARAM>(close));
    EXPECT_EQ(dialog.Count(WM_COMMAND), 0u);
}

TEST_F(ReflectionTest, NotificationTheControlDeclinesReachesTheDialog) {
    Probe probe(log);
    ASSERT_TRUE(probe.Attach(dialog.Item(IDC_CLOSE_BUTTON)));

    ::SendMessageW(dialog.Item(IDC_CLOSE_BUTTON), BM_CLICK, 0, 0);

    EXPECT_EQ(log.size(), 1u);
    ASSERT_EQ(dialog.Count(WM_COMMAND), 1u);
    EXPECT_EQ(dialog.received.back().wParam, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED));
}

TEST_F(ReflectionTest, ControlsAnswerIsTheDialogsAnswer) {
    HWND close = dialog.Item(IDC_CLOSE_BUTTON);
    Probe probe(log);
    ASSERT_TRUE(probe.Attach(close));
    probe.answer = 0x1234;

    // Through DWLP_MSGRESULT ...
    NMHDR header{close, IDC_CLOSE_BUTTON, NM_CLICK};
    EXPECT_EQ(::SendMessageW(dialog.hwnd(), WM_NOTIFY, IDC_CLOSE_BUTTON, reinterpret_cast<LPARAM>(&header)), 0x1234);
    // ... and as the dialog procedure's own return value.
    EXPECT_EQ(::SendMessageW(dialog.hwnd(), WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(close)), 0x1234);

    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].message, fw::kReflectedNotify);
    EXPECT_EQ(log[0].lParam, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(log[1].message, fw::kReflectedCtlColorButton);
    EXPECT_EQ(dialog.Count(WM_NOTIFY) + dialog.Count(WM_CTLCOLORBTN), 0u);
}

TEST_F(ReflectionTest, OnlyNotificationsOfChildrenAreReflected) {
    HWND close = dialog.Item(IDC_CLOSE_BUTTON);
    Probe probe(log);
    ASSERT_TRUE(probe.Attach(close));
    probe.answer = 1;

    ::SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, 0), 0);  // a menu command
    DRAWITEMSTRUCT menuItem{};
    menuItem.CtlType = ODT_MENU;
    menuItem.hwndItem = reinterpret_cast<HWND>(close);  // a menu handle that happens to look like it
    ::SendMessageW(dialog.hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&menuItem));
    TestDialog other;
    NMHDR foreign{other.hwnd(), 1, NM_CLICK};
    ::SendMessageW(dialog.hwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&foreign));
    ::SendMessageW(dialog.hwnd(), WM_CTLCOLORSTATIC, 0, 0);

    EXPECT_TRUE(log.empty());
    EXPECT_EQ(dialog.Count(WM_COMMAND), 1u);
    EXPECT_EQ(dialog.Count(WM_DRAWITEM), 1u);
    EXPECT_EQ(dialog.Count(WM_NOTIFY), 1u);
    EXPECT_EQ(dialog.Count(WM_CTLCOLORSTATIC), 1u);
}

TEST_F(ReflectionTest, ChildWithoutControlLeavesNotificationsToTheDialog) {
    Canvas canvas(4, 4);
    HWND plain = dialog.Item(IDC_PLAIN_STATIC);
    ::SendMessageW(dialog.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc()),
                   reinterpret_cast<LPARAM>(plain));
    ASSERT_EQ(dialog.Count(WM_CTLCOLORSTATIC), 1u);
    EXPECT_EQ(dialog.received[0].lParam, reinterpret_cast<LPARAM>(plain));
}

TEST_F(ReflectionTest, HandlerExceptionStopsAtTheWindowProcedure) {
    HWND child = MakeChild();
    Probe probe(log);
    ASSERT_TRUE(probe.Attach(child));
    // The message goes on to the class, which does not know it.
    EXPECT_EQ(::SendMessageW(child, kThrowMessage, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(child, kProbeMessage, 0, 0), kProbeAnswer);
}

TEST_F(ReflectionTest, WindowDestroyedBeforeTheObjectDetachesIt) {
    HWND child = MakeChild();
    Probe probe(log);
    ASSERT_TRUE(probe.Attach(child));
    ::DestroyWindow(child);
    EXPECT_EQ(probe.hwnd(), nullptr);
    probe.Detach();  // nothing left to do
}

TEST_F(ReflectionTest, ObjectDestroyedBeforeTheWindowGivesItBack) {
    HWND child = MakeChild();
    {
        Probe probe(log);
        ASSERT_TRUE(probe.Attach(child));
    }
    EXPECT_EQ(::SendMessageW(child, kProbeMessage, 0, 0), 0);
    EXPECT_TRUE(log.empty());

    Probe next(log);
    EXPECT_TRUE(next.Attach(child));
    EXPECT_EQ(::SendMessageW(child, kProbeMessage, 0, 0), kProbeAnswer);
}

TEST_F(ReflectionTest, ObjectsOnOneWindowDetachIndependently) {
    HWND child = MakeChild();
    std::vector<Received> laterLog;
    Probe earlier(log);
    EXPECT_FALSE(earlier.Attach(nullptr));
    ASSERT_TRUE(earlier.Attach(child));
    EXPECT_FALSE(earlier.Attach(MakeChild()));  // one window per object
    {
        Probe later(laterLog);
        ASSERT_TRUE(later.Attach(child));
        EXPECT_EQ(::SendMessageW(child, kProbeMessage, 0, 0), kProbeAnswer);
        EXPECT_EQ(laterLog.size(), 1u);  // the later one answered first
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(::SendMessageW(child, kProbeMessage, 0, 0), kProbeAnswer);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(ReflectionTest, MovingTheObjectKeepsTheWindowAttached) {
    HWND first = MakeChild();
    HWND second = MakeChild();
    std::vector<Received> movedLog;
    Probe original(log);
    ASSERT_TRUE(original.Attach(first));

    Probe moved(std::move(original));
    EXPECT_EQ(original.hwnd(), nullptr);
    EXPECT_EQ(moved.hwnd(), first);
    { Probe gone(std::move(original)); }  // an empty object detaches nothing
    EXPECT_EQ(::SendMessageW(first, kProbeMessage, 0, 0), kProbeAnswer);

    Probe target(movedLog);
    ASSERT_TRUE(target.Attach(second));
    target = std::move(moved);
    EXPECT_EQ(target.hwnd(), first);
    EXPECT_EQ(::SendMessageW(second, kProbeMessage, 0, 0), 0);  // given back
    EXPECT_EQ(::SendMessageW(first, kProbeMessage, 0, 0), kProbeAnswer);
    EXPECT_EQ(log.size(), 2u);  // the moved object still writes to its own log
    EXPECT_TRUE(movedLog.empty());
}

}  // namespace
