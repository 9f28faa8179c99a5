#pragma once
// While the checker runs, the shell must not start Autoplay for each inserted
// disc: the user's switch is set for the time the dialog is open and put back.
#include <windows.h>
#include <string>

namespace discprobe {

constexpr wchar_t kAutoplayKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers";
constexpr wchar_t kAutoplayValue[] = L"DisableAutoplay";
// Where the user's value waits until it has been put back.
constexpr wchar_t kKeptAutoplayKey[] = L"Software\\Quenby Corporation\\Orlix Hardware Diagnostics\\DiscProbe";
constexpr wchar_t kKeptAutoplayValue[] = L"UserDisableAutoplay";

class CAutoplaySwitch {
public:
    // The keys under HKEY_CURRENT_USER; tests use their own.
    explicit CAutoplaySwitch(std::wstring keyPath = kAutoplayKey, std::wstring keptKeyPath = kKeptAutoplayKey);

    // Keeps the current value (0 when there is none or it is no number) and
    // writes 1. A missing key is left missing. The kept value is also stored
    // until Restore has put it back: a checker that ended without restoring (a
    // crash, then a restart by the platform) has left its own 1 in the switch,
    // and the next one keeps the stored value instead.
    void Suppress();
    // Writes the kept value back, when the key exists, and forgets the stored one.
    void Restore() const;

    DWORD keptValue() const { return m_kept; }

private:
    std::wstring m_keyPath;
    std::wstring m_keptKeyPath;
    DWORD m_kept = 0;
};

}  // namespace discprobe
