#pragma once
// The dialog's files and runner as the host dispatcher sees them.
#include "current_log.h"
#include "host_interfaces.h"
#include "log_folder.h"
#include "result_writer.h"

namespace launcher {

// The run's log and history; the history's result texts come from the language library.
class LogService : public ICurrentLog {
public:
    explicit LogService(LogFolder& folder) : m_log(folder) {}
    CurrentLog& log() { return m_log; }

    void WriteLog(std::wstring_view text) override { m_log.WriteLog(text); }
    void WriteLogWhenOpen(std::wstring_view text) override { m_log.WriteLogWhenOpen(text); }
    void Restart() override { m_log.ClearCurrentLog(1); }
    bool IsReady() const override { return m_log.GetLogReady() == 1; }
    void SaveCurrentLog() override { m_log.SaveCurrentLog(); }
    void SetSusResLog() override { m_log.SetSusResLog(); }
    void SetSusResLog(const char* ansiFolder) override;
    void CloseAndWriteHistory(bool userStopped, int runResult) override;

private:
    CurrentLog m_log;
};

class ResultService : public IResultFile {
public:
    explicit ResultService(IVerdictSink& verdicts) : m_writer(verdicts) {}
    ResultXmlWriter& writer() { return m_writer; }
    void WriteXml(std::wstring_view name, int resultIndex) override { m_writer.WriteXml(name, resultIndex); }
    void WriteXmlSub(int number, int resultIndex) override { m_writer.WriteXmlSub(number, resultIndex); }
    void BeginTest(std::wstring_view name) override { m_writer.BeginTest(name); }
    void SetCycle(int cycle) override { m_writer.SetCycle(cycle); }
    void CloseResultFile() override { m_writer.CloseResultFile(); }

private:
    ResultXmlWriter m_writer;
};

}  // namespace launcher
