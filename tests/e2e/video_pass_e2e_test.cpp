// The video module as a factory line runs it: testdeck.exe -unattended /video
// on the bench's 1024x768 desktop with 64 MB of video memory, all three video
// tests on the platform's own DirectDraw and Direct3D 8, and nobody to answer a box.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>
#include <regex>

#include "launcher_session.h"
#include "screenshot.h"
#include "ui_automation.h"

using namespace testsupport;
using e2e::LauncherSession;

namespace {

constexpr DWORD kRunTimeoutMs = 500000;
constexpr int kOutputPane = 1056;
constexpr int kInstruction = 1047;

struct Pixel {
    int r, g, b;
};

Pixel At(const Image24& image, int x, int y) {
    if (x >= image.width || y >= image.height) return {-1, -1, -1};
    const uint8_t* p = image.rows.data() + Image24::StrideFor(image.width) * (image.height - 1 - y) + 3 * x;
    return {p[2], p[1], p[0]};
}

// Whether some pixel of the rectangle (clipped to the image) satisfies `is`.
template <typename Is>
bool AnyPixelIn(const Image24& image, RECT area, Is is) {
    for (int y = area.top; y < area.bottom && y < image.height; ++y)
        for (int x = area.left; x < area.right && x < image.width; ++x)
            if (is(At(image, x, y))) return true;
    return false;
}

bool Is(Pixel p, int r, int g, int b) { return p.r == r && p.g == g && p.b == b; }
bool Yellow(Pixel p) { return Is(p, 255, 255, 0); }
bool Black(Pixel p) { return Is(p, 0, 0, 0); }

// A screen of the run worth a picture: recognised by `shows`; a transient one
// may pass between two captures on a loaded machine, which is said but does not fail.
struct Screen {
    const wchar_t* name;
    std::function<bool(const Image24&)> shows;
    bool mustBeSeen;
    bool seen = false;
};

// Captures the screen until the launcher has ended, keeping the first picture of each screen.
std::optional<DWORD> WatchScreensUntilExit(const Process& launcher, std::vector<Screen>& screens) {
    const ULONGLONG deadline = ::GetTickCount64() + kRunTimeoutMs;
    while (::GetTickCount64() < deadline) {
        if (std::optional<DWORD> code = launcher.WaitExit(0)) return code;
        std::optional<Image24> screen = CaptureScreen();
        for (Screen& s : screens) {
            if (s.seen || !screen || !s.shows(*screen)) continue;
            s.seen = true;
            SaveNamedScreenshot(s.name);
        }
    }
    return std::nullopt;
}

}  // namespace

