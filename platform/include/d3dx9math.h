// D3DX 9 math for the Linux build: vectors, matrices, quaternions, planes and colours with the
// D3DX 9 names, layouts and signatures. Matrices are row-major and transform row vectors (p x M).
// Small helpers are inline (d3dx9math.inl); the rest live in the platform library.
#ifndef VTR3_PLATFORM_D3DX9MATH_H
#define VTR3_PLATFORM_D3DX9MATH_H

#include "d3d9.h"

#include <cmath>

// The platform library is built with hidden visibility: what this header declares is its API.
#pragma GCC visibility push(default)

#define D3DX_PI ((FLOAT)3.141592654f)
#define D3DX_1BYPI ((FLOAT)0.318309886f)

#define D3DXToRadian(degree) ((degree) * (D3DX_PI / 180.0f))
#define D3DXToDegree(radian) ((radian) * (180.0f / D3DX_PI))

struct D3DXVECTOR2 {
    D3DXVECTOR2() = default;
    D3DXVECTOR2(CONST FLOAT* pf);
    D3DXVECTOR2(FLOAT fx, FLOAT fy);

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXVECTOR2& operator+=(CONST D3DXVECTOR2& v);
    D3DXVECTOR2& operator-=(CONST D3DXVECTOR2& v);
    D3DXVECTOR2& operator*=(FLOAT f);
    D3DXVECTOR2& operator/=(FLOAT f);

    D3DXVECTOR2 operator+() const;
    D3DXVECTOR2 operator-() const;

    D3DXVECTOR2 operator+(CONST D3DXVECTOR2& v) const;
    D3DXVECTOR2 operator-(CONST D3DXVECTOR2& v) const;
    D3DXVECTOR2 operator*(FLOAT f) const;
    D3DXVECTOR2 operator/(FLOAT f) const;

    friend D3DXVECTOR2 operator*(FLOAT f, CONST D3DXVECTOR2& v);

    BOOL operator==(CONST D3DXVECTOR2& v) const;
    BOOL operator!=(CONST D3DXVECTOR2& v) const;

    FLOAT x, y;
};
typedef D3DXVECTOR2* LPD3DXVECTOR2;

struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() = default;
    D3DXVECTOR3(CONST FLOAT* pf);
    D3DXVECTOR3(CONST D3DVECTOR& v);
    D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz);

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXVECTOR3& operator+=(CONST D3DXVECTOR3& v);
    D3DXVECTOR3& operator-=(CONST D3DXVECTOR3& v);
    D3DXVECTOR3& operator*=(FLOAT f);
    D3DXVECTOR3& operator/=(FLOAT f);

    D3DXVECTOR3 operator+() const;
    D3DXVECTOR3 operator-() const;

    D3DXVECTOR3 operator+(CONST D3DXVECTOR3& v) const;
    D3DXVECTOR3 operator-(CONST D3DXVECTOR3& v) const;
    D3DXVECTOR3 operator*(FLOAT f) const;
    D3DXVECTOR3 operator/(FLOAT f) const;

    friend D3DXVECTOR3 operator*(FLOAT f, CONST D3DXVECTOR3& v);

    BOOL operator==(CONST D3DXVECTOR3& v) const;
    BOOL operator!=(CONST D3DXVECTOR3& v) const;
};
typedef D3DXVECTOR3* LPD3DXVECTOR3;

struct D3DXVECTOR4 {
    D3DXVECTOR4() = default;
    D3DXVECTOR4(CONST FLOAT* pf);
    D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw);

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXVECTOR4& operator+=(CONST D3DXVECTOR4& v);
    D3DXVECTOR4& operator-=(CONST D3DXVECTOR4& v);
    D3DXVECTOR4& operator*=(FLOAT f);
    D3DXVECTOR4& operator/=(FLOAT f);

    D3DXVECTOR4 operator+() const;
    D3DXVECTOR4 operator-() const;

    D3DXVECTOR4 operator+(CONST D3DXVECTOR4& v) const;
    D3DXVECTOR4 operator-(CONST D3DXVECTOR4& v) const;
    D3DXVECTOR4 operator*(FLOAT f) const;
    D3DXVECTOR4 operator/(FLOAT f) const;

    friend D3DXVECTOR4 operator*(FLOAT f, CONST D3DXVECTOR4& v);

    BOOL operator==(CONST D3DXVECTOR4& v) const;
    BOOL operator!=(CONST D3DXVECTOR4& v) const;

    FLOAT x, y, z, w;
};
typedef D3DXVECTOR4* LPD3DXVECTOR4;

