// Video Test #3's plain parts: the sphere's geometry and the mode table.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

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

}  // namespace
