#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

#include "module_runner.h"
#include "string_ids.h"

using namespace launcher;

namespace {

// Records every report as one line, in order.
class RecordingPort : public RunnerPort {
public:
    std::vector<std::wstring> calls;
    void SetTestCount(int count) override { calls.push_back(L"count " + std::to_wstring(count)); }
    void PrintText(const std::wstring& text) override { calls.push_back(L"print " + text); }
    void WriteLog(const std::wstring& text) override { calls.push_back(L"log " + text); }
    void WriteXml(const std::wstring& name, int index) override {
        calls.push_back(L"xml " + name + L" " + std::to_wstring(index));
    }
    void SetModuleResult(int result) override { calls.push_back(L"result " + std::to_wstring(result)); }
    void ExitTest() override { calls.push_back(L"exit"); }
    void ShowWarning(const std::wstring& text, const std::wstring& caption) override {
        calls.push_back(L"box " + text + L"/" + caption);
    }
    void ModuleStarted(const RunRow&) override {}
    void ModuleReturned() override {}
    void CycleStarted(int cycle) override { calls.push_back(L"cycle " + std::to_wstring(cycle)); }
};

// Modules by path: a result code, or absent (not loadable).
class FakeStarter : public ModuleStarter {
public:
    std::map<std::wstring, int> results;
    std::vector<std::pair<std::wstring, unsigned>> started;
    std::vector<std::wstring> bridges;
    std::optional<int> bridgeResult = 1;
    bool bridgeExists = true;
    int restores = 0;
    std::function<void()> duringModule;

    std::optional<int> CallStartTest(const std::wstring& path, unsigned flags, int count) override {
        EXPECT_EQ(count, 1);
        started.emplace_back(path, flags);
        if (duringModule) duringModule();
        auto it = results.find(path);
        if (it == results.end()) return std::nullopt;
        return it->second;
    }
    std::optional<int> RunBridge(const std::wstring& commandLine) override {
        bridges.push_back(commandLine);
        return bridgeResult;
    }
    bool FileExists(const std::wstring&) override { return bridgeExists; }
    void RestoreResources() override { ++restores; }
};

const std::wstring kDir = L"C:\\Suite\\";

RunList Rows(std::initializer_list<RunRow> rows) {
    RunList list;
    for (const RunRow& row : rows) list.rows[list.count++] = row;
    return list;
}

struct Fixture {
    RecordingPort port;
    FakeStarter starter;
    std::vector<std::pair<std::wstring, std::wstring>> telemetry;
    RunnerSettings settings;

    Fixture() {
        settings.programDir = kDir;
        settings.loadString = [](unsigned id) { return L"#" + std::to_wstring(id); };
        settings.reportTelemetry = [this](const std::wstring& c, const std::wstring& v) { telemetry.emplace_back(c, v); };
    }
    int Run(const RunList& list, std::function<void(ModuleRunner&)> prepare = {}) {
        ModuleRunner runner(settings, port, starter);
        if (prepare) prepare(runner);
        return runner.RunList(list);
    }
    void Returns(const wchar_t* file, int code) { starter.results[kDir + file] = code; }
};

const std::wstring kSep = L"#102\r\n";

std::vector<std::wstring> XmlCalls(const std::vector<std::wstring>& calls) {
    std::vector<std::wstring> xml;
    for (const std::wstring& call : calls)
        if (call.rfind(L"xml ", 0) == 0) xml.push_back(call);
    return xml;
}

}  // namespace

TEST(ModuleRunner, PassingRunReportsInOrder) {
    Fixture f;
    f.Returns(L"video.dll", 0);
    EXPECT_EQ(f.Run(Rows({{L"video.dll", L"Video", 0}})), 0);
    std::vector<std::wstring> expected = {L"count 1", L"xml Video 1", L"print " + kSep, L"log " + kSep,
                                          L"log #104", L"print #104"};
    EXPECT_EQ(f.port.calls, expected);
    EXPECT_EQ(f.starter.started[0].second, mode::kListRun);
    EXPECT_EQ(f.starter.restores, 1);
}

TEST(ModuleRunner, FourCountsAsStopped) {
    Fixture f;
    f.Returns(L"a.dll", 4);
    EXPECT_EQ(f.Run(Rows({{L"a.dll", L"A", 0}})), 2);
    std::vector<std::wstring> expected = {L"count 1", L"xml A 2", L"log #139", L"print #139"};
    EXPECT_EQ(f.port.calls, expected);  // no separator after a stopped test
}

TEST(ModuleRunner, FailureThenPassKeepsFailureAndLaterStopReplacesIt) {
    Fixture f;
    f.Returns(L"a.dll", 7);
    f.Returns(L"b.dll", 0);
    f.Returns(L"c.dll", 2);
    EXPECT_EQ(f.Run(Rows({{L"a.dll", L"A", 0}, {L"b.dll", L"B", 0}})), 7);
    EXPECT_EQ(f.port.calls.back(), L"log #103");  // failure summary: screen, then log
    EXPECT_EQ(f.port.calls[f.port.calls.size() - 2], L"print #103");

    Fixture g;
    g.Returns(L"a.dll", 1);
    g.Returns(L"c.dll", 2);
    EXPECT_EQ(g.Run(Rows({{L"a.dll", L"A", 0}, {L"c.dll", L"C", 0}})), 2);
}

