#pragma once
// Simulated drives answer SCSI pass-through requests inside the process that
// loaded the simulated classes: the main module's imports of CreateFileW,
// DeviceIoControl, CloseHandle and GetDriveTypeW are redirected, and only
// devices "\\.\X:" and roots "X:\" of the scenario's drive letters are
// answered here; every other call goes on to the system.
namespace discsim {

// Redirects the main module's imports; once per process.
void InstallPassThroughRedirection();

}  // namespace discsim
