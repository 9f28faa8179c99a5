// The link library as a module uses it: CCommFunc sending to a real window of
// this process that records every message, the progress scaling on its own,
// and the StartTest folder object.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/resources.h"
#include "hostlink/comm_func.h"
#include "hostlink_test_ids.h"
#include "temp_folder.h"

using namespace hostlink;

namespace {

// What the window received, with the texts copied while the sender waited.
struct Sent {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring text;
    std::wstring caption;
    UINT style = 0;
    std::string ansi;
};

class RecordingWindow {
public:
    RecordingWindow() {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &RecordingWindow::Procedure;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"HostlinkTestRecorder";
            return ::RegisterClassW(&wc);
        }();
        m_hwnd = ::CreateWindowExW(0, MAKEINTATOM(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ::GetModuleHandleW(nullptr), this);
    }
    ~RecordingWindow() { ::DestroyWindow(m_hwnd); }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }

    std::vector<Sent> sent;
    LRESULT abortAnswer = kAbortNone;
    LRESULT logReadyAnswer = 1;
    LRESULT boxAnswer = IDOK;

private:
    static std::wstring Text(const void* pointer) {
        return pointer ? std::wstring(static_cast<const wchar_t*>(pointer)) : L"<null>";
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self || message < WM_USER) return ::DefWindowProcW(hwnd, message, wParam, lParam);
        return self->Record(message, wParam, lParam);
    }

    LRESULT Record(UINT message, WPARAM wParam, LPARAM lParam) {
        Sent s{message, wParam, lParam, {}, {}, 0, {}};
        switch (message) {
        case msg::kPrintText:
        case msg::kWriteLog:
            s.text = Text(reinterpret_cast<const void*>(lParam));
            break;
        case msg::kPrintColorText:
        case msg::kWriteXml:
            s.text = Text(reinterpret_cast<const void*>(wParam));
            break;
        case msg::kSetSusResLog:
            s.ansi = lParam ? reinterpret_cast<const char*>(lParam) : "<null>";
            break;
        case msg::kShowMyMessageBox: {
            const auto* record = reinterpret_cast<const MessageBoxRecord*>(lParam);
            s.text = Text(record->text);
            s.caption = Text(record->caption);
            s.style = record->style;
            break;
        }
        default:
            break;
        }
        sent.push_back(s);
        switch (message) {
        case msg::kGetAbort: return abortAnswer;
        case msg::kGetLogReady: return logReadyAnswer;
        case msg::kShowMyMessageBox: return boxAnswer;
        default: return 0;
        }
    }

    HWND m_hwnd = nullptr;
};

struct Numbers {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Numbers&) const = default;
};

std::vector<Numbers> NumbersOf(const std::vector<Sent>& sent) {
    std::vector<Numbers> numbers;
    for (const Sent& s : sent) numbers.push_back({s.message, s.wParam, s.lParam});
    return numbers;
}

std::vector<LPARAM> ProgressSent(const std::vector<Sent>& sent) {
    std::vector<LPARAM> values;
    for (const Sent& s : sent)
        if (s.message == msg::kProgress) values.push_back(s.lParam);
    return values;
}

class CommFuncTest : public testing::Test {
protected:
    CommFuncTest() { link.SetParentDlg(window.hwnd()); }
    RecordingWindow window;
    CCommFunc link;
};

// The test program's own framework state is put back after a test has loaded a language library.
class LanguageTest : public CommFuncTest {
protected:
    ~LanguageTest() override { fw::SetCurrentResourceModule(m_previous); }
    const std::wstring kBaseWithLanguage = SUITE_TEST_BIN_DIR L"hostlink_data\\";

private:
    HMODULE m_previous = fw::CurrentResourceModule();
};

}  // namespace

TEST(ProgressScaler, WithoutDivisorSendsValueModulo100) {
    ProgressScaler scaler;
    scaler.Initialize(0);
    std::vector<int> out;
    for (int v : {30, 60, 100, 20, 150}) out.push_back(*scaler.Accept(v));
    EXPECT_EQ(out, (std::vector<int>{30, 60, 0, 20, 50}));
}

TEST(ProgressScaler, SpreadsStepsOverTheDivisor) {
    ProgressScaler scaler;
    scaler.Initialize(3);
    std::vector<int> out;
    for (int v : {50, 100, 50, 100, 50, 100}) out.push_back(*scaler.Accept(v));
    EXPECT_EQ(out, (std::vector<int>{16, 33, 50, 66, 83, 100}));
}

