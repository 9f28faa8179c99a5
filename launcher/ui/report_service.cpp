#include "report_service.h"

#include "machine_info.h"
#include "report_html.h"

namespace launcher {

void ReportService::BeginRun(const std::wstring& folder, const SYSTEMTIME& started, std::wstring resultFile) {
    m_paths = ReportPathsIn(folder, started);
    m_resultFile = std::move(resultFile);
}

void ReportService::WriteReport(RunReport report) noexcept {
    try {
        report.modelName = m_modelName;
        report.computerName = ComputerName();
        report.windowsVersion = WindowsVersion();
        report.launcherVersion = L"" SUITE_VERSION;
        report.commandLine = ::GetCommandLineW();
        report.resultFile = m_resultFile;
        report.logFile = m_log.LogPath();
        if (WriteReportFiles(m_paths, BuildReportHtml(report, LoadReportTexts(m_languageCode))) && m_written)
            m_written(m_paths.report);
    } catch (...) {
        // The run's verdicts are recorded already; a page that cannot be made changes nothing.
    }
}

}  // namespace launcher
