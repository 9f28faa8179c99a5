#pragma once
// Building the drive list and judging each drive's medium.
#include <cstdint>
#include <span>
#include <string_view>

#include "drive_record.h"
#include "pass_through.h"
#include "scsi_media_probe.h"

namespace discprobe {

// The client name the checker gives the recorder service.
inline constexpr wchar_t kClientName[] = L"Optical State Monitor";

// Rebuilds drives from the master's recorders: drives that cannot be set up are
// left out; each listed one gets its state, medium type, name and capacity.
// Always true.
bool EnumerateDrives(CDiscMasterRef& master, CDriveList& drives);
bool EnumerateDrives(CDiscMasterRef& master, CDriveList& drives, CPassThroughTransport& transport);

// State of the drive's medium from the recorder service's answers.
TMediaState EvaluateMediaState(const TDriveRecord& record);

// Name and capacity of the drive's medium, its type found by MMC commands; where
// this process may not send them, the recorder service's physical type stands in.
TMediaInfo DescribeMedium(CScsiMediaProbe& probe, const TDriveRecord& record);

// Row of the listed drive whose paths text equals root as a whole (case-sensitive),
// or -1: a drive listed with two mount points matches no single root.
int FindDriveByPaths(const CDriveList& drives, std::wstring_view root);

// Whether a profile-list feature page marks one of its profile descriptors current.
bool HasCurrentProfile(std::span<const std::uint8_t> page);

}  // namespace discprobe
