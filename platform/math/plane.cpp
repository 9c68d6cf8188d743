// Planes: construction, normalisation, transformation and line intersection.
#include "row_vector.h"

// Divides (a, b, c, d) by the length of the normal (a, b, c); a plane without a normal gives zeros.
D3DXPLANE* WINAPI D3DXPlaneNormalize(D3DXPLANE* pOut, CONST D3DXPLANE* pP) {
    if (!pOut || !pP) {
        return nullptr;
    }
    const FLOAT length = std::sqrt(pP->a * pP->a + pP->b * pP->b + pP->c * pP->c);
    *pOut = length > 0.0f ? D3DXPLANE(pP->a / length, pP->b / length, pP->c / length, pP->d / length)
                          : D3DXPLANE(0.0f, 0.0f, 0.0f, 0.0f);
    return pOut;
}

// The point where the line through pV1 and pV2 (not only the segment) meets the plane.
D3DXVECTOR3* WINAPI D3DXPlaneIntersectLine(D3DXVECTOR3* pOut, CONST D3DXPLANE* pP, CONST D3DXVECTOR3* pV1,
                                           CONST D3DXVECTOR3* pV2) {
    if (!pOut || !pP || !pV1 || !pV2) {
        return nullptr;
    }
    const D3DXVECTOR3 direction = *pV2 - *pV1;
    const FLOAT along = D3DXPlaneDotNormal(pP, &direction);
    if (along == 0.0f) {
        return nullptr;
    }
    *pOut = *pV1 - direction * (D3DXPlaneDotCoord(pP, pV1) / along);
    return pOut;
}

// The normal is taken as given, not normalised.
D3DXPLANE* WINAPI D3DXPlaneFromPointNormal(D3DXPLANE* pOut, CONST D3DXVECTOR3* pPoint,
                                           CONST D3DXVECTOR3* pNormal) {
    if (!pOut || !pPoint || !pNormal) {
        return nullptr;
    }
    *pOut = D3DXPLANE(pNormal->x, pNormal->y, pNormal->z, -D3DXVec3Dot(pPoint, pNormal));
    return pOut;
}

// The normal is the unit (pV2 - pV1) x (pV3 - pV1): clockwise points, seen from the front in
// Direct3D's left-handed space, face the viewer.
D3DXPLANE* WINAPI D3DXPlaneFromPoints(D3DXPLANE* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2,
                                      CONST D3DXVECTOR3* pV3) {
    if (!pOut || !pV1 || !pV2 || !pV3) {
        return nullptr;
    }
    const D3DXVECTOR3 edge1 = *pV2 - *pV1, edge2 = *pV3 - *pV1;
    D3DXVECTOR3 normal;
    D3DXVec3Cross(&normal, &edge1, &edge2);
    D3DXVec3Normalize(&normal, &normal);
    return D3DXPlaneFromPointNormal(pOut, pV1, &normal);
}

// (a, b, c, d) as a row vector times pM.
D3DXPLANE* WINAPI D3DXPlaneTransform(D3DXPLANE* pOut, CONST D3DXPLANE* pP, CONST D3DXMATRIX* pM) {
    if (!pOut || !pP || !pM) {
        return nullptr;
    }
    const vtr3::math::Row4 r = vtr3::math::times(pP->a, pP->b, pP->c, pP->d, *pM);
    *pOut = D3DXPLANE(r.v[0], r.v[1], r.v[2], r.v[3]);
    return pOut;
}
