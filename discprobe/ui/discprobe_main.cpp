// discprobe: lists the optical drives, keeps their media states current and
// shows the inserted medium's type and size. Takes no arguments.
#include <windows.h>

#include "disc_monitor_app.h"
#include "disc_monitor_dlg.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    discprobe::CDiscMonitorApp app([](discprobe::CDiscMonitorApp& self) {
        discprobe::CDiscMonitorDlg dialog(
            {self.Parser(), self.Root(), self.ApplicationName(), self.FontFace(), nullptr});
        dialog.Run();
    });
    app.InitInstance();
    return 0;
}
