// Comparisons of D3DX math values within a tolerance, naming the element that differs.
#ifndef VTR3_TESTS_MATH_EXPECT_H
#define VTR3_TESTS_MATH_EXPECT_H

#include <d3dx9math.h>
#include <gtest/gtest.h>

constexpr float kTolerance = 1e-5f;

inline void expectMatrixNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected,
                             float tolerance = kTolerance) {
    for (UINT row = 0; row < 4; ++row) {
        for (UINT col = 0; col < 4; ++col) {
            EXPECT_NEAR(actual(row, col), expected(row, col), tolerance) << "at _" << row + 1 << col + 1;
        }
    }
}

inline void expectVectorNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected,
                             float tolerance = kTolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void expectPlaneNear(const D3DXPLANE& actual, const D3DXPLANE& expected,
                            float tolerance = kTolerance) {
    EXPECT_NEAR(actual.a, expected.a, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.c, expected.c, tolerance);
    EXPECT_NEAR(actual.d, expected.d, tolerance);
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