TEST(VideoPass, AllThreeVideoTestsPassOnTheRealDisplayUnattended) {
    LauncherSession session;
    Process launcher = session.Start(L"-unattended /video");
    // The note box is answered at once; what it said is in the output pane.
    HWND window = WaitTopWindow({std::wstring(e2e::kTitle), std::nullopt, launcher.pid()}, e2e::kStartTimeoutMs);
    HWND pane = window ? WaitControl(window, {kOutputPane}, 5000) : nullptr;
    EXPECT_TRUE(PollUntil(e2e::kStartTimeoutMs, [&] {
        return ReadText(pane).value_or(L"").find(L"Do not press any keys") != std::wstring::npos;
    }));

    // Video Test #1: bar 4 (green) from step 4 on; gradient image 0 has blue and red at the right edge;
    // the radial pattern reaches the bottom-left corner (full red and green) with its last rings.
    // Video Test #2 at 800x600: black screen, the yellow title at y 450, the progress line below.
    // Video Test #3 at 1024x768: the caption from (25, 25) on black, the textured sphere in the middle.
    std::vector<Screen> screens = {
        {L"video-colour-bars", [](const Image24& s) { return Is(At(s, 460, 384), 0, 255, 0); }, false},
        {L"video-gradient",
         [](const Image24& s) {
             const Pixel p = At(s, 1020, 384);
             return p.r > 240 && p.g > 100 && p.b > 200;
         },
         false},
        {L"video-radial", [](const Image24& s) { return Yellow(At(s, 5, 760)); }, false},
        {L"video-memory-test",
         [](const Image24& s) {
             return Black(At(s, 5, 5)) && AnyPixelIn(s, {0, 450, 800, 485}, Yellow) &&
                    AnyPixelIn(s, {0, 560, 800, 595}, [](Pixel p) { return Is(p, 255, 255, 255); });
         },
         false},
        {L"video-3d-sphere",
         [](const Image24& s) {
             return s.width == 1024 && Black(At(s, 5, 5)) && AnyPixelIn(s, {25, 25, 45, 60}, Yellow) &&
                    AnyPixelIn(s, {412, 284, 612, 484}, [](Pixel p) { return !Black(p) && p.r != p.b; });
         },
         true},
    };
    EXPECT_EQ(WatchScreensUntilExit(launcher, screens), e2e::kLauncherExitCode);
    for (const Screen& s : screens) {
        if (s.mustBeSeen)
            EXPECT_TRUE(s.seen) << ToUtf8(s.name);
        else if (!s.seen)
            std::printf("no screenshot %s: the screen was not seen\n", ToUtf8(s.name).c_str());
    }

    const std::wstring result = TextAfterMark(ReadBytes(session.resultFile()));
    EXPECT_TRUE(std::regex_search(result, std::wregex(L"<Test name=\"Video\" [^>]*OverallResult=\"Pass\">\r\n"
                                                      L"\t\t<SubTest name=\"Test 1\" [^>]*Result=\"Pass\" />\r\n"
                                                      L"\t\t<SubTest name=\"Test 2\" [^>]*Result=\"Pass\" />\r\n"
                                                      L"\t\t<SubTest name=\"Test 3\" [^>]*Result=\"Pass\" />\r\n"
                                                      L"\t</Test>")))
        << ToUtf8(result);

    const std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    for (const wchar_t* line : {L"Message box \"Video Test\": Note\nDo not press", L"Answered unattended: OK\r\n",
                                L"Video Test #1              OK\r\n", L"2D Test Resolution: 1024*768*32\r\n",
                                L"Video Test #2              OK\r\n",
                                L"Video Test #3              OK\r\n3D Test Resolution: 1024*768*32\r\n",
                                L"= No errors were detected ="})
        EXPECT_NE(log.find(line), std::wstring::npos) << ToUtf8(line) << ToUtf8(log);
    // All free video memory claimed was verified: both figures equal, and most of the 64 MB.
    std::wsmatch memory;
    ASSERT_TRUE(std::regex_search(log, memory, std::wregex(L"(\\d+)\\.(\\d\\d)M /(\\d+\\.\\d\\d)M free video memory "
                                                           L"has been tested!\r\n")))
        << ToUtf8(log);
    EXPECT_EQ(memory[1].str() + L"." + memory[2].str(), memory[3].str());
    EXPECT_GE(std::stoi(memory[1].str()), 48);
}

TEST(VideoPass, AJapaneseUserSeesTheLauncherAndThePassInJapanese) {
    if (!RunsAsJapaneseUser()) GTEST_SKIP() << kNotJapanese;
    LauncherSession session;
    Process launcher = session.Start(L"-unattended /video");
    HWND window = WaitTopWindow({std::wstring(e2e::kTitle), std::nullopt, launcher.pid()}, e2e::kStartTimeoutMs);
    ASSERT_NE(window, nullptr);
    HWND pane = WaitControl(window, {kOutputPane}, 5000);
    EXPECT_TRUE(PollUntil(e2e::kStartTimeoutMs, [&] {
        return ReadText(pane).value_or(L"").find(L"= ビデオテスト開始 =") != std::wstring::npos;
    }));
    EXPECT_EQ(ReadText(FindControl(window, {kInstruction})), L"テストを実行しています。しばらくお待ちください...");

    // The finished pass stays on screen only until the launcher ends: its picture may be missed.
    bool pictured = false;
    std::optional<DWORD> code;
    for (const ULONGLONG deadline = ::GetTickCount64() + kRunTimeoutMs; !code && ::GetTickCount64() < deadline;
         code = launcher.WaitExit(50)) {
        if (!pictured && ReadText(pane).value_or(L"").find(L"= すべてのテストに合格しました =") != std::wstring::npos)
            pictured = !SaveNamedScreenshot(L"launcher-japanese-video-pass").empty();
    }
    EXPECT_EQ(code, e2e::kLauncherExitCode);
    if (!pictured) std::printf("no screenshot launcher-japanese-video-pass: the end was not seen\n");

    const std::wstring result = TextAfterMark(ReadBytes(session.resultFile()));
    EXPECT_TRUE(std::regex_search(result, std::wregex(L"<Test name=\"Video\" [^>]*OverallResult=\"Pass\">(\r\n\t\t"
                                                      L"<SubTest name=\"Test \\d\" [^>]*Result=\"Pass\" />){3}")))
        << ToUtf8(result);
    const std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    for (const wchar_t* line : {L"ビデオテスト #1            OK\r\n", L"2D テストの解像度: 1024*768*32\r\n",
                                L"ビデオテスト #3            OK\r\n", L"= エラーは検出されませんでした =",
                                L"= すべてのテストに合格しました ="})
        EXPECT_NE(log.find(line), std::wstring::npos) << ToUtf8(line) << ToUtf8(log);
}