TEST(ProgressScaler, DropsValuesNotAboveTheLastButAlwaysPassesDoneAndRestart) {
    ProgressScaler scaler;
    scaler.Initialize(0);
    EXPECT_EQ(scaler.Accept(60), 60);
    EXPECT_EQ(scaler.Accept(40), std::nullopt);
    EXPECT_EQ(scaler.Accept(60), std::nullopt);
    EXPECT_EQ(scaler.Accept(-1), -1);
    EXPECT_EQ(scaler.Accept(-2), -2);
    EXPECT_EQ(scaler.Accept(-5), std::nullopt);
    EXPECT_EQ(scaler.last(), 60) << "done and restart change nothing";
}

TEST(ProgressScaler, InitializeRestartsTheOffsetButKeepsTheLastValue) {
    ProgressScaler scaler;
    scaler.Initialize(2);
    scaler.Accept(100);
    scaler.Accept(60);
    scaler.Initialize(2);
    EXPECT_EQ(scaler.offset(), 0);
    EXPECT_EQ(scaler.Accept(50), std::nullopt);
    EXPECT_EQ(scaler.Accept(70), 35);
}

TEST(ProgressScaler, ValueAbove100ResetsTheLastValueWithoutAddingAStep) {
    ProgressScaler scaler;
    scaler.Initialize(2);
    EXPECT_EQ(scaler.Accept(150), 75);
    EXPECT_EQ(scaler.offset(), 0);
    EXPECT_EQ(scaler.Accept(10), 5);
}

TEST(ProgressScaler, ExtremeValuesAndDivisorsStayWithin0To100) {
    ProgressScaler scaler;
    scaler.Initialize(1);
    EXPECT_EQ(scaler.Accept(INT_MAX), 100);
    scaler.Initialize(-1);
    EXPECT_EQ(scaler.Accept(50), 0);
}

TEST(ModuleFolder, CalleeOwnsTheCopyItReceives) {
    std::wstring path = L"C:\\Program Files\\Orlix\\";
    ModuleFolder folder = MakeModuleFolder(path.c_str());
    ASSERT_NE(folder.text, nullptr);
    ASSERT_NE(folder.text, path.c_str());
    // A module's entry point takes the folder over and frees it on return.
    StartTestProc startTest = [](HWND, unsigned, int, ModuleFolder received) -> int {
        ScopedModuleFolder owned(received);
        return owned.text() == L"C:\\Program Files\\Orlix\\" ? kModulePassed : kModuleFailed;
    };
    EXPECT_EQ(startTest(nullptr, 0, 1, folder), kModulePassed);
}

TEST(ModuleFolder, NullPathGivesNoTextAndFreeingIsSafeTwice) {
    ModuleFolder folder = MakeModuleFolder(nullptr);
    EXPECT_EQ(folder.text, nullptr);
    EXPECT_EQ(ScopedModuleFolder(folder).text(), L"");
    folder = MakeModuleFolder(L"x");
    FreeModuleFolder(folder);
    FreeModuleFolder(folder);
    EXPECT_EQ(folder.text, nullptr);
}

TEST_F(CommFuncTest, EachOperationSendsItsMessage) {
    struct Case {
        std::function<int(CCommFunc&)> call;
        Numbers expected;
    };
    const std::vector<Case> cases = {
        {[](CCommFunc& l) { return l.ExitTest(); }, {msg::kExitTest, 0, 0}},
        {[](CCommFunc& l) { return l.SetAbort(); }, {msg::kSetAbort, 0, 0}},
        {[](CCommFunc& l) { return l.EnableStopBut(1); }, {msg::kEnableStopBut, 1, 1}},
        {[](CCommFunc& l) { return l.EnableStopBut(0); }, {msg::kEnableStopBut, 0, 1}},
        {[](CCommFunc& l) { return l.ClearCurrentLog(); }, {msg::kClearCurrentLog, 0, 0}},
        {[](CCommFunc& l) { return l.SetRepeatAbort(); }, {msg::kSetRepeatAbort, 0, 0}},
        {[](CCommFunc& l) { return l.ClearUIText(); }, {msg::kClearUIText, 0, 0}},
        {[](CCommFunc& l) { return l.SaveCurrentLog(); }, {msg::kSaveCurrentLog, 0, 0}},
        {[](CCommFunc& l) { return l.SetEditBoxBKColor(0x123456, 1); }, {msg::kSetEditBoxBKColor, 1, 0x123456}},
        {[](CCommFunc& l) { return l.WriteXmlSub(0, kResultFail); }, {msg::kWriteXmlSub, 0, 3}},
        {[](CCommFunc& l) { return l.WriteXmlSub(7, kResultPass); }, {msg::kWriteXmlSub, 7, 1}},
        {[](CCommFunc& l) { return l.PrintEstimateTestTime(-1); }, {msg::kPrintEstimateTestTime, 0, -1}},
        {[](CCommFunc& l) { return l.PrintEstimateTestTime(42); }, {msg::kPrintEstimateTestTime, 0, 42}},
        {[](CCommFunc& l) { l.HoldWindow(); return 0; }, {msg::kHoldWindow, 0, 0}},
    };
    for (const Case& c : cases) {
        window.sent.clear();
        EXPECT_EQ(c.call(link), 0);
        EXPECT_EQ(NumbersOf(window.sent), std::vector<Numbers>{c.expected}) << "message " << c.expected.message;
    }
}

