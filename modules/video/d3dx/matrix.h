#pragma once
// Matrix helpers for the 3D test, in the conventions of the platform's utility
// library: left-handed coordinates, row vectors (v' = v * M), the result first.
#include <windows.h>
#include <d3d8types.h>

namespace d3dx {

D3DMATRIX* MatrixIdentity(D3DMATRIX* out);
// out = m1 * m2: m1's transform is applied first. `out` may alias either input.
D3DMATRIX* MatrixMultiply(D3DMATRIX* out, const D3DMATRIX* m1, const D3DMATRIX* m2);
D3DMATRIX* MatrixScaling(D3DMATRIX* out, float sx, float sy, float sz);
D3DMATRIX* MatrixTranslation(D3DMATRIX* out, float x, float y, float z);
// Angles in radians, clockwise when looking along the axis towards the origin.
D3DMATRIX* MatrixRotationX(D3DMATRIX* out, float angle);
D3DMATRIX* MatrixRotationY(D3DMATRIX* out, float angle);
D3DMATRIX* MatrixRotationZ(D3DMATRIX* out, float angle);
// Roll about z first, then pitch about x, then yaw about y.
D3DMATRIX* MatrixRotationYawPitchRoll(D3DMATRIX* out, float yaw, float pitch, float roll);
D3DMATRIX* MatrixLookAtLH(D3DMATRIX* out, const D3DVECTOR* eye, const D3DVECTOR* at, const D3DVECTOR* up);
// Depth maps near..far to 0..1.
D3DMATRIX* MatrixPerspectiveFovLH(D3DMATRIX* out, float fovY, float aspect, float zNear, float zFar);

// v * M with w = 1, divided by the resulting w.
D3DVECTOR TransformCoord(const D3DVECTOR& v, const D3DMATRIX& m);

}  // namespace d3dx
