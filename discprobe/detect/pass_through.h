#pragma once
// The one road to the drive for MMC commands: open the device of a drive
// letter and exchange a SCSI_PASS_THROUGH request buffer with it. Production
// uses the platform's device control; tests give recorded answers.
#include <cstdint>
#include <memory>
#include <span>

namespace discprobe {

class CPassThroughDevice {
public:
    virtual ~CPassThroughDevice() = default;
    // IOCTL_SCSI_PASS_THROUGH with the first inputLength bytes of request as input and
    // the whole of request as output; false when the control call fails.
    virtual bool Send(std::span<std::uint8_t> request, std::uint32_t inputLength) = 0;
};

class CPassThroughTransport {
public:
    virtual ~CPassThroughTransport() = default;
    // "\\.\X:" for reading and writing; null when the device cannot be opened.
    virtual std::unique_ptr<CPassThroughDevice> Open(wchar_t driveLetter) = 0;
};

// CreateFileW and DeviceIoControl of the running system.
CPassThroughTransport& SystemPassThrough();

}  // namespace discprobe
