// sysident.dll: tells the launcher the computer's model name.
#include <windows.h>
#include <cwchar>
#include <iterator>
#include <vector>

#include "machine_info.h"
#include "model_name.h"

namespace {

constexpr DWORD kRawSmbiosProvider = 0x52534D42;  // 'RSMB'
static_assert(std::size(sysident::kUnknownModel) <= launcher::kModelNameChars);

std::vector<std::uint8_t> ReadRawSmbios() {
    DWORD size = ::GetSystemFirmwareTable(kRawSmbiosProvider, 0, nullptr, 0);
    if (size == 0) return {};
    std::vector<std::uint8_t> data(size);
    DWORD written = ::GetSystemFirmwareTable(kRawSmbiosProvider, 0, data.data(), size);
    if (written == 0 || written > size) return {};  // failed, or the table grew meanwhile
    data.resize(written);
    return data;
}

}  // namespace

// The caller hands a zero-filled buffer of launcher::kModelNameChars characters
// and no size; no exception may cross into it.
extern "C" void __cdecl GetModelName(wchar_t* buffer) noexcept {
    if (!buffer) return;
    try {
        sysident::WriteModelName(ReadRawSmbios(), buffer);
    } catch (...) {  // out of memory
        std::wmemcpy(buffer, sysident::kUnknownModel, std::size(sysident::kUnknownModel));
    }
}
