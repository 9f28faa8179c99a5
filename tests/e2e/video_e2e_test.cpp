// The video module as a technician runs it: testdeck.exe /video on the bench's
// 1024x768 desktop, Video Test #1 on the platform's real DirectDraw.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "launcher_session.h"
#include "screenshot.h"
#include "ui_automation.h"

using namespace testsupport;
using e2e::LauncherSession;

namespace {

constexpr DWORD kRunTimeoutMs = 480000;
constexpr DWORD kPatternTimeoutMs = 240000;

struct Bgr {
    int b, g, r;
};

std::optional<Bgr> ScreenPixel(int x, int y) {
    std::optional<Image24> screen = CaptureScreen();
    if (!screen || x >= screen->width || y >= screen->height) return std::nullopt;
    const uint8_t* p = screen->rows.data() + Image24::StrideFor(screen->width) * (screen->height - 1 - y) + 3 * x;
    return Bgr{p[0], p[1], p[2]};
}

// Waits until the screen shows what `shows` recognises, then keeps a screenshot
// for the README. The pictures are for people: on a slow machine one may be
// missed, which is said but does not fail the run.
template <typename Shows>
void ScreenshotWhen(const std::wstring& name, int x, int y, Shows shows) {
    bool seen = PollUntil(kPatternTimeoutMs, [&] {
        std::optional<Bgr> pixel = ScreenPixel(x, y);
        return pixel && shows(*pixel);
    });
    if (seen)
        SaveNamedScreenshot(name);
    else
        std::printf("no screenshot %s: the pattern was not seen\n", ToUtf8(name).c_str());
}

}  // namespace

TEST(VideoRun, VideoTest1PassesOnTheRealDisplayWithLogAndResultFile) {
    LauncherSession session;
    Process launcher = session.Start(L"/video");

    BoxAnswer note = AnswerMessageBox({std::wstring(L"Video Test"), launcher.pid()}, IDOK, e2e::kStartTimeoutMs);
    ASSERT_EQ(note.outcome, BoxOutcome::Answered);
    EXPECT_NE(note.text.find(L"Do not press any keys"), std::wstring::npos);

    // Bar 4 (green) is drawn from step 4 on; gradient image 0 has blue and red at the right edge;
    // the radial pattern reaches the bottom-left corner (full red and green) with its last rings.
    ScreenshotWhen(L"video-colour-bars", 460, 384,
                               [](Bgr p) { return p.g == 255 && p.r == 0 && p.b == 0; });
    ScreenshotWhen(L"video-gradient", 1020, 384,
                               [](Bgr p) { return p.r > 240 && p.g > 100 && p.b > 200; });
    ScreenshotWhen(L"video-radial", 5, 760,
                               [](Bgr p) { return p.r == 255 && p.g == 255 && p.b == 0; });

    EXPECT_EQ(launcher.WaitExit(kRunTimeoutMs), e2e::kLauncherExitCode);

    std::wstring result = TextAfterMark(ReadBytes(session.resultFile()));
    EXPECT_TRUE(std::regex_search(result, std::wregex(L"<Test name=\"Video\" [^>]*OverallResult=\"Pass\">\r\n"
                                                      L"\t\t<SubTest name=\"Test 1\" [^>]*Result=\"Pass\" />\r\n")))
        << ToUtf8(result);

    std::wstring log = TextAfterMark(ReadBytes(session.resultFolder() + L"hwck_log00.txt"));
    EXPECT_NE(log.find(L"Video Test #1              OK\r\n"), std::wstring::npos) << ToUtf8(log);
    EXPECT_NE(log.find(L"2D Test Resolution: 1024*768*32\r\n"), std::wstring::npos) << ToUtf8(log);
    EXPECT_NE(log.find(L"= No errors were detected ="), std::wstring::npos) << ToUtf8(log);
}
