#pragma once
// What the dialog needs of the drive list: the rows, a copy of one drive's
// fields, and a rebuild. The monitor's pass reports state changes to a sink.
#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "monitor_thread.h"

namespace discprobe {

// One listed drive as the dialog shows it; a copy, so it can be read while
// the monitor thread updates the record.
struct DriveView {
    std::wstring paths;
    std::wstring productId;
    std::wstring vendorId;
    std::wstring revision;
    std::wstring mediaTypeName;
    std::wstring supportedMedia;
    int state = 2;
    double capacityGB = 0.0;
};

// Called on the monitor thread for each change of a drive's state: row, new state.
using StateSink = std::function<void(int row, int state)>;

class IDriveSource : public IMediaPass {
public:
    virtual int DriveCount() const = 0;
    virtual DriveView Drive(int row) const = 0;
    virtual int StateOf(int row) const = 0;
    virtual std::vector<std::wstring> PathsTexts() const = 0;
    // Replaces the drive list; only while no pass runs.
    virtual void Rebuild() = 0;
};

using DriveSourceFactory = std::function<std::unique_ptr<IDriveSource>(StateSink sink)>;

}  // namespace discprobe
