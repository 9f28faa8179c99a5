#include "run_2d_test.h"

#include <cstdio>
#include <string>

#include "d2d_test.h"
#include "display_wait.h"
#include "framework/resources.h"
#include "init_error.h"
#include "module_globals.h"
#include "pass_sequence.h"
#include "patterns.h"
#include "resources/string_ids.h"
#include "test_window.h"
#include "text_format.h"
#include "video_module.h"

namespace {

constexpr size_t kResultLineChars = 256;
constexpr DWORD kStepMs = 500;
constexpr DWORD kBeforeAbortCheckMs = 2000;
constexpr DWORD kAfterProgressMs = 1000;

int ColourDepthOf(HWND window) {
    HDC dc = ::GetDC(window);
    int bpp = dc ? ::GetDeviceCaps(dc, BITSPIXEL) : 0;
    if (dc) ::ReleaseDC(window, dc);
    return bpp;
}

void LogPatternError(CVideoModule& module, const wchar_t* pattern, HRESULT hr) {
    wchar_t line[96];
    std::swprintf(line, std::size(line), L"%ls - Error:0x%08lx\r\n", pattern, static_cast<unsigned long>(hr));
    module.WriteLog(line);
}

enum class TPatternOutcome { Passed, Failed, Stopped };

// Runs a pattern. A failed check logs `failedId`; a DirectDraw error that ended
// the pattern before every pixel was compared fails it too (a test that could
// not look has not passed) and logs the error. A display that another window
// took is waited for, and the pattern drawn and checked again on it; Stopped
// when it was not given back.
template <typename Pattern>
TPatternOutcome RunPattern(CVideoModule& module, video::CDisplayWait& wait, HWND window, Pattern pattern,
                           const wchar_t* name, UINT failedId, D2DTest& test, int bpp, int& errorBudget) {
    for (;;) {
        HRESULT hr = pattern(test, bpp, errorBudget);
        if (test.DisplayLost(hr)) {
            if (wait.WaitUntil(window, [&] { return test.DisplayBack(); })) continue;
            return TPatternOutcome::Stopped;
        }
        if (hr == E_FAIL)
            module.WriteLog(failedId);
        else if (FAILED(hr))
            LogPatternError(module, name, hr);
        return FAILED(hr) ? TPatternOutcome::Failed : TPatternOutcome::Passed;
    }
}

}  // namespace

int Run2DTest(CVideoModule& module) {
    D2DTest test(module);
    video::CDisplayWait wait(module);
    TPatternOutcome outcome = TPatternOutcome::Passed;
    std::wstring resultLine;
    int errorBudget = iErrorLevel;
    int result = 0;
    video::IVideoPlatform& platform = module.Platform();

    module.Report(IDS_VIDEO_TEST1_TITLE);
    module.Progress(0);
    platform.Sleep(kStepMs);
    module.Progress(50);
    platform.Sleep(kStepMs);

    video::ScreenSize screen = platform.Screen();
    const DWORD orientation = platform.DisplayOrientation();
    if (screen.width <= screen.height || orientation == DMDO_90 || orientation == DMDO_180 ||
        orientation == DMDO_270) {
        module.WriteXmlSub(0, hostlink::kResultStopped);
        module.WriteLog(resultLine);
        return video::kOrientationRefused;
    }

    HWND window = nullptr;
    CreateTestWindow(module, window);
    if (!window) {
        ReportInitError(module, 400);
        module.Progress(100);
        result = 1;
    } else {
        int width = screen.width, height = screen.height, bpp = ColourDepthOf(window);
        int rc = test.InitDirectDraw(window, width, height, bpp);
        if (rc == video::kInitOk) {
            resultLine = video::FormatBounded(L"%s: %ld*%ld*%ld\r\n", fw::LoadStr(IDS_VIDEO_2D_RESOLUTION),
                                              {width, height, bpp}, kResultLineChars);
            outcome = RunPattern(module, wait, window, &ColorBarPattern, L"ColorBarPattern", IDS_VIDEO_PATTERN1_FAILED,
                                 test, bpp, errorBudget);
            if (outcome == TPatternOutcome::Passed)
                outcome = RunPattern(module, wait, window, &GradientPattern, L"GradientPattern",
                                     IDS_VIDEO_PATTERN2_FAILED, test, bpp, errorBudget);
            if (outcome == TPatternOutcome::Failed) result = 1;
        } else {
            resultLine = video::FormatBounded(L"%s(%ld*%ld*%ld)\r\n", fw::LoadStr(IDS_VIDEO_2D_INIT_FAILED),
                                              {width, height, bpp}, kResultLineChars);
            ReportInitError(module, rc);
            result = 1;
            module.AccelerationOk = 0;
        }
        // Before the window goes, as for the radial pattern: exclusive mode and a changed mode end at once.
        test.Release();
        video::CloseTestWindow(window);
        if (outcome == TPatternOutcome::Stopped) return video::StopForLostDisplay(module);

        platform.Sleep(kBeforeAbortCheckMs);
        if (module.GetAbort() == hostlink::kAbortRequested) return 2;
        module.Progress(100);
        platform.Sleep(kAfterProgressMs);
    }

    if (result != 1) {
        screen = platform.Screen();
        HWND radialWindow = nullptr;
        CreateTestWindow(module, radialWindow);
        if (!radialWindow) {
            ReportInitError(module, 400);
            result = 1;
        } else {
            int width = screen.width, height = screen.height, bpp = ColourDepthOf(radialWindow);
            int rc = test.InitDirectDraw(radialWindow, width, height, bpp);
            if (rc != video::kInitOk) {
                ReportInitError(module, rc);
                result = 1;
            } else {
                errorBudget = iErrorLevel;
                outcome = RunPattern(module, wait, radialWindow, &RadialPattern, L"RadialPattern",
                                     IDS_VIDEO_PATTERN3_FAILED, test, bpp, errorBudget);
                if (outcome == TPatternOutcome::Failed) result = 1;
            }
            test.Release();
            // Also after a failed set-up: a top-most window must not stay over the desktop.
            video::CloseTestWindow(radialWindow);
            if (outcome == TPatternOutcome::Stopped) return video::StopForLostDisplay(module);
        }
    }

    module.ReportVerdict(result == 0);
    module.WriteLog(resultLine);
    return result;
}
