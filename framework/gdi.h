#pragma once
// Scoped GDI state: an object selected into a DC for the lifetime of a scope,
// and an off-screen canvas for drawing without flicker.
#include <windows.h>

#include "unique_resource.h"

namespace fw {

// SelectObject now, the previous object back at the end of the scope. A null
// object selects nothing.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept
        : m_dc(dc), m_previous(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (m_previous) ::SelectObject(m_dc, m_previous);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A memory DC compatible with `reference`, holding a bitmap of the given size:
// draw into dc(), then copy it out in one step.
class MemoryCanvas {
public:
    MemoryCanvas(HDC reference, int width, int height) noexcept
        : m_dc(::CreateCompatibleDC(reference)),
          m_bitmap(m_dc ? ::CreateCompatibleBitmap(reference, width, height) : nullptr),
          m_select(m_dc.get(), m_bitmap.get()) {}

    // False when the DC or the bitmap could not be created.
    bool ok() const noexcept { return m_dc && m_bitmap; }
    HDC dc() const noexcept { return m_dc.get(); }

private:
    // Declared in this order so that the bitmap is deselected before it is deleted.
    UniqueDc m_dc;
    UniqueBitmap m_bitmap;
    ScopedSelect m_select;
};

}  // namespace fw
