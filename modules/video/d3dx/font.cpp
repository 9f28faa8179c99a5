#include "font.h"

#include <vector>

#include "framework/gdi.h"
#include "image.h"

namespace d3dx {
namespace {

constexpr D3DRENDERSTATETYPE kRenderStates[] = {D3DRS_ALPHABLENDENABLE, D3DRS_SRCBLEND, D3DRS_DESTBLEND, D3DRS_ZENABLE,
                                                D3DRS_CULLMODE};
constexpr DWORD kRenderValues[] = {TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, FALSE, D3DCULL_NONE};
constexpr D3DTEXTURESTAGESTATETYPE kStageStates[] = {D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2,
                                                     D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2};
constexpr DWORD kStageValues[] = {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
                                  D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE};

struct QuadVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kQuadFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

UINT PowerOfTwoAtLeast(LONG size) {
    UINT side = 1;
    while (side < static_cast<UINT>(size)) side *= 2;
    return side;
}

}  // namespace

HRESULT CFont::Create(IDirect3DDevice8* device, HFONT font, std::unique_ptr<CFont>* out) {
    out->reset();
    LOGFONTW description{};
    if (!device || !font || !::GetObjectW(font, sizeof description, &description)) return D3DERR_INVALIDCALL;
    fw::UniqueFont copy(::CreateFontIndirectW(&description));
    if (!copy) return E_OUTOFMEMORY;
    out->reset(new CFont(device, std::move(copy)));
    return D3D_OK;
}

SIZE CFont::Measure(const std::wstring& text) const {
    fw::UniqueDc dc(::CreateCompatibleDC(nullptr));
    fw::ScopedSelect select(dc.get(), m_font.get());
    RECT bounds{};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

HRESULT CFont::PrepareTexture(const std::wstring& text) {
    if (m_texture && text == m_textureText) return D3D_OK;
    m_texture.Reset();
    m_textSize = Measure(text);
    if (m_textSize.cx <= 0 || m_textSize.cy <= 0) return D3DERR_INVALIDCALL;
    m_textureWidth = PowerOfTwoAtLeast(m_textSize.cx);
    m_textureHeight = PowerOfTwoAtLeast(m_textSize.cy);

    // White text on black: the red channel is the text's coverage.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, static_cast<LONG>(m_textureWidth), -static_cast<LONG>(m_textureHeight), 1, 32,
                      BI_RGB};
    void* bits = nullptr;
    fw::UniqueDc dc(::CreateCompatibleDC(nullptr));
    fw::UniqueBitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap) return E_OUTOFMEMORY;
    {
        fw::ScopedSelect selectBitmap(dc.get(), bitmap.get());
        fw::ScopedSelect selectFont(dc.get(), m_font.get());
        ::SetTextColor(dc.get(), RGB(255, 255, 255));
        ::SetBkColor(dc.get(), RGB(0, 0, 0));
        ::SetBkMode(dc.get(), OPAQUE);
        RECT area{0, 0, static_cast<LONG>(m_textureWidth), static_cast<LONG>(m_textureHeight)};
        ::ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &area, text.c_str(), static_cast<UINT>(text.size()), nullptr);
        ::GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> row(m_textureWidth);

    D3DFORMAT format = D3DFMT_A8R8G8B8;
    HRESULT hr = m_device->CreateTexture(m_textureWidth, m_textureHeight, 1, 0, format, D3DPOOL_MANAGED,
                                         m_texture.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
        format = D3DFMT_A4R4G4B4;
        hr = m_device->CreateTexture(m_textureWidth, m_textureHeight, 1, 0, format, D3DPOOL_MANAGED,
                                     m_texture.ReleaseAndGetAddressOf());
    }
    if (FAILED(hr)) return hr;
    D3DLOCKED_RECT locked{};
    if (hr = m_texture->LockRect(0, &locked, nullptr, 0); FAILED(hr)) {
        m_texture.Reset();
        return hr;
    }
    auto* destination = static_cast<BYTE*>(locked.pBits);
    for (UINT y = 0; y < m_textureHeight; ++y, destination += locked.Pitch) {
        for (UINT x = 0; x < m_textureWidth; ++x) {
            const std::uint32_t coverage = (pixels[static_cast<size_t>(y) * m_textureWidth + x] >> 16) & 0xFF;
            row[x] = coverage << 24 | 0x00FFFFFFu;
        }
        ConvertRow(row.data(), m_textureWidth, format, destination);
    }
    m_texture->UnlockRect(0);
    m_textureText = text;
    return D3D_OK;
}

HRESULT CFont::Begin() {
    m_saved.saved = true;
    for (size_t i = 0; i < std::size(kRenderStates); ++i)
        m_saved.saved &= SUCCEEDED(m_device->GetRenderState(kRenderStates[i], &m_saved.renderStates[i]));
    for (size_t i = 0; i < std::size(kStageStates); ++i)
        m_saved.saved &= SUCCEEDED(m_device->GetTextureStageState(0, kStageStates[i], &m_saved.stageStates[i]));
    m_saved.saved &= SUCCEEDED(m_device->GetVertexShader(&m_saved.vertexShader));
    return D3D_OK;
}

int CFont::DrawTextW(const wchar_t* text, int count, RECT* rect, DWORD format, D3DCOLOR color) {
    if (!text || !rect) return 0;
    const std::wstring value = count < 0 ? std::wstring(text) : std::wstring(text, static_cast<size_t>(count));
    if (format & DT_CALCRECT) {
        const SIZE size = Measure(value);
        rect->right = rect->left + size.cx;
        rect->bottom = rect->top + size.cy;
        return size.cy;
    }
    if (FAILED(PrepareTexture(value))) return 0;

    const float left = static_cast<float>(rect->left) - 0.5f, top = static_cast<float>(rect->top) - 0.5f;
    const float right = left + static_cast<float>(m_textSize.cx), bottom = top + static_cast<float>(m_textSize.cy);
    const float u = static_cast<float>(m_textSize.cx) / static_cast<float>(m_textureWidth);
    const float v = static_cast<float>(m_textSize.cy) / static_cast<float>(m_textureHeight);
    const QuadVertex quad[4] = {{left, top, 0, 1, color, 0, 0},
                                {right, top, 0, 1, color, u, 0},
                                {left, bottom, 0, 1, color, 0, v},
                                {right, bottom, 0, 1, color, u, v}};
    for (size_t i = 0; i < std::size(kRenderStates); ++i) m_device->SetRenderState(kRenderStates[i], kRenderValues[i]);
    for (size_t i = 0; i < std::size(kStageStates); ++i) m_device->SetTextureStageState(0, kStageStates[i], kStageValues[i]);
    m_device->SetVertexShader(kQuadFvf);
    m_device->SetTexture(0, m_texture.Get());
    const HRESULT hr = m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(QuadVertex));
    m_device->SetTexture(0, nullptr);
    return SUCCEEDED(hr) ? static_cast<int>(m_textSize.cy) : 0;
}

HRESULT CFont::End() {
    if (!m_saved.saved) return D3D_OK;
    for (size_t i = 0; i < std::size(kRenderStates); ++i) m_device->SetRenderState(kRenderStates[i], m_saved.renderStates[i]);
    for (size_t i = 0; i < std::size(kStageStates); ++i) m_device->SetTextureStageState(0, kStageStates[i], m_saved.stageStates[i]);
    m_device->SetVertexShader(m_saved.vertexShader);
    m_saved.saved = false;
    return D3D_OK;
}

}  // namespace d3dx
