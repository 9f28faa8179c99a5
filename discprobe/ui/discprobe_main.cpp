// discprobe: lists the optical drives, keeps their media states current and
// shows the inserted medium's type and size. Takes no arguments.
#include <windows.h>

#include "disc_monitor_app.h"
#include "framework/library_loading.h"
#include "disc_monitor_dlg.h"
#include "optical_state_monitor.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    // Elevated, from a folder its user may write to: no library by name from there.
    fw::RestrictLibrarySearch();
    discprobe::CDiscMonitorApp app([](discprobe::CDiscMonitorApp& self) {
        auto drives = [](discprobe::StateSink sink) -> std::unique_ptr<discprobe::IDriveSource> {
            auto monitor = std::make_unique<discprobe::COpticalStateMonitor>(std::move(sink));
            monitor->CreateMaster();
            return monitor;
        };
        discprobe::CDiscMonitorDlg dialog({self.Parser(), self.Root(), self.ApplicationName(), self.FontFace(), drives});
        dialog.Run();
    });
    app.InitInstance();
    return 0;
}
