#include "mmc_commands.h"

#include <cstddef>
#include <cstring>

namespace discprobe::mmc {

std::array<std::uint8_t, 10> GetConfigurationCdb(std::uint16_t startingFeature, std::uint16_t allocationLength) {
    return {kGetConfiguration, 0x00,
            static_cast<std::uint8_t>(startingFeature >> 8), static_cast<std::uint8_t>(startingFeature),
            0x00, 0x00, 0x00,
            static_cast<std::uint8_t>(allocationLength >> 8), static_cast<std::uint8_t>(allocationLength),
            0x00};
}

std::array<std::uint8_t, 12> ReadDiscStructureCdb(std::uint8_t mediaKind, std::uint8_t allocationLow) {
    return {kReadDiscStructure, mediaKind, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, allocationLow, 0x00, 0x00};
}

void WriteRequestHeader(std::span<std::uint8_t> request, std::span<const std::uint8_t> cdb,
                        const TRequestLayout& layout, std::uint32_t timeoutSeconds) {
    SCSI_PASS_THROUGH header{};
    header.Length = sizeof header;
    header.CdbLength = static_cast<UCHAR>(cdb.size());
    header.SenseInfoLength = static_cast<UCHAR>(layout.senseSize);
    header.DataIn = SCSI_IOCTL_DATA_IN;
    header.DataTransferLength = layout.dataSize;
    header.TimeOutValue = timeoutSeconds;
    header.DataBufferOffset = layout.dataOffset;
    header.SenseInfoOffset = layout.senseOffset;
    std::memcpy(header.Cdb, cdb.data(), std::min(cdb.size(), sizeof header.Cdb));
    std::memcpy(request.data(), &header, std::min(request.size(), sizeof header));
}

std::uint8_t ScsiStatus(std::span<const std::uint8_t> request) {
    return request.size() > offsetof(SCSI_PASS_THROUGH, ScsiStatus) ? request[offsetof(SCSI_PASS_THROUGH, ScsiStatus)]
                                                                     : 0xFF;
}

std::uint16_t CurrentProfile(std::span<const std::uint8_t> data) {
    if (data.size() < 8) return 0;
    return static_cast<std::uint16_t>(data[6] << 8 | data[7]);
}

TMediaType DvdStructureType(std::span<const std::uint8_t> data) {
    if (data.size() < 7) return MEDIA_TYPE_UNKNOWN;
    const int category = data[4] >> 4;
    const bool dualLayer = (data[6] >> 5) & 1;
    if (category == 2) return dualLayer ? MEDIA_DVD_DASH_R_DL : MEDIA_DVD_DASH_R;
    if (category == 0) return MEDIA_PROFILE_DVD_ROM;
    return MEDIA_TYPE_UNKNOWN;
}

TMediaType BluRayStructureType(std::span<const std::uint8_t> data) {
    if (data.size() < 17) return MEDIA_TYPE_UNKNOWN;
    // High nibble: recording layers; low nibble: layer type bits.
    switch (data[16]) {
    case 0x11: return MEDIA_PROFILE_BD_ROM;
    case 0x12: return MEDIA_BD_R;
    case 0x22: return MEDIA_BD_R_DL;
    case 0x14: return MEDIA_BD_RE;
    case 0x24: return MEDIA_BD_RE_DL;
    case 0x32: return MEDIA_BD_R_XL;
    case 0x34: return MEDIA_BD_RE_XL;
    default: return MEDIA_TYPE_UNKNOWN;
    }
}

}  // namespace discprobe::mmc
