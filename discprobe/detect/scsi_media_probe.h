#pragma once
// Finding the type of an inserted medium by MMC commands sent through the
// pass-through transport: GET CONFIGURATION for the current profile, and READ
// DISC STRUCTURE for DVD-ROM and Blu-ray media.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "media_types.h"
#include "mmc_commands.h"
#include "pass_through.h"

namespace discprobe {

// One request buffer (a SCSI_PASS_THROUGH header, a 32-byte sense area and a
// 49,152-byte data area: 49,232 bytes in the 32-bit program), the Blu-ray flag
// and the capacity table. One probe serves one drive during enumeration, or
// all drives of one monitor pass.
class CScsiMediaProbe {
public:
    static constexpr mmc::TRequestLayout kLayout = mmc::MakeLayout(32, 49152);
#ifndef _WIN64
    static_assert(kLayout.TotalSize() == 49232);
#endif

    CScsiMediaProbe();  // the running system's pass-through
    explicit CScsiMediaProbe(CPassThroughTransport& transport);
    CScsiMediaProbe(const CScsiMediaProbe&) = delete;
    CScsiMediaProbe& operator=(const CScsiMediaProbe&) = delete;

    double Capacity(TMediaType type) { return m_capacities.Capacity(type); }

private:
    friend std::optional<TMediaType> ProbeMediaType(CScsiMediaProbe& probe, std::wstring_view drive);
    // Sends the command in the buffer; false when the request is refused. The data
    // area holds the answer alone, or zeros when the command fails.
    bool Send(CPassThroughDevice& device, std::span<const std::uint8_t> cdb);
    void ClearData();
    std::span<const std::uint8_t> Data() const;
    // Nothing when the request is refused.
    std::optional<TMediaType> DiscStructureType(CPassThroughDevice& device, std::uint8_t mediaKind);

    CPassThroughTransport& m_transport;
    std::vector<std::uint8_t> m_request;
    bool m_bluRay = false;
    CCapacityTable m_capacities;
};

// Type of the medium in the drive named by the first character of drive; 0 when
// the drive does not answer; nothing when this process may not send it commands
// (the device cannot be opened or a request is refused).
std::optional<TMediaType> ProbeMediaType(CScsiMediaProbe& probe, std::wstring_view drive);

// Blu-ray write check of a drive for the supported-media text: 2 when the BD
// write feature reports BD-RE dual-layer writing, 1 for BD-R dual layer, else 0.
int BluRayWriteSupport(CPassThroughTransport& transport, wchar_t driveLetter);

}  // namespace discprobe
