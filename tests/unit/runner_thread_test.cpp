// The runner thread as the dialog runs it: the real CCallDllThread and
// RunnerThreadSlot behind the real HostDispatcher on a hidden window, loading
// scripted.dll (through hostlink.dll) from a temporary program folder,
// starting the bridgerun stand-in and reporting to the statsagent stand-in.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "call_dll_thread.h"
#include "framework/resources.h"
#include "framework/unique_resource.h"
#include "runner_bench.h"
#include "runner_telemetry.h"
#include "temp_folder.h"
#include "ui_automation.h"

using namespace launcher;
using namespace runnertest;

namespace {

constexpr int kAmd64 = 9;
constexpr int kHandshakeFailed = 97;  // the bridgerun stand-in's verdict on a wrong exchange
const std::wstring kTestBin = SUITE_TEST_BIN_DIR;

std::wstring Utf16(const std::string& bytes) {
    return std::wstring(bytes.begin(), bytes.end());  // the files checked here are ASCII
}

// A program folder whose name holds a space, as under Program Files, with an
// agent copy of its own so that the statistics it records belong to this test.
class ProgramFolder {
public:
    ProgramFolder() : m_dir(m_temp.MakeFolder(L"Suite Folder")), m_agent(m_temp.path() + L"statsagent.dll") {
        Copy(kTestBin + L"statsagent\\statsagent.dll", m_agent);
    }
    const std::wstring& dir() const { return m_dir; }
    const std::wstring& agent() const { return m_agent; }

