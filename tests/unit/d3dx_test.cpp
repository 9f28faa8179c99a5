// Our Direct3D 8 utility functions against numbers worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "fake_d3d8/fake_d3d8.h"
#include "framework/com.h"
#include "framework/unique_resource.h"
#include "modules/video/d3dx/font.h"
#include "modules/video/d3dx/image.h"
#include "modules/video/d3dx/matrix.h"
#include "modules/video/d3dx/texture_loader.h"

namespace {

using namespace d3dx;
constexpr float kPi = std::numbers::pi_v<float>;
constexpr UINT kRampBitmap = 7;

void ExpectNear(const D3DVECTOR& expected, const D3DVECTOR& actual) {
    EXPECT_NEAR(expected.x, actual.x, 1e-4f);
    EXPECT_NEAR(expected.y, actual.y, 1e-4f);
    EXPECT_NEAR(expected.z, actual.z, 1e-4f);
}

TEST(D3dxMatrix, LookAtPutsTheEyeAtTheOriginLookingDownZ) {
    D3DMATRIX view;
    const D3DVECTOR eye{0, 15, -50}, at{0, 0, 0}, up{0, 1, 0};
    ASSERT_EQ(&view, MatrixLookAtLH(&view, &eye, &at, &up));
    // z axis = (0, -15, 50) / sqrt(2725); y axis = (0, 50, 15) / sqrt(2725).
    const float d = std::sqrt(2725.0f);
    const float expected[4][4] = {{1, 0, 0, 0}, {0, 50 / d, -15 / d, 0}, {0, 15 / d, 50 / d, 0}, {0, 0, d, 1}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(expected[r][c], view.m[r][c], 1e-4f) << r << "," << c;
    ExpectNear({0, 0, d}, TransformCoord(at, view));
}

TEST(D3dxMatrix, PerspectiveMapsNearAndFarToZeroAndOne) {
    D3DMATRIX projection;
    MatrixPerspectiveFovLH(&projection, kPi / 4, 4.0f / 3 - 0.08f, 1, 2000);
    EXPECT_NEAR(2.4142136f, projection._22, 1e-5f);                  // cot(pi / 8)
    EXPECT_NEAR(2.4142136f / 1.2533333f, projection._11, 1e-5f);
    EXPECT_NEAR(0.0f, TransformCoord({0, 0, 1}, projection).z, 1e-5f);
    EXPECT_NEAR(1.0f, TransformCoord({0, 0, 2000}, projection).z, 1e-5f);
    // The top edge of the view at depth 10 lands on y = 1.
    EXPECT_NEAR(1.0f, TransformCoord({0, 10 * std::tan(kPi / 8), 10}, projection).y, 1e-5f);
}

TEST(D3dxMatrix, RotationsTurnClockwiseLookingTowardsTheOrigin) {
    D3DMATRIX m;
    struct Case {
        D3DMATRIX* (*make)(D3DMATRIX*, float);
        D3DVECTOR in, out;
    } cases[] = {
        {MatrixRotationY, {1, 0, 0}, {0, 0, -1}},
        {MatrixRotationX, {0, 0, 1}, {0, -1, 0}},
        {MatrixRotationZ, {1, 0, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases) ExpectNear(c.out, TransformCoord(c.in, *c.make(&m, kPi / 2)));

    // Pitch before yaw: z goes down by the pitch, then stays on the yaw axis.
    MatrixRotationYawPitchRoll(&m, kPi / 2, kPi / 2, 0);
    ExpectNear({0, -1, 0}, TransformCoord({0, 0, 1}, m));
    ExpectNear({0, 0, -1}, TransformCoord({1, 0, 0}, m));
    // The sphere's tilt: roll 0.40910518 rad (23.44 degrees) about z.
    MatrixRotationYawPitchRoll(&m, 0, 0, 0.40910518f);
    ExpectNear({0.9174820f, 0.3977772f, 0}, TransformCoord({1, 0, 0}, m));
}

TEST(D3dxMatrix, ProductsApplyTheLeftMatrixFirst) {
    D3DMATRIX scale, move, product;
    MatrixScaling(&scale, 2, 3, 4);
    MatrixTranslation(&move, 0, 4, 0);
    ExpectNear({2, 7, 4}, TransformCoord({1, 1, 1}, *MatrixMultiply(&product, &scale, &move)));
    ExpectNear({2, 15, 4}, TransformCoord({1, 1, 1}, *MatrixMultiply(&product, &move, &scale)));
    // The output may be one of the inputs.
    MatrixMultiply(&scale, &scale, &move);
    ExpectNear({2, 7, 4}, TransformCoord({1, 1, 1}, scale));
}

Image Ramp() { return {4, 1, {0xFF000000, 0xFF500000, 0xFFA00000, 0xFFF00000}}; }
int Red(std::uint32_t texel) { return static_cast<int>((texel >> 16) & 0xFF); }

TEST(D3dxImage, TriangleFilterWeighsOneThreeThreeOneWithMirroredOrWrappedEdges) {
    // Red 0, 80, 160, 240: texel 0 takes (0 + 3*0 + 3*80 + 160) / 8 with the edge mirrored.
    const Image mirrored = Downsample(Ramp(), kFilterTriangle | kFilterMirrorU | kFilterMirrorV);
    ASSERT_EQ(2u, mirrored.width);
    ASSERT_EQ(1u, mirrored.height);
    EXPECT_EQ(50, Red(mirrored.At(0, 0)));
    EXPECT_EQ(190, Red(mirrored.At(1, 0)));  // (80 + 3*160 + 3*240 + 240) / 8
    const Image wrapped = Downsample(Ramp(), kFilterTriangle);
    EXPECT_EQ(80, Red(wrapped.At(0, 0)));  // (240 + 0 + 3*80 + 160) / 8
    EXPECT_EQ(40, Red(Downsample(Ramp(), kFilterBox).At(0, 0)));
}

TEST(D3dxImage, MipChainsAndTexelFormats) {
    struct {
        UINT width, height, levels;
    } chains[] = {{128, 128, 8}, {256, 64, 9}, {1, 1, 1}, {5, 3, 3}};
    for (const auto& c : chains) EXPECT_EQ(c.levels, FullMipCount(c.width, c.height)) << c.width << "x" << c.height;

    const std::uint32_t texel = 0x80FF8040;  // a 0x80, r 0xFF, g 0x80, b 0x40
    struct {
        D3DFORMAT format;
        std::uint32_t packed;
    } formats[] = {{D3DFMT_R5G6B5, 0xFC08}, {D3DFMT_X1R5G5B5, 0xFE08}, {D3DFMT_A1R5G5B5, 0xFE08},
                   {D3DFMT_A4R4G4B4, 0x8F84}, {D3DFMT_A8R8G8B8, 0x80FF8040}};
    for (const auto& f : formats) {
        std::uint32_t out = 0;
        ConvertRow(&texel, 1, f.format, &out);
        EXPECT_EQ(f.packed, out) << f.format;
    }
    EXPECT_EQ(0u, BytesPerTexel(D3DFMT_DXT1));
}

struct DeviceFixture : ::testing::Test {
    void SetUp() override {
        record = std::make_shared<fake_d3d8::D3D8Record>();
        *device.ReleaseAndGetAddressOf() = fake_d3d8::CreateFakeDevice(record);
    }
    void TearDown() override {
        device.Reset();
        EXPECT_EQ(0, record->liveObjects);
    }
    fake_d3d8::Record record;
    fw::ComPtr<IDirect3DDevice8> device;
};

using D3dxTextureLoader = DeviceFixture;

TEST_F(D3dxTextureLoader, FillsEveryLevelOfTheChainWithTheFilteredImage) {
    TextureLoad load;
    load.filter = load.mipFilter = kFilterTriangle | kFilterMirrorU | kFilterMirrorV | kFilterMirrorW;
    fw::ComPtr<IDirect3DTexture8> texture;
    ASSERT_EQ(D3D_OK, CreateTextureFromResource(device.Get(), ::GetModuleHandleW(nullptr), kRampBitmap, load,
                                                texture.GetAddressOf()));
    ASSERT_EQ(3u, texture->GetLevelCount());
    // R5G6B5: red in the top five bits. Level 1 is red 50 and 190, level 2 red 120.
    const std::uint16_t expected[3][2] = {{0x0000, 10 << 11}, {6 << 11, 23 << 11}, {15 << 11, 0}};
    const UINT sides[3] = {4, 2, 1};
    for (UINT level = 0; level < 3; ++level) {
        fake_d3d8::TextureLevel bits;
        ASSERT_TRUE(fake_d3d8::ReadFakeTexture(texture.Get(), level, &bits));
        EXPECT_EQ(sides[level], bits.width);
        const auto* row = reinterpret_cast<const std::uint16_t*>(bits.bits);
        EXPECT_EQ(expected[level][0], row[0]) << "level " << level;
        if (bits.width > 1) {
            EXPECT_EQ(expected[level][1], row[1]) << "level " << level;
        }
    }
}

TEST_F(D3dxTextureLoader, ReportsMissingImagesFormatsAndDeviceFailures) {
    TextureLoad load;
    IDirect3DTexture8* texture = reinterpret_cast<IDirect3DTexture8*>(0xdeadbeef);
    EXPECT_EQ(kErrInvalidData, CreateTextureFromResource(device.Get(), ::GetModuleHandleW(nullptr), 999, load, &texture));
    EXPECT_EQ(nullptr, texture);
    load.format = D3DFMT_DXT1;
    EXPECT_EQ(D3DERR_NOTAVAILABLE,
              CreateTextureFromResource(device.Get(), ::GetModuleHandleW(nullptr), kRampBitmap, load, &texture));
    load.format = D3DFMT_R5G6B5;
    record->failures["CreateTexture"] = {E_OUTOFMEMORY, 0};
    EXPECT_EQ(E_OUTOFMEMORY,
              CreateTextureFromResource(device.Get(), ::GetModuleHandleW(nullptr), kRampBitmap, load, &texture));
    EXPECT_EQ(nullptr, texture);
}

using D3dxFont = DeviceFixture;

TEST_F(D3dxFont, MeasuresDrawsOneQuadAndRestoresTheSceneState) {
    fw::UniqueFont gdiFont(::CreateFontW(30, 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, nullptr));
    std::unique_ptr<CFont> font;
    ASSERT_EQ(D3D_OK, CFont::Create(device.Get(), gdiFont.get(), &font));
    gdiFont.reset();  // the font keeps its own copy

    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    RECT area{20, 25, 0, 0};
    const int height = font->DrawTextW(L"Caption", -1, &area, DT_CALCRECT, 0xFFFFFF00);
    EXPECT_EQ(25 + height, area.bottom);
    EXPECT_GT(area.right, 20 + 7 * 8);

    font->Begin();
    EXPECT_EQ(height, font->DrawTextW(L"Caption", -1, &area, DT_LEFT, 0xFFFFFF00));
    EXPECT_EQ(FALSE, record->renderStates[D3DRS_ZENABLE]);
    font->DrawTextW(L"Caption", -1, &area, DT_LEFT, 0xFFFFFF00);
    font->End();
    EXPECT_EQ(2, record->calls["DrawPrimitiveUP"]);
    EXPECT_EQ(1, record->calls["CreateTexture"]);  // the same text reuses its texture
    EXPECT_EQ(TRUE, record->renderStates[D3DRS_ZENABLE]);
    font.reset();
}

}  // namespace
