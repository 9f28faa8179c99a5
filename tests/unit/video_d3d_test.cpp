// Video Test #3's decisions and scene against a scripted Direct3D 8.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "fake_d3d8/fake_d3d8.h"
#include "modules/video/d3d/d3d_test.h"
#include "modules/video/d3d/mode_table.h"
#include "modules/video/d3d/sphere.h"

namespace {

using namespace video3d;

TEST(VideoD3dSphere, GeometryCoversTheUnitSphereAsOneStrip) {
    std::array<SphereVertex, kSphereVertexCount> vertices;
    std::array<WORD, kSphereIndexCount> indices;
    BuildSphereVertices(vertices);
    BuildSphereIndices(indices);

    // Ring 0 is the north pole, ring 20 the south pole; u runs backwards along the ring.
    EXPECT_NEAR(1.0f, vertices[0].y, 1e-6f);
    EXPECT_NEAR(-1.0f, vertices[440].y, 1e-6f);
    const SphereVertex& equator = vertices[10 * 21 + 5];  // theta pi/2, phi pi/2
    EXPECT_NEAR(1.0f, equator.x, 1e-6f);
    EXPECT_NEAR(0.0f, std::abs(equator.y) + std::abs(equator.z), 1e-6f);
    EXPECT_EQ(std::pair(0.75f, 0.5f), std::pair(equator.u, equator.v));
    for (const SphereVertex& v : vertices) {
        EXPECT_NEAR(1.0f, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 1e-5f);
        EXPECT_FLOAT_EQ(v.x, v.nx);
        EXPECT_FLOAT_EQ(v.z, v.nz);
    }
    // n, n + 21 for n = 0, 1, 2, ...: pairs across each ring.
    for (size_t k = 0; k < indices.size(); k += 2) {
        EXPECT_EQ(k / 2, indices[k]);
        EXPECT_EQ(k / 2 + 21, indices[k + 1]);
    }
    EXPECT_EQ(440, indices[839]);
}

TEST(VideoD3dModeTable, KeepsUsableModesOnceSortedByWidthThenDepth) {
    CModeTable table;
    const struct {
        UINT w, h;
        D3DFORMAT f;
    } modes[] = {{1024, 768, D3DFMT_X8R8G8B8}, {640, 480, D3DFMT_R5G6B5},  {800, 600, D3DFMT_X8R8G8B8},
                 {1024, 768, D3DFMT_R5G6B5},   {639, 480, D3DFMT_X8R8G8B8}, {640, 479, D3DFMT_X8R8G8B8},
                 {800, 600, D3DFMT_P8},        {1024, 768, D3DFMT_X8R8G8B8}, {1280, 1024, D3DFMT_X1R5G5B5},
                 {1280, 720, D3DFMT_R8G8B8},   {1280, 800, D3DFMT_X4R4G4B4}};
    for (const auto& m : modes) table.Add(m.w, m.h, m.f);
    table.Sort();
    const struct {
        UINT w, h;
        BYTE bits;
    } expected[] = {{640, 480, 16}, {800, 600, 32}, {1024, 768, 16}, {1024, 768, 32},
                    {1280, 1024, 16}, {1280, 800, 16}, {1280, 720, 32}};
    ASSERT_EQ(static_cast<int>(std::size(expected)), table.Count());
    for (int i = 0; i < table.Count(); ++i)
        EXPECT_EQ(std::tuple(expected[i].w, expected[i].h, expected[i].bits),
                  std::tuple(table[i].width, table[i].height, table[i].bitsPerPixel)) << i;
    // The desktop's mode in its depth class, searched from the end; else the last entry.
    EXPECT_EQ(3, table.StartIndex(1024, 768, 32));
    EXPECT_EQ(2, table.StartIndex(1024, 768, 16));
    EXPECT_EQ(3, table.StartIndex(1024, 768, 24));
    EXPECT_EQ(6, table.StartIndex(1366, 768, 32));
    EXPECT_EQ(-1, CModeTable().StartIndex(800, 600, 32));
}

TEST(VideoD3dModeTable, HoldsFiftyModesAndKeepsTheLargest) {
    struct Guarded {
        CModeTable table;
        unsigned guard = 0xC0FFEE;
    } guarded;
    for (UINT i = 0; i < 120; ++i) guarded.table.Add(640 + 8 * i, 480, i % 2 ? D3DFMT_X8R8G8B8 : D3DFMT_R5G6B5);
    guarded.table.Sort();
    EXPECT_EQ(CModeTable::kCapacity, guarded.table.Count());
    EXPECT_EQ(0xC0FFEEu, guarded.guard);
    EXPECT_EQ(640u + 8 * 70, guarded.table[0].width);
    EXPECT_EQ(640u + 8 * 119, guarded.table[49].width);
}

D3DDISPLAYMODE Mode(UINT w, UINT h, D3DFORMAT f = D3DFMT_X8R8G8B8) { return {w, h, 60, f}; }

struct D3DTestFixture : ::testing::Test {
    void SetUp() override {
        record = std::make_shared<fake_d3d8::D3D8Record>();
        record->modes = {Mode(640, 480), Mode(800, 600), Mode(1024, 768), Mode(640, 480, D3DFMT_R5G6B5),
                         Mode(1024, 768, D3DFMT_R5G6B5)};
    }
    void TearDown() override { EXPECT_EQ(0, record->liveObjects) << "objects left unreleased"; }

