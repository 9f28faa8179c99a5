#include "model_name.h"

#include <windows.h>
#include <algorithm>
#include <optional>
#include <string_view>

#include "machine_info.h"
#include "text_util.h"

namespace sysident {

namespace {

using Bytes = std::span<const std::uint8_t>;

// RawSMBIOSData: calling method, major and minor version, DMI revision, then the table length.
constexpr size_t kRawHeaderSize = 8;
constexpr size_t kLengthOffset = 4;
// Every structure starts with type, length of its formatted area and a 16-bit handle.
constexpr size_t kStructureHeaderSize = 4;
constexpr std::uint8_t kSystemInformation = 1;
constexpr std::uint8_t kEndOfTable = 127;
constexpr size_t kProductNameField = 5;

// The structure table, cut to the bytes the buffer really holds.
Bytes StructureTable(Bytes raw) {
    if (raw.size() < kRawHeaderSize) return {};
    size_t length = 0;
    for (size_t i = 0; i < 4; ++i) length |= static_cast<size_t>(raw[kLengthOffset + i]) << (8 * i);
    Bytes table = raw.subspan(kRawHeaderSize);
    return table.first(std::min(length, table.size()));
}

// String `number` (counted from 1) of the string set at the start of `strings`;
// none when the set has fewer strings or runs off the table unterminated.
std::optional<std::string_view> StringOfSet(Bytes strings, unsigned number) {
    auto begin = strings.begin();
    for (unsigned n = 1; number != 0; ++n) {
        auto nul = std::find(begin, strings.end(), std::uint8_t{0});
        if (nul == strings.end() || nul == begin) return std::nullopt;  // unterminated, or the set's end
        if (n == number) return std::string_view(reinterpret_cast<const char*>(&*begin), nul - begin);
        begin = nul + 1;
    }
    return std::nullopt;
}

// Offset just behind the string set that starts at `from` (it ends with two NULs);
// none when the table ends first.
std::optional<size_t> EndOfStringSet(Bytes table, size_t from) {
    for (size_t i = from; i + 1 < table.size(); ++i) {
        if (table[i] == 0 && table[i + 1] == 0) return i + 2;
    }
    return std::nullopt;
}

std::wstring Widened(std::string_view text) {
    if (text.empty()) return {};
    int chars = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), chars);
    return wide;
}

// Firmware often pads its names with blanks.
std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

std::wstring SmbiosProductName(Bytes rawSmbios) {
    Bytes table = StructureTable(rawSmbios);
    size_t pos = 0;
    while (table.size() - pos >= kStructureHeaderSize) {
        std::uint8_t type = table[pos];
        size_t length = table[pos + 1];
        if (length < kStructureHeaderSize || length > table.size() - pos) return {};
        if (type == kSystemInformation) {
            if (length <= kProductNameField) return {};
            auto name = StringOfSet(table.subspan(pos + length), table[pos + kProductNameField]);
            return name ? Trimmed(Widened(*name)) : std::wstring{};
        }
        if (type == kEndOfTable) return {};
        auto next = EndOfStringSet(table, pos + length);
        if (!next) return {};
        pos = *next;
    }
    return {};
}

void WriteModelName(Bytes rawSmbios, wchar_t* buffer) {
    std::wstring name = SmbiosProductName(rawSmbios);
    launcher::CopyBounded(buffer, launcher::kModelNameChars, name.empty() ? kUnknownModel : name);
}

}  // namespace sysident