TEST(ModuleRunner, RecoveryFailureSummary) {
    Fixture f;
    f.settings.modeFlags = mode::kRecovery;
    f.Returns(L"a.dll", 1);
    f.Run(Rows({{L"a.dll", L"A", 0}}));
    EXPECT_EQ(f.port.calls[f.port.calls.size() - 2], L"print #143");
}

TEST(ModuleRunner, DiskModuleFlagsDependOnQuick) {
    Fixture f;
    f.settings.modeFlags = mode::kStandalone;
    f.Returns(L"hdd.dll", 0);
    f.Run(Rows({{L"hdd.dll", L"HDD", 0}, {L"hdd.dll", L"HDD", 1}, {L"HDD.dll", L"HDD", 0}}));
    ASSERT_EQ(f.starter.started.size(), 3u);
    EXPECT_EQ(f.starter.started[0].second, mode::kStandalone | mode::kFullTest);  // ListRun cleared, FullTest toggled
    EXPECT_EQ(f.starter.started[1].second, mode::kStandalone | mode::kListRun);
    EXPECT_EQ(f.starter.started[2].second, mode::kStandalone | mode::kListRun);  // case-sensitive prefix
}

TEST(ModuleRunner, ATestThatCannotRunWarnsAndFails) {
    Fixture f;
    f.Returns(L"b.dll", 0);
    EXPECT_EQ(f.Run(Rows({{L"tool.exe", L"Tool", 0}, {L"b.dll", L"B", 0}})), 1);
    std::vector<std::wstring> expected = {L"count 2", L"box #131/#160", L"xml Tool 3", L"print " + kSep,
                                          L"log " + kSep, L"xml B 1", L"print " + kSep, L"log " + kSep,
                                          L"print #103", L"log #103"};
    EXPECT_EQ(f.port.calls, expected);
    EXPECT_EQ(f.telemetry[0], std::make_pair(std::wstring(L"TOOL"), std::wstring(L"Fail")));
}

TEST(ModuleRunner, AnExceptionRecordsTheRowUnderWayAsFailedAndPassesOn) {
    Fixture f;
    f.Returns(L"a.dll", 0);
    f.Returns(L"b.dll", 0);
    f.starter.duringModule = [&] {
        if (f.starter.started.size() == 2) throw std::runtime_error("module broke the runner");
    };
    EXPECT_THROW(f.Run(Rows({{L"a.dll", L"A", 0}, {L"b.dll", L"B", 0}})), std::runtime_error);
    EXPECT_EQ(XmlCalls(f.port.calls), (std::vector<std::wstring>{L"xml A 1", L"xml B 3"}));

    Fixture g;  // a failure after the verdict was written adds no second one
    g.Returns(L"a.dll", 0);
    g.settings.loadString = [](unsigned) -> std::wstring { throw std::runtime_error("no strings"); };
    EXPECT_THROW(g.Run(Rows({{L"a.dll", L"A", 0}})), std::runtime_error);
    EXPECT_EQ(XmlCalls(g.port.calls), std::vector<std::wstring>{L"xml A 1"});
}

TEST(ModuleRunner, SdRunSuppressesSeparatorsAndMostSummaries) {
    Fixture f;
    f.Returns(L"SD.dll", 1);
    EXPECT_EQ(f.Run(Rows({{L"SD.dll", L"SD", 0}})), 1);
    std::vector<std::wstring> expected = {L"count 1", L"xml SD 3"};
    EXPECT_EQ(f.port.calls, expected);

    Fixture g;
    g.Returns(L"sd.dll", 0);
    g.Run(Rows({{L"sd.dll", L"SD", 0}}));
    EXPECT_EQ(g.port.calls.back(), L"print #104");  // the pass summary still comes
}

TEST(ModuleRunner, StopDuringATestRecordsItAndRunsNoMore) {
    Fixture f;
    f.Returns(L"a.dll", 0);
    f.Returns(L"b.dll", 0);
    ModuleRunner* running = nullptr;
    f.starter.duringModule = [&] { running->RequestStop(); };
    int result = f.Run(Rows({{L"a.dll", L"A", 0}, {L"b.dll", L"B", 0}}), [&](ModuleRunner& r) { running = &r; });
    EXPECT_EQ(f.starter.started.size(), 1u);
    std::vector<std::wstring> expected = {L"count 2", L"xml A 2", L"log #139", L"print #139"};
    EXPECT_EQ(f.port.calls, expected);
    EXPECT_EQ(result, 2);  // a stopped run never reports success
}

TEST(ModuleRunner, StopBeforeTheRunStartsNothing) {
    Fixture f;
    f.Returns(L"a.dll", 0);
    f.Run(Rows({{L"a.dll", L"A", 0}}), [](ModuleRunner& r) { r.RequestStop(); });
    EXPECT_TRUE(f.starter.started.empty());
}

