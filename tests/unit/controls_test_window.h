#pragma once
// The window side of the controls tests: a dialog whose handler records what
// reaches it, and a bitmap to draw controls into and read pixels back from.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/unique_resource.h"

namespace controls_test {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The dialog of controls_test.rc, shown; destroyed with the object.
class TestDialog : public fw::Dialog {
public:
    TestDialog();
    HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }
    // How often `message` reached the handler.
    size_t Count(UINT message) const;

    // Notifications, colour requests and ShowTestInfo, in order of arrival.
    std::vector<Received> received;

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A top-down 32-bit bitmap in a memory DC.
class Canvas {
public:
    Canvas(int width, int height);
    HDC dc() const { return m_dc.get(); }
    void Fill(COLORREF colour);
    COLORREF Pixel(int x, int y) const;
    int Count(COLORREF colour) const;
    // The smallest rectangle holding every pixel of `colour`; empty when none.
    RECT Bounds(COLORREF colour) const;

private:
    int m_width;
    int m_height;
    uint32_t* m_bits = nullptr;
    fw::UniqueDc m_dc;
    fw::UniqueBitmap m_bitmap;
    fw::ScopedSelect m_select;
};

SIZE ClientSize(HWND window);

// Sends the parent of `item` the WM_DRAWITEM that the item's class would send
// for drawing itself entirely into `dc`.
LRESULT DrawThroughParent(HWND item, HDC dc, UINT itemState);

}  // namespace controls_test
