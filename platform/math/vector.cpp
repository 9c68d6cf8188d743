// Vector normalisation and the vector-by-matrix transforms.
#include "row_vector.h"

using vtr3::math::normalize;
using vtr3::math::Row4;
using vtr3::math::times;

D3DXVECTOR2* WINAPI D3DXVec2Normalize(D3DXVECTOR2* pOut, CONST D3DXVECTOR2* pV) {
    if (!pOut || !pV) {
        return nullptr;
    }
    normalize(*pOut, *pV, 2);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV) {
    if (!pOut || !pV) {
        return nullptr;
    }
    normalize(*pOut, *pV, 3);
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Normalize(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV) {
    if (!pOut || !pV) {
        return nullptr;
    }
    normalize(*pOut, *pV, 4);
    return pOut;
}

// The point (x, y, z, 1).
D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) {
        return nullptr;
    }
    const Row4 r = times(pV->x, pV->y, pV->z, 1.0f, *pM);
    *pOut = D3DXVECTOR4(r.v[0], r.v[1], r.v[2], r.v[3]);
    return pOut;
}

// The point (x, y, z, 1), projected back to w = 1. A w of 0 gives infinities, as in the library.
D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) {
        return nullptr;
    }
    const Row4 r = times(pV->x, pV->y, pV->z, 1.0f, *pM);
    *pOut = D3DXVECTOR3(r.v[0] / r.v[3], r.v[1] / r.v[3], r.v[2] / r.v[3]);
    return pOut;
}

// The direction (x, y, z, 0): translation does not apply.
D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) {
        return nullptr;
    }
    const Row4 r = times(pV->x, pV->y, pV->z, 0.0f, *pM);
    *pOut = D3DXVECTOR3(r.v[0], r.v[1], r.v[2]);
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV, CONST D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) {
        return nullptr;
    }
    const Row4 r = times(pV->x, pV->y, pV->z, pV->w, *pM);
    *pOut = D3DXVECTOR4(r.v[0], r.v[1], r.v[2], r.v[3]);
    return pOut;
}
