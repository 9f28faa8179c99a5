#include "patterns.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "d2d_test.h"
#include "video_module.h"

namespace video {

namespace {

constexpr DWORD kShowMs = 1000;
constexpr DWORD kAfterGradientsMs = 500;
constexpr double kRadiusStep = 0.4;
constexpr double kAngleEnd = 3.2;
constexpr int kLabelEveryRings = 5;

constexpr Rgb kBars[kBarCount] = {{255, 255, 255}, {255, 0, 0},   {255, 128, 0}, {255, 255, 0}, {0, 255, 0},
                                  {0, 255, 255},   {0, 0, 0},     {0, 0, 255},   {255, 0, 255}, {255, 0, 0}};
constexpr int kGMax[kGradientImages] = {255, 255, 255, 120, 120, 60, 0, 0, 0, 0};
constexpr int kBMax[kGradientImages] = {230, 150, 0, 0, 80, 0, 0, 60, 150, 255};

BYTE Channel(long long value) { return static_cast<BYTE>(value); }

int TrailingZeros(DWORD mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

void WritePixel(BYTE* bits, long pitch, int bytesPerPixel, int x, int y, DWORD value) {
    std::memcpy(bits + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x) * bytesPerPixel, &value,
                bytesPerPixel);
}

CVideoModule& ModuleOf(D2DTest& test) { return test.Module(); }

}  // namespace

Rgb BarColour(int bar) { return kBars[bar]; }

RECT BarRect(int bar, int width, int height) {
    LONG left = static_cast<LONG>(static_cast<long long>(width) * bar / kBarCount);
    LONG right = bar == kBarCount - 1 ? width : static_cast<LONG>(static_cast<long long>(width) * (bar + 1) / kBarCount);
    return {left, 0, right, height};
}

CGradientImage::CGradientImage(int image, int width, int height)
    : m_width(width), m_height(height), m_gMax(kGMax[image]), m_bMax(kBMax[image]) {
    if (!UsesGrid()) return;
    m_columnOf.resize(static_cast<size_t>(width));
    m_rowOf.resize(static_cast<size_t>(height));
    for (int c = 0; c < kGridColumns; ++c) {
        RECT cell = CellRect(c, 0);
        for (LONG x = cell.left; x < cell.right; ++x) m_columnOf[x] = c;
    }
    for (int r = 0; r < kGridRows; ++r) {
        RECT cell = CellRect(0, r);
        for (LONG y = cell.top; y < cell.bottom; ++y) m_rowOf[y] = r;
    }
}

RECT CGradientImage::CellRect(int column, int row) const {
    auto edge = [](int index, int size, int count) {
        return static_cast<LONG>(static_cast<long long>(index) * size / count);
    };
    return {edge(column, m_width, kGridColumns), edge(row, m_height, kGridRows), edge(column + 1, m_width, kGridColumns),
            edge(row + 1, m_height, kGridRows)};
}

Rgb CGradientImage::CellColour(int column, int row) const {
    const long long j = m_width / 2;
    const long long left = CellRect(column, row).left;
    return {Channel(255LL * column / kGridColumns), Channel(1LL * m_gMax * row / kGridRows),
            Channel(j ? m_bMax * std::llabs(j - left) / j : 0)};
}

Rgb CGradientImage::ColourAt(int x, int y) const {
    if (UsesGrid()) return CellColour(m_columnOf[x], m_rowOf[y]);
    const long long j = m_width / 2;
    return {Channel(255LL * x / m_width), Channel(1LL * m_gMax * y / m_height),
            Channel(j ? m_bMax * std::llabs(j - x) / j : 0)};
}

CRadialColours::CRadialColours(int width, int height, DWORD redMask, DWORD greenMask)
    : m_rowPart(static_cast<size_t>(height)), m_columnPart(static_cast<size_t>(width)) {
    const int redShift = TrailingZeros(redMask), greenShift = TrailingZeros(greenMask);
    const double redMax = redMask >> redShift, greenMax = greenMask >> greenShift;
    const double cx = static_cast<unsigned>(width) / 2, cy = static_cast<unsigned>(height) / 2;
    for (int y = 0; y < height; ++y) {
        double f = std::min(1.0, std::fabs(cy - y) / cy + 0.25);
        m_rowPart[y] = static_cast<DWORD>(std::lround(redMax * f)) << redShift;
    }
    for (int x = 0; x < width; ++x) {
        double f = std::min(1.0, std::fabs(cx - x) / cx + 0.25);
        m_columnPart[x] = static_cast<DWORD>(std::lround(greenMax * f)) << greenShift;
    }
}

double RadialAngleStep(int width, int height) { return width < 1280 && height < 1024 ? 0.0015 : 0.0001; }

}  // namespace video

using namespace video;

