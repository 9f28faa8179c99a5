#include "scsi_media_probe.h"

#include <algorithm>

namespace discprobe {

namespace {

constexpr std::uint32_t kProbeTimeoutSeconds = 30;
constexpr std::uint16_t kAllFeaturesLength = 0x1000;  // 4,096
constexpr std::uint8_t kBluRayAllocationLow = 0x04;   // 4,096 + 4 for the disc information

// The write check's own small request: 512 data bytes after a 24-byte sense area.
constexpr mmc::TRequestLayout kWriteCheckLayout = {mmc::MakeLayout(24, 512).senseOffset, 24,
                                                   mmc::MakeLayout(24, 512).senseOffset + 32, 512};
#ifndef _WIN64
static_assert(kWriteCheckLayout.dataOffset == 80 && kWriteCheckLayout.TotalSize() == 592);
#endif
// A drive may answer as much as the allocation length asks for; more than the
// transfer length overruns the data area on some controllers.
constexpr std::uint16_t kWriteCheckAllocation = kWriteCheckLayout.dataSize;
static_assert(kAllFeaturesLength <= CScsiMediaProbe::kLayout.dataSize);
constexpr std::uint16_t kBluRayWriteFeature = 0x41;

}  // namespace

CScsiMediaProbe::CScsiMediaProbe() : CScsiMediaProbe(SystemPassThrough()) {}

CScsiMediaProbe::CScsiMediaProbe(CPassThroughTransport& transport)
    : m_transport(transport), m_request(kLayout.TotalSize()) {}

std::span<const std::uint8_t> CScsiMediaProbe::Data() const {
    return std::span<const std::uint8_t>(m_request).subspan(kLayout.dataOffset, kLayout.dataSize);
}

void CScsiMediaProbe::ClearData() { std::fill(m_request.begin() + kLayout.dataOffset, m_request.end(), 0); }

// A short answer must not leave bytes of the previous command's answer behind.
bool CScsiMediaProbe::Send(CPassThroughDevice& device, std::span<const std::uint8_t> cdb) {
    ClearData();
    mmc::WriteRequestHeader(m_request, cdb, kLayout, kProbeTimeoutSeconds);
    const bool sent = device.Send(m_request, mmc::kHeaderSize);
    if (!sent || mmc::ScsiStatus(m_request) != 0) ClearData();
    return sent;
}

std::optional<TMediaType> CScsiMediaProbe::DiscStructureType(CPassThroughDevice& device, std::uint8_t mediaKind) {
    const bool bluRay = mediaKind == mmc::kMediaKindBluRay;
    if (!Send(device, mmc::ReadDiscStructureCdb(mediaKind, bluRay ? kBluRayAllocationLow : 0))) return std::nullopt;
    return bluRay ? mmc::BluRayStructureType(Data()) : mmc::DvdStructureType(Data());
}

std::optional<TMediaType> ProbeMediaType(CScsiMediaProbe& probe, std::wstring_view drive) {
    std::fill(probe.m_request.begin(), probe.m_request.end(), 0);
    probe.m_bluRay = false;
    auto device = probe.m_transport.Open(drive.empty() ? L'\0' : drive.front());
    if (!device || !probe.Send(*device, mmc::GetConfigurationCdb(0, kAllFeaturesLength))) return std::nullopt;

    const std::uint16_t profile = mmc::CurrentProfile(probe.Data());
    if (profile > MEDIA_PROFILE_DVD_PLUS_R_DL) probe.m_bluRay = true;

    // Profile 0x10 covers every DVD read as a DVD-ROM; its disc structure tells them apart.
    // A disc-structure request refused after the configuration was answered tells nothing either.
    std::optional<TMediaType> type = static_cast<TMediaType>(profile == MEDIA_PROFILE_DVD_ROM ? 1 : profile);
    if (*type == 1) type = probe.DiscStructureType(*device, mmc::kMediaKindDvd);
    if (type && probe.m_bluRay) type = probe.DiscStructureType(*device, mmc::kMediaKindBluRay);
    return type;
}

int BluRayWriteSupport(CPassThroughTransport& transport, wchar_t driveLetter) {
    auto device = transport.Open(driveLetter);
    if (!device) return 0;
    std::vector<std::uint8_t> request(kWriteCheckLayout.TotalSize());
    const auto data = std::span<const std::uint8_t>(request).subspan(kWriteCheckLayout.dataOffset);
    auto query = [&](std::uint16_t feature) {
        std::fill(request.begin(), request.end(), 0);
        mmc::WriteRequestHeader(request, mmc::GetConfigurationCdb(feature, kWriteCheckAllocation), kWriteCheckLayout,
                                kProbeTimeoutSeconds);
        return device->Send(request, mmc::kHeaderSize) && mmc::ScsiStatus(request) == 0;
    };
    if (!query(0)) return 0;
    if (std::find(data.begin() + 13, data.begin() + 82, kBluRayWriteFeature) == data.begin() + 82) return 0;
    if (!query(kBluRayWriteFeature)) return 0;
    if (data[17] == 4) return 2;
    if (data[25] == 2) return 1;
    return 0;
}

}  // namespace discprobe