struct D3DXMATRIX : public D3DMATRIX {
    D3DXMATRIX() = default;
    D3DXMATRIX(CONST FLOAT* pf);
    D3DXMATRIX(CONST D3DMATRIX& mat);
    D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
               FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34, FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44);

    FLOAT& operator()(UINT Row, UINT Col);
    FLOAT operator()(UINT Row, UINT Col) const;

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXMATRIX& operator*=(CONST D3DXMATRIX& mat);
    D3DXMATRIX& operator+=(CONST D3DXMATRIX& mat);
    D3DXMATRIX& operator-=(CONST D3DXMATRIX& mat);
    D3DXMATRIX& operator*=(FLOAT f);
    D3DXMATRIX& operator/=(FLOAT f);

    D3DXMATRIX operator+() const;
    D3DXMATRIX operator-() const;

    D3DXMATRIX operator*(CONST D3DXMATRIX& mat) const;
    D3DXMATRIX operator+(CONST D3DXMATRIX& mat) const;
    D3DXMATRIX operator-(CONST D3DXMATRIX& mat) const;
    D3DXMATRIX operator*(FLOAT f) const;
    D3DXMATRIX operator/(FLOAT f) const;

    friend D3DXMATRIX operator*(FLOAT f, CONST D3DXMATRIX& mat);

    BOOL operator==(CONST D3DXMATRIX& mat) const;
    BOOL operator!=(CONST D3DXMATRIX& mat) const;
};
typedef D3DXMATRIX* LPD3DXMATRIX;

struct D3DXQUATERNION {
    D3DXQUATERNION() = default;
    D3DXQUATERNION(CONST FLOAT* pf);
    D3DXQUATERNION(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw);

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXQUATERNION& operator+=(CONST D3DXQUATERNION& q);
    D3DXQUATERNION& operator-=(CONST D3DXQUATERNION& q);
    D3DXQUATERNION& operator*=(CONST D3DXQUATERNION& q);
    D3DXQUATERNION& operator*=(FLOAT f);
    D3DXQUATERNION& operator/=(FLOAT f);

    D3DXQUATERNION operator+() const;
    D3DXQUATERNION operator-() const;

    D3DXQUATERNION operator+(CONST D3DXQUATERNION& q) const;
    D3DXQUATERNION operator-(CONST D3DXQUATERNION& q) const;
    D3DXQUATERNION operator*(CONST D3DXQUATERNION& q) const;
    D3DXQUATERNION operator*(FLOAT f) const;
    D3DXQUATERNION operator/(FLOAT f) const;

    friend D3DXQUATERNION operator*(FLOAT f, CONST D3DXQUATERNION& q);

    BOOL operator==(CONST D3DXQUATERNION& q) const;
    BOOL operator!=(CONST D3DXQUATERNION& q) const;

    FLOAT x, y, z, w;
};
typedef D3DXQUATERNION* LPD3DXQUATERNION;

// The plane a*x + b*y + c*z + d*w = 0.
struct D3DXPLANE {
    D3DXPLANE() = default;
    D3DXPLANE(CONST FLOAT* pf);
    D3DXPLANE(FLOAT fa, FLOAT fb, FLOAT fc, FLOAT fd);

    operator FLOAT*();
    operator CONST FLOAT*() const;

    D3DXPLANE operator+() const;
    D3DXPLANE operator-() const;

    BOOL operator==(CONST D3DXPLANE& p) const;
    BOOL operator!=(CONST D3DXPLANE& p) const;

    FLOAT a, b, c, d;
};
typedef D3DXPLANE* LPD3DXPLANE;

// Colour channels as floats; 0..1 is the displayable range, values outside it are kept.
struct D3DXCOLOR {
    D3DXCOLOR() = default;
    D3DXCOLOR(DWORD argb);
    D3DXCOLOR(CONST FLOAT* pf);
    D3DXCOLOR(CONST D3DCOLORVALUE& c);
    D3DXCOLOR(FLOAT fr, FLOAT fg, FLOAT fb, FLOAT fa);

    operator DWORD() const;

    operator FLOAT*();
    operator CONST FLOAT*() const;

    operator D3DCOLORVALUE*();
    operator CONST D3DCOLORVALUE*() const;

    operator D3DCOLORVALUE&();
    operator CONST D3DCOLORVALUE&() const;

    D3DXCOLOR& operator+=(CONST D3DXCOLOR& c);
    D3DXCOLOR& operator-=(CONST D3DXCOLOR& c);
    D3DXCOLOR& operator*=(FLOAT f);
    D3DXCOLOR& operator/=(FLOAT f);