HRESULT ColorBarPattern(D2DTest& test, int bpp, int& errorBudget) {
    const int width = test.Mode().width, height = test.Mode().height;
    test.ClearBackBuffer(0);
    for (int step = 0; step < kBarCount; ++step) {
        for (int bar = 0; bar <= step; ++bar) {
            HRESULT hr = test.FillBackBuffer(BarRect(bar, width, height), PixelValue(BarColour(bar), bpp, test.GreenMask16()));
            if (FAILED(hr) && hr != DDERR_WASSTILLDRAWING) return hr;
        }
        if (HRESULT hr = test.FlipPrimary(); FAILED(hr)) return hr;
        const RECT bar = BarRect(step, width, height);
        if (HRESULT hr = test.CopyToCompSurface(bar); hr != DD_OK) return test.DisplayLost(hr) ? hr : E_FAIL;
        {
            CSurfaceLock lock(test.CompSurface());
            if (FAILED(lock.result())) return lock.result();
            // The bar lies at its own left edge in the copy.
            test.BadPixels().CheckArea(lock.view(), bar, PixelValue(BarColour(step), bpp, test.GreenMask16()),
                                       errorBudget);
            if (HRESULT hr = lock.Unlock(); FAILED(hr)) return hr;
        }
        test.ReportCheckFaults();
        if (errorBudget < 0) return E_FAIL;
        ModuleOf(test).Platform().Sleep(kShowMs);
        test.ClearBackBuffer(0);
        test.FlipPrimary();
    }
    test.DrawRunningLabel(test.LabelRect().left, test.LabelRect().top);
    return S_OK;
}

namespace {

HRESULT DrawGradient(D2DTest& test, const CGradientImage& image) {
    const int width = test.Mode().width, height = test.Mode().height;
    HDC dc = nullptr;
    if (HRESULT hr = test.BackBuffer()->GetDC(&dc); FAILED(hr)) return hr;
    if (!image.UsesGrid()) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                Rgb c = image.ColourAt(x, y);
                ::SetPixelV(dc, x, y, RGB(c.r, c.g, c.b));
            }
    } else {
        const int rows = image.ColumnsAreUniform() ? 1 : kGridRows;
        for (int column = 0; column < kGridColumns; ++column)
            for (int row = 0; row < rows; ++row) {
                Rgb c = image.CellColour(column, row);
                RECT cell = image.CellRect(column, row);
                if (rows == 1) cell.bottom = height;
                fw::UniqueBrush brush(::CreateSolidBrush(RGB(c.r, c.g, c.b)));
                ::FillRect(dc, &cell, brush.get());
            }
    }
    return test.BackBuffer()->ReleaseDC(dc);
}

}  // namespace

HRESULT GradientPattern(D2DTest& test, int bpp, int& errorBudget) {
    const int width = test.Mode().width, height = test.Mode().height;
    test.ClearBackBuffer(0);
    for (int i = 0; i < kGradientImages; ++i) {
        const CGradientImage image(i, width, height);
        if (HRESULT hr = DrawGradient(test, image); FAILED(hr)) return hr;
        if (HRESULT hr = test.FlipPrimary(); FAILED(hr)) return hr;
        if (HRESULT hr = test.CopyToCompSurface({0, 0, width, height}); hr != DD_OK)
            return test.DisplayLost(hr) ? hr : E_FAIL;
        test.DrawRunningLabel(test.LabelRect().left, test.LabelRect().top);
        {
            CSurfaceLock lock(test.CompSurface());
            if (FAILED(lock.result())) return lock.result();
            const DWORD mask = test.GreenMask16();
            test.BadPixels().CheckEach(
                lock.view(), {0, 0, width, height},
                [&](int x, int y) { return PixelValue(image.ColourAt(x, y), bpp, mask); }, errorBudget);
            if (HRESULT hr = lock.Unlock(); FAILED(hr)) return hr;
        }
        test.ReportCheckFaults();
        ModuleOf(test).Platform().Sleep(kShowMs);
        test.ClearBackBuffer(0);
        test.FlipPrimary();
        if (errorBudget < 0) return E_FAIL;
    }
    ModuleOf(test).Platform().Sleep(kAfterGradientsMs);
    return S_OK;
}

namespace video {

// The points of every ring of the radial pattern, and where they may fall on the screen.
class CRadialRings {
public:
    CRadialRings(int width, int height)
        : m_width(width), m_height(height), m_cx(static_cast<unsigned>(width) / 2),
          m_cy(static_cast<unsigned>(height) / 2), m_diagonal(std::hypot(width, height)),
          // No point of a ring farther out than this lands on the screen.
          m_reach(std::hypot(m_cx, m_cy) + 1) {
        const double step = RadialAngleStep(width, height);
        for (long k = 0; k * step < kAngleEnd; ++k) {
            m_cos.push_back(std::cos(k * step));
            m_sin.push_back(std::sin(k * step));
        }
    }

    double Radius(long ring) const { return ring * kRadiusStep; }
    // Rings past the screen's corners draw nothing: they are not visited.
    bool Visits(long ring) const { return Radius(ring) < m_diagonal && Radius(ring) <= m_reach; }

