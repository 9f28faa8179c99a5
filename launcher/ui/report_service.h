#pragma once
// The dialog's side of the run's report page: what it knows of the computer
// and the files, the page written at the end of the run, and where it went.
#include <windows.h>
#include <functional>
#include <string>

#include "current_log.h"
#include "host_interfaces.h"
#include "report_file.h"

namespace launcher {

class ReportService : public IRunReportSink {
public:
    // `written` receives the page's path once it is on the disk.
    ReportService(const CurrentLog& log, std::wstring languageCode, std::function<void(const std::wstring&)> written)
        : m_log(log), m_languageCode(std::move(languageCode)), m_written(std::move(written)) {}

    void SetModelName(std::wstring modelName) { m_modelName = std::move(modelName); }
    // The start of a run: its page goes to `folder`'s reports (empty: none is
    // written); `resultFile` is empty when the result file is not open.
    void BeginRun(const std::wstring& folder, const SYSTEMTIME& started, std::wstring resultFile);
    // Where this run's page will be; empty when it cannot be written.
    const std::wstring& ReportPath() const { return m_paths.report; }

    void WriteReport(RunReport report) noexcept override;

private:
    const CurrentLog& m_log;
    std::wstring m_languageCode;
    std::function<void(const std::wstring&)> m_written;
    std::wstring m_modelName;
    std::wstring m_resultFile;
    ReportPaths m_paths;
};

}  // namespace launcher
