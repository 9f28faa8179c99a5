#pragma once
// Simulated drives answer SCSI pass-through requests inside the process that
// loaded the simulated classes: the main module's imports of CreateFileW,
// DeviceIoControl, CloseHandle and GetDriveTypeW are redirected, and only
// devices "\\.\X:" and roots "X:\" of the scenario's drive letters are
// answered here; every other call goes on to the system.
#include <windows.h>

#include <cstdint>
#include <span>

#include "scenario.h"

namespace discsim {

// Answers one IOCTL_SCSI_PASS_THROUGH request buffer from a drive's scenario:
// GET CONFIGURATION (profile list, Blu-ray write feature) and READ DISC
// STRUCTURE (DVD physical format, Blu-ray disc information). False for a
// request it cannot take.
bool AnswerPassThrough(const TSimDrive& drive, std::span<std::uint8_t> request, DWORD inputLength);

// Redirects the main module's imports; once per process.
void InstallPassThroughRedirection();

}  // namespace discsim