    // scripted.dll under `file`, with its script beside it, and the link
    // library it imports, which comes from the module's folder only.
    void AddModule(const std::wstring& file, const std::wstring& script) const {
        Copy(kTestBin + L"scripted.dll", m_dir + file);
        Copy(kTestBin + L"hostlink.dll", m_dir + L"hostlink.dll");
        m_temp.WriteUtf8(L"Suite Folder\\" + Base(file) + L".txt", script);
    }
    void AddFile(const std::wstring& relative, const std::string& bytes) const {
        m_temp.WriteBytes(L"Suite Folder\\" + relative, bytes);
    }
    void AddCopy(const std::wstring& source, const std::wstring& relative) const {
        if (size_t slash = relative.find_last_of(L'\\'); slash != std::wstring::npos)
            m_temp.MakeFolder(L"Suite Folder\\" + relative.substr(0, slash));
        Copy(source, m_dir + relative);
    }
    // What the module `file` wrote about its StartTest call; empty when it was never called.
    std::wstring Received(const std::wstring& file) const {
        return Utf16(testsupport::ReadBytes(m_dir + Base(file) + L".received.txt"));
    }
    std::wstring AgentLog() const { return Utf16(testsupport::ReadBytes(m_temp.path() + L"statsagent.log")); }

private:
    static std::wstring Base(const std::wstring& file) { return file.substr(0, file.find_last_of(L'.')); }
    static void Copy(const std::wstring& from, const std::wstring& to) {
        if (!::CopyFileW(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy a test double");
    }

    testsupport::TempFolder m_temp;
    std::wstring m_dir;
    std::wstring m_agent;
};

RunList Rows(std::initializer_list<RunRow> rows) {
    RunList list;
    for (const RunRow& row : rows) list.rows[list.count++] = row;
    return list;
}

// One run on the bench with the launcher's settings, strings "#<id>" and the folder's own agent.
struct RunFixture {
    ProgramFolder folder;
    RunnerBench bench{folder.dir()};
    telemetry::TelemetryClient agent{folder.agent()};
    RunnerSettings settings;

    RunFixture() {
        settings.programDir = folder.dir();
        settings.modeFlags = mode::kStandalone;
        settings.hostWindow = bench.hwnd();
        settings.loadString = [](unsigned id) { return L"#" + std::to_wstring(id); };
        settings.reportTelemetry = ReportTelemetryTo(agent);
    }
    void Prepare(const RunList& list) {
        bench.makeRun = [this, list] { return std::make_unique<CCallDllThread>(settings, list, nullptr); };
    }
};

}  // namespace

TEST(RunnerThread, ModuleReportsArriveInOrderAndItsVerdictEndsTheRun) {
    RunFixture f;
    f.folder.AddModule(L"scripted.dll",
                       L"init 2\r\nprogress 50\r\ntext hello\r\nlog a log line\r\nsub 0 1\r\nsub 0 3\r\n"
                       L"color tinted 0x0000FF\r\nestimate 7\r\nsetlogdir C:\\logs\r\nsavelog\r\nclearlog\r\n"
                       L"box Go on?\r\nxml Inner 1\r\nhold\r\nfrobnicate 3\r\nreturn 1\r\ntext never\r\n");
    f.Prepare(Rows({{L"scripted.dll", L"Scripted", 0}}));
    f.bench.boxAnswer = IDNO;
    ASSERT_TRUE(f.bench.RunToEnd());

    Lines expected = {
        L"StartRun 0 -1", L"SetTestCount 1 0",
        // the module, through hostlink
        L"Progress 0 25", L"PrintText hello", L"WriteLog a log line", L"WriteXmlSub 0 1", L"WriteXmlSub 0 3",
        L"PrintColorText tinted 255", L"PrintEstimateTestTime 0 7", L"SetSusResLog 1 C:\\logs",
        L"SaveCurrentLog 0 0", L"ClearCurrentLog 0 0", L"EnableStopBut 0 1", L"ShowMyMessageBox Go on?|scripted|4",
        L"EnableStopBut 1 1", L"WriteXml Inner 1", L"HoldWindow 0 0",
        L"PrintText scripted: unknown line: frobnicate 3\r\n",
        // the runner: the verdict, the separator, the failure summary, the end
        L"WriteXml Scripted 3", L"PrintText #102\r\n", L"WriteLog #102\r\n", L"PrintText #103", L"WriteLog #103",
        L"SetModuleResult 0 1", L"ExitTest 0 0"};
    EXPECT_EQ(f.bench.messages, expected);

    EXPECT_EQ(f.folder.Received(L"scripted.dll"),
              L"flags 260\r\ncount 1\r\nfolder " + f.folder.dir() + L"\r\nbox 7\r\n");  // ListRun | Standalone
    Lines results = {L"results.WriteXmlSub 0 1", L"results.WriteXmlSub 0 3", L"results.WriteXml Inner 1",
                     L"results.WriteXml Scripted 3", L"results.CloseResultFile"};
    EXPECT_EQ(RunnerBench::Only(f.bench.effects, L"results."), results);
    EXPECT_EQ(RunnerBench::Only(f.bench.effects, L"log.CloseAndWriteHistory"), Lines{L"log.CloseAndWriteHistory 0 1"});

    // A failed run keeps the launcher open; the object is gone and the library freed.
    EXPECT_TRUE(f.bench.keepOpen);
    EXPECT_FALSE(f.bench.processExit);
    EXPECT_FALSE(f.bench.runner().Exists());
    EXPECT_EQ(::GetModuleHandleW((f.folder.dir() + L"scripted.dll").c_str()), nullptr);

    EXPECT_EQ(f.folder.AgentLog(),
              L"Initialize|Orlix Hardware Diagnostics\r\n"
              L"SubmitEvent|Orlix Hardware Diagnostics|3|Diag|SCRIPTED|Fail\r\n"
              L"Finalize|Orlix Hardware Diagnostics|0\r\n");
}

TEST(RunnerThread, StopFromTheDialogEndsTheRunningTestAndStartsNoOther) {
    RunFixture f;
    f.folder.AddModule(L"a.dll", L"text polling\nabortpoll 20000\ntext after the stop\n");
    f.folder.AddModule(L"b.dll", L"text b runs\n");
    f.Prepare(Rows({{L"a.dll", L"A", 0}, {L"b.dll", L"B", 0}}));
    bool secondStartRefused = false;
    f.bench.intercept = [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == hostlink::msg::kGetAbort && !secondStartRefused) {
            // Only one run at a time; then the page's Stop button.
            secondStartRefused = !f.bench.runner().Start(f.bench.makeRun());
            ::PostMessageW(f.bench.hwnd(), hostlink::msg::kSetAbort, 0, 0);
        }
        return std::nullopt;
    };
    ASSERT_TRUE(f.bench.RunToEnd());

