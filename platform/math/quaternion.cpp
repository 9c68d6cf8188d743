// Rotation quaternions (x, y, z, w), w being the scalar part.
#include "row_vector.h"

// A zero quaternion gives zeros rather than NaN.
D3DXQUATERNION* WINAPI D3DXQuaternionNormalize(D3DXQUATERNION* pOut, CONST D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) {
        return nullptr;
    }
    vtr3::math::normalize(*pOut, *pQ, 4);
    return pOut;
}

// The axis need not be unit length; it is normalised first.
D3DXQUATERNION* WINAPI D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, CONST D3DXVECTOR3* pV, FLOAT Angle) {
    if (!pOut || !pV) {
        return nullptr;
    }
    D3DXVECTOR3 n;
    vtr3::math::normalize(n, *pV, 3);
    const FLOAT s = std::sin(Angle / 2.0f);
    *pOut = D3DXQUATERNION(n.x * s, n.y * s, n.z * s, std::cos(Angle / 2.0f));
    return pOut;
}

// The product of the roll (z), pitch (x) and yaw (y) rotations in that order, multiplied out; the
// same rotation as D3DXMatrixRotationYawPitchRoll.
D3DXQUATERNION* WINAPI D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, FLOAT Yaw, FLOAT Pitch,
                                                          FLOAT Roll) {
    if (!pOut) {
        return nullptr;
    }
    const FLOAT cy = std::cos(Yaw / 2.0f), sy = std::sin(Yaw / 2.0f);
    const FLOAT cp = std::cos(Pitch / 2.0f), sp = std::sin(Pitch / 2.0f);
    const FLOAT cr = std::cos(Roll / 2.0f), sr = std::sin(Roll / 2.0f);
    *pOut = D3DXQUATERNION(cy * sp * cr + sy * cp * sr, sy * cp * cr - cy * sp * sr,
                           cy * cp * sr - sy * sp * cr, cy * cp * cr + sy * sp * sr);
    return pOut;
}

// The Hamilton product pQ2 * pQ1: rotating by the result rotates by pQ1, then by pQ2.
D3DXQUATERNION* WINAPI D3DXQuaternionMultiply(D3DXQUATERNION* pOut, CONST D3DXQUATERNION* pQ1,
                                              CONST D3DXQUATERNION* pQ2) {
    if (!pOut || !pQ1 || !pQ2) {
        return nullptr;
    }
    const D3DXQUATERNION a = *pQ2, b = *pQ1;
    *pOut = D3DXQUATERNION(a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, //
                           a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, //
                           a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, //
                           a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
    return pOut;
}
