#include "module_runner.h"

#include "string_ids.h"
#include "text_util.h"

namespace launcher {

namespace {

constexpr int kAmd64 = 9;
constexpr wchar_t kBridgeProgram[] = L"x64\\bridgerun.exe";
constexpr wchar_t kNoBridgeMessage[] = L"No ext module.";

bool StartsWith(const std::wstring& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

std::wstring TelemetryCategory(const std::wstring& moduleFile) {
    size_t dot = moduleFile.find(L'.');
    if (dot == std::wstring::npos) return {};
    std::wstring base = ToUpper(moduleFile.substr(0, dot));
    static const std::pair<const wchar_t*, const wchar_t*> kNames[] = {
        {L"CDROM", L"CD"},        {L"DVDROM", L"DVD"}, {L"BDROM", L"BD"},
        {L"HDD", L"Harddisk"},    {L"MEMORYSTICK", L"Memory Stick"},
    };
    for (auto [name, category] : kNames)
        if (EqualsIgnoringCase(base, name)) return category;
    return base;
}

std::wstring TelemetryVerdict(int moduleResult) {
    if (moduleResult == kModulePassed) return L"Pass";
    if (moduleResult == kModuleFailed) return L"Fail";
    return L"Stopped";
}

void ReportTestTelemetry(const TelemetryReport& report, const std::wstring& moduleFile, int moduleResult) {
    std::wstring category = TelemetryCategory(moduleFile);
    if (report && !EqualsIgnoringCase(category, L"Optical")) report(category, TelemetryVerdict(moduleResult));
}

std::wstring ModuleRunner::Text(unsigned id) const {
    return m_settings.loadString ? m_settings.loadString(id) : std::wstring();
}

// A test that could not run is no pass: the notebook was never tested.
int ModuleRunner::CallModule(const std::wstring& moduleFile, unsigned flags, int count) {
    int result = kModuleFailed;
    if (m_settings.processorArchitecture == kAmd64 && moduleFile == L"memory.dll") {
        // The memory test needs the whole address space: a 64-bit host runs it.
        std::wstring bridge = m_settings.programDir + kBridgeProgram;
        if (!m_starter.FileExists(bridge)) m_port.ShowWarning(kNoBridgeMessage, Text(ids::kBoxCaption));
        // Quoted: a program folder with blanks (Program Files) would otherwise
        // split the path, and the system would try "C:\Program.exe" first.
        std::wstring commandLine = L"\"" + bridge + L"\" " + moduleFile + L" " +
                                   std::to_wstring(reinterpret_cast<UINT_PTR>(m_settings.hostWindow)) + L" ";
        result = m_starter.RunBridge(commandLine).value_or(kModuleFailed);
    } else if (std::optional<int> code = m_starter.CallStartTest(m_settings.programDir + moduleFile, flags, count)) {
        result = *code;
    } else {
        m_port.ShowWarning(Text(ids::kModuleLoadFailed), Text(ids::kBoxCaption));
    }
    m_starter.RestoreResources();
    return result;
}

void ModuleRunner::PrintSeparator() {
    std::wstring separator = Text(ids::kSeparator) + L"\r\n";
    m_port.PrintText(separator);
    m_port.WriteLog(separator);
}

int ModuleRunner::RunList(const launcher::RunList& list) {
    m_unrecordedRow.reset();
    try {
        return RunRows(list);
    } catch (...) {
        // The test under way when the run broke gets a verdict all the same.
        if (m_unrecordedRow) m_port.WriteXml(*m_unrecordedRow, kResultFail);
        m_unrecordedRow.reset();
        throw;
    }
}

void ModuleRunner::Record(const std::wstring& testName, int resultIndex) {
    m_unrecordedRow.reset();
    m_port.WriteXml(testName, resultIndex);
}

int ModuleRunner::RunRows(const launcher::RunList& list) {
    const unsigned saved = m_settings.modeFlags | mode::kListRun;
    int result = kModulePassed;
    bool stopped = false;
    bool sdRun = false;

    const BurnInPlan& plan = m_settings.burnIn;
    const ULONGLONG begun = m_settings.clock();
    auto elapsed = [&] { return m_settings.clock() - begun; };
    bool ended = false;  // a burn-in rule ended the run

    m_port.SetTestCount(list.count);
    for (int pass = 0; pass < m_settings.repeatCount && !StopRequested() && !stopped && !ended; ++pass) {
        if (plan.Active()) {
            if (!MayStartCycle(plan, pass + 1, elapsed())) break;
            m_port.CycleStarted(pass + 1);
        }
        for (int i = 0; i < list.count && !StopRequested(); ++i) {
            if (!TimeLeft(plan, elapsed())) {
                ended = true;
                break;
            }
            const RunRow& row = list.rows[i];
            unsigned flags = saved;
            if (row.quick == 0 && StartsWith(row.moduleFile, L"hdd")) flags = saved ^ (mode::kListRun | mode::kFullTest);

            m_unrecordedRow = row.displayName;
            m_port.ModuleStarted(row);
            int code = CallModule(row.moduleFile, flags, 1);
            m_port.ModuleReturned();
            ReportTestTelemetry(m_settings.reportTelemetry, row.moduleFile, code);

            if (ToUpper(row.moduleFile) == L"SD.DLL") sdRun = true;
            if (code == kModuleStoppedAlternative) code = kModuleStopped;

            if (StopRequested()) {
                Record(row.displayName, kResultStopped);
                stopped = true;
                break;
            }
            if (code == kModuleStopped) {
                Record(row.displayName, kResultStopped);
                result = kModuleStopped;
            } else if (code != kModulePassed) {
                Record(row.displayName, kResultFail);
                result = code;
            } else {
                Record(row.displayName, kResultPass);
            }
            if (code != kModuleStopped && !sdRun) PrintSeparator();
            if (EndsRunAfter(plan, code)) {
                ended = true;
                break;
            }
        }
        if (m_endAfterCycle) break;
    }
    // A run the user stopped is not a passed run, whatever the tests before said.
    if (stopped && result == kModulePassed) result = kModuleStopped;
    CloseSummary(stopped, result, sdRun);
    return result;
}

void ModuleRunner::CloseSummary(bool stopped, int result, bool sdRun) {
    auto logThenScreen = [this](unsigned id) {
        std::wstring text = Text(id);
        m_port.WriteLog(text);
        m_port.PrintText(text);
    };
    auto screenThenLog = [this](unsigned id) {
        std::wstring text = Text(id);
        m_port.PrintText(text);
        m_port.WriteLog(text);
    };
    if (stopped || result == kModuleStopped) {
        if (!sdRun) logThenScreen(ids::kSummaryStopped);
    } else if (result == kModulePassed) {
        logThenScreen(ids::kSummaryPassed);
    } else if (m_settings.modeFlags & mode::kRecovery) {
        screenThenLog(ids::kSummaryRecoveryFailed);
    } else if (!sdRun) {
        screenThenLog(ids::kSummaryFailed);
    }
}

}  // namespace launcher
