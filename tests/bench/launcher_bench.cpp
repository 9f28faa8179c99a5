// How fast the launcher takes a module's text and progress, against the
// platform's floor measured in the same launcher: textflood.dll, on the runner
// thread, sends N PrintText lines, each followed by a Progress message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <vector>

#include "launcher_session.h"

// The figures textflood.dll wrote for one passing launch with `lines` lines.
static std::map<std::string, double> Launch(int lines) {
    e2e::LauncherSession session;
    session.AddModule(L"textflood.dll", std::to_wstring(lines));
    EXPECT_EQ(session.Start(L"/scripted").WaitExit(600000), e2e::kLauncherExitCode);
    std::istringstream text(testsupport::ReadBytes(session.programDir() + L"scripted.result.txt"));
    std::map<std::string, double> figures;
    std::string key;
    for (double value = 0; text >> key >> value;) figures[key] = value;
    EXPECT_EQ(figures["complete"], 1) << "the pane did not show every line";
    return figures;
}

TEST(LauncherBench, TextAndProgressAgainstThePlatformFloor) {
    constexpr int kRepeats = 3;  // the machine is shared: the median of a few launches
    std::printf("%8s %14s %16s %8s %12s %14s\n", "lines", "floor msg/s", "launcher msg/s", "ratio",
                "updates/s", "text s");
    for (int lines : {2000, 8000}) {
        std::vector<double> ratios;
        for (int i = 0; i < kRepeats; ++i) {
            std::map<std::string, double> f = Launch(lines);
            ratios.push_back(f["text"] / f["floor"]);
            std::printf("%8d %14.0f %16.0f %8.2f %12.1f %14.2f\n", lines, f["floor"], f["text"], ratios.back(),
                        f["updates"], f["shown"]);
        }
        std::sort(ratios.begin(), ratios.end());
        std::printf("%8d median ratio %.2f\n", lines, ratios[kRepeats / 2]);
    }
    std::printf("floor: empty cross-thread SendMessageW calls to the launcher's dialog, in turns with the text;\n"
                "launcher: PrintText and Progress messages until the output pane shows the last line;\n"
                "updates: changes of the pane's text per second while the lines arrive; text s: their time\n"
                "reproduce: tools/bench\n");
}
