// How fast the launcher takes a module's text and progress: a module thread
// sends N PrintText lines and N Progress messages through the real launcher.
// Prints messages per second and the time per line for growing N, which stays
// flat while appending to the output pane is linear.
#include <gtest/gtest.h>

#include <cstdio>

#include "launcher_session.h"

using e2e::LauncherSession;

namespace {

// Milliseconds from start to exit of one passing launch with `lines` text lines and progress steps.
double LaunchMs(int lines) {
    LauncherSession session;
    std::wstring script = L"init 0\n";
    for (int i = 1; i <= lines; ++i)
        script += L"text line " + std::to_wstring(i) + L" of the benchmark output\\n\nprogress " +
                  std::to_wstring(i) + L"\n";
    script += L"return 0\n";
    session.AddScriptedModule(script);
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    testsupport::Process launcher = session.Start(L"/scripted");
    std::optional<DWORD> code = launcher.WaitExit(600000);
    ::QueryPerformanceCounter(&end);
    EXPECT_EQ(code, e2e::kLauncherExitCode);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

TEST(LauncherBench, TextAndProgressThroughput) {
    const double baseline = LaunchMs(0);
    std::printf("launch without messages: %.0f ms\n", baseline);
    std::printf("%8s %12s %14s %16s\n", "lines", "total ms", "messages/s", "us per line");
    for (int lines : {500, 1000, 2000, 4000, 8000}) {
        double ms = LaunchMs(lines) - baseline;
        if (ms <= 0) ms = 1;
        std::printf("%8d %12.0f %14.0f %16.1f\n", lines, ms, 2.0 * lines * 1000.0 / ms, ms * 1000.0 / lines);
    }
    std::printf("reproduce: tools/bench\n");
}
