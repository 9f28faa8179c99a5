#include "telemetry_client.h"

#include <knownfolders.h>
#include <exception>

#include "framework/library_loading.h"
#include "framework/module_path.h"

namespace telemetry {

namespace {

template <typename Fn>
Fn As(FARPROC entry) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(entry));
}

// Guards against an agent that throws; our code goes on either way.
template <typename Call>
HRESULT Guarded(Call call) {
    try {
        return call();
    } catch (...) {
        return kAgentFailed;
    }
}

}  // namespace

TelemetryClient::TelemetryClient(std::wstring agentPath) : m_agentPath(std::move(agentPath)) {}

TelemetryClient::~TelemetryClient() {
    if (m_library) ::FreeLibrary(m_library);
}

std::wstring TelemetryClient::AgentPath() const {
    if (!m_agentPath.empty()) return m_agentPath;
    std::wstring programFiles = fw::KnownFolder(FOLDERID_ProgramFiles);
    if (programFiles.empty()) return {};
    return programFiles + L"\\" + kAgentFolder + kAgentLibrary;
}

HRESULT TelemetryClient::Open() {
    CVICriticalSection::Lock operation(m_operationLock);
    CVICriticalSection::Lock openClose(m_openCloseLock);
    HRESULT result = m_loaded ? 1 : Load();
    if (m_loaded) ++m_users;
    return result;
}

HRESULT TelemetryClient::Load() {
    if (!m_library) {
        std::wstring path = AgentPath();
        if (!path.empty()) m_library = fw::LoadLibraryAt(path);
        if (!m_library) return kAgentNotAvailable;
    }
    for (int i = 0; i < kEntryCount; ++i) m_entries[i] = ::GetProcAddress(m_library, kEntryNames[i]);
    bool complete = true;
    for (Entry required : kRequiredEntries) complete = complete && m_entries[required] != nullptr;
    if (!complete) {
        m_entries.fill(nullptr);  // an incomplete agent is not called at all
        m_loaded = false;
        return kAgentNotAvailable;
    }
    m_loaded = true;
    auto initialize = As<InitializeFn>(m_entries[kInitialize]);
    return initialize ? Guarded([&] { return initialize(kApplicationName); }) : 0;
}

HRESULT TelemetryClient::SubmitEvent(const wchar_t* const* texts, DWORD count) {
    CVICriticalSection::Lock operation(m_operationLock);
    auto submit = As<SubmitEventFn>(m_entries[kSubmitEvent]);
    if (!submit) return kAgentNotAvailable;
    return Guarded([&] { return submit(kApplicationName, count, texts); });
}

HRESULT TelemetryClient::Close() {
    CVICriticalSection::Lock operation(m_operationLock);
    CVICriticalSection::Lock openClose(m_openCloseLock);
    if (!m_loaded) return kAgentNotAvailable;
    int before = m_users--;
    if (before > 1) return 1;
    HRESULT result = kAgentNotAvailable;
    if (auto finalize = As<FinalizeFn>(m_entries[kFinalize]))
        result = Guarded([&] { return finalize(kApplicationName, 0); });
    else if (auto wait = As<WaitForTerminationFn>(m_entries[kWaitForTermination]))
        result = Guarded([&] { return wait(0); });
    Unload();
    return result;
}

void TelemetryClient::Unload() {
    m_entries.fill(nullptr);
    if (m_library) ::FreeLibrary(m_library);
    m_library = nullptr;
    m_loaded = false;
    m_users = 0;
}

TelemetryClient& Telemetry() {
    static TelemetryClient client;
    return client;
}

}  // namespace telemetry