TEST(ModuleRunner, MemoryRunsThroughTheBridgeOnlyOn64BitSystems) {
    Fixture f;
    f.settings.processorArchitecture = 9;
    f.settings.hostWindow = reinterpret_cast<HWND>(static_cast<UINT_PTR>(4242));
    f.starter.bridgeResult = 1;
    EXPECT_EQ(f.Run(Rows({{L"memory.dll", L"Memory", 0}})), 1);
    ASSERT_EQ(f.starter.bridges.size(), 1u);
    EXPECT_EQ(f.starter.bridges[0], L"\"C:\\Suite\\x64\\bridgerun.exe\" memory.dll 4242 ");
    EXPECT_TRUE(f.starter.started.empty());

    Fixture g;  // missing host: the box, then the start is still tried
    g.settings.processorArchitecture = 9;
    g.starter.bridgeExists = false;
    g.starter.bridgeResult = std::nullopt;  // and cannot start: the test failed
    EXPECT_EQ(g.Run(Rows({{L"memory.dll", L"Memory", 0}})), 1);
    EXPECT_EQ(g.port.calls[1], L"box No ext module./#160");
    EXPECT_EQ(g.port.calls[2], L"xml Memory 3");
    EXPECT_EQ(g.starter.bridges.size(), 1u);

    Fixture h;  // a 32-bit system loads it like any module; Memory.dll never goes to the bridge
    h.Returns(L"memory.dll", 0);
    h.Run(Rows({{L"memory.dll", L"Memory", 0}}));
    EXPECT_TRUE(h.starter.bridges.empty());
    Fixture k;
    k.settings.processorArchitecture = 9;
    k.Returns(L"Memory.dll", 0);
    k.Run(Rows({{L"Memory.dll", L"Memory", 0}}));
    EXPECT_TRUE(k.starter.bridges.empty());
}

TEST(ModuleRunner, TelemetryCategoriesAndVerdicts) {
    EXPECT_EQ(TelemetryCategory(L"CDROM.dll"), L"CD");
    EXPECT_EQ(TelemetryCategory(L"dvdrom.exe"), L"DVD");
    EXPECT_EQ(TelemetryCategory(L"BDROM.dll"), L"BD");
    EXPECT_EQ(TelemetryCategory(L"hdd.dll"), L"Harddisk");
    EXPECT_EQ(TelemetryCategory(L"MemoryStick.dll"), L"Memory Stick");
    EXPECT_EQ(TelemetryCategory(L"video.dll"), L"VIDEO");
    EXPECT_EQ(TelemetryCategory(L"keyboard"), L"");
    EXPECT_EQ(TelemetryVerdict(0), L"Pass");
    EXPECT_EQ(TelemetryVerdict(1), L"Fail");
    EXPECT_EQ(TelemetryVerdict(2), L"Stopped");
    EXPECT_EQ(TelemetryVerdict(7), L"Stopped");

    Fixture f;
    f.Returns(L"optical.dll", 0);
    f.Returns(L"cdrom.dll", 1);
    f.Run(Rows({{L"optical.dll", L"Optical", 0}, {L"cdrom.dll", L"CDROM", 0}}));
    ASSERT_EQ(f.telemetry.size(), 1u);  // Optical is never reported
    EXPECT_EQ(f.telemetry[0], std::make_pair(std::wstring(L"CD"), std::wstring(L"Fail")));
}

TEST(ModuleRunner, BurnInRulesEndTheRunAtTheRightTest) {
    struct Case {
        BurnInPlan plan;
        int failingCall;  // of B; 0: none
        ULONGLONG msPerTest;
        std::vector<std::wstring> xml;
    };
    const std::wstring a = L"xml A 1", b = L"xml B 1", bFailed = L"xml B 3";
    const Case table[] = {
        {{3, {}, false}, 0, 0, {a, b, a, b, a, b}},   {{2, {}, false}, 1, 0, {a, bFailed, a, b}},
        {{5, {}, true}, 2, 0, {a, b, a, bFailed}},    {{{}, 1, false}, 0, 25000, {a, b, a}},
        {{2, 10, false}, 0, 25000, {a, b, a, b}},     {{9, 1, false}, 0, 25000, {a, b, a}},
        {{{}, {}, true}, 1, 0, {a, bFailed}},
    };
    for (const Case& c : table) {
        Fixture f;
        ULONGLONG now = 0;
        int callsOfB = 0;
        f.settings.burnIn = c.plan;
        f.settings.repeatCount = c.plan.RepeatCount();
        f.settings.clock = [&] { return now; };
        f.Returns(L"a.dll", 0);
        f.starter.duringModule = [&] {
            now += c.msPerTest;
            if (f.starter.started.back().first == kDir + L"b.dll") ++callsOfB;
            f.Returns(L"b.dll", callsOfB == c.failingCall ? 1 : 0);
        };
        f.Run(Rows({{L"a.dll", L"A", 0}, {L"b.dll", L"B", 0}}));
        EXPECT_EQ(XmlCalls(f.port.calls), c.xml) << c.plan.Switches();
    }
}

