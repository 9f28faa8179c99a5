#pragma once
// What an end-to-end test of the optical checker needs around the real
// program: a program folder of its own and a scenario file of simulated drives
// that the test rewrites while the checker runs.
#include <windows.h>
#include <optional>
#include <string>

#include "control_ids.h"
#include "process.h"
#include "simulated_drives.h"
#include "temp_folder.h"

namespace e2e {

constexpr wchar_t kDiscTitle[] = L"Orlix Optical Media Check";
constexpr DWORD kDiscTimeoutMs = 30000;

class DiscProbeSession {
public:
    DiscProbeSession();

    const std::wstring& programDir() const { return m_programDir; }
    void RemoveProgramFile(const std::wstring& relativePath) const;

    // Replaces the simulated drives at once (the simulation reads the file on every call).
    void SetScenario(const std::string& text);

    // Starts discprobe.exe; with `simulatedDrives` false the recorder service is
    // missing, as in Wine.
    testsupport::Process Start(bool simulatedDrives = true) const;

private:
    testsupport::TempFolder m_temp;
    std::wstring m_programDir;
    discsim::CSimulatedDrives m_drives;
};

// The checker's dialog and what a test reads from it. List views are read
// through memory in the checker's process, as their messages carry pointers.
class DiscProbeWindow {
public:
    // Waits for the dialog of process `pid`, titled `title`; check ok() afterwards.
    explicit DiscProbeWindow(DWORD pid, const std::wstring& title = kDiscTitle);
    bool ok() const { return m_dialog != nullptr; }
    HWND dialog() const { return m_dialog; }
    HWND item(int id) const { return ::GetDlgItem(m_dialog, id); }

    int RowCount(int listId) const;
    std::wstring Cell(int listId, int row, int column) const;
    bool IsRowSelected(int listId, int row) const;
    bool NextEnabled() const { return ::IsWindowEnabled(item(IDC_NEXT)) != FALSE; }
    std::wstring Text(int id) const;

    // Polls until cell (row, column) of a list reads `text`; false on timeout.
    bool WaitCell(int listId, int row, int column, const std::wstring& text, DWORD timeoutMs = kDiscTimeoutMs) const;
    bool WaitNextEnabled(bool enabled, DWORD timeoutMs = kDiscTimeoutMs) const;

    // A left click at a point of the drive list (client coordinates).
    void ClickList(POINT at) const;
    // Returns once the dialog's thread has handled everything posted to it before.
    bool Settle() const;
    // Ends the checker through its Cancel button; false when it does not end.
    bool Close(const testsupport::Process& checker) const;

private:
    HWND m_dialog = nullptr;
    DWORD m_pid = 0;
};

}  // namespace e2e