    D3DTestPlatform Platform(const wchar_t* library = SUITE_DIST_DIR L"artpack.dll") {
        D3DTestPlatform platform;
        platform.createDirect3D = [r = record] { return fake_d3d8::CreateFakeDirect3D(r); };
        platform.loadString = [](UINT id) { return id == 101 ? std::wstring(L"3D Test Resolution") : L"caption"; };
        platform.textureLibrary = library;
        return platform;
    }

    fake_d3d8::Record record;
    ResolutionText detail;
};

TEST_F(D3DTestFixture, SetsUpTheDesktopModeWithTheSceneItDescribes) {
    D3DTest test(Platform());
    ASSERT_EQ(kD3DOk, test.SetUp(nullptr, 1024, 768, 32, detail));
    EXPECT_STREQ(L"3D Test Resolution: 1024*768*32\r\n", detail.c_str());
    ASSERT_EQ(1u, record->devicesCreated.size());
    const D3DPRESENT_PARAMETERS& p = record->devicesCreated[0];
    EXPECT_EQ(std::tuple(1024u, 768u, D3DFMT_X8R8G8B8, FALSE),
              std::tuple(p.BackBufferWidth, p.BackBufferHeight, p.BackBufferFormat, p.Windowed));
    EXPECT_EQ(D3DFMT_D24X8, p.AutoDepthStencilFormat);  // D32 is refused by this adapter
    EXPECT_EQ(840u * 2, record->indexData.size());
    EXPECT_EQ(21, reinterpret_cast<const WORD*>(record->indexData.data())[1]);

    for (int frame = 0; frame < 3; ++frame) ASSERT_EQ(kD3DOk, test.Frame());
    EXPECT_EQ(6.0f, test.Angle());
    ASSERT_EQ(3u, record->draws.size());
    EXPECT_EQ(std::tuple(D3DPT_TRIANGLESTRIP, 441u, 838u),
              std::tuple(record->draws[0].type, record->draws[0].vertexCount, record->draws[0].primitiveCount));
    // World: scale 6.5 * 4/3 after 6 degrees of turn, lifted by 4.
    EXPECT_NEAR(4.0f, record->transforms[D3DTS_WORLD]._42, 1e-5f);
    EXPECT_NEAR(6.5f * 4 / 3, std::sqrt(std::pow(record->transforms[D3DTS_WORLD]._11, 2.0f) +
                                        std::pow(record->transforms[D3DTS_WORLD]._12, 2.0f) +
                                        std::pow(record->transforms[D3DTS_WORLD]._13, 2.0f)),
                1e-4f);

    test.Release();
    ASSERT_EQ(1u, record->resets.size());
    EXPECT_TRUE(record->resets[0].Windowed);
    EXPECT_EQ(0u, record->resets[0].BackBufferWidth);
    test.Release();  // repeatable
}

TEST_F(D3DTestFixture, FallsBackToTheLargestModeAndStepsDownWhenOutOfVideoMemory) {
    {
        D3DTest test(Platform());
        ASSERT_EQ(kD3DOk, test.SetUp(nullptr, 1366, 768, 32, detail));
        EXPECT_STREQ(L"3D Test Resolution: 1024*768*32\r\n", detail.c_str());
    }
    record->outOfVideoMemoryAt = {{1024, 768}};
    record->devicesCreated.clear();
    D3DTest test(Platform());
    ASSERT_EQ(kD3DOk, test.SetUp(nullptr, 1024, 768, 32, detail));
    EXPECT_STREQ(L"3D Test Resolution: 800*600*32\r\n", detail.c_str());
    ASSERT_EQ(1u, record->devicesCreated.size());
    EXPECT_EQ(800u, record->devicesCreated[0].BackBufferWidth);
}

TEST_F(D3DTestFixture, SetUpFailuresAnswerTheirCodes) {
    struct Case {
        const char* call;
        HRESULT result;
        int code;
    } cases[] = {
        {"EnumAdapterModes", D3DERR_INVALIDCALL, 118},
        {"CreateDevice", D3DERR_NOTAVAILABLE, 103},
        {"SetRenderState:22", E_FAIL, 104},  // cull mode
        {"VertexLock", D3DERR_INVALIDCALL, 122},
        {"CreateTexture", D3DERR_NOTAVAILABLE, 115},
        {"CreateTexture", D3DERR_INVALIDCALL, 114},
        {"CreateTexture", E_OUTOFMEMORY, 116},
    };
    for (const Case& c : cases) {
        record->failures = {{c.call, {c.result, 0}}};
        D3DTest test(Platform());
        EXPECT_EQ(c.code, test.SetUp(nullptr, 1024, 768, 32, detail)) << c.call;
    }
    record->failures.clear();
    {
        D3DTestPlatform none = Platform();
        none.createDirect3D = [] { return static_cast<IDirect3D8*>(nullptr); };
        D3DTest test(none);
        EXPECT_EQ(100, test.SetUp(nullptr, 1024, 768, 32, detail));
    }
    record->depthFormats.clear();
    D3DTest test(Platform());
    EXPECT_EQ(102, test.SetUp(nullptr, 1024, 768, 32, detail));
}

}  // namespace
