// Comparisons of D3DX math values within a tolerance, naming the element that differs.
#ifndef VTR3_TESTS_MATH_EXPECT_H
#define VTR3_TESTS_MATH_EXPECT_H

#include <d3dx9math.h>
#include <gtest/gtest.h>

constexpr float kTolerance = 1e-5f;

// Any of D3DXMATRIX, D3DXVECTOR3 and D3DXPLANE, element by element.
template <typename T> void expectNear(const T& actual, const T& expected, float tolerance = kTolerance) {
    const auto* a = static_cast<const FLOAT*>(actual);
    const auto* e = static_cast<const FLOAT*>(expected);
    for (std::size_t i = 0; i < sizeof(T) / sizeof(FLOAT); ++i)
        EXPECT_NEAR(a[i], e[i], tolerance) << "element " << i;
}

// The point transformed by the matrix, divided by w.
inline D3DXVECTOR3 transformed(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &p, &m);
    return out;
}

inline D3DXMATRIX identity() {
    D3DXMATRIX m;
    return *D3DXMatrixIdentity(&m);
}

#endif
