#pragma once
// For tests: the scenario file of the simulated optical drives (scenario.h),
// named in this process's environment so that programs it starts see the
// drives, and replaced in one step so that a running program never reads half a file.
#include <windows.h>

#include <string>

#include "temp_folder.h"

namespace discsim {

class CSimulatedDrives {
public:
    CSimulatedDrives() : m_path(m_folder.path() + L"scenario.txt") { Write(L""); }
    ~CSimulatedDrives() { ::SetEnvironmentVariableW(L"DISCSIM_SCENARIO", nullptr); }
    CSimulatedDrives(const CSimulatedDrives&) = delete;
    CSimulatedDrives& operator=(const CSimulatedDrives&) = delete;

    // Replaces the scenario; false when the file could not be replaced.
    bool Write(const std::wstring& scenario) {
        const std::wstring next = m_folder.WriteUtf8(L"scenario.new", scenario);
        ::SetEnvironmentVariableW(L"DISCSIM_SCENARIO", m_path.c_str());
        // A program reading the old file holds it for a moment; the rename then waits its turn.
        for (int attempt = 0; attempt < 500; ++attempt) {
            if (::MoveFileExW(next.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
            const DWORD error = ::GetLastError();
            if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
            ::Sleep(10);
        }
        return false;
    }
    bool Write(const std::string& ascii) { return Write(std::wstring(ascii.begin(), ascii.end())); }

private:
    testsupport::TempFolder m_folder;
    std::wstring m_path;
};

}  // namespace discsim
