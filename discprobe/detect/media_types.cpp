#include "media_types.h"

#include <algorithm>
#include <vector>

namespace discprobe {

namespace {

struct NamedCode {
    std::uint32_t code;
    const wchar_t* name;
};

constexpr NamedCode kMediaNames[] = {
    {0x00, L""},        {0x08, L"CD-ROM"},   {0x09, L"CD-R"},      {0x0A, L"CD-RW"},     {0x10, L"DVD-ROM"},
    {0x11, L"DVD-R"},   {0x12, L"DVD-RAM"},  {0x13, L"DVD-RW"},    {0x14, L"DVD-RW"},    {0x15, L"DVD-R DL"},
    {0x16, L"DVD-R DL"}, {0x1A, L"DVD+RW"},  {0x1B, L"DVD+R"},     {0x2A, L"DVD+RW DL"}, {0x2B, L"DVD+R DL"},
    {0x40, L"BD-ROM"},  {0x41, L"BD-R"},     {0x42, L"BD-R"},      {0x43, L"BD-RE"},     {0x4C, L"DVD+R"},
    {0x4D, L"DVD+R DL"}, {0x4E, L"DVD-R"},   {0x4F, L"DVD-R DL"},  {0x50, L"BD-R"},      {0x51, L"BD-R DL"},
    {0x52, L"BD-RE"},   {0x53, L"BD-RE DL"}, {0x54, L"BD-R XL"},   {0x55, L"BD-RE XL"},
};
static_assert(std::size(kMediaNames) == 29);

// Names of drive profiles for the supported-media text; 0x50 and 0x51 stand
// for the dual-layer Blu-ray writing that the write check adds.
constexpr NamedCode kProfileNames[] = {
    {0x00, L""},         {0x08, L"CD-ROM"},   {0x09, L"CD-R"},     {0x0A, L"CD-RW"},    {0x10, L"DVD-ROM"},
    {0x11, L"DVD-R"},    {0x12, L"DVD-RAM"},  {0x13, L"DVD-RW"},   {0x14, L"DVD-RW"},   {0x15, L"DVD-R DL"},
    {0x16, L"DVD-R DL"}, {0x1A, L"DVD+RW"},   {0x1B, L"DVD+R"},    {0x2A, L"DVD+RW DL"}, {0x2B, L"DVD+R DL"},
    {0x40, L"BD-ROM"},   {0x41, L"BD-R"},     {0x42, L"BD-R"},     {0x43, L"BD-RE"},    {0x50, L"BD-R DL"},
    {0x51, L"BD-RE DL"},
};
static_assert(std::size(kProfileNames) == 21);

template <std::size_t N>
const wchar_t* Find(const NamedCode (&table)[N], std::uint32_t code) {
    for (const auto& row : table)
        if (row.code == code) return row.name;
    return nullptr;
}

}  // namespace

std::wstring_view MediaName(TMediaType type) {
    const wchar_t* name = Find(kMediaNames, type);
    return name ? std::wstring_view(name) : std::wstring_view();
}

CCapacityTable::CCapacityTable() {
    struct Row {
        std::uint32_t code;
        double gb;
    };
    static constexpr Row kRows[] = {
        {0x00, 0.0},  {0x01, 0.0},  {0x02, 0.0},  {0x03, 0.0},   {0x04, 0.0},   {0x05, 0.0},  {0x08, 0.7},
        {0x09, 0.7},  {0x0A, 0.7},  {0x10, 4.7},  {0x11, 4.7},   {0x12, 4.7},   {0x13, 4.7},  {0x14, 4.7},
        {0x1A, 4.7},  {0x1B, 4.7},  {0x4E, 4.7},  {0x15, 8.5},   {0x16, 8.5},   {0x2A, 8.5},  {0x2B, 8.5},
        {0x4F, 8.5},  {0x40, 25.0}, {0x50, 25.0}, {0x52, 25.0},  {0x51, 50.0},  {0x53, 50.0}, {0x54, 100.0},
        {0x55, 100.0},
        // The BD-R and BD-RE profiles: what the recorder service's physical type gives without pass-through.
        {0x41, 25.0}, {0x42, 25.0}, {0x43, 25.0},
    };
    for (const Row& row : kRows) m_table[static_cast<TMediaType>(row.code)] = row.gb;
}

double CCapacityTable::Capacity(TMediaType type) { return m_table[type]; }

std::wstring SupportedMediaText(std::span<const long> profiles, int bluRayWriteResult) {
    std::vector<long> numbers(profiles.begin(), profiles.end());
    if (bluRayWriteResult >= 1) numbers.push_back(0x50);
    if (bluRayWriteResult >= 2) numbers.push_back(0x51);
    std::sort(numbers.begin(), numbers.end());

    std::vector<std::wstring_view> names;
    for (long number : numbers) {
        const wchar_t* name = Find(kProfileNames, static_cast<std::uint32_t>(number));
        if (name && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    std::wstring text;
    for (auto name : names) {
        if (!text.empty()) text += L", ";
        text += name;
    }
    return text;
}

}  // namespace discprobe
