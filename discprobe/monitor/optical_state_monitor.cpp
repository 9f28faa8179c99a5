#include "optical_state_monitor.h"

#include "discprobe/detect/drive_detection.h"
#include "discprobe/detect/scsi_media_probe.h"

namespace discprobe {

COpticalStateMonitor::COpticalStateMonitor(StateSink sink, CPassThroughTransport& transport)
    : m_sink(std::move(sink)), m_transport(transport) {}

DriveView COpticalStateMonitor::Drive(int row) const {
    const TDriveRecord& record = *m_drives.at(static_cast<size_t>(row));
    TMediaInfo media = record.Media();
    return {record.paths,      record.productId, record.vendorId,         record.revision,
            media.typeName,    record.supportedTypes, record.State(), media.capacityGB};
}

int COpticalStateMonitor::StateOf(int row) const { return m_drives.at(static_cast<size_t>(row))->State(); }

std::vector<std::wstring> COpticalStateMonitor::PathsTexts() const {
    std::vector<std::wstring> paths;
    for (const auto& record : m_drives) paths.push_back(record->paths);
    return paths;
}

void COpticalStateMonitor::Rebuild() { EnumerateDrives(m_master, m_drives, m_transport); }

void COpticalStateMonitor::RunPass() {
    CScsiMediaProbe probe(m_transport);
    for (size_t row = 0; row < m_drives.size(); ++row) {
        TDriveRecord& record = *m_drives[row];
        TMediaState state = EvaluateMediaState(record);
        if (state == record.State()) continue;
        // The medium is described before its state says it is there, so whoever
        // sees the new state finds the medium that goes with it.
        if (state == MEDIA_STATE_USABLE) record.SetMedia(DescribeMedium(probe, record));
        record.SetState(state);
        if (m_sink) m_sink(static_cast<int>(row), state);
    }
}

}  // namespace discprobe
