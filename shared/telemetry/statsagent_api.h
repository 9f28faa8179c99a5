#pragma once
// The entry points of the usage-statistics agent, statsagent.dll, as the
// suite calls them. The agent belongs to another product; only these calls are fixed.
#include <windows.h>

namespace telemetry {

using InitializeFn = HRESULT(WINAPI*)(const wchar_t* application);
using SubmitEventFn = HRESULT(WINAPI*)(const wchar_t* application, DWORD count, const wchar_t* const* texts);
using FinalizeFn = HRESULT(WINAPI*)(const wchar_t* application, DWORD flags);
using WaitForTerminationFn = HRESULT(WINAPI*)(DWORD timeout);

enum Entry {
    kSubmitStat,
    kSubmitStatAsync,
    kSubmitEvent,
    kSubmitEventAsync,
    kSubmitEventMAI,
    kSubmitEventMAIAsync,
    kSubmitSetting,
    kSubmitSettingAsync,
    kSubmitSettingMAI,
    kSubmitSettingMAIAsync,
    kSubmitSettingDiscrete,
    kSubmitSettingDiscreteAsync,
    kSubmitSettingDiscreteMAI,
    kSubmitSettingDiscreteMAIAsync,
    kWaitForTermination,
    kTriggerUpload,
    kFlushQueue,
    kInitialize,
    kFinalize,
    kUploadNow,  // resolved with the rest, never called
    kEntryCount
};

inline constexpr const char* kEntryNames[kEntryCount] = {
    "SubmitStat",         "SubmitStatAsync",         "SubmitEvent",
    "SubmitEventAsync",   "SubmitEventMAI",          "SubmitEventMAIAsync",
    "SubmitSetting",      "SubmitSettingAsync",      "SubmitSettingMAI",
    "SubmitSettingMAIAsync", "SubmitSettingDiscrete", "SubmitSettingDiscreteAsync",
    "SubmitSettingDiscreteMAI", "SubmitSettingDiscreteMAIAsync", "WaitForTermination",
    "TriggerUpload",      "FlushQueue",              "Initialize",
    "Finalize",           "UploadNow",
};

// Without all of these the agent is not used.
inline constexpr Entry kRequiredEntries[] = {
    kSubmitStat, kSubmitStatAsync, kSubmitEvent, kSubmitEventAsync, kSubmitSetting,
    kSubmitSettingAsync, kSubmitSettingDiscrete, kSubmitSettingDiscreteAsync, kWaitForTermination,
};

}  // namespace telemetry
