#pragma once
// CCommFunc, a test module's one channel to the launcher: every reporting call
// is one synchronous message to the launcher's dialog (see protocol.h), and the
// object scales the module's progress and finds its language texts.
//
// Text parameters are std::wstring by value: modules and this library are
// built together with the same toolchain.
#include <windows.h>
#include <string>

#include "framework/resources.h"
#include "hostlink/progress_scaler.h"
#include "hostlink/protocol.h"

#ifdef HOSTLINK_BUILD
#define HOSTLINK_API __declspec(dllexport)
#else
#define HOSTLINK_API __declspec(dllimport)
#endif

class HOSTLINK_API CCommFunc {
public:
    CCommFunc();
    CCommFunc(const CCommFunc& other);
    CCommFunc& operator=(const CCommFunc& other);
    virtual ~CCommFunc();

    // Spreads Progress over `divisor` steps (0: values are sent modulo 100).
    int Initialize(int divisor);
    int SetParentDlg(HWND hostWindow);

    // Loads "<folder>QDXLang\<language code>\langpack.dll" and keeps it for the
    // string-id forms below. Inline on purpose: this body runs in the calling
    // module's binary, so the language module also becomes that binary's current
    // resource module, and the module's own string, dialog and menu lookups
    // search it first. Nothing changes when the library is missing.
    int SetResource(std::wstring folder) {
        if (HMODULE language = LoadLanguageModule(std::move(folder))) fw::SetCurrentResourceModule(language);
        return 0;
    }

    int PrintText(std::wstring text);
    // The string-id forms search the language module, then the calling binary,
    // then this library; a missing id sends an empty text.
    int PrintText(UINT id);
    int WriteLog(std::wstring text);
    int WriteLog(UINT id);
    int PrintColorText(UINT id, DWORD colour);
    // ANSI text in the system code page, sent as UTF-16 like every other text.
    int PrintColorText(const char* text, DWORD colour);

    // -1 (done) and -2 (restart) pass unchanged; other values are scaled and
    // values not above the last accepted one are dropped.
    int Progress(int value);

    int GetAbort();  // hostlink::kAbortRequested or kAbortNone
    int ExitTest();
    int SetAbort();
    int EnableStopBut(int enable);
    int ClearCurrentLog();  // has no effect in the launcher: only its runner may restart the log
    int GetLogReady();      // 1 = ready
    int SetRepeatAbort();
    int ClearUIText();
    int SaveCurrentLog();
    int SetSusResLog(int folderGiven, const char* folder);
    int SetEditBoxBKColor(DWORD colour, int noError);
    int WriteXml(const wchar_t* testName, DWORD resultCode);
    int WriteXmlSub(DWORD number, DWORD resultCode);
    // Disables the launcher's Start/Stop button while the box is open and
    // always enables it again; returns the button the user chose.
    int ShowMyMessageBox(std::wstring text, std::wstring caption, UINT style);
    int PrintEstimateTestTime(int estimate);
    // Where sub-test `number` (0 = the next one) found faulty pixels in a
    // picture of width x height; at most hostlink::kMaxFaultPoints are sent.
    // Returns the number of points the launcher kept.
    int ReportFaultPoints(DWORD number, int width, int height, const hostlink::FaultPoint* points, int count);
    void HoldWindow();

    HWND HostWindow() const { return m_hostWindow; }
    HMODULE ResourceModule() const { return m_resourceModule; }

private:
    // Chooses the language folder and loads its langpack.dll; the library stays
    // loaded for the life of the process. Null (and nothing kept) on failure.
    HMODULE LoadLanguageModule(std::wstring folder);
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // The text of string `id` for a call made from `callerAddress`.
    std::wstring StringOf(UINT id, void* callerAddress) const;

    HWND m_hostWindow = nullptr;
    HMODULE m_resourceModule = nullptr;
    hostlink::ProgressScaler m_progress;  // progress offset, last progress, progress divisor
};
