#include "matrix.h"

#include <cmath>

namespace d3dx {
namespace {

D3DVECTOR Subtract(const D3DVECTOR& a, const D3DVECTOR& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
D3DVECTOR Cross(const D3DVECTOR& a, const D3DVECTOR& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(const D3DVECTOR& a, const D3DVECTOR& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DVECTOR Normalize(const D3DVECTOR& v) {
    const float length = std::sqrt(Dot(v, v));
    if (length == 0.0f) return v;
    return {v.x / length, v.y / length, v.z / length};
}

}  // namespace

D3DMATRIX* MatrixIdentity(D3DMATRIX* out) {
    *out = {};
    out->_11 = out->_22 = out->_33 = out->_44 = 1.0f;
    return out;
}

D3DMATRIX* MatrixMultiply(D3DMATRIX* out, const D3DMATRIX* m1, const D3DMATRIX* m2) {
    D3DMATRIX product;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += m1->m[row][k] * m2->m[k][column];
            product.m[row][column] = sum;
        }
    *out = product;
    return out;
}

D3DMATRIX* MatrixScaling(D3DMATRIX* out, float sx, float sy, float sz) {
    MatrixIdentity(out);
    out->_11 = sx;
    out->_22 = sy;
    out->_33 = sz;
    return out;
}

D3DMATRIX* MatrixTranslation(D3DMATRIX* out, float x, float y, float z) {
    MatrixIdentity(out);
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

D3DMATRIX* MatrixRotationX(D3DMATRIX* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    MatrixIdentity(out);
    out->_22 = c;
    out->_23 = s;
    out->_32 = -s;
    out->_33 = c;
    return out;
}

D3DMATRIX* MatrixRotationY(D3DMATRIX* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    MatrixIdentity(out);
    out->_11 = c;
    out->_13 = -s;
    out->_31 = s;
    out->_33 = c;
    return out;
}

D3DMATRIX* MatrixRotationZ(D3DMATRIX* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    MatrixIdentity(out);
    out->_11 = c;
    out->_12 = s;
    out->_21 = -s;
    out->_22 = c;
    return out;
}

D3DMATRIX* MatrixRotationYawPitchRoll(D3DMATRIX* out, float yaw, float pitch, float roll) {
    D3DMATRIX z, x, y;
    MatrixRotationZ(&z, roll);
    MatrixRotationX(&x, pitch);
    MatrixRotationY(&y, yaw);
    MatrixMultiply(out, &z, &x);
    return MatrixMultiply(out, out, &y);
}

D3DMATRIX* MatrixLookAtLH(D3DMATRIX* out, const D3DVECTOR* eye, const D3DVECTOR* at, const D3DVECTOR* up) {
    const D3DVECTOR zAxis = Normalize(Subtract(*at, *eye));
    const D3DVECTOR xAxis = Normalize(Cross(*up, zAxis));
    const D3DVECTOR yAxis = Cross(zAxis, xAxis);
    MatrixIdentity(out);
    out->_11 = xAxis.x; out->_12 = yAxis.x; out->_13 = zAxis.x;
    out->_21 = xAxis.y; out->_22 = yAxis.y; out->_23 = zAxis.y;
    out->_31 = xAxis.z; out->_32 = yAxis.z; out->_33 = zAxis.z;
    out->_41 = -Dot(xAxis, *eye);
    out->_42 = -Dot(yAxis, *eye);
    out->_43 = -Dot(zAxis, *eye);
    return out;
}

D3DMATRIX* MatrixPerspectiveFovLH(D3DMATRIX* out, float fovY, float aspect, float zNear, float zFar) {
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    *out = {};
    out->_11 = yScale / aspect;
    out->_22 = yScale;
    out->_33 = zFar / (zFar - zNear);
    out->_34 = 1.0f;
    out->_43 = -zNear * zFar / (zFar - zNear);
    return out;
}

D3DVECTOR TransformCoord(const D3DVECTOR& v, const D3DMATRIX& m) {
    const float x = v.x * m._11 + v.y * m._21 + v.z * m._31 + m._41;
    const float y = v.x * m._12 + v.y * m._22 + v.z * m._32 + m._42;
    const float z = v.x * m._13 + v.y * m._23 + v.z * m._33 + m._43;
    const float w = v.x * m._14 + v.y * m._24 + v.z * m._34 + m._44;
    if (w == 0.0f) return {x, y, z};
    return {x / w, y / w, z / w};
}

}  // namespace d3dx
