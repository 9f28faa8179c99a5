#pragma once
// What a run's report page shows, as plain data: the dialog fills in the
// computer and the files, the run recorder the tests, and report_html turns it
// into the page.
#include <windows.h>
#include <string>
#include <vector>

#include "hostlink/protocol.h"
#include "unattended.h"
#include "verdict_events.h"

namespace launcher {

enum class TRunVerdict { Pass, Fail, Stopped, Incomplete };

// A failure outweighs a stop; a run that did not end normally is incomplete.
TRunVerdict RunVerdictFor(const RunOutcome& outcome, bool userStopped, bool endedNormally);

// Where one sub-test found faulty pixels in one picture (screen or surface).
struct FaultPicture {
    int subTest = 0;
    int width = 0;
    int height = 0;
    std::vector<hostlink::FaultPoint> points;  // distinct positions, in order of arrival
    size_t reported = 0;                       // points received, repeated positions included
};

struct ReportTest {
    std::wstring name;
    int resultIndex = 3;   // 1 "Pass", 2 "Stopped", 3 "Fail"
    int cycle = 0;         // a burn-in cycle from 1; 0 outside one
    std::wstring started;  // "YYYY/MM/DD hh:mm:ss", as the result file writes times
    long long seconds = 0;
    std::vector<SubResult> subResults;
    std::vector<std::wstring> logLines;  // the last ones of this run's log lines of the test
    size_t logLinesLeftOut = 0;          // earlier lines that only the log holds
    std::vector<FaultPicture> faults;
};

// Burn-in runs: one line per cycle.
struct CycleSummary {
    int cycle = 0;
    int passed = 0;
    int failed = 0;
    int stopped = 0;
};

struct RunReport {
    TRunVerdict verdict = TRunVerdict::Incomplete;
    std::wstring modelName;
    std::wstring computerName;
    std::wstring windowsVersion;
    std::wstring launcherVersion;
    std::wstring commandLine;
    std::wstring started;
    std::wstring ended;
    std::vector<ReportTest> tests;
    std::vector<CycleSummary> cycles;
    std::wstring resultFile;  // empty: not written
    std::wstring logFile;     // empty: no log this run
};

}  // namespace launcher
