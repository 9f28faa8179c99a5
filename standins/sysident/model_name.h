#pragma once
// The computer's model name as sysident.dll reports it: the product name of the
// firmware's system-information structure.
#include <cstdint>
#include <span>
#include <string>

namespace sysident {

// Reported when the firmware names no model.
inline constexpr wchar_t kUnknownModel[] = L"Unknown model";

// The product name of the system-information structure (SMBIOS type 1) in the
// raw tables as GetSystemFirmwareTable('RSMB') returns them, without surrounding
// blanks. Empty when there is no such structure or no name, or when the table is
// cut short or malformed before the name.
std::wstring SmbiosProductName(std::span<const std::uint8_t> rawSmbios);

// Fills `buffer` of launcher::kModelNameChars characters with the product name of
// `rawSmbios`, or with kUnknownModel when there is none; cut to fit, NUL-terminated.
void WriteModelName(std::span<const std::uint8_t> rawSmbios, wchar_t* buffer);

}  // namespace sysident
