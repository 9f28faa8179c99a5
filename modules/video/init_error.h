#pragma once
// Set-up error codes of the sub-tests and the log message each one means.
#include <windows.h>

#include <optional>

class CVideoModule;

namespace video {

// The string id logged for a set-up error code, or nothing for codes without one.
std::optional<UINT> InitErrorMessage(int code);

}  // namespace video

// A blank log line, then the code's message (log only, never on screen).
void ReportInitError(CVideoModule& module, int code);
