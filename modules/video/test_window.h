#pragma once
// The full-screen window every sub-test draws on, and the trace hook.
#include <windows.h>

#include <string>

class CVideoModule;

namespace video {

constexpr wchar_t kTestWindowClass[] = L"Fullscreen Window";
constexpr wchar_t kTestWindowTitle[] = L"Video Test";
constexpr wchar_t kSetupTraceFile[] = L"C:\\QDX_Log.log";
constexpr wchar_t kProgressTraceFile[] = L"C:\\QDX_Progress_Log.log";

// Refuses a query whether the system may suspend; everything else is default.
LRESULT CALLBACK TestWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Removes one waiting message and dispatches it, then destroys the window,
// unless that message is WM_QUIT (the window is then left alone); unregisters
// the class in every case.
void CloseTestWindow(HWND window);

// Unregisters the class for the program's module instance.
void UnregisterTestWindowClass();

}  // namespace video

// A top-most pop-up over the whole primary screen owned by the module's parent
// window, brought to the foreground; null when it could not be created. Hides
// the mouse cursor.
void CreateTestWindow(CVideoModule& module, HWND& window);

// Diagnostic trace of a fixed point of the tests: deliberately discarded.
void TraceLog(const std::wstring& text, const wchar_t* file);
