// Scaling, translation, rotation and reflection matrices. Rotations turn clockwise when looking
// along the axis towards the origin, as Direct3D's left-handed rotations do.
#include <d3dx9math.h>

#include "row_vector.h"

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz) {
    if (!pOut) {
        return nullptr;
    }
    *pOut =
        D3DXMATRIX(sx, 0.0f, 0.0f, 0.0f, 0.0f, sy, 0.0f, 0.0f, 0.0f, 0.0f, sz, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
    if (!pOut) {
        return nullptr;
    }
    *pOut = D3DXMATRIX(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, x, y, z, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle) {
    if (!pOut) {
        return nullptr;
    }
    const FLOAT c = std::cos(Angle), s = std::sin(Angle);
    *pOut = D3DXMATRIX(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, c, s, 0.0f, 0.0f, -s, c, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle) {
    if (!pOut) {
        return nullptr;
    }
    const FLOAT c = std::cos(Angle), s = std::sin(Angle);
    *pOut = D3DXMATRIX(c, 0.0f, -s, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, s, 0.0f, c, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle) {
    if (!pOut) {
        return nullptr;
    }
    const FLOAT c = std::cos(Angle), s = std::sin(Angle);
    *pOut = D3DXMATRIX(c, s, 0.0f, 0.0f, -s, c, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

// The axis need not be unit length; it is normalised first.
D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pV, FLOAT Angle) {
    if (!pOut || !pV) {
        return nullptr;
    }
    D3DXVECTOR3 n;
    vtr3::math::normalize(n, *pV, 3);
    const FLOAT c = std::cos(Angle), s = std::sin(Angle), t = 1.0f - c;
    *pOut = D3DXMATRIX(t * n.x * n.x + c, t * n.x * n.y + s * n.z, t * n.x * n.z - s * n.y, 0.0f,
                       t * n.x * n.y - s * n.z, t * n.y * n.y + c, t * n.y * n.z + s * n.x, 0.0f,
                       t * n.x * n.z + s * n.y, t * n.y * n.z - s * n.x, t * n.z * n.z + c, 0.0f, //
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

// Expects a unit quaternion.
D3DXMATRIX* WINAPI D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, CONST D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) {
        return nullptr;
    }
    const FLOAT x = pQ->x, y = pQ->y, z = pQ->z, w = pQ->w;
    *pOut = D3DXMATRIX(1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y + z * w), 2.0f * (x * z - y * w), 0.0f,
                       2.0f * (x * y - z * w), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z + x * w), 0.0f,
                       2.0f * (x * z + y * w), 2.0f * (y * z - x * w), 1.0f - 2.0f * (x * x + y * y), 0.0f, //
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

// RotationZ(Roll) x RotationX(Pitch) x RotationY(Yaw), multiplied out.
D3DXMATRIX* WINAPI D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT Yaw, FLOAT Pitch, FLOAT Roll) {
    if (!pOut) {
        return nullptr;
    }
    const FLOAT cy = std::cos(Yaw), sy = std::sin(Yaw);
    const FLOAT cp = std::cos(Pitch), sp = std::sin(Pitch);
    const FLOAT cr = std::cos(Roll), sr = std::sin(Roll);
    *pOut = D3DXMATRIX(cr * cy + sr * sp * sy, sr * cp, sr * sp * cy - cr * sy, 0.0f, //
                       cr * sp * sy - sr * cy, cr * cp, sr * sy + cr * sp * cy, 0.0f, //
                       cp * sy, -sp, cp * cy, 0.0f,                                   //
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

// Mirrors points in the plane. The plane is normalised first, so (0, 2, 0, 0) reflects as
// (0, 1, 0, 0) does.
D3DXMATRIX* WINAPI D3DXMatrixReflect(D3DXMATRIX* pOut, CONST D3DXPLANE* pPlane) {
    if (!pOut || !pPlane) {
        return nullptr;
    }
    D3DXPLANE p;
    D3DXPlaneNormalize(&p, pPlane);
    *pOut = D3DXMATRIX(1.0f - 2.0f * p.a * p.a, -2.0f * p.b * p.a, -2.0f * p.c * p.a, 0.0f, //
                       -2.0f * p.a * p.b, 1.0f - 2.0f * p.b * p.b, -2.0f * p.c * p.b, 0.0f, //
                       -2.0f * p.a * p.c, -2.0f * p.b * p.c, 1.0f - 2.0f * p.c * p.c, 0.0f, //
                       -2.0f * p.a * p.d, -2.0f * p.b * p.d, -2.0f * p.c * p.d, 1.0f);
    return pOut;
}
