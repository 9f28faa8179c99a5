#include "run_memory_test.h"

#include "display_wait.h"
#include "fault_report.h"
#include "init_error.h"
#include "message_pump.h"
#include "module_globals.h"
#include "resources/string_ids.h"
#include "test_window.h"
#include "vid_mem_test.h"
#include "video_module.h"

int RunMemoryTest(CVideoModule& module) {
    video::IVideoPlatform& platform = module.Platform();
    memtest::VidMemTest test(module.DirectDraw(), [&platform](DWORD ms) { platform.Sleep(ms); });
    memtest::DetailText detail;
    video::CDisplayWait wait(module);
    bool stopped = false;
    // Video memory holds 16-bit pixels as 5-6-5.
    test.OnFaults([&module](const video::CheckFaults& faults, int width, int height, int bitsPerPixel) {
        video::ReportCheckFaults(module, faults, width, height, bitsPerPixel, 0x07E0);
    });

    module.Report(IDS_VIDEO_TEST2_TITLE);
    if (module.GetAbort() == hostlink::kAbortRequested) return 2;
    module.Progress(0);
    platform.Sleep(500);
    module.Progress(50);
    platform.Sleep(500);

    int result = 0;
    HWND window = nullptr;
    CreateTestWindow(module, window);
    if (!window) {
        ReportInitError(module, 400);
        result = 1;
        video::UnregisterTestWindowClass();
    } else {
        if (const int rc = test.SetUp(window, 800, 600, 32); rc != memtest::kSetUpOk) {
            module.AccelerationOk = 0;
            result = 1;
            ReportInitError(module, rc);
        } else if (const HRESULT hr = test.Run(window, detail, iErrorLevel,
                                               [&] { return wait.WaitUntil(window, [&] { return test.DisplayBack(); }); });
                   hr == memtest::kDisplayNotBack) {
            stopped = true;
        } else if (hr != 0) {
            result = 1;
            module.WriteLog(detail.c_str());
        }
        video::PumpMessagesFor(500);
        // Full screen is left before the window it belongs to goes.
        test.Release();
        video::CloseTestWindow(window);
        if (stopped) return video::StopForLostDisplay(module);
    }

    module.Progress(100);
    module.ReportVerdict(result != 1);
    if (result != 1 && detail.Length() > 1) module.WriteLog(detail.c_str());
    test.Release();
    return result;
}
