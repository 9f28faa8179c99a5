#pragma once
// The 3D test's sphere: a unit sphere of 21 x 21 vertices (ring 0 at the north
// pole, seam duplicated for the texture) drawn as one indexed triangle strip.
#include <windows.h>

#include <array>

namespace video3d {

struct SphereVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
static_assert(sizeof(SphereVertex) == 32, "the vertex format is 32 bytes");

constexpr DWORD kSphereFvf = 0x112;  // position | normal | one texture coordinate set
constexpr int kSphereRings = 20;
constexpr int kSphereSegments = 20;
constexpr UINT kSphereVertexCount = (kSphereRings + 1) * (kSphereSegments + 1);  // 441
constexpr UINT kSphereIndexCount = 2 * kSphereRings * (kSphereSegments + 1);     // 840
constexpr UINT kSpherePrimitiveCount = kSphereIndexCount - 2;                    // 838

void BuildSphereVertices(std::array<SphereVertex, kSphereVertexCount>& vertices);
void BuildSphereIndices(std::array<WORD, kSphereIndexCount>& indices);

}  // namespace video3d
