#pragma once
// The three 2D patterns of Video Test #1 and the colours they promise. Each
// pattern draws, shows, reads the front surface back and checks every pixel;
// it returns 0, E_FAIL when the check (or a read-back copy of the bars and
// gradients on a display that is still the test's) failed, or the DirectDraw
// error that ended it early.
#include <windows.h>

#include <memory>
#include <vector>

#include "pixel_check.h"

class D2DTest;

namespace video {

constexpr int kBarCount = 10;
Rgb BarColour(int bar);
// Bar `bar` of a screen `width` wide: the last bar reaches the right edge.
RECT BarRect(int bar, int width, int height);

constexpr int kGradientImages = 10;
constexpr int kGridColumns = 400;
constexpr int kGridRows = 120;
// Screens wider than this are drawn as a grid of blocks rather than pixel by pixel.
constexpr int kPerPixelMaxWidth = 800;

// The colours of gradient image `image` at one screen size, for drawing and checking alike.
class CGradientImage {
public:
    CGradientImage(int image, int width, int height);
    bool UsesGrid() const { return m_width > kPerPixelMaxWidth; }
    Rgb ColourAt(int x, int y) const;
    // Grid cell colour and bounds (grid screens only).
    Rgb CellColour(int column, int row) const;
    RECT CellRect(int column, int row) const;
    bool ColumnsAreUniform() const { return m_gMax == 0; }

private:
    int m_width, m_height, m_gMax, m_bMax;
    std::vector<int> m_columnOf, m_rowOf;  // grid cell of each x and y
};

// The radial pattern's colour of every pixel: one part from the row, one from the column.
class CRadialColours {
public:
    CRadialColours(int width, int height, DWORD redMask, DWORD greenMask);
    DWORD At(int x, int y) const { return m_rowPart[y] | m_columnPart[x]; }

private:
    std::vector<DWORD> m_rowPart, m_columnPart;
};

// Angle step of the radial pattern for a primary surface of this size.
double RadialAngleStep(int width, int height);

class CRadialRings;

// The radial pattern's phases, drawn straight into the primary surface.
class CRadialPattern {
public:
    explicit CRadialPattern(D2DTest& test);
    ~CRadialPattern();
    // Clears the screen, shows the label and reads the primary's size and format;
    // S_FALSE for a depth that draws nothing.
    HRESULT Prepare();
    // Ring by ring, one lock of the primary each.
    HRESULT Draw();
    // Reads the front surface back and checks every pixel; E_FAIL once the budget is spent.
    HRESULT Check(int& errorBudget);
    // Ring by ring back to black, the label drawn again every fifth ring.
    HRESULT Erase();

private:
    D2DTest& m_test;
    int m_labelX = 0, m_labelY = 0, m_width = 0, m_height = 0, m_bytesPerPixel = 0;
    std::unique_ptr<CRadialColours> m_colours;
    std::unique_ptr<CRadialRings> m_rings;
};

}  // namespace video

HRESULT ColorBarPattern(D2DTest& test, int bpp, int& errorBudget);
HRESULT GradientPattern(D2DTest& test, int bpp, int& errorBudget);
HRESULT RadialPattern(D2DTest& test, int bpp, int& errorBudget);
