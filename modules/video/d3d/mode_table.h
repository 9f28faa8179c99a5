#pragma once
// The adapter's display modes that the 3D test may use, and the choice of the
// one to start with.
#include <windows.h>
#include <d3d8types.h>

#include <array>

namespace video3d {

struct ModeEntry {
    UINT width;
    UINT height;
    D3DFORMAT format;
    BYTE bitsPerPixel;  // 32 or 16: the format's class
};

// 32 for R8G8B8 and X8R8G8B8; 16 for R5G6B5, X1R5G5B5 and X4R4G4B4; 0 (not kept) for others.
BYTE FormatClass(D3DFORMAT format);

class CModeTable {
public:
    static constexpr int kCapacity = 50;

    void Clear() { m_count = 0; }
    // Keeps a mode of at least 640x480 with a classed format, once per (width,
    // height, format). A full table keeps the modes that sort highest, so the
    // largest modes survive an adapter that lists more than it holds.
    void Add(UINT width, UINT height, D3DFORMAT format);
    // Width ascending, then bits per pixel ascending; equal keys keep their order.
    void Sort();

    // Index of the last entry of width x height in the class of `depth` bits,
    // or the last entry when there is none; -1 for an empty table.
    int StartIndex(UINT width, UINT height, int depth) const;

    int Count() const { return m_count; }
    const ModeEntry& operator[](int i) const { return m_entries[static_cast<size_t>(i)]; }

private:
    std::array<ModeEntry, kCapacity> m_entries{};
    int m_count = 0;
};

}  // namespace video3d