    EXPECT_TRUE(secondStartRefused);
    Lines expected = {L"StartRun 0 -1", L"SetTestCount 2 0", L"PrintText polling", L"SetAbort 0 0",
                      L"WriteXml A 2",  L"WriteLog #139",     L"PrintText #139",    L"SetModuleResult 0 2",
                      L"ExitTest 0 0"};
    EXPECT_EQ(RunnerBench::Without(f.bench.messages, L"GetAbort"), expected);
    EXPECT_EQ(f.folder.Received(L"b.dll"), L"");
    EXPECT_EQ(RunnerBench::Only(f.bench.effects, L"log.CloseAndWriteHistory"), Lines{L"log.CloseAndWriteHistory 1 2"});
    EXPECT_TRUE(f.bench.keepOpen);
    EXPECT_FALSE(f.bench.runner().Exists());
}

TEST(RunnerThread, ModulesThatCannotRunWarnOnTheDialogAndFail) {
    RunFixture f;
    f.folder.AddFile(L"x.dll", "this is not a library\r\n");
    f.folder.AddCopy(kTestBin + L"statsagent\\statsagent.dll", L"plain.dll");  // a library without StartTest
    f.settings.processorArchitecture = kAmd64;                                // and no x64\bridgerun.exe
    f.Prepare(Rows({{L"x.dll", L"X", 0}, {L"plain.dll", L"Plain", 0}, {L"memory.dll", L"Memory", 0}}));
    ASSERT_TRUE(f.bench.RunToEnd());

    // The dialog shows them (or answers them when nobody is there).
    const std::wstring warning = L"|#160|" + std::to_wstring(MB_OK | MB_ICONWARNING);
    Lines seen = {L"window.ShowMessageBox #131" + warning, L"window.ShowMessageBox #131" + warning,
                  L"window.ShowMessageBox No ext module." + warning};
    EXPECT_EQ(RunnerBench::Only(f.bench.effects, L"window.ShowMessageBox"), seen);
    EXPECT_EQ(RunnerBench::Only(f.bench.messages, L"WriteXml"),
              (Lines{L"WriteXml X 3", L"WriteXml Plain 3", L"WriteXml Memory 3"}));
    EXPECT_EQ(RunnerBench::Only(f.bench.messages, L"SetModuleResult"), Lines{L"SetModuleResult 0 1"});
    EXPECT_EQ(::GetModuleHandleW((f.folder.dir() + L"plain.dll").c_str()), nullptr);
    // Nothing was tested: the launcher stays open.
    EXPECT_TRUE(f.bench.keepOpen);
    EXPECT_FALSE(f.bench.processExit);
}

TEST(RunnerThread, MemoryRunsInTheBridgeStandInAfterTheHandshake) {
    RunFixture f;
    f.folder.AddCopy(kTestBin + L"x64\\bridgerun.exe", L"x64\\bridgerun.exe");
    f.folder.AddFile(L"x64\\bridgerun.txt", "5");
    f.settings.processorArchitecture = kAmd64;
    f.bench.modeFlags = 0x120;
    f.Prepare(Rows({{L"memory.dll", L"Memory", 0}}));
    ASSERT_TRUE(f.bench.RunToEnd());

    const std::wstring report =
        L"bridgerun memory.dll folder=" + f.folder.dir() + L" flags=288 repeat=1\r\n";  // the dialog's flags
    Lines expected = {L"StartRun 0 -1",           L"SetTestCount 1 0",     L"X64Hello",
                      L"X64Text " + report,       L"CopyData 1228 0",      L"WriteXml Memory 3",
                      L"PrintText #102\r\n",      L"WriteLog #102\r\n",    L"PrintText #103",
                      L"WriteLog #103",           L"SetModuleResult 0 5",  L"ExitTest 0 0"};
    EXPECT_EQ(f.bench.messages, expected);
    Lines handshake = {L"window.SendCopyData 1225 4104", L"window.SendTo 1226 0 0"};
    EXPECT_EQ(RunnerBench::Only(f.bench.effects, L"window.Send"), handshake);
    EXPECT_EQ(RunnerBench::Only(f.bench.effects, L"page.AppendText bridgerun"), Lines{L"page.AppendText " + report});
    EXPECT_TRUE(f.bench.keepOpen);  // exit code 5 is the run result
}

TEST(RunnerThread, BridgeStandInFailsAHandshakeWithoutTheSetUpRecord) {
    RunFixture f;
    f.folder.AddCopy(kTestBin + L"x64\\bridgerun.exe", L"x64\\bridgerun.exe");
    f.settings.processorArchitecture = kAmd64;
    f.Prepare(Rows({{L"memory.dll", L"Memory", 0}}));
    f.bench.intercept = [](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == hostlink::msg::kX64Hello) return hostlink::kX64Answer;  // but nothing sent back
        return std::nullopt;
    };
    ASSERT_TRUE(f.bench.RunToEnd());
    EXPECT_EQ(RunnerBench::Only(f.bench.messages, L"SetModuleResult"),
              Lines{L"SetModuleResult 0 " + std::to_wstring(kHandshakeFailed)});
}

