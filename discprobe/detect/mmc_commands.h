#pragma once
// MMC commands as bytes: building pass-through requests and reading the
// drive's answers. Pure functions over byte spans; no device is touched here.
#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <array>
#include <cstdint>
#include <span>

#include "media_types.h"

namespace discprobe::mmc {

// Layout of a request buffer: the SCSI_PASS_THROUGH header, then the sense
// area at the next 8-byte boundary, then the data area.
struct TRequestLayout {
    std::uint32_t senseOffset;
    std::uint32_t senseSize;
    std::uint32_t dataOffset;
    std::uint32_t dataSize;
    constexpr std::uint32_t TotalSize() const { return dataOffset + dataSize; }
};
inline constexpr std::uint32_t kHeaderSize = sizeof(SCSI_PASS_THROUGH);
constexpr TRequestLayout MakeLayout(std::uint32_t senseSize, std::uint32_t dataSize) {
    const std::uint32_t sense = (kHeaderSize + 7) / 8 * 8;
    return {sense, senseSize, sense + senseSize, dataSize};
}
#ifndef _WIN64
static_assert(kHeaderSize == 44, "the 32-bit pass-through header is 44 bytes");
static_assert(MakeLayout(32, 49152).senseOffset == 48 && MakeLayout(32, 49152).dataOffset == 80);
#endif

inline constexpr std::uint8_t kGetConfiguration = 0x46;
inline constexpr std::uint8_t kReadDiscStructure = 0xAD;
inline constexpr std::uint8_t kMediaKindDvd = 0;
inline constexpr std::uint8_t kMediaKindBluRay = 1;

// GET CONFIGURATION of all features from startingFeature.
std::array<std::uint8_t, 10> GetConfigurationCdb(std::uint16_t startingFeature, std::uint16_t allocationLength);
// READ DISC STRUCTURE, address 0, layer 0, format 0; allocationLow is byte 9.
std::array<std::uint8_t, 12> ReadDiscStructureCdb(std::uint8_t mediaKind, std::uint8_t allocationLow);

// Writes the SCSI_PASS_THROUGH header for a data-in command at the start of request.
void WriteRequestHeader(std::span<std::uint8_t> request, std::span<const std::uint8_t> cdb,
                        const TRequestLayout& layout, std::uint32_t timeoutSeconds);
// SCSI status the port reported in the header (0 = good).
std::uint8_t ScsiStatus(std::span<const std::uint8_t> request);

// Current profile in a GET CONFIGURATION answer's feature header.
std::uint16_t CurrentProfile(std::span<const std::uint8_t> data);
// Type of a DVD medium from its physical format information.
TMediaType DvdStructureType(std::span<const std::uint8_t> data);
// Type of a Blu-ray medium from its disc information.
TMediaType BluRayStructureType(std::span<const std::uint8_t> data);

}  // namespace discprobe::mmc
