#include "pass_sequence.h"

#include <string>

#include "d3d/run_3d_test.h"
#include "framework/resources.h"
#include "memtest/run_memory_test.h"
#include "module_globals.h"
#include "resources/string_ids.h"
#include "run_2d_test.h"
#include "text_format.h"
#include "video_module.h"

namespace video {

namespace {

constexpr DWORD kErrorRed = 0x000000FF;
constexpr DWORD kBannerYellow = 0x0000FFFF;
constexpr DWORD kAfterPassMs = 500;
constexpr DWORD kBetweenSubTestsMs = 700;
constexpr size_t kPassHeaderChars = 256;

int CancelEnding(CVideoModule& module, int endingCode) {
    module.Report(IDS_VIDEO_ABORT);
    module.Report(L"\r\n");
    if (endingCode == kOrientationRefused) module.Report(IDS_VIDEO_PORTRAIT_SCREEN);
    module.Report(IDS_VIDEO_CANCELLED);
    module.Progress(-1);
    return 2;
}

std::wstring PassHeader(int pass, int loopCount) {
    return FormatBounded(fw::LoadStr(IDS_VIDEO_PASS_HEADER), {}, {pass, loopCount}, kPassHeaderChars);
}

}  // namespace

const SubTests& VideoSubTests() {
    static const SubTests subTests{&Run2DTest, &RunMemoryTest, &Run3DTest};
    return subTests;
}

int RunOnePass(CVideoModule& module, const SubTests& subTests) {
    module.ShowMyMessageBox(fw::LoadStr(IDS_VIDEO_NOTE_TEXT), fw::LoadStr(IDS_VIDEO_NOTE_CAPTION), 0);
    module.AccelerationOk = 1;
    LoadSettings();
    module.Report(IDS_VIDEO_START);
    module.Progress(0);

    bool failed = false;
    bool cancelled = false;
    int endingCode = 0;

    int r1 = subTests.run2D(module);
    if (r1 == 2 || r1 == kOrientationRefused) return CancelEnding(module, r1);
    failed = r1 == 1;
    module.WriteLog(L"\r\n");
    module.Platform().Sleep(kBetweenSubTestsMs);

    ScreenSize screen = module.Platform().Screen();
    if (screen.width > screen.height || screen.width >= 800) {
        int r2 = subTests.memory(module);
        if (r2 == 2) {
            cancelled = true;
            endingCode = r2;
        } else {
            failed = failed || r2 == 1;
            module.WriteLog(L"\r\n");
            module.Platform().Sleep(kBetweenSubTestsMs);
        }
    }
    if (!cancelled) {
        int r3 = subTests.run3D(module);
        if (r3 == 2) {
            cancelled = true;
            endingCode = r3;
        } else {
            failed = failed || r3 == 1;
            module.WriteLog(L"\r\n");
        }
    }

    if (failed) {
        module.Report(module.AccelerationOk ? IDS_VIDEO_ERRORS : IDS_VIDEO_ERRORS_ACCELERATION);
        return 1;
    }
    if (cancelled) return CancelEnding(module, endingCode);
    module.Report(IDS_VIDEO_NO_ERRORS);
    return 0;
}

int RunPasses(CVideoModule& module, unsigned flags, int loopCount, const SubTests& subTests) {
    int result = 0;
    for (int pass = 1; pass <= loopCount; ++pass) {
        if ((flags & kMarking) && loopCount > 1) {
            module.ClearCurrentLog();
            module.Report(PassHeader(pass, loopCount));
        }
        int r = RunOnePass(module, subTests);
        if (r != 0) {
            result = r;
            if (flags & kMarking) {
                module.PrintColorText(IDS_VIDEO_ERROR_BANNER, kBannerYellow);
                module.SetEditBoxBKColor(kErrorRed, 0);
            }
            if (flags & kStopAfterFailure) break;
        }
        module.Report(L"\r\n");
        module.Platform().Sleep(kAfterPassMs);
    }
    // A run without passes has shown nothing clean.
    if ((flags & kMarking) && loopCount > 0 && result == 0 && !(flags & kNoCleanMarking))
        module.SetEditBoxBKColor(kErrorRed, 1);
    return result;
}

}  // namespace video