TEST(RunnerThread, ARunListThatFailsStillEndsTheRun) {
    RunFixture f;
    f.folder.AddModule(L"scripted.dll", L"return 0\n");
    f.settings.loadString = [](unsigned) -> std::wstring { throw std::runtime_error("no strings"); };
    f.Prepare(Rows({{L"scripted.dll", L"Scripted", 0}}));
    ASSERT_TRUE(f.bench.RunToEnd());
    Lines expected = {L"StartRun 0 -1", L"SetTestCount 1 0", L"WriteXml Scripted 1", L"SetModuleResult 0 1",
                      L"ExitTest 0 0"};
    EXPECT_EQ(f.bench.messages, expected);
    EXPECT_TRUE(f.bench.keepOpen);
}

TEST(RunnerThread, MadeFromTheLauncherContext) {
    ProgramFolder folder;
    folder.AddModule(L"scripted.dll", L"text from the context\n");
    RunnerBench bench(folder.dir());
    LauncherContext context;
    context.programDir = folder.dir();
    context.runList = Rows({{L"scripted.dll", L"Scripted", 0}});
    fw::UniqueModule language(::LoadLibraryW(folder.agent().c_str()));  // a library without strings
    context.languageLibrary = language.get();
    bench.makeRun = [&] { return MakeRunThread(bench.hwnd(), context, 0, mode::kRecovery, 1); };

    const HMODULE before = fw::CurrentResourceModule();
    fw::SetCurrentResourceModule(nullptr);
    const bool ended = bench.RunToEnd();
    const HMODULE after = fw::CurrentResourceModule();
    fw::SetCurrentResourceModule(before);

    ASSERT_TRUE(ended);
    EXPECT_EQ(after, language.get());  // the launcher's language library is current again
    EXPECT_EQ(folder.Received(L"scripted.dll"), L"flags 36\r\ncount 1\r\nfolder " + folder.dir() + L"\r\n");
    EXPECT_EQ(RunnerBench::Only(bench.messages, L"WriteXml"), Lines{L"WriteXml Scripted 1"});
    EXPECT_EQ(bench.processExit, kLauncherExitCode);
}
