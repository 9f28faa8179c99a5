#include <gtest/gtest.h>

#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>

#include "framework/unique_resource.h"
#include "machine_info.h"
#include "model_name.h"

using sysident::SmbiosProductName;
using Bytes = std::vector<std::uint8_t>;

namespace {

template <typename Range>
void Append(Bytes& to, const Range& from) {
    for (auto byte : from) to.push_back(static_cast<std::uint8_t>(byte));
}

// One structure: header, `fields` after it, then its string set.
Bytes Structure(std::uint8_t type, const Bytes& fields, const std::vector<std::string>& strings) {
    Bytes bytes{type, static_cast<std::uint8_t>(4 + fields.size()), 0x34, 0x12};
    Append(bytes, fields);
    for (const std::string& text : strings) {
        Append(bytes, text);
        bytes.push_back(0);
    }
    if (strings.empty()) bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

Bytes Bios() { return Structure(0, {1, 2, 0, 0xE0, 3}, {"Firmware Vendor", "1.07"}); }

// System information naming manufacturer string 1 and product string `product`.
Bytes SystemInformation(std::uint8_t product, const std::vector<std::string>& strings) {
    return Structure(1, {1, product, 0, 0}, strings);
}

Bytes EndOfTable() { return Structure(127, {}, {}); }

// The raw data as the firmware-table call returns it; `declared` overrides the length field.
Bytes Raw(const std::vector<Bytes>& structures, long declared = -1) {
    Bytes table;
    for (const Bytes& s : structures) Append(table, s);
    auto length = static_cast<std::uint32_t>(declared < 0 ? table.size() : declared);
    Bytes raw{0, 3, 4, 0, static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
              static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)};
    Append(raw, table);
    return raw;
}

constexpr wchar_t kUntouched = 0xBEEF;

// What GetModelName leaves in a buffer with room to spare behind the bound.
std::vector<wchar_t> Written(const Bytes& raw) {
    std::vector<wchar_t> buffer(launcher::kModelNameChars + 8, kUntouched);
    sysident::WriteModelName(raw, buffer.data());
    return buffer;
}

}  // namespace

TEST(SmbiosProductName, FoundBehindOtherStructures) {
    Bytes raw = Raw({Bios(), SystemInformation(2, {"Orlix", "Notebook X15", "Rev 2"}), EndOfTable()});
    EXPECT_EQ(SmbiosProductName(raw), L"Notebook X15");
}

TEST(SmbiosProductName, BlanksAroundTheNameAreDropped) {
    EXPECT_EQ(SmbiosProductName(Raw({SystemInformation(2, {"Orlix", "  Notebook X15   "})})), L"Notebook X15");
    EXPECT_EQ(SmbiosProductName(Raw({SystemInformation(2, {"Orlix", "   "})})), L"");
}

TEST(SmbiosProductName, Utf8NameIsDecoded) {
    EXPECT_EQ(SmbiosProductName(Raw({SystemInformation(1, {"Pr\xC3\xA4zision 5"})})), L"Pr\u00E4zision 5");
}

TEST(SmbiosProductName, NoNameWhenTheStructureNamesNone) {
    EXPECT_EQ(SmbiosProductName(Raw({SystemInformation(0, {"Orlix", "Notebook X15"})})), L"");
    EXPECT_EQ(SmbiosProductName(Raw({SystemInformation(3, {"Orlix", "Notebook X15"})})), L"");
    EXPECT_EQ(SmbiosProductName(Raw({Structure(1, {1}, {"Orlix"})})), L"");  // too short for the field
}

TEST(SmbiosProductName, NoNameWithoutSystemInformation) {
    EXPECT_EQ(SmbiosProductName(Raw({Bios(), EndOfTable()})), L"");
    EXPECT_EQ(SmbiosProductName(Raw({})), L"");
    EXPECT_EQ(SmbiosProductName(Bytes{}), L"");
    EXPECT_EQ(SmbiosProductName(Bytes{0, 3, 4}), L"");
    // Nothing behind the end-of-table structure counts.
    EXPECT_EQ(SmbiosProductName(Raw({Bios(), EndOfTable(), SystemInformation(1, {"Ghost"})})), L"");
}

TEST(SmbiosProductName, TruncatedTableGivesNoName) {
    Bytes whole = Raw({Bios(), SystemInformation(2, {"Orlix", "Notebook X15"})});
    const size_t systemStart = 8 + Bios().size();
    for (size_t cut : {systemStart + 2, systemStart + 6, whole.size() - 4}) {
        Bytes raw(whole.begin(), whole.begin() + static_cast<long>(cut));
        raw[4] = static_cast<std::uint8_t>(cut - 8);
        EXPECT_EQ(SmbiosProductName(raw), L"") << "cut at " << cut;
    }
    // A length field that promises more than the buffer holds is not believed.
    Bytes overstated(whole.begin(), whole.begin() + static_cast<long>(systemStart + 6));
    EXPECT_EQ(SmbiosProductName(overstated), L"");
}

