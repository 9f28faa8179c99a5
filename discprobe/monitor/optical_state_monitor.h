#pragma once
// The drive list behind the dialog: the disc master, one record per optical
// drive, and the pass that the monitor thread runs over the records.
#include "discprobe/detect/drive_record.h"
#include "discprobe/detect/pass_through.h"
#include "drive_source.h"

namespace discprobe {

class COpticalStateMonitor final : public IDriveSource {
public:
    // `sink` hears every state change a pass finds; `transport` carries the MMC requests.
    explicit COpticalStateMonitor(StateSink sink, CPassThroughTransport& transport = SystemPassThrough());

    // Creates the disc master; without one the drive list stays empty.
    void CreateMaster() { m_master.Create(); }

    int DriveCount() const override { return static_cast<int>(m_drives.size()); }
    DriveView Drive(int row) const override;
    int StateOf(int row) const override;
    std::vector<std::wstring> PathsTexts() const override;
    void Rebuild() override;
    void RunPass() override;

private:
    CDiscMasterRef m_master;
    CDriveList m_drives;
    StateSink m_sink;
    CPassThroughTransport& m_transport;
};

}  // namespace discprobe
