#include "run_3d_test.h"

#include "display_wait.h"
#include "framework/module_path.h"
#include "framework/resources.h"
#include "init_error.h"
#include "module_globals.h"
#include "resources/string_ids.h"
#include "test_window.h"
#include "video_module.h"

namespace {

constexpr ULONGLONG kSceneMs = 5000;

// Renders until WM_QUIT or five seconds have passed; kD3DOk, the failing frame's
// code, or kD3DDeviceLost for a device that another window took and did not
// give back. The time the device was away does not count.
int RenderScene(video3d::D3DTest& test, video::CDisplayWait& wait, HWND window) {
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    ULONGLONG start = ::GetTickCount64();
    for (;;) {
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return video3d::kD3DOk;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        } else if (const int rc = test.Frame(); rc == video3d::kD3DDeviceLost) {
            const ULONGLONG lost = ::GetTickCount64();
            int restored = video3d::kD3DDeviceLost;
            if (!wait.WaitUntil(window, [&] { return (restored = test.Restore()) != video3d::kD3DDeviceLost; }))
                return video3d::kD3DDeviceLost;
            if (restored != video3d::kD3DOk) return restored;
            start += ::GetTickCount64() - lost;
        } else if (rc != video3d::kD3DOk) {
            return rc;
        }
        if ((::GetTickCount64() - start) / 1000 > 4) return video3d::kD3DOk;
    }
}

}  // namespace

video3d::D3DTestPlatform SystemD3DTestPlatform() {
    video3d::D3DTestPlatform platform;
    platform.createDirect3D = &video3d::CreateSystemDirect3D;
    platform.loadString = [](UINT id) { return fw::LoadStr(id); };
    // By its full path: a bare name would be searched for in other folders too.
    const std::wstring folder =
        ModuleDirectory.empty() ? fw::FolderOf(fw::ModuleFileName(fw::OwnModule())) : ModuleDirectory;
    platform.textureLibrary = folder + L"artpack.dll";
    return platform;
}

int Run3DTest(CVideoModule& module) { return Run3DTestWith(module, SystemD3DTestPlatform()); }

int Run3DTestWith(CVideoModule& module, const video3d::D3DTestPlatform& platform) {
    video3d::D3DTest test(platform);
    module.Report(IDS_VIDEO_TEST3_TITLE);
    if (module.GetAbort() == hostlink::kAbortRequested) return 2;
    module.Progress(0);
    module.Platform().Sleep(500);
    const video::ScreenSize screen = module.Platform().Screen();
    video3d::ResolutionText detail;

    int result = 0;
    bool stopped = false;
    video::CDisplayWait wait(module);
    HWND window = nullptr;
    CreateTestWindow(module, window);
    if (!window) {
        ReportInitError(module, 400);
        result = 1;
    } else {
        HDC dc = ::GetDC(window);
        const int depth = ::GetDeviceCaps(dc, BITSPIXEL);
        ::ReleaseDC(window, dc);
        if (const int rc = test.SetUp(window, static_cast<UINT>(screen.width), static_cast<UINT>(screen.height), depth,
                                      detail);
            rc != video3d::kD3DOk) {
            ReportInitError(module, rc);
            result = 1;
            module.AccelerationOk = 0;
        } else if (const int frame = RenderScene(test, wait, window); frame == video3d::kD3DDeviceLost) {
            stopped = true;
        } else if (frame != video3d::kD3DOk) {
            ReportInitError(module, frame);
            result = 1;
        }
        // Full screen is left before the window it belongs to goes, whatever happened.
        test.Release();
        video::CloseTestWindow(window);
        if (stopped) return video::StopForLostDisplay(module);
    }
    module.Progress(100);
    module.Platform().Sleep(500);

    module.ReportVerdict(result != 1);
    if (detail.Length() > 1) module.WriteLog(detail.c_str());
    test.Release();
    return result;
}
