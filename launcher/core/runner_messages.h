#pragma once
// Messages between the launcher's own runner thread and its dialog. They are
// not part of the modules' protocol: no module sends them.
#include <windows.h>

namespace launcher::runner_msg {

constexpr UINT kStartAtOnce = WM_APP;        // posted by the dialog to itself once its windows are up
constexpr UINT kModuleStarted = WM_APP + 1;  // lParam: the RunRow under way, valid for the call
constexpr UINT kModuleReturned = WM_APP + 2;
constexpr UINT kCycleStarted = WM_APP + 3;  // wParam: a burn-in's cycle, from 1
// Sent by the thread that crashed (crash_handler.h); lParam: the ModuleCrash, valid for the call.
constexpr UINT kModuleCrashed = WM_APP + 8;

}  // namespace launcher::runner_msg