TEST_F(CommFuncTest, QueriesReturnTheDialogsAnswer) {
    window.abortAnswer = kAbortRequested;
    window.logReadyAnswer = 0;
    EXPECT_EQ(link.GetAbort(), 1);
    EXPECT_EQ(link.GetLogReady(), 0);
    window.abortAnswer = kAbortNone;
    EXPECT_EQ(link.GetAbort(), 259);
    EXPECT_EQ(NumbersOf(window.sent), (std::vector<Numbers>{
                                          {msg::kGetAbort, 0, 0}, {msg::kGetLogReady, 0, 0}, {msg::kGetAbort, 0, 0}}));
}

TEST_F(CommFuncTest, TextsTravelInTheirParameter) {
    link.PrintText(std::wstring(L"screen"));
    link.WriteLog(std::wstring(L"log line\r\n"));
    link.PrintColorText("red text", RGB(255, 0, 0));
    link.WriteXml(L"Video Test", kResultStopped);
    link.SetSusResLog(1, "C:\\Logs\\");
    ASSERT_EQ(window.sent.size(), 5u);
    EXPECT_EQ(window.sent[0].text, L"screen");
    EXPECT_EQ(window.sent[0].wParam, 0u);
    EXPECT_EQ(window.sent[1].text, L"log line\r\n");
    EXPECT_EQ(window.sent[2].text, L"red text") << "8-bit text arrives as UTF-16";
    EXPECT_EQ(window.sent[2].lParam, static_cast<LPARAM>(RGB(255, 0, 0)));
    EXPECT_EQ(window.sent[3].text, L"Video Test");
    EXPECT_EQ(window.sent[3].lParam, 2);
    EXPECT_EQ(window.sent[4].wParam, 1u);
    EXPECT_EQ(window.sent[4].ansi, "C:\\Logs\\");
}

TEST_F(CommFuncTest, NullTextsDoNotCrashTheSender) {
    link.PrintColorText(static_cast<const char*>(nullptr), 0);
    link.WriteXml(nullptr, kResultPass);
    link.SetSusResLog(1, nullptr);
    ASSERT_EQ(window.sent.size(), 3u);
    EXPECT_EQ(window.sent[0].text, L"");
    EXPECT_EQ(window.sent[1].text, L"<null>");
    EXPECT_EQ(window.sent[2].ansi, "<null>");
}

TEST_F(CommFuncTest, ProgressIsScaledBeforeItIsSent) {
    link.Initialize(0);
    for (int v : {30, 60, 40, -1, 100, 20, -2}) link.Progress(v);
    EXPECT_EQ(ProgressSent(window.sent), (std::vector<LPARAM>{30, 60, -1, 0, 20, -2}));

    window.sent.clear();
    link.Initialize(3);
    for (int v : {50, 100, 50, 100, 50, 100}) link.Progress(v);
    EXPECT_EQ(ProgressSent(window.sent), (std::vector<LPARAM>{16, 33, 50, 66, 83, 100}));
}

