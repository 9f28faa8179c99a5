// The launcher over a long burn-in: 1,000 cycles of a quick module and a few
// cycles of the real video pass, with what the launcher's process holds after
// every 100th (or every) cycle and the launcher's own time per cycle.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "launcher_session.h"

namespace {

struct Sample {
    long long entryUs = 0, exitUs = 0;
    unsigned long handles = 0, gdi = 0, user = 0;
    unsigned long long privateBytes = 0;
};

// One burn-in with burnprobe.dll as the module "scripted" (after `before`, if given).
std::vector<Sample> BurnIn(int cycles, const std::wstring& before = {}) {
    e2e::LauncherSession session;
    session.AddModule(L"burnprobe.dll", L"");
    const std::wstring arguments = L"-unattended -cycles:" + std::to_wstring(cycles) + L" " + before + L"/scripted";
    EXPECT_EQ(session.Start(arguments).WaitExit(3600000), e2e::kLauncherExitCode);
    std::istringstream text(testsupport::ReadBytes(session.programDir() + L"scripted.probe.txt"));
    std::vector<Sample> samples;
    for (Sample s; text >> s.entryUs >> s.exitUs >> s.handles >> s.gdi >> s.user >> s.privateBytes;) samples.push_back(s);
    EXPECT_EQ(samples.size(), static_cast<size_t>(cycles));
    return samples;
}

void Print(const std::vector<Sample>& samples, size_t every, bool launcherTime) {
    std::printf("%8s %8s %6s %6s %12s %18s\n", "cycle", "handles", "GDI", "USER", "private KB",
                launcherTime ? "launcher ms/cycle" : "cycle s");
    for (size_t k = every; k <= samples.size(); k += every) {
        const Sample& s = samples[k - 1];
        double figure = 0;
        if (k >= 2) {  // between the entries of the last cycles, less the module's own time
            const size_t first = k > every ? k - every : 1;
            long long module = 0;
            for (size_t i = first - 1; i < k - 1; ++i) module += samples[i].exitUs - samples[i].entryUs;
            const double span = static_cast<double>(s.entryUs - samples[first - 1].entryUs);
            figure = launcherTime ? (span - static_cast<double>(module)) / 1000.0 / static_cast<double>(k - first)
                                  : span / 1e6 / static_cast<double>(k - first);
        }
        std::printf("%8zu %8lu %6lu %6lu %12llu %18.2f\n", k, s.handles, s.gdi, s.user, s.privateBytes / 1024, figure);
    }
}

double Growth(double from, double to) { return from > 0 ? (to - from) * 100.0 / from : 0; }

}  // namespace

TEST(BurnInBench, AThousandQuickCyclesAndTheVideoPass) {
    const std::vector<Sample> quick = BurnIn(1000);
    ASSERT_EQ(quick.size(), 1000u);
    std::printf("1,000 cycles of a quick module (burnprobe.dll), figures at its call in that cycle\n");
    Print(quick, 100, true);
    const Sample &at100 = quick[99], &at1000 = quick[999];
    std::printf("growth 100 -> 1000: handles %.2f %%, GDI %.2f %%, USER %.2f %%, private bytes %.2f %%\n",
                Growth(at100.handles, at1000.handles), Growth(at100.gdi, at1000.gdi), Growth(at100.user, at1000.user),
                Growth(static_cast<double>(at100.privateBytes), static_cast<double>(at1000.privateBytes)));

    const char* videoCycles = std::getenv("BURNIN_VIDEO_CYCLES");
    const int cycles = videoCycles ? std::atoi(videoCycles) : 3;
    if (cycles <= 0) return;
    std::printf("%d cycles of the video pass, figures after each pass\n", cycles);
    Print(BurnIn(cycles, L"/video "), 1, false);
    std::printf("GDI and USER read 0 where the platform does not count them (Wine);\n"
                "reproduce: tools/bench burnin (BURNIN_VIDEO_CYCLES=n for another number of video cycles)\n");
}
