// How much the optical checker costs while it sits open, and how soon it shows
// a change: the real discprobe.exe with simulated drives.
//   CPU: share of one core the idle checker uses over 10 s, with no drive and
//        with two drives (one DVD-R inserted, one empty); goal below 2 %.
//   Latency: time from a disc inserted in the simulation to the row's new text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <optional>
#include <sstream>
#include <vector>

#include "discprobe_session.h"
#include "ui_automation.h"

using e2e::DiscProbeSession;
using e2e::DiscProbeWindow;

namespace {

constexpr DWORD kMeasureMs = 10000;
const std::string kDvdRInserted =
    "[drive]\nid=DVD1\npaths=E:\\\nproduct=DVDRAM XR80\ncurrent=0x10\ndvd_category=2\n";
const std::string kDvdREmpty =
    "[drive]\nid=DVD1\npaths=E:\\\nproduct=DVDRAM XR80\ncurrent=0\nphysical_hr=0xC0AA0202\nstatus_hr=0xC0AA0202\n";
const std::string kSecondDriveEmpty =
    "[drive]\nid=DVD2\npaths=F:\\\nproduct=CDDVDW XR08\ncurrent=0\nphysical_hr=0xC0AA0202\nstatus_hr=0xC0AA0202\n";

// The platform's process times stay 0 for other processes under Wine, so the
// host's own accounting is read: /proc/<pid>/stat of the Wine process whose
// command line is the checker's path (drive Z: is the host's root).
std::optional<std::wstring> HostStatFile(const std::wstring& program) {
    std::string wanted = testsupport::ToUtf8(program);
    std::transform(wanted.begin(), wanted.end(), wanted.begin(), ::tolower);
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW(L"Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::wstring> found;
    do {
        std::wstring name = entry.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::string commandLine = testsupport::ReadBytes(L"Z:\\proc\\" + name + L"\\cmdline");
        std::transform(commandLine.begin(), commandLine.end(), commandLine.begin(), ::tolower);
        if (commandLine.find(wanted) != std::string::npos) found = L"Z:\\proc\\" + name + L"\\stat";
    } while (!found && ::FindNextFileW(find, &entry));
    ::FindClose(find);
    return found;
}

// User and system time of a host process in clock ticks (fields 14 and 15).
double HostCpuTicks(const std::wstring& statFile) {
    std::string stat = testsupport::ReadBytes(statFile);
    size_t end = stat.rfind(')');
    if (end == std::string::npos) return 0;
    std::istringstream fields(stat.substr(end + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index)
        if (index >= 14) ticks += std::stod(field);
    return ticks;
}

constexpr double kTicksPerSecond = 100.0;  // the host's USER_HZ

double NowMs() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Percent of one core used by the checker's process while its dialog is open and idle.
double IdleCpuPercent(const std::string& scenario, bool simulated) {
    DiscProbeSession session;
    session.SetScenario(scenario);
    testsupport::Process checker = session.Start(simulated);
    DiscProbeWindow window(checker.pid());
    EXPECT_TRUE(window.ok());
    std::optional<std::wstring> stat = HostStatFile(session.programDir() + L"discprobe.exe");
    EXPECT_TRUE(stat.has_value()) << "the checker's host process was not found";
    if (!stat) return -1;
    ::Sleep(1000);  // start-up is not what is measured
    double before = HostCpuTicks(*stat);
    double start = NowMs();
    ::Sleep(kMeasureMs);
    double used = HostCpuTicks(*stat) - before;
    double elapsed = NowMs() - start;
    EXPECT_TRUE(window.Close(checker));
    return 100.0 * (used / kTicksPerSecond) / (elapsed / 1000.0);
}

}  // namespace

TEST(DiscProbeBench, IdleCpuAndInsertLatency) {
    std::printf("idle CPU of discprobe.exe over %lu s (share of one core, goal < 2 %%):\n", kMeasureMs / 1000);
    std::printf("  no drive (no recorder service):  %6.2f %%\n", IdleCpuPercent("", false));
    std::printf("  two simulated drives:            %6.2f %%\n",
                IdleCpuPercent(kDvdRInserted + kSecondDriveEmpty, true));

    DiscProbeSession session;
    session.SetScenario(kDvdREmpty + kSecondDriveEmpty);
    testsupport::Process checker = session.Start();
    DiscProbeWindow window(checker.pid());
    ASSERT_TRUE(window.ok());
    ASSERT_TRUE(window.WaitCell(IDC_DRIVE_LIST, 0, 1, L"No disc inserted"))
        << testsupport::ToUtf8(window.Cell(IDC_DRIVE_LIST, 0, 1)) << " rows " << window.RowCount(IDC_DRIVE_LIST);
    std::vector<double> latencies;
    for (int i = 0; i < 10; ++i) {
        double start = NowMs();
        session.SetScenario(kDvdRInserted + kSecondDriveEmpty);
        while (window.Cell(IDC_DRIVE_LIST, 0, 1) != L"Disc inserted" && NowMs() - start < 10000) ::Sleep(2);
        latencies.push_back(NowMs() - start);
        session.SetScenario(kDvdREmpty + kSecondDriveEmpty);
        ASSERT_TRUE(window.WaitCell(IDC_DRIVE_LIST, 0, 1, L"No disc inserted"));
    }
    EXPECT_TRUE(window.Close(checker));
    std::sort(latencies.begin(), latencies.end());
    double mean = std::accumulate(latencies.begin(), latencies.end(), 0.0) / static_cast<double>(latencies.size());
    std::printf("insert to \"Disc inserted\" in the row, 10 inserts: mean %.0f ms, median %.0f ms, max %.0f ms\n", mean,
                latencies[latencies.size() / 2], latencies.back());
    std::printf("reproduce: tools/bench (runs build/testbin/discprobe_bench.exe on the Wine bench)\n");
}
