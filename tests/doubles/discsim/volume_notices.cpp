#include "volume_notices.h"

#include <windows.h>
#include <dbt.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "scenario.h"

namespace discsim {

namespace {

// Drive letter of each simulated drive, with whether it holds a medium.
std::map<wchar_t, bool> Volumes() {
    std::map<wchar_t, bool> volumes;
    for (const auto& drive : ParseScenario(ScenarioText()).drives)
        if (drive.Letter() >= L'A' && drive.Letter() <= L'Z') volumes[drive.Letter()] = drive.Number("current") != 0;
    return volumes;
}

struct TNotice {
    WPARAM event;
    DEV_BROADCAST_VOLUME* volume;
};

BOOL CALLBACK SendToOwnWindow(HWND window, LPARAM parameter) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId()) {
        const auto* notice = reinterpret_cast<const TNotice*>(parameter);
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(window, WM_DEVICECHANGE, notice->event, reinterpret_cast<LPARAM>(notice->volume),
                              SMTO_NORMAL, 10000, &answer);
    }
    return TRUE;
}

void Announce(WPARAM event, wchar_t letter, WORD flags) {
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (letter - L'A');
    volume.dbcv_flags = flags;
    TNotice notice{event, &volume};
    ::EnumWindows(SendToOwnWindow, reinterpret_cast<LPARAM>(&notice));
}

// Announces every change between what was known and what the scenario holds now.
void Watch(HANDLE change, std::map<wchar_t, bool> known) {
    // Change notices of the folder can come late or not at all under Wine: look again every 200 ms too.
    for (;;) {
        const DWORD woken = ::WaitForSingleObject(change, 200);
        if (woken != WAIT_OBJECT_0 && woken != WAIT_TIMEOUT) break;
        const std::map<wchar_t, bool> now = Volumes();
        for (const auto& [letter, medium] : known) {
            const auto found = now.find(letter);
            if (found == now.end())
                Announce(DBT_DEVICEREMOVECOMPLETE, letter, 0);
            else if (!found->second && medium)
                Announce(DBT_DEVICEREMOVECOMPLETE, letter, DBTF_MEDIA);
        }
        for (const auto& [letter, medium] : now) {
            const auto found = known.find(letter);
            if (found == known.end())
                Announce(DBT_DEVICEARRIVAL, letter, 0);
            else if (medium && !found->second)
                Announce(DBT_DEVICEARRIVAL, letter, DBTF_MEDIA);
        }
        known = now;
        if (woken == WAIT_OBJECT_0 && !::FindNextChangeNotification(change)) break;
    }
    ::FindCloseChangeNotification(change);
}

}  // namespace

void StartVolumeNotices() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::wstring folder = ScenarioPath();
        if (folder.empty()) return;
        const auto slash = folder.find_last_of(L"\\/");
        folder = slash == std::wstring::npos ? L"." : folder.substr(0, slash);
        // Watch first, then take the starting picture: no change after this call is missed.
        HANDLE change = ::FindFirstChangeNotificationW(
            folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
        if (change == INVALID_HANDLE_VALUE) return;
        // Lives as long as the process; the pinned library never unloads.
        std::thread(Watch, change, Volumes()).detach();
    });
}

}  // namespace discsim
