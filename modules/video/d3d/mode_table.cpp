#include "mode_table.h"

#include <algorithm>

namespace video3d {
namespace {

bool SortsBefore(const ModeEntry& a, const ModeEntry& b) {
    if (a.width != b.width) return a.width < b.width;
    return a.bitsPerPixel < b.bitsPerPixel;
}

}  // namespace

BYTE FormatClass(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_X8R8G8B8:
        return 32;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_X4R4G4B4:
        return 16;
    default:
        return 0;
    }
}

void CModeTable::Add(UINT width, UINT height, D3DFORMAT format) {
    const BYTE bits = FormatClass(format);
    if (width <= 639 || height <= 479 || bits == 0) return;
    const auto end = m_entries.begin() + m_count;
    if (std::any_of(m_entries.begin(), end, [&](const ModeEntry& e) {
            return e.width == width && e.height == height && e.format == format;
        }))
        return;
    const ModeEntry entry{width, height, format, bits};
    if (m_count < kCapacity) {
        m_entries[static_cast<size_t>(m_count++)] = entry;
        return;
    }
    const auto lowest = std::min_element(m_entries.begin(), end, SortsBefore);
    if (SortsBefore(*lowest, entry)) *lowest = entry;
}

void CModeTable::Sort() {
    std::stable_sort(m_entries.begin(), m_entries.begin() + m_count, SortsBefore);
}

int CModeTable::StartIndex(UINT width, UINT height, int depth) const {
    const BYTE wanted = depth > 16 ? 32 : 16;
    for (int i = m_count - 1; i >= 0; --i) {
        const ModeEntry& e = m_entries[static_cast<size_t>(i)];
        if (e.width == width && e.height == height && e.bitsPerPixel == wanted) return i;
    }
    return m_count - 1;
}

}  // namespace video3d
