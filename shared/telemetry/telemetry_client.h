#pragma once
// Reports usage events to the statistics agent of another product, when it is
// installed. A missing agent makes every call a quiet no-op.
#include <windows.h>
#include <array>
#include <string>

#include "statsagent_api.h"

namespace telemetry {

constexpr HRESULT kAgentNotAvailable = static_cast<HRESULT>(0x80040000);
constexpr HRESULT kAgentFailed = static_cast<HRESULT>(0x80044000);
constexpr wchar_t kApplicationName[] = L"Orlix Hardware Diagnostics";
// Under the platform's Program Files folder (for a 32-bit program on 64-bit
// Windows the x86 one, as %PROGRAMFILES% there).
constexpr wchar_t kAgentFolder[] = L"Quenby\\Orlix Improvement\\";
constexpr wchar_t kAgentLibrary[] = L"statsagent.dll";

// A critical section owned by one object; the lock is held for one scope.
class CVICriticalSection {
public:
    CVICriticalSection() { ::InitializeCriticalSection(&m_section); }
    ~CVICriticalSection() { ::DeleteCriticalSection(&m_section); }
    CVICriticalSection(const CVICriticalSection&) = delete;
    CVICriticalSection& operator=(const CVICriticalSection&) = delete;

    class Lock {
    public:
        explicit Lock(CVICriticalSection& section) : m_section(section) { ::EnterCriticalSection(&m_section.m_section); }
        ~Lock() { ::LeaveCriticalSection(&m_section.m_section); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CVICriticalSection& m_section;
    };

private:
    CRITICAL_SECTION m_section;
};

class TelemetryClient {
public:
    // `agentPath` empty: the agent's installed location.
    explicit TelemetryClient(std::wstring agentPath = {});
    ~TelemetryClient();
    TelemetryClient(const TelemetryClient&) = delete;
    TelemetryClient& operator=(const TelemetryClient&) = delete;

    HRESULT Open();
    // The launcher sends three texts per event, the optical checker two.
    template <size_t N>
    HRESULT SubmitEvent(const wchar_t* const (&texts)[N]) {
        return SubmitEvent(texts, static_cast<DWORD>(N));
    }
    HRESULT SubmitEvent(const wchar_t* const* texts, DWORD count);
    HRESULT Close();
    int users() const { return m_users; }

private:
    HRESULT Load();
    void Unload();
    std::wstring AgentPath() const;

    std::wstring m_agentPath;
    HMODULE m_library = nullptr;
    bool m_loaded = false;
    int m_users = 0;
    std::array<FARPROC, kEntryCount> m_entries{};
    CVICriticalSection m_operationLock;
    CVICriticalSection m_openCloseLock;
};

// The process-wide client at the agent's installed location.
TelemetryClient& Telemetry();

inline HRESULT TelemetryOpen() { return Telemetry().Open(); }
inline HRESULT TelemetrySubmitEvent(const wchar_t* const (&texts)[3]) { return Telemetry().SubmitEvent(texts); }
inline HRESULT TelemetryClose() { return Telemetry().Close(); }

}  // namespace telemetry
