#pragma once
// Simulated drives that appear in or leave the scenario are announced to the
// process's own top-level windows as the system announces volumes: a
// WM_DEVICECHANGE volume arrival or removal with the drive's unit mask and no
// flags; a medium inserted or taken out gives the same with DBTF_MEDIA.
namespace discsim {

// Starts watching the scenario file; once per process.
void StartVolumeNotices();

}  // namespace discsim