TEST_F(CommFuncTest, MessageBoxAlwaysEnablesTheStopButtonAgain) {
    for (LRESULT answer : {IDOK, IDCANCEL, IDNO}) {
        window.sent.clear();
        window.boxAnswer = answer;
        EXPECT_EQ(link.ShowMyMessageBox(L"Insert a disc.", L"Video", MB_OKCANCEL | MB_ICONWARNING), answer);
        ASSERT_EQ(window.sent.size(), 3u);
        EXPECT_EQ(window.sent[0].message, msg::kEnableStopBut);
        EXPECT_EQ(window.sent[0].wParam, kDisable);
        EXPECT_EQ(window.sent[1].message, msg::kShowMyMessageBox);
        EXPECT_EQ(window.sent[1].text, L"Insert a disc.");
        EXPECT_EQ(window.sent[1].caption, L"Video");
        EXPECT_EQ(window.sent[1].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING));
        EXPECT_EQ(NumbersOf({window.sent[2]}), (std::vector<Numbers>{{msg::kEnableStopBut, kEnable, kStopButton}}));
    }
}

TEST_F(CommFuncTest, CopiesCarryEveryField) {
    link.Initialize(2);
    link.Progress(100);  // offset 100
    link.Progress(40);   // last 40
    CCommFunc copy(link);
    CCommFunc assigned;
    assigned = link;
    for (CCommFunc* c : {&copy, &assigned}) {
        window.sent.clear();
        EXPECT_EQ(c->HostWindow(), window.hwnd());
        c->Progress(30);  // not above 40: dropped
        c->Progress(60);  // (100 + 60) / 2
        EXPECT_EQ(ProgressSent(window.sent), std::vector<LPARAM>{80});
    }
}

TEST_F(CommFuncTest, SubclassInAnotherBinaryIsDestroyedThroughTheBase) {
    static int destroyed = 0;
    struct Module : CCommFunc {
        ~Module() override { ++destroyed; }
    };
    std::unique_ptr<CCommFunc> owned = std::make_unique<Module>();
    owned->SetParentDlg(window.hwnd());
    owned->ExitTest();
    owned.reset();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(window.sent.size(), 1u);
}

TEST_F(LanguageTest, StringIdsComeFromTheCallerUntilALanguageIsLoaded) {
    link.PrintText(IDS_BOTH);
    link.PrintText(IDS_LANGUAGE_ONLY);
    ASSERT_EQ(window.sent.size(), 2u);
    EXPECT_EQ(window.sent[0].text, L"caller both");
    EXPECT_EQ(window.sent[1].text, L"") << "a missing id still sends an (empty) text";
}

TEST_F(LanguageTest, LanguageLibraryIsSearchedFirstThenTheCaller) {
    EXPECT_EQ(link.SetResource(kBaseWithLanguage), 0);
    ASSERT_NE(link.ResourceModule(), nullptr);
    link.PrintText(IDS_BOTH);
    link.WriteLog(IDS_LANGUAGE_ONLY);
    link.PrintColorText(IDS_CALLER_ONLY, RGB(0, 128, 0));
    link.PrintText(IDS_NOWHERE);
    ASSERT_EQ(window.sent.size(), 4u);
    EXPECT_EQ(window.sent[0].text, L"language both");
    EXPECT_EQ(window.sent[1].message, msg::kWriteLog);
    EXPECT_EQ(window.sent[1].text, L"language only");
    EXPECT_EQ(window.sent[2].message, msg::kPrintColorText);
    EXPECT_EQ(window.sent[2].text, L"caller only");
    EXPECT_EQ(window.sent[2].lParam, static_cast<LPARAM>(RGB(0, 128, 0)));
    EXPECT_EQ(window.sent[3].message, msg::kPrintText);
    EXPECT_EQ(window.sent[3].text, L"");
}

TEST_F(LanguageTest, LoadedLanguageBecomesTheCallingBinarysResourceModule) {
    link.SetResource(kBaseWithLanguage);
    EXPECT_EQ(fw::CurrentResourceModule(), link.ResourceModule());
    EXPECT_EQ(fw::LoadStr(IDS_BOTH), L"language both");
    EXPECT_EQ(fw::LoadStr(IDS_CALLER_ONLY), L"caller only");
}

TEST_F(LanguageTest, MissingLanguageLibraryChangesNothing) {
    testsupport::TempFolder base;
    base.MakeFolder(L"QDXLang\\ENU");
    HMODULE before = fw::CurrentResourceModule();
    EXPECT_EQ(link.SetResource(base.path()), 0);
    EXPECT_EQ(link.SetResource(L""), 0);
    EXPECT_EQ(link.ResourceModule(), nullptr);
    EXPECT_EQ(fw::CurrentResourceModule(), before);
    link.PrintText(IDS_BOTH);
    EXPECT_EQ(window.sent.at(0).text, L"caller both");
}
