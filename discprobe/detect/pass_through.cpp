#include "pass_through.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include "framework/unique_resource.h"

namespace discprobe {

namespace {

class CSystemDevice : public CPassThroughDevice {
public:
    explicit CSystemDevice(fw::UniqueFile file) : m_file(std::move(file)) {}
    bool Send(std::span<std::uint8_t> request, std::uint32_t inputLength) override {
        DWORD returned = 0;
        return ::DeviceIoControl(m_file.get(), IOCTL_SCSI_PASS_THROUGH, request.data(), inputLength, request.data(),
                                 static_cast<DWORD>(request.size()), &returned, nullptr) != FALSE;
    }

private:
    fw::UniqueFile m_file;
};

class CSystemTransport : public CPassThroughTransport {
public:
    std::unique_ptr<CPassThroughDevice> Open(wchar_t driveLetter) override {
        if (!driveLetter) return nullptr;
        const wchar_t path[] = {L'\\', L'\\', L'.', L'\\', driveLetter, L':', L'\0'};
        fw::UniqueFile file(::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file) return nullptr;
        return std::make_unique<CSystemDevice>(std::move(file));
    }
};

}  // namespace

CPassThroughTransport& SystemPassThrough() {
    static CSystemTransport transport;
    return transport;
}

}  // namespace discprobe
