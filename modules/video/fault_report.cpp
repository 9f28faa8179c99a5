#include "fault_report.h"

#include "framework/resources.h"
#include "resources/string_ids.h"
#include "video_module.h"

namespace video {

namespace {
constexpr size_t kLoggedPositions = 10;
}

std::wstring FaultLogLine(const std::wstring& label, const CheckFaults& faults) {
    std::wstring line = label + L": " + std::to_wstring(faults.found) + L" -";
    for (size_t i = 0; i < faults.points.size() && i < kLoggedPositions; ++i)
        line += L" (" + std::to_wstring(faults.points[i].x) + L"," + std::to_wstring(faults.points[i].y) + L")";
    return line + L"\r\n";
}

void ReportCheckFaults(CVideoModule& module, const CheckFaults& faults, int width, int height, int bpp,
                       DWORD greenMask16) {
    if (faults.found == 0) return;
    std::vector<hostlink::FaultPoint> points = faults.points;
    for (hostlink::FaultPoint& p : points) {
        p.expected = ColourOf(p.expected, bpp, greenMask16);
        p.read = ColourOf(p.read, bpp, greenMask16);
    }
    module.ReportFaultPoints(0, width, height, points.data(), static_cast<int>(points.size()));
    module.WriteLog(FaultLogLine(fw::LoadStr(IDS_VIDEO_FAULTY_PIXELS), faults));
}

}  // namespace video