    D3DXCOLOR operator+() const;
    D3DXCOLOR operator-() const;

    D3DXCOLOR operator+(CONST D3DXCOLOR& c) const;
    D3DXCOLOR operator-(CONST D3DXCOLOR& c) const;
    D3DXCOLOR operator*(FLOAT f) const;
    D3DXCOLOR operator/(FLOAT f) const;

    friend D3DXCOLOR operator*(FLOAT f, CONST D3DXCOLOR& c);

    BOOL operator==(CONST D3DXCOLOR& c) const;
    BOOL operator!=(CONST D3DXCOLOR& c) const;

    FLOAT r, g, b, a;
};
typedef D3DXCOLOR* LPD3DXCOLOR;

// Every function returns its output pointer, or NULL when an argument pointer is NULL.
#ifdef __cplusplus
extern "C" {
#endif

D3DXVECTOR2* WINAPI D3DXVec2Normalize(D3DXVECTOR2* pOut, CONST D3DXVECTOR2* pV);

D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV);
D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM);
D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM);
D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM);

D3DXVECTOR4* WINAPI D3DXVec4Normalize(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV);
D3DXVECTOR4* WINAPI D3DXVec4Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV, CONST D3DXMATRIX* pM);

FLOAT WINAPI D3DXMatrixDeterminant(CONST D3DXMATRIX* pM);
D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM1, CONST D3DXMATRIX* pM2);
D3DXMATRIX* WINAPI D3DXMatrixMultiplyTranspose(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM1,
                                               CONST D3DXMATRIX* pM2);
D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM);
// NULL, with pOut left as it was, when the matrix is singular; pDeterminant may be NULL.
D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, CONST D3DXMATRIX* pM);

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz);
D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z);
D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pV, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, CONST D3DXQUATERNION* pQ);
// Roll about z first, then pitch about x, then yaw about y.
D3DXMATRIX* WINAPI D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT Yaw, FLOAT Pitch, FLOAT Roll);
D3DXMATRIX* WINAPI D3DXMatrixReflect(D3DXMATRIX* pOut, CONST D3DXPLANE* pPlane);

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pEye, CONST D3DXVECTOR3* pAt,
                                      CONST D3DXVECTOR3* pUp);
D3DXMATRIX* WINAPI D3DXMatrixLookAtRH(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pEye, CONST D3DXVECTOR3* pAt,
                                      CONST D3DXVECTOR3* pUp);
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovRH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixOrthoRH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf);
D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                              FLOAT zf);

D3DXQUATERNION* WINAPI D3DXQuaternionNormalize(D3DXQUATERNION* pOut, CONST D3DXQUATERNION* pQ);
D3DXQUATERNION* WINAPI D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, CONST D3DXVECTOR3* pV, FLOAT Angle);
D3DXQUATERNION* WINAPI D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, FLOAT Yaw, FLOAT Pitch,
                                                          FLOAT Roll);
// The rotation pQ1 followed by pQ2, as D3DXMatrixMultiply orders matrices.
D3DXQUATERNION* WINAPI D3DXQuaternionMultiply(D3DXQUATERNION* pOut, CONST D3DXQUATERNION* pQ1,
                                              CONST D3DXQUATERNION* pQ2);

D3DXPLANE* WINAPI D3DXPlaneNormalize(D3DXPLANE* pOut, CONST D3DXPLANE* pP);
// NULL when the line through pV1 and pV2 is parallel to the plane.
D3DXVECTOR3* WINAPI D3DXPlaneIntersectLine(D3DXVECTOR3* pOut, CONST D3DXPLANE* pP, CONST D3DXVECTOR3* pV1,
                                           CONST D3DXVECTOR3* pV2);
D3DXPLANE* WINAPI D3DXPlaneFromPointNormal(D3DXPLANE* pOut, CONST D3DXVECTOR3* pPoint,
                                           CONST D3DXVECTOR3* pNormal);
D3DXPLANE* WINAPI D3DXPlaneFromPoints(D3DXPLANE* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2,
                                      CONST D3DXVECTOR3* pV3);
// pM is the inverse transpose of the matrix that moves the points.
D3DXPLANE* WINAPI D3DXPlaneTransform(D3DXPLANE* pOut, CONST D3DXPLANE* pP, CONST D3DXMATRIX* pM);

#ifdef __cplusplus
}
#endif

#pragma GCC visibility pop

#include "d3dx9math.inl"

#endif
