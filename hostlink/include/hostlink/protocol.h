#pragma once
// The host message protocol: how a test module, the launcher's runner and the
// 64-bit module host talk to the launcher's diagnostics dialog. Every report is
// a synchronous SendMessageW to the dialog; the sender owns every text and
// record it passes, and the dialog copies what it keeps before it returns.
//
// This header is the suite's published contract with test modules. It needs
// nothing but the platform headers, so a module built by anyone can include it.
#include <windows.h>
#include <objbase.h>  // CoTaskMemAlloc / CoTaskMemFree (excluded by WIN32_LEAN_AND_MEAN)

#include <cstddef>
#include <string>
#include <type_traits>

namespace hostlink {

// Message numbers. WM_USER+0..2 are also the dialog manager's DM_GETDEFID,
// DM_SETDEFID and DM_REPOSITION: a receiver treats a null text pointer as
// nothing to print, and WM_USER+0 is not part of the protocol.
namespace msg {
constexpr UINT kPrintText = WM_USER + 1;         // wParam 0, lParam text
constexpr UINT kWriteLog = WM_USER + 2;          // wParam 0, lParam text
constexpr UINT kProgress = WM_USER + 3;          // wParam 0, lParam percentage, kProgressDone or kProgressRestart
constexpr UINT kGetAbort = WM_USER + 4;          // result: kAbortNone or kAbortRequested
constexpr UINT kExitTest = WM_USER + 5;          // end of the run
constexpr UINT kSetTestCount = WM_USER + 6;      // wParam number of modules in the run
constexpr UINT kReserved7 = WM_USER + 7;         // accepted and ignored
constexpr UINT kSetAbort = WM_USER + 8;
constexpr UINT kEnableStopBut = WM_USER + 9;     // wParam kEnable / kDisable, lParam kStopButton
constexpr UINT kClearCurrentLog = WM_USER + 10;  // lParam kClearForce restarts the log; 0 does nothing
constexpr UINT kGetLogReady = WM_USER + 11;      // result: 1 ready, 0 not
constexpr UINT kSetRepeatAbort = WM_USER + 12;   // accepted and ignored
constexpr UINT kClearUIText = WM_USER + 13;      // accepted; the output pane is not cleared
constexpr UINT kSaveCurrentLog = WM_USER + 14;
constexpr UINT kSetSusResLog = WM_USER + 15;     // wParam kLogFolderGiven / kLogFolderFromSettings, lParam ANSI folder
constexpr UINT kSetModuleResult = WM_USER + 16;  // lParam run result: 0 passed, other failed
constexpr UINT kSetEditBoxBKColor = WM_USER + 20;  // wParam kColourError / kColourNoError, lParam COLORREF
constexpr UINT kPrintColorText = WM_USER + 21;   // wParam text, lParam COLORREF
constexpr UINT kWriteXml = WM_USER + 22;         // wParam test name, lParam result code
constexpr UINT kWriteXmlSub = WM_USER + 23;      // wParam sub-test number (0 = next), lParam result code
constexpr UINT kStartRun = WM_USER + 30;         // lParam catalogue index, kNoEntry = the run list
constexpr UINT kSelectPage = WM_USER + 31;       // lParam page kind
constexpr UINT kResetAbort = WM_USER + 32;
constexpr UINT kShowMyMessageBox = WM_USER + 33;  // lParam MessageBoxRecord*, result: MessageBoxW's
constexpr UINT kSetItemList = WM_USER + 34;      // lParam ItemListRecord*
constexpr UINT kCloseAuxWindow = WM_USER + 35;   // accepted and ignored
constexpr UINT kSelectTest = WM_USER + 36;       // lParam catalogue index
constexpr UINT kPrintEstimateTestTime = WM_USER + 37;  // lParam estimate, kNoEstimate / 0 = none
constexpr UINT kShowTestInfo = WM_USER + 38;     // from a picture button to its parent; wParam button index
constexpr UINT kHoldWindow = WM_USER + 39;       // the launcher stays open after the run
constexpr UINT kReportFaultPoints = WM_USER + 41;  // wParam sub-test number (0 = next), lParam FaultPointsRecord*;
                                                   // result: points kept, 0 for a record out of bounds
constexpr UINT kReserved120 = WM_USER + 120;     // accepted and ignored
constexpr UINT kX64Hello = WM_USER + 200;        // wParam the 64-bit host's window; result kX64Answer
constexpr UINT kX64Start = WM_USER + 202;        // dialog to the 64-bit host, after the set-up record
}  // namespace msg

// dwData of the WM_COPYDATA messages between the dialog and the 64-bit host.
namespace copydata {
constexpr ULONG_PTR kX64Setup = 1225;  // dialog to host: X64SetupRecord
constexpr ULONG_PTR kX64Text = 1227;   // host to dialog: UTF-16 text, printed like kPrintText
constexpr ULONG_PTR kX64Done = 1228;   // host to dialog: accepted and ignored
}  // namespace copydata

// Parameter values.
constexpr LPARAM kProgressDone = -1;     // bar to 100 %
constexpr LPARAM kProgressRestart = -2;  // bar to 0 %, host progress offset to 0
constexpr LRESULT kAbortNone = 259;      // the value of a thread that is still active
constexpr LRESULT kAbortRequested = 1;
constexpr WPARAM kEnable = 1;
constexpr WPARAM kDisable = 0;
constexpr LPARAM kStopButton = 1;
constexpr LPARAM kClearForce = 1;
constexpr WPARAM kLogFolderFromSettings = 0;
constexpr WPARAM kLogFolderGiven = 1;
constexpr WPARAM kColourError = 0;
constexpr WPARAM kColourNoError = 1;
constexpr LPARAM kNoEntry = -1;
constexpr LPARAM kNoEstimate = -1;
constexpr LPARAM kSuitePage = 0;
constexpr LRESULT kX64Answer = 1;

// Result codes of WriteXml and WriteXmlSub: the result file shows "Pass", "Stopped", "Fail".
constexpr DWORD kResultPass = 1;
constexpr DWORD kResultStopped = 2;
constexpr DWORD kResultFail = 3;

// What StartTest returns (4 counts as kModuleStopped).
constexpr int kModulePassed = 0;
constexpr int kModuleFailed = 1;
constexpr int kModuleStopped = 2;
constexpr int kModuleStoppedAlternative = 4;

// Run-mode bits, StartTest's second argument. The launcher never sets 0x1 and 0x8.
namespace mode {
constexpr unsigned kListRun = 0x4;
constexpr unsigned kFullTest = 0x10;
constexpr unsigned kRecovery = 0x20;
constexpr unsigned kStandalone = 0x100;
constexpr unsigned kDividedRecovery = 0x200;
}  // namespace mode

// lParam of kShowMyMessageBox; built by the sender for the duration of the call.
struct MessageBoxRecord {
    const wchar_t* text;
    const wchar_t* caption;
    UINT style;  // MessageBoxW's type word
};
static_assert(offsetof(MessageBoxRecord, text) == 0);
static_assert(offsetof(MessageBoxRecord, caption) == sizeof(void*));
static_assert(offsetof(MessageBoxRecord, style) == 2 * sizeof(void*));
#ifndef _WIN64
static_assert(sizeof(MessageBoxRecord) == 12, "three 32-bit fields");
#endif

// lParam of kSetItemList: a count followed by that many text pointers. A sender
// may pass a shorter record; a receiver reads at most `count` and at most
// kItemListSlots entries.
constexpr int kItemListSlots = 10;
struct ItemListRecord {
    INT32 count;
    const wchar_t* items[kItemListSlots];
};
static_assert(offsetof(ItemListRecord, items) == sizeof(void*));
#ifndef _WIN64
static_assert(offsetof(ItemListRecord, items) == 4, "32-bit count, then the pointers");
#endif

// lParam of kReportFaultPoints: where a picture (a screen or a surface) is
// faulty. The header is followed by `count` points; the same bytes in 32- and
// 64-bit builds. A record outside the bounds below is ignored.
constexpr INT32 kMaxFaultPictureSide = 16384;
constexpr INT32 kMaxFaultPoints = 1000;
struct FaultPoint {
    INT32 x;
    INT32 y;
    UINT32 expected;  // 0x00RRGGBB
    UINT32 read;      // 0x00RRGGBB
};
struct FaultPointsRecord {
    INT32 width;   // 1 to kMaxFaultPictureSide
    INT32 height;  // 1 to kMaxFaultPictureSide
    INT32 count;   // 0 to kMaxFaultPoints
    // followed by FaultPoint[count]
};
static_assert(sizeof(FaultPoint) == 16 && alignof(FaultPoint) == 4);
static_assert(sizeof(FaultPointsRecord) == 12 && alignof(FaultPointsRecord) == 4);
inline const FaultPoint* PointsOf(const FaultPointsRecord* record) {
    return reinterpret_cast<const FaultPoint*>(record + 1);
}

// Payload of the kX64Setup copy-data message; the same 4,104 bytes in 32- and 64-bit builds.
constexpr size_t kX64FolderChars = 2048;
struct X64SetupRecord {
    WCHAR folder[kX64FolderChars];  // the launcher's folder with a trailing backslash, NUL-terminated
    INT32 modeFlags;
    INT32 repeatCount;
};
static_assert(sizeof(X64SetupRecord) == 4104);
static_assert(offsetof(X64SetupRecord, modeFlags) == 4096);
static_assert(offsetof(X64SetupRecord, repeatCount) == 4100);

// The folder StartTest receives: the launcher's program folder with a trailing
// backslash. It is a plain one-pointer object so that every compiler passes it
// the same way; its text comes from CoTaskMemAlloc and the callee (the module)
// owns it and frees it with CoTaskMemFree, so no C++ runtime is shared.
struct ModuleFolder {
    wchar_t* text;
};
static_assert(sizeof(ModuleFolder) == sizeof(void*));
static_assert(std::is_trivially_copyable_v<ModuleFolder> && std::is_standard_layout_v<ModuleFolder>);

// Caller side: a copy of `path` for StartTest; the text is null when memory ran out.
inline ModuleFolder MakeModuleFolder(const wchar_t* path) noexcept {
    ModuleFolder folder{nullptr};
    if (!path) return folder;
    size_t bytes = (::lstrlenW(path) + 1) * sizeof(wchar_t);
    folder.text = static_cast<wchar_t*>(::CoTaskMemAlloc(bytes));
    if (folder.text) ::CopyMemory(folder.text, path, bytes);
    return folder;
}

// Callee side: releases the folder's text (safe on a null text and twice).
inline void FreeModuleFolder(ModuleFolder& folder) noexcept {
    ::CoTaskMemFree(folder.text);
    folder.text = nullptr;
}

// Callee side: owns the folder StartTest received for the rest of the call.
class ScopedModuleFolder {
public:
    explicit ScopedModuleFolder(ModuleFolder folder) noexcept : m_folder(folder) {}
    ~ScopedModuleFolder() { FreeModuleFolder(m_folder); }
    ScopedModuleFolder(const ScopedModuleFolder&) = delete;
    ScopedModuleFolder& operator=(const ScopedModuleFolder&) = delete;

    // Empty when the caller passed no text.
    std::wstring text() const { return m_folder.text ? std::wstring(m_folder.text) : std::wstring(); }

private:
    ModuleFolder m_folder;
};

// The entry point every test module exports under the name "StartTest" (plain
// C name, caller removes the arguments): the dialog's window, the run-mode
// bits, the count (1) and the program folder. Returns a kModule* code.
extern "C" {
typedef int __cdecl StartTestFunction(HWND hostWindow, unsigned modeFlags, int count, ModuleFolder folder);
}
using StartTestProc = StartTestFunction*;
constexpr char kStartTestExportName[] = "StartTest";

}  // namespace hostlink

// A module defines HOSTLINK_TEST_MODULE before including this header to have
// StartTest declared exported; the compiler then checks its definition.
#ifdef HOSTLINK_TEST_MODULE
extern "C" __declspec(dllexport) int __cdecl StartTest(HWND hostWindow, unsigned modeFlags, int count,
                                                       hostlink::ModuleFolder folder);
#endif
