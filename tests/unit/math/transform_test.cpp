#include "math_expect.h"

namespace {

const FLOAT kHalfPi = D3DX_PI / 2;

TEST(D3DXTransformTest, RotationsTurnClockwiseLookingDownTheAxis) {
    D3DXMATRIX rx, ry, rz;
    D3DXMatrixRotationX(&rx, kHalfPi);
    D3DXMatrixRotationY(&ry, kHalfPi);
    D3DXMatrixRotationZ(&rz, kHalfPi);
    expectVectorNear(transformed({0, 1, 0}, rx), {0, 0, 1});
    expectVectorNear(transformed({0, 0, 1}, ry), {1, 0, 0});
    expectVectorNear(transformed({1, 0, 0}, rz), {0, 1, 0});

    // Any axis length gives the rotation about the unit axis.
    D3DXMATRIX axis;
    const D3DXVECTOR3 longX(3, 0, 0), longY(0, 0.5f, 0), longZ(0, 0, 7);
    D3DXMatrixRotationAxis(&axis, &longX, 0.7f);
    D3DXMatrixRotationX(&rx, 0.7f);
    expectMatrixNear(axis, rx);
    D3DXMatrixRotationAxis(&axis, &longY, -1.3f);
    D3DXMatrixRotationY(&ry, -1.3f);
    expectMatrixNear(axis, ry);
    D3DXMatrixRotationAxis(&axis, &longZ, 2.9f);
    D3DXMatrixRotationZ(&rz, 2.9f);
    expectMatrixNear(axis, rz);
}

TEST(D3DXTransformTest, YawPitchRollIsRollThenPitchThenYaw) {
    const FLOAT yaw = 0.3f, pitch = -1.1f, roll = 2.0f;
    D3DXMATRIX ypr, rz, rx, ry;
    D3DXMatrixRotationYawPitchRoll(&ypr, yaw, pitch, roll);
    D3DXMatrixRotationZ(&rz, roll);
    D3DXMatrixRotationX(&rx, pitch);
    D3DXMatrixRotationY(&ry, yaw);
    expectMatrixNear(ypr, rz * rx * ry);

    // The quaternion form is the same rotation.
    D3DXQUATERNION q;
    D3DXMATRIX fromQ;
    D3DXQuaternionRotationYawPitchRoll(&q, yaw, pitch, roll);
    D3DXMatrixRotationQuaternion(&fromQ, &q);
    expectMatrixNear(fromQ, ypr);
}

TEST(D3DXTransformTest, QuaternionsComposeLikeMatrices) {
    const D3DXVECTOR3 axis1(1, 2, 3), axis2(-2, 0.5f, 1);
    D3DXQUATERNION q1, q2, q12, identity;
    D3DXQuaternionRotationAxis(&q1, &axis1, 0.8f);
    D3DXQuaternionRotationAxis(&q2, &axis2, -2.1f);
    EXPECT_NEAR(q1.x * q1.x + q1.y * q1.y + q1.z * q1.z + q1.w * q1.w, 1.0f, kTolerance);

    D3DXMATRIX m1, m2, fromQ, axisMatrix;
    D3DXMatrixRotationQuaternion(&m1, &q1);
    D3DXMatrixRotationAxis(&axisMatrix, &axis1, 0.8f);
    expectMatrixNear(m1, axisMatrix);
    D3DXMatrixRotationQuaternion(&m2, &q2);
    D3DXQuaternionMultiply(&q12, &q1, &q2);
    D3DXMatrixRotationQuaternion(&fromQ, &q12);
    expectMatrixNear(fromQ, m1 * m2);
    EXPECT_EQ(q1 * q2, q12);

    D3DXQuaternionIdentity(&identity);
    EXPECT_EQ(q1 * identity, q1);

    D3DXQUATERNION scaled = q1 * 4.0f, unit;
    D3DXQuaternionNormalize(&unit, &scaled);
    EXPECT_NEAR(unit.x, q1.x, kTolerance);
    EXPECT_NEAR(unit.w, q1.w, kTolerance);
}

TEST(D3DXTransformTest, ReflectNormalisesThePlane) {
    const D3DXPLANE unitY(0, 1, 0, 0), doubleY(0, 2, 0, 0);
    D3DXMATRIX fromUnit, fromDouble;
    D3DXMatrixReflect(&fromUnit, &unitY);
    D3DXMatrixReflect(&fromDouble, &doubleY);
    expectMatrixNear(fromUnit, D3DXMATRIX(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    expectMatrixNear(fromDouble, fromUnit);

    // The plane y = 3, in two scales, mirrors a point at y = 5 to y = 1.
    const D3DXPLANE y3(0, 1, 0, -3), y3Scaled(0, 4, 0, -12);
    D3DXMATRIX mirror;
    D3DXMatrixReflect(&mirror, &y3Scaled);
    expectVectorNear(transformed({1, 5, 2}, mirror), {1, 1, 2});
    D3DXMatrixReflect(&mirror, &y3);
    expectVectorNear(transformed({1, 5, 2}, mirror), {1, 1, 2});

    // A slanted plane: mirroring twice gives the identity, a point on it stays.
    const D3DXPLANE slanted(1, -2, 2, 6);
    D3DXMatrixReflect(&mirror, &slanted);
    expectMatrixNear(mirror * mirror, identity());
    expectVectorNear(transformed({-6, 0, 0}, mirror), {-6, 0, 0});
}

} // namespace
