#include "process.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "temp_folder.h"

namespace testsupport {

namespace {
constexpr DWORD kKillWaitMs = 5000;

std::vector<std::wstring> CurrentEnvironment() {
    std::vector<std::wstring> entries;
    wchar_t* strings = ::GetEnvironmentStringsW();
    if (!strings) return entries;
    for (const wchar_t* entry = strings; *entry; entry += entries.back().size() + 1) entries.emplace_back(entry);
    ::FreeEnvironmentStringsW(strings);
    return entries;
}

fw::UniqueFile OpenInheritableOutput(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return fw::UniqueFile(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A job that ends all its processes when its last handle closes.
fw::UniqueHandle MakeKillOnCloseJob() {
    fw::UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

[[noreturn]] void ThrowLaunchError(const std::wstring& what, const std::wstring& executable, DWORD error) {
    throw std::runtime_error(ToUtf8(what + L" " + executable + L" (error " + std::to_wstring(error) + L")"));
}
}  // namespace

Process Process::Launch(const std::wstring& executable, const std::wstring& arguments, const LaunchOptions& options) {
    std::wstring commandLine = QuoteArgument(executable);
    if (!arguments.empty()) commandLine += L" " + arguments;

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    fw::UniqueFile output;
    if (!options.outputFile.empty()) {
        output = OpenInheritableOutput(options.outputFile);
        if (!output) ThrowLaunchError(L"cannot create the output file for", executable, ::GetLastError());
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = output.get();
        startup.hStdError = output.get();
    }
    std::wstring environment;
    if (!options.environment.empty()) environment = MakeEnvironmentBlock(CurrentEnvironment(), options.environment);

    PROCESS_INFORMATION info{};
    // Suspended until it is in the job, so nothing it starts can escape.
    DWORD flags = CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED;
    if (!::CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, output ? TRUE : FALSE, flags,
                          environment.empty() ? nullptr : environment.data(),
                          options.workingFolder.empty() ? nullptr : options.workingFolder.c_str(), &startup, &info))
        ThrowLaunchError(L"cannot start", executable, ::GetLastError());

    Process process;
    process.m_process.reset(info.hProcess);
    process.m_pid = info.dwProcessId;
    fw::UniqueHandle thread(info.hThread);
    process.m_job = MakeKillOnCloseJob();
    if (process.m_job && !::AssignProcessToJobObject(process.m_job.get(), info.hProcess)) process.m_job.reset();
    ::ResumeThread(thread.get());
    return process;
}

Process::~Process() { Kill(); }

Process::Process(Process&& other) noexcept
    : m_process(std::move(other.m_process)), m_job(std::move(other.m_job)), m_pid(std::exchange(other.m_pid, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        m_process = std::move(other.m_process);
        m_job = std::move(other.m_job);
        m_pid = std::exchange(other.m_pid, 0);
    }
    return *this;
}

std::optional<DWORD> Process::WaitExit(DWORD timeoutMs) const {
    if (!m_process || ::WaitForSingleObject(m_process.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!::GetExitCodeProcess(m_process.get(), &code)) return std::nullopt;
    return code;
}

void Process::Kill() noexcept {
    if (m_job) ::TerminateJobObject(m_job.get(), kKilledExitCode);
    if (m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process.get(), kKilledExitCode);
        ::WaitForSingleObject(m_process.get(), kKillWaitMs);
    }
}

}  // namespace testsupport
