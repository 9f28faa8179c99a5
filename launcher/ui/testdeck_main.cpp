// testdeck: runs the test modules named on its command line and records their verdicts.
#include <windows.h>
#include <commctrl.h>

#include "framework/library_loading.h"
#include "framework/module_path.h"
#include "framework/resources.h"
#include "framework/unique_resource.h"
#include "language_setup.h"
#include "launcher_context.h"
#include "missing_library.h"
#include "result_writer.h"
#include "single_instance.h"
#include "string_ids.h"
#include "testdeck_dlg.h"
#include "testdeck_events.h"
#include "verdict_events.h"

// The events name the IDs of this program's message table.
static_assert(MSG_TEST_PASSED == launcher::kEventPass && MSG_TEST_FAILED == launcher::kEventFail &&
              MSG_TEST_STOPPED == launcher::kEventStopped && MSG_CANNOT_START == launcher::kEventCannotStart &&
              MSG_FOLDER_REFUSED == launcher::kEventFolderRefused &&
              MSG_RESULT_FILE_SET_ASIDE == launcher::kEventResultFileSetAside);

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    // Elevated, from a folder its user may write to: no library by name from there.
    fw::RestrictLibrarySearch();
    launcher::LauncherContext context;
    context.commandLine = launcher::ParseCommandLine(::GetCommandLineW());
    context.keepOpen = context.commandLine.keepOpen;
    // No box of the system (no disk in a drive, a fault) may wait for a person; bridgerun inherits it.
    if (context.commandLine.unattended)
        ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    fw::UniqueModule richEdit(fw::LoadSystemLibrary(L"riched20.dll"));

    context.programDir = fw::FolderOf(fw::ModuleFileName(nullptr));
    launcher::LanguageSetup language = launcher::ChooseLauncherLanguage(context.programDir);
    context.languageDir = language.languageDir;
    context.languageCode = language.languageCode;

    // A damaged library stops the launcher as a missing one does.
    std::wstring stringsPath = context.languageDir + L"uistrings.dll";
    fw::UniqueModule strings = launcher::LoadUserInterfaceLibrary(stringsPath);
    if (strings) {
        context.languageLibrary = strings.get();
        fw::SetCurrentResourceModule(strings.get());
    } else {
        launcher::RecordStoppedStart();
        launcher::ReportStartFailure(stringsPath);
    }

    launcher::SingleInstance instance;
    if (!instance.Acquire(launcher::kInstanceMutexName)) {
        launcher::SingleInstance::ActivateExisting(fw::LoadStr(launcher::ids::kWindowTitle));
        return 0;
    }

    launcher::CTestDeckDlg window(context);
    if (window.Run() == -1) {
        // Without its dialog templates the launcher cannot show anything.
        launcher::ReportMissingLibrary(nullptr, context.commandLine.unattended, L"its user-interface library",
                                       context.languageDir + L"uistrings.dll");
        return launcher::kCannotStartExitCode;
    }
    // A crashed module is still loaded and its thread stopped: unloading it could hang the end.
    if (window.ModuleCrashed()) ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(window.CloseExitCode()));
    return window.CloseExitCode();
}
