#pragma once
// While the checker runs, the shell must not start Autoplay for each inserted
// disc: the user's switch is set for the time the dialog is open and put back.
#include <windows.h>
#include <string>

namespace discprobe {

constexpr wchar_t kAutoplayKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers";
constexpr wchar_t kAutoplayValue[] = L"DisableAutoplay";

class CAutoplaySwitch {
public:
    // The key under HKEY_CURRENT_USER; tests use one of their own.
    explicit CAutoplaySwitch(std::wstring keyPath = kAutoplayKey);

    // Keeps the current value (0 when there is none or it is no number) and
    // writes 1. A missing key is left missing.
    void Suppress();
    // Writes the kept value back, when the key exists.
    void Restore() const;

    DWORD keptValue() const { return m_kept; }

private:
    std::wstring m_keyPath;
    DWORD m_kept = 0;
};

}  // namespace discprobe
