#include "sphere.h"

#include <cmath>
#include <numbers>

namespace video3d {

void BuildSphereVertices(std::array<SphereVertex, kSphereVertexCount>& vertices) {
    size_t n = 0;
    for (int i = 0; i <= kSphereRings; ++i) {
        const float theta = static_cast<float>(i * std::numbers::pi / kSphereRings);
        for (int j = 0; j <= kSphereSegments; ++j) {
            const float phi = static_cast<float>(j * 2.0 * std::numbers::pi / kSphereSegments);
            SphereVertex& v = vertices[n++];
            v.x = std::sin(phi) * std::sin(theta);
            v.y = std::cos(theta);
            v.z = std::cos(phi) * std::sin(theta);
            const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
            v.nx = v.x / length;
            v.ny = v.y / length;
            v.nz = v.z / length;
            v.u = 1.0f - static_cast<float>(j) / kSphereSegments;
            v.v = static_cast<float>(i) / kSphereRings;
        }
    }
}

void BuildSphereIndices(std::array<WORD, kSphereIndexCount>& indices) {
    size_t k = 0;
    WORD n = 0;
    for (int i = 0; i < kSphereRings; ++i)
        for (int j = 0; j <= kSphereSegments; ++j, ++n) {
            indices[k++] = n;
            indices[k++] = static_cast<WORD>(n + kSphereSegments + 1);
        }
}

}  // namespace video3d
