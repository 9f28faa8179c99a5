#pragma once
// Where the run's report page goes: QDXlog\reports\qdx_report_YYYYMMDD_HHMMSS.html
// (the newest 99 are kept) and a copy as QDXlog\qdx_report_latest.html.
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

constexpr wchar_t kReportsFolderName[] = L"reports\\";
constexpr wchar_t kLatestReportName[] = L"qdx_report_latest.html";
constexpr size_t kReportsKept = 99;

// "qdx_report_YYYYMMDD_HHMMSS.html" of a local time.
std::wstring ReportFileName(const SYSTEMTIME& time);
// Whether `name` is such a name: only those are ever removed.
bool IsReportFileName(std::wstring_view name);

struct ReportPaths {
    std::wstring report;  // empty: no folder for reports
    std::wstring latest;
};
// In `folder` (with its trailing backslash), for a run that started at `started`.
ReportPaths ReportPathsIn(const std::wstring& folder, const SYSTEMTIME& started);

// Writes the page and its copy and removes the oldest pages beyond kReportsKept.
// False when the page could not be written.
bool WriteReportFiles(const ReportPaths& paths, std::string_view html);

}  // namespace launcher
