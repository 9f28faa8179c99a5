#include "machine_info.h"

#include <cstdio>
#include <cwchar>
#include <vector>

#include "framework/library_loading.h"
#include "text_util.h"

namespace launcher {

int ReadProcessorArchitecture() {
    using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto getInfo = kernel ? reinterpret_cast<GetNativeSystemInfoFn>(
                                reinterpret_cast<void*>(::GetProcAddress(kernel, "GetNativeSystemInfo")))
                          : nullptr;
    if (!getInfo) return 0;
    SYSTEM_INFO info{};
    getInfo(&info);
    return info.wProcessorArchitecture;
}

int ReadPcCardSwitch(const std::wstring& programDir) {
    wchar_t value[128] = {};
    DWORD length = ::GetPrivateProfileStringW(L"Settings", L"nController", L"0", value, 128,
                                              (programDir + L"diagpcmcia.ini").c_str());
    return length == 0 ? 0 : LeadingDecimal(value);
}

std::wstring FormatRunDate(const SYSTEMTIME& time) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%d/%02d/%02d  %02d:%02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
    return text;
}

ModelNameSource ReadModelName(const std::wstring& programDir) {
    ModelNameSource source;
    // Kept loaded for the life of the process, like the other service libraries.
    HMODULE library = fw::LoadLibraryAt(programDir + L"sysident.dll");
    if (!library) return source;
    source.loaded = true;
    auto getModelName = reinterpret_cast<GetModelNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(library, "GetModelName")));
    if (getModelName) source.modelName = CallGetModelName(getModelName);
    return source;
}

std::wstring CallGetModelName(GetModelNameFn getModelName) {
    std::vector<wchar_t> buffer(kModelNameChars, L'\0');
    getModelName(buffer.data());
    // A library that filled the whole buffer gives its text cut to the buffer, never what lies behind it.
    return std::wstring(buffer.data(), ::wcsnlen(buffer.data(), kModelNameChars - 1));
}

std::wstring ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD chars = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &chars) ? std::wstring(name, chars) : std::wstring();
}

std::wstring WindowsVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    std::wstring text;
    wchar_t product[128] = {};
    DWORD bytes = sizeof product;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"ProductName",
                       RRF_RT_REG_SZ, nullptr, product, &bytes) == ERROR_SUCCESS)
        text = product;
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    auto getVersion = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                                  reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                            : nullptr;
    OSVERSIONINFOW version{sizeof version};
    if (getVersion && getVersion(&version) == 0) {
        wchar_t figures[64];
        std::swprintf(figures, 64, L"%lu.%lu.%lu", version.dwMajorVersion, version.dwMinorVersion,
                      version.dwBuildNumber);
        text += (text.empty() ? L"" : L" ") + std::wstring(figures);
    }
    return text;
}

}  // namespace launcher
