// Stand-in for the statistics agent of another product, for tests only: it
// records every call it receives, one line each, in statsagent.log beside itself.
#include <windows.h>
#include <cstdio>
#include <string>

#include "telemetry/statsagent_api.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

void Record(const std::wstring& line) {
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    std::wstring log(path, length);
    log = log.substr(0, log.find_last_of(L'\\') + 1) + L"statsagent.log";
    HANDLE file = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::wstring text = line + L"\r\n";
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::wstring Text(const wchar_t* text) { return text ? text : L"(null)"; }

}  // namespace

extern "C" {

HRESULT WINAPI Initialize(const wchar_t* application) {
    Record(L"Initialize|" + Text(application));
    return S_OK;
}

HRESULT WINAPI SubmitEvent(const wchar_t* application, DWORD count, const wchar_t* const* texts) {
    std::wstring line = L"SubmitEvent|" + Text(application) + L"|" + std::to_wstring(count);
    for (DWORD i = 0; texts && i < count && i < 16; ++i) line += L"|" + Text(texts[i]);
    Record(line);
    return S_OK;
}

HRESULT WINAPI Finalize(const wchar_t* application, DWORD flags) {
    Record(L"Finalize|" + Text(application) + L"|" + std::to_wstring(flags));
    return S_OK;
}

HRESULT WINAPI WaitForTermination(DWORD timeout) {
    Record(L"WaitForTermination|" + std::to_wstring(timeout));
    return S_OK;
}

// Entries the suite resolves but never calls.
#define UNUSED_ENTRY(name) \
    HRESULT WINAPI name() { Record(L"" #name); return S_OK; }
UNUSED_ENTRY(SubmitStat)
UNUSED_ENTRY(SubmitStatAsync)
UNUSED_ENTRY(SubmitEventAsync)
UNUSED_ENTRY(SubmitSetting)
UNUSED_ENTRY(SubmitSettingAsync)
UNUSED_ENTRY(SubmitSettingDiscrete)
UNUSED_ENTRY(SubmitSettingDiscreteAsync)

}  // extern "C"