TEST(SmbiosProductName, BytesBehindTheDeclaredLengthAreIgnored) {
    Bytes raw = Raw({Bios(), SystemInformation(2, {"Orlix", "Notebook X15"})}, static_cast<long>(Bios().size()));
    EXPECT_EQ(SmbiosProductName(raw), L"");
}

TEST(SmbiosProductName, MalformedStructureLengthEndsTheWalk) {
    Bytes zeroLength{0x80, 0, 0, 0, 0, 0};  // would never advance
    EXPECT_EQ(SmbiosProductName(Raw({zeroLength, SystemInformation(1, {"X15"})})), L"");
    Bytes pastEnd{0x80, 200, 0, 0, 0, 0};
    EXPECT_EQ(SmbiosProductName(Raw({pastEnd})), L"");
}

TEST(SmbiosProductName, MissingStringSetTerminator) {
    // An earlier structure whose strings run to the end hides everything.
    Bytes bios = Bios();
    bios.resize(bios.size() - 2);
    EXPECT_EQ(SmbiosProductName(Raw({bios})), L"");
    // The name itself runs off the table.
    Bytes system = SystemInformation(2, {"Orlix", "Notebook X15"});
    system.resize(system.size() - 2);
    EXPECT_EQ(SmbiosProductName(Raw({system})), L"");
    // The name is complete; only the set's closing NUL is missing.
    system.push_back(0);
    EXPECT_EQ(SmbiosProductName(Raw({system})), L"Notebook X15");
}

TEST(WriteModelName, FallsBackWhenTheFirmwareNamesNoModel) {
    for (const Bytes& raw : {Bytes{}, Raw({Bios(), EndOfTable()}), Raw({SystemInformation(0, {"Orlix"})})}) {
        std::vector<wchar_t> buffer = Written(raw);
        EXPECT_STREQ(buffer.data(), sysident::kUnknownModel);
        EXPECT_EQ(buffer.back(), kUntouched);
    }
}

TEST(WriteModelName, OverlongNameIsCutToTheBuffer) {
    std::string longName(launcher::kModelNameChars + 44, 'M');
    std::vector<wchar_t> buffer = Written(Raw({SystemInformation(1, {longName})}));
    const size_t bound = launcher::kModelNameChars;
    EXPECT_EQ(std::wstring(buffer.data()), std::wstring(bound - 1, L'M'));
    EXPECT_EQ(buffer[bound - 1], L'\0');
    EXPECT_TRUE(std::all_of(buffer.begin() + bound, buffer.end(), [](wchar_t c) { return c == kUntouched; }));
}

// The stand-in answering a 1,000-character name, as the launcher calls it.
void __cdecl ThousandCharacterModel(wchar_t* buffer) {
    sysident::WriteModelName(Raw({Bios(), SystemInformation(1, {std::string(1000, 'Q')})}), buffer);
}

// A library that fills the whole buffer and leaves no NUL.
void __cdecl UnterminatedModel(wchar_t* buffer) { std::fill_n(buffer, launcher::kModelNameChars, L'X'); }

TEST(WriteModelName, LauncherReadsWholeLongNamesAndNothingBehindTheBuffer) {
    EXPECT_EQ(launcher::CallGetModelName(ThousandCharacterModel), std::wstring(1000, L'Q'));
    EXPECT_EQ(launcher::CallGetModelName(UnterminatedModel), std::wstring(launcher::kModelNameChars - 1, L'X'));
}

TEST(SysidentLibrary, ExportsGetModelNameThatWritesATerminatedName) {
    fw::UniqueModule library(::LoadLibraryW(SUITE_DIST_DIR L"sysident.dll"));
    ASSERT_TRUE(library);
    auto getModelName = reinterpret_cast<launcher::GetModelNameFn>(
        reinterpret_cast<void*>(::GetProcAddress(library.get(), "GetModelName")));
    ASSERT_NE(getModelName, nullptr);
    std::vector<wchar_t> buffer(launcher::kModelNameChars + 8, kUntouched);
    getModelName(buffer.data());
    auto nul = std::find(buffer.begin(), buffer.begin() + launcher::kModelNameChars, L'\0');
    ASSERT_NE(nul, buffer.begin() + launcher::kModelNameChars) << "no NUL within the bound";
    EXPECT_NE(nul, buffer.begin()) << "empty model name";
    EXPECT_EQ(buffer.back(), kUntouched);
    getModelName(nullptr);  // must not crash
}
