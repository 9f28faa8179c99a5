#include "pass_through_sim.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>
#include <span>
#include <vector>

#include "scenario.h"

namespace discsim {

namespace {

constexpr BYTE kCheckCondition = 0x02;

void PutBigEndian32(std::vector<BYTE>& bytes, std::size_t offset, std::uint32_t value) {
    bytes[offset] = static_cast<BYTE>(value >> 24);
    bytes[offset + 1] = static_cast<BYTE>(value >> 16);
    bytes[offset + 2] = static_cast<BYTE>(value >> 8);
    bytes[offset + 3] = static_cast<BYTE>(value);
}

// GET CONFIGURATION answer: feature header with the current profile, and the
// profile list when asked from feature 0.
std::vector<BYTE> ConfigurationAnswer(const TSimDrive& drive, std::uint16_t startingFeature) {
    const long current = drive.Number("current");
    std::vector<BYTE> answer(8, 0);
    answer[6] = static_cast<BYTE>(current >> 8);
    answer[7] = static_cast<BYTE>(current);
    if (startingFeature == 0) {
        const auto feature = drive.ProfileListFeature(current != 0);
        answer.insert(answer.end(), feature.begin(), feature.end());
    }
    PutBigEndian32(answer, 0, static_cast<std::uint32_t>(answer.size() - 4));
    return answer;
}

std::vector<BYTE> DiscStructureAnswer(const TSimDrive& drive, BYTE mediaKind) {
    std::vector<BYTE> answer(mediaKind == 1 ? 4100 : 2052, 0);
    answer[0] = static_cast<BYTE>((answer.size() - 2) >> 8);
    answer[1] = static_cast<BYTE>(answer.size() - 2);
    if (mediaKind == 0) {
        answer[4] = static_cast<BYTE>(drive.Number("dvd_category") << 4 | 0x01);
        answer[6] = static_cast<BYTE>((drive.Number("dvd_layers") & 1) << 5);
    } else {
        answer[16] = static_cast<BYTE>(drive.Number("bd_key"));
    }
    return answer;
}

// Answers one IOCTL_SCSI_PASS_THROUGH request buffer from a drive's scenario;
// false for a request it cannot take.
bool AnswerPassThrough(const TSimDrive& drive, std::span<std::uint8_t> request, DWORD inputLength) {
    SCSI_PASS_THROUGH header;
    if (inputLength < sizeof header || request.size() < sizeof header) return false;
    std::memcpy(&header, request.data(), sizeof header);
    if (header.DataIn != SCSI_IOCTL_DATA_IN || header.DataBufferOffset > request.size()) return false;

    std::vector<BYTE> answer;
    const long current = drive.Number("current");
    if (header.Cdb[0] == 0x46) {
        answer = ConfigurationAnswer(drive, static_cast<std::uint16_t>(header.Cdb[2] << 8 | header.Cdb[3]));
    } else if (header.Cdb[0] == 0xAD && current != 0) {
        answer = DiscStructureAnswer(drive, header.Cdb[1] & 0x0F);
    } else {
        header.ScsiStatus = kCheckCondition;
        header.DataTransferLength = 0;
        std::memcpy(request.data(), &header, sizeof header);
        return true;
    }
    const std::size_t room = std::min<std::size_t>(header.DataTransferLength, request.size() - header.DataBufferOffset);
    const std::size_t count = std::min(room, answer.size());
    std::copy_n(answer.begin(), count, request.begin() + static_cast<std::ptrdiff_t>(header.DataBufferOffset));
    header.ScsiStatus = 0;
    header.DataTransferLength = static_cast<ULONG>(count);
    std::memcpy(request.data(), &header, sizeof header);
    return true;
}

using CreateFileWFn = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
using DeviceIoControlFn = BOOL(WINAPI*)(HANDLE, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
using CloseHandleFn = BOOL(WINAPI*)(HANDLE);
using GetDriveTypeWFn = UINT(WINAPI*)(LPCWSTR);

CreateFileWFn g_createFile = ::CreateFileW;
DeviceIoControlFn g_deviceIoControl = ::DeviceIoControl;
CloseHandleFn g_closeHandle = ::CloseHandle;
GetDriveTypeWFn g_getDriveType = ::GetDriveTypeW;

// Open simulated devices: an event handle of our own per open, with its drive letter.
std::mutex g_guard;
std::map<HANDLE, wchar_t> g_devices;

HANDLE WINAPI SimCreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                             DWORD disposition, DWORD flags, HANDLE templateFile) {
    if (path && std::wcsncmp(path, L"\\\\.\\", 4) == 0) {
        const TScenario scenario = ParseScenario(ScenarioText());
        const wchar_t letter = std::wcslen(path) == 6 && path[5] == L':' ? static_cast<wchar_t>(std::towupper(path[4])) : 0;
        for (const auto& drive : scenario.drives) {
            if (!letter || drive.Letter() != letter) continue;
            if (drive.Text("pass_through") == "denied") {
                ::SetLastError(ERROR_ACCESS_DENIED);
                return INVALID_HANDLE_VALUE;
            }
            HANDLE device = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
            std::lock_guard lock(g_guard);
            g_devices[device] = letter;
            return device;
        }
    }
    return g_createFile(path, access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI SimDeviceIoControl(HANDLE device, DWORD code, LPVOID input, DWORD inputLength, LPVOID output,
                               DWORD outputLength, LPDWORD returned, LPOVERLAPPED overlapped) {
    wchar_t letter = 0;
    {
        std::lock_guard lock(g_guard);
        const auto found = g_devices.find(device);
        if (found != g_devices.end()) letter = found->second;
    }
    if (!letter) return g_deviceIoControl(device, code, input, inputLength, output, outputLength, returned, overlapped);

    const TScenario scenario = ParseScenario(ScenarioText());
    const auto drive = std::find_if(scenario.drives.begin(), scenario.drives.end(),
                                    [&](const TSimDrive& d) { return d.Letter() == letter; });
    if (code != IOCTL_SCSI_PASS_THROUGH || drive == scenario.drives.end() || input != output || !output) {
        ::SetLastError(drive == scenario.drives.end() ? ERROR_DEV_NOT_EXIST : ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    std::span<std::uint8_t> request(static_cast<std::uint8_t*>(output), outputLength);
    if (!AnswerPassThrough(*drive, request, inputLength)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (returned) *returned = outputLength;
    return TRUE;
}

BOOL WINAPI SimCloseHandle(HANDLE handle) {
    {
        std::lock_guard lock(g_guard);
        g_devices.erase(handle);
    }
    return g_closeHandle(handle);
}

// The roots of simulated drives are optical drives.
UINT WINAPI SimGetDriveTypeW(LPCWSTR root) {
    if (root && root[0] && root[1] == L':' && (!root[2] || (root[2] == L'\\' && !root[3]))) {
        const wchar_t letter = static_cast<wchar_t>(std::towupper(root[0]));
        for (const auto& drive : ParseScenario(ScenarioText()).drives)
            if (drive.Letter() == letter) return DRIVE_CDROM;
    }
    return g_getDriveType(root);
}

// Points the main module's import entries for the three functions at ours.
void Redirect() {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return;
    struct Target {
        const char* name;
        void* replacement;
        void** original;
    };
    const Target targets[] = {
        {"CreateFileW", reinterpret_cast<void*>(&SimCreateFileW), reinterpret_cast<void**>(&g_createFile)},
        {"DeviceIoControl", reinterpret_cast<void*>(&SimDeviceIoControl), reinterpret_cast<void**>(&g_deviceIoControl)},
        {"CloseHandle", reinterpret_cast<void*>(&SimCloseHandle), reinterpret_cast<void**>(&g_closeHandle)},
        {"GetDriveTypeW", reinterpret_cast<void*>(&SimGetDriveTypeW), reinterpret_cast<void**>(&g_getDriveType)},
    };
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); import->Name;
         ++import) {
        if (!import->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const auto& target : targets) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), target.name) != 0) continue;
                DWORD oldProtection = 0;
                if (!::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &oldProtection))
                    continue;
                *target.original = reinterpret_cast<void*>(slots->u1.Function);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(target.replacement);
                ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, oldProtection, &oldProtection);
            }
        }
    }
}

}  // namespace

void InstallPassThroughRedirection() {
    static std::once_flag once;
    std::call_once(once, Redirect);
}

}  // namespace discsim
