#pragma once
// One check's faulty pixels, for the launcher's report and for the log.
#include <windows.h>

#include <string>

#include "pixel_check.h"

class CVideoModule;

namespace video {

// "<label>: <count> - (x,y) ..." with the first ten positions, and a line end.
std::wstring FaultLogLine(const std::wstring& label, const CheckFaults& faults);

// Sends the positions with their colours (values of a bpp-deep picture of
// width x height) as the next sub-test's fault points and logs the line; a
// check without faults sends and logs nothing.
void ReportCheckFaults(CVideoModule& module, const CheckFaults& faults, int width, int height, int bpp,
                       DWORD greenMask16);

}  // namespace video