    // Calls point(x, y) for each point of the ring on the screen and its mirror.
    template <typename Point>
    void ForEachPoint(long ring, Point point) const {
        const double rho = Radius(ring);
        for (size_t k = 0; k < m_cos.size(); ++k) {
            long x = std::lround(m_cos[k] * rho + m_cx);
            long y = std::lround(m_sin[k] * rho + m_cy);
            if (x < 0 || x >= m_width || y < 0 || y >= m_height) continue;
            point(static_cast<int>(x), static_cast<int>(y));
            point(m_width - 1 - static_cast<int>(x), m_height - 1 - static_cast<int>(y));
        }
    }

private:
    int m_width, m_height;
    double m_cx, m_cy, m_diagonal, m_reach;
    std::vector<double> m_cos, m_sin;
};

CRadialPattern::CRadialPattern(D2DTest& test) : m_test(test) {
    const int screenWidth = test.Mode().width, screenHeight = test.Mode().height;
    m_labelX = (screenWidth - 800) / 8 + screenWidth / 40;
    m_labelY = (screenHeight - 600) / 10 + screenHeight / 30;
}

CRadialPattern::~CRadialPattern() = default;

HRESULT CRadialPattern::Prepare() {
    m_test.ClearBackBuffer(0);
    m_test.FlipPrimary();
    m_test.DrawRunningLabel(m_labelX, m_labelY);
    DDSURFACEDESC2 desc;
    {
        CSurfaceLock lock(m_test.Primary());
        if (FAILED(lock.result())) return lock.result();
        desc = lock.desc();
        if (HRESULT hr = lock.Unlock(); FAILED(hr)) return hr;
    }
    m_width = static_cast<int>(desc.dwWidth);
    m_height = static_cast<int>(desc.dwHeight);
    m_bytesPerPixel = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    if (m_width <= 0 || m_height <= 0 || m_bytesPerPixel < 2 || m_bytesPerPixel > 4) return S_FALSE;
    m_colours = std::make_unique<CRadialColours>(m_width, m_height, desc.ddpfPixelFormat.dwRBitMask,
                                                 desc.ddpfPixelFormat.dwGBitMask);
    m_rings = std::make_unique<CRadialRings>(m_width, m_height);
    return S_OK;
}

HRESULT CRadialPattern::Draw() {
    for (long ring = 0; m_rings->Visits(ring); ++ring) {
        CSurfaceLock lock(m_test.Primary());
        if (FAILED(lock.result())) return lock.result();
        BYTE* bits = lock.bits();
        const long pitch = lock.desc().lPitch;
        m_rings->ForEachPoint(ring, [&](int x, int y) {
            WritePixel(bits, pitch, m_bytesPerPixel, x, y, m_colours->At(x, y));
        });
        if (HRESULT hr = lock.Unlock(); FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT CRadialPattern::Check(int& errorBudget) {
    if (HRESULT hr = m_test.CopyToCompSurface({0, 0, m_width, m_height}); hr != DD_OK) return hr;
    m_test.DrawRunningLabel(m_labelX, m_labelY);
    {
        CSurfaceLock lock(m_test.CompSurface());
        if (FAILED(lock.result())) return lock.result();
        m_test.BadPixels().CheckEach(lock.view(), {0, 0, m_width, m_height},
                                     [&](int x, int y) { return m_colours->At(x, y); }, errorBudget);
        if (HRESULT hr = lock.Unlock(); FAILED(hr)) return hr;
    }
    m_test.ReportCheckFaults();
    return errorBudget < 0 ? E_FAIL : S_OK;
}

HRESULT CRadialPattern::Erase() {
    {
        CSurfaceLock lock(m_test.Primary());
        if (FAILED(lock.result())) return lock.result();
        if (HRESULT hr = lock.Unlock(); FAILED(hr)) return hr;
    }
    for (long ring = 0; m_rings->Visits(ring); ++ring) {
        {
            CSurfaceLock lock(m_test.Primary());
            if (FAILED(lock.result())) return lock.result();
            BYTE* bits = lock.bits();
            const long pitch = lock.desc().lPitch;
            m_rings->ForEachPoint(ring, [&](int x, int y) { WritePixel(bits, pitch, m_bytesPerPixel, x, y, 0); });
            if (HRESULT hr = lock.Unlock(); FAILED(hr)) return hr;
        }
        if (ring % kLabelEveryRings == 0) m_test.DrawRunningLabel(m_labelX, m_labelY);
    }
    return S_OK;
}

}  // namespace video

HRESULT RadialPattern(D2DTest& test, int, int& errorBudget) {
    CRadialPattern pattern(test);
    HRESULT hr = pattern.Prepare();
    if (hr != S_OK) return FAILED(hr) ? hr : S_OK;
    if (FAILED(hr = pattern.Draw())) return hr;
    if (hr = pattern.Check(errorBudget); hr != S_OK) return hr;
    return pattern.Erase();
}
