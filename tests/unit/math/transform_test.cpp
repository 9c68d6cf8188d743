#include "math_expect.h"

namespace {

TEST(D3DXTransformTest, RotationsTurnClockwiseLookingDownTheAxisOfAnyLength) {
    using Rotation = D3DXMATRIX* (*)(D3DXMATRIX*, FLOAT);
    const struct {
        Rotation rotation;
        D3DXVECTOR3 longAxis, from, to; // from turns to `to` by a quarter turn
    } cases[] = {{D3DXMatrixRotationX, {3, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                 {D3DXMatrixRotationY, {0, 0.5f, 0}, {0, 0, 1}, {1, 0, 0}},
                 {D3DXMatrixRotationZ, {0, 0, 7}, {1, 0, 0}, {0, 1, 0}}};
    for (const auto& c : cases) {
        D3DXMATRIX m, axis;
        expectNear(transformed(c.from, *c.rotation(&m, D3DX_PI / 2)), c.to);
        D3DXMatrixRotationAxis(&axis, &c.longAxis, -1.3f);
        expectNear(axis, *c.rotation(&m, -1.3f));
    }
}

TEST(D3DXTransformTest, YawPitchRollIsRollThenPitchThenYawAsMatrixAndQuaternion) {
    const FLOAT yaw = 0.3f, pitch = -1.1f, roll = 2.0f;
    D3DXMATRIX ypr, rz, rx, ry, fromQ;
    D3DXMatrixRotationYawPitchRoll(&ypr, yaw, pitch, roll);
    expectNear(ypr, *D3DXMatrixRotationZ(&rz, roll) * *D3DXMatrixRotationX(&rx, pitch) *
                        *D3DXMatrixRotationY(&ry, yaw));
    D3DXQUATERNION q;
    D3DXQuaternionRotationYawPitchRoll(&q, yaw, pitch, roll);
    expectNear(*D3DXMatrixRotationQuaternion(&fromQ, &q), ypr);
}

TEST(D3DXTransformTest, QuaternionsComposeLikeMatrices) {
    const D3DXVECTOR3 axis1(1, 2, 3), axis2(-2, 0.5f, 1);
    D3DXQUATERNION q1, q2, q12, identityQ, unit;
    D3DXQuaternionRotationAxis(&q1, &axis1, 0.8f);
    D3DXQuaternionRotationAxis(&q2, &axis2, -2.1f);
    D3DXMATRIX m1, m2, fromQ, axisMatrix;
    expectNear(*D3DXMatrixRotationQuaternion(&m1, &q1), *D3DXMatrixRotationAxis(&axisMatrix, &axis1, 0.8f));
    D3DXMatrixRotationQuaternion(&m2, &q2);
    D3DXQuaternionMultiply(&q12, &q1, &q2);
    expectNear(*D3DXMatrixRotationQuaternion(&fromQ, &q12), m1 * m2);
    EXPECT_EQ(q1 * q2, q12);
    EXPECT_EQ(q1 * *D3DXQuaternionIdentity(&identityQ), q1);
    const D3DXQUATERNION scaled = q1 * 4.0f;
    D3DXQuaternionNormalize(&unit, &scaled);
    EXPECT_NEAR(unit.x, q1.x, kTolerance);
    EXPECT_NEAR(unit.w, q1.w, kTolerance);
}

TEST(D3DXTransformTest, ReflectNormalisesThePlane) {
    D3DXMATRIX mirror;
    const D3DXPLANE unitY(0, 1, 0, 0), y3Scaled(0, 4, 0, -12), slanted(1, -2, 2, 6);
    expectNear(*D3DXMatrixReflect(&mirror, &unitY),
               D3DXMATRIX(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    // The plane y = 3, scaled by 4, mirrors a point at y = 5 to y = 1.
    expectNear(transformed({1, 5, 2}, *D3DXMatrixReflect(&mirror, &y3Scaled)), {1, 1, 2});
    // A slanted plane: mirroring twice gives the identity, a point on it stays.
    D3DXMatrixReflect(&mirror, &slanted);
    expectNear(mirror * mirror, identity());
    expectNear(transformed({-6, 0, 0}, mirror), {-6, 0, 0});
}

} // namespace
