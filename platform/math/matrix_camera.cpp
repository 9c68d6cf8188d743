// View and projection matrices. Projections map depth to 0..1, as Direct3D's clip space has it.
#include <d3dx9math.h>

namespace {

// The camera basis as rows of a view matrix: right, up and forward become the columns, and the
// eye moves to the origin.
D3DXMATRIX view(const D3DXVECTOR3& eye, const D3DXVECTOR3& up, const D3DXVECTOR3& forward) {
    D3DXVECTOR3 z, x, y;
    D3DXVec3Normalize(&z, &forward);
    D3DXVec3Cross(&x, &up, &z);
    D3DXVec3Normalize(&x, &x);
    D3DXVec3Cross(&y, &z, &x);
    return D3DXMATRIX(x.x, y.x, z.x, 0.0f, //
                      x.y, y.y, z.y, 0.0f, //
                      x.z, y.z, z.z, 0.0f, //
                      -D3DXVec3Dot(&x, &eye), -D3DXVec3Dot(&y, &eye), -D3DXVec3Dot(&z, &eye), 1.0f);
}

} // namespace

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pEye, CONST D3DXVECTOR3* pAt,
                                      CONST D3DXVECTOR3* pUp) {
    if (!pOut || !pEye || !pAt || !pUp) {
        return nullptr;
    }
    *pOut = view(*pEye, *pUp, *pAt - *pEye);
    return pOut;
}

// Right-handed: the camera looks down its negative z axis.
D3DXMATRIX* WINAPI D3DXMatrixLookAtRH(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pEye, CONST D3DXVECTOR3* pAt,
                                      CONST D3DXVECTOR3* pUp) {
    if (!pOut || !pEye || !pAt || !pUp) {
        return nullptr;
    }
    *pOut = view(*pEye, *pUp, *pEye - *pAt);
    return pOut;
}

// w and h are the size of the view volume at the near plane.
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    if (!pOut) {
        return nullptr;
    }
    *pOut = D3DXMATRIX(2.0f * zn / w, 0.0f, 0.0f, 0.0f,  //
                       0.0f, 2.0f * zn / h, 0.0f, 0.0f,  //
                       0.0f, 0.0f, zf / (zf - zn), 1.0f, //
                       0.0f, 0.0f, zn * zf / (zn - zf), 0.0f);
    return pOut;
}

// fovy is the vertical field of view in radians; Aspect is width over height.
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn,
                                              FLOAT zf) {
    if (!pOut) {
        return nullptr;
    }
    const FLOAT yScale = 1.0f / std::tan(fovy / 2.0f);
    *pOut = D3DXMATRIX(yScale / Aspect, 0.0f, 0.0f, 0.0f, //
                       0.0f, yScale, 0.0f, 0.0f,          //
                       0.0f, 0.0f, zf / (zf - zn), 1.0f,  //
                       0.0f, 0.0f, zn * zf / (zn - zf), 0.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovRH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn,
                                              FLOAT zf) {
    if (!pOut) {
        return nullptr;
    }
    const FLOAT yScale = 1.0f / std::tan(fovy / 2.0f);
    *pOut = D3DXMATRIX(yScale / Aspect, 0.0f, 0.0f, 0.0f, //
                       0.0f, yScale, 0.0f, 0.0f,          //
                       0.0f, 0.0f, zf / (zn - zf), -1.0f, //
                       0.0f, 0.0f, zn * zf / (zn - zf), 0.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    if (!pOut) {
        return nullptr;
    }
    *pOut = D3DXMATRIX(2.0f / w, 0.0f, 0.0f, 0.0f,         //
                       0.0f, 2.0f / h, 0.0f, 0.0f,         //
                       0.0f, 0.0f, 1.0f / (zf - zn), 0.0f, //
                       0.0f, 0.0f, zn / (zn - zf), 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoRH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    if (!pOut) {
        return nullptr;
    }
    *pOut = D3DXMATRIX(2.0f / w, 0.0f, 0.0f, 0.0f,         //
                       0.0f, 2.0f / h, 0.0f, 0.0f,         //
                       0.0f, 0.0f, 1.0f / (zn - zf), 0.0f, //
                       0.0f, 0.0f, zn / (zn - zf), 1.0f);
    return pOut;
}

// Maps the box l..r, b..t, zn..zf to -1..1, -1..1, 0..1.
D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                              FLOAT zf) {
    if (!pOut) {
        return nullptr;
    }
    *pOut = D3DXMATRIX(2.0f / (r - l), 0.0f, 0.0f, 0.0f,   //
                       0.0f, 2.0f / (t - b), 0.0f, 0.0f,   //
                       0.0f, 0.0f, 1.0f / (zf - zn), 0.0f, //
                       (l + r) / (l - r), (t + b) / (b - t), zn / (zn - zf), 1.0f);
    return pOut;
}
