// D3DX math: matrices, transforms, cameras, planes, vectors and colours, compared within a tolerance
// that names the element that differs.
#include <d3dx9math.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

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

// A dense matrix with determinant 14 and a known rational inverse.
const D3DXMATRIX kDense(1, 2, 3, 4, 0, 1, 5, 6, 7, 0, 1, 8, 2, 3, 0, 1);

TEST(D3DXMatrixTest, MultiplyPutsTheFirstArgumentFirst) {
    D3DXMATRIX t, s, ts;
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixScaling(&s, 2, 2, 2);
    // p x T x S translates, then scales the translation too.
    EXPECT_EQ(D3DXMatrixMultiply(&ts, &t, &s), &ts);
    expectNear(ts, D3DXMATRIX(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 4, 6, 1));
    expectNear(s * t, D3DXMATRIX(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1));

    // The output may be an input; MultiplyTranspose is the product's transpose.
    D3DXMATRIX a = kDense, expected, transposed, mt;
    D3DXMatrixMultiply(&expected, &kDense, &kDense);
    D3DXMatrixMultiply(&a, &a, &a);
    expectNear(a, expected);
    D3DXMatrixTranspose(&transposed, &expected);
    D3DXMatrixMultiplyTranspose(&mt, &kDense, &kDense);
    expectNear(mt, transposed);
    EXPECT_EQ(transposed(0, 1), expected(1, 0));
}

TEST(D3DXMatrixTest, InverseIsExactInPlaceAndRefusedForSingularMatrices) {
    D3DXMATRIX inverse;
    FLOAT det = 0;
    ASSERT_EQ(D3DXMatrixInverse(&inverse, &det, &kDense), &inverse);
    EXPECT_FLOAT_EQ(det, 14.0f);
    EXPECT_FLOAT_EQ(D3DXMatrixDeterminant(&kDense), 14.0f);
    expectNear(inverse, D3DXMATRIX(103 / 14.f, -31 / 7.f, 1 / 14.f, -24 / 7.f,  //
                                   -33 / 14.f, 10 / 7.f, -1 / 14.f, 10 / 7.f,   //
                                   135 / 14.f, -39 / 7.f, -1 / 14.f, -32 / 7.f, //
                                   -107 / 14.f, 32 / 7.f, 1 / 14.f, 25 / 7.f));
    expectNear(kDense * inverse, identity());
    D3DXMATRIX in = kDense;
    ASSERT_EQ(D3DXMatrixInverse(&in, nullptr, &in), &in);
    expectNear(in, inverse);

    const D3DXMATRIX duplicateRows(1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 1);
    D3DXMATRIX out = kDense;
    det = -1;
    EXPECT_EQ(D3DXMatrixInverse(&out, &det, &duplicateRows), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_EQ(out, kDense) << "the output is left as it was";
}

TEST(D3DXMatrixTest, IdentityIsExactAndOperatorsWorkElementWise) {
    D3DXMATRIX m = identity();
    EXPECT_TRUE(D3DXMatrixIsIdentity(&m));
    m(3, 0) = 1e-7f;
    EXPECT_FALSE(D3DXMatrixIsIdentity(&m));
    EXPECT_EQ(m._41, 1e-7f);
    const D3DXMATRIX doubled = 2.0f * kDense;
    EXPECT_EQ(doubled, kDense + kDense);
    EXPECT_EQ(doubled / 2.0f, kDense);
    EXPECT_EQ(doubled - kDense, kDense);
    EXPECT_EQ(-kDense + kDense, kDense * 0.0f);
    D3DXMATRIX product = kDense;
    product *= kDense;
    EXPECT_EQ(product, kDense * kDense);
    EXPECT_EQ(static_cast<const FLOAT*>(kDense)[7], 6.0f);
}

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

TEST(D3DXCameraTest, LookAtMovesTheEyeToTheOriginFacingZ) {
    const D3DXVECTOR3 eye(3, 4, -5), at(1, -2, 6), up(0, 1, 0), toAt = at - eye;
    const FLOAT distance = D3DXVec3Length(&toAt);
    D3DXMATRIX view, transposed;
    ASSERT_EQ(D3DXMatrixLookAtLH(&view, &eye, &at, &up), &view);
    expectNear(transformed(eye, view), {0, 0, 0});
    expectNear(transformed(at, view), {0, 0, distance});
    EXPECT_GT(transformed(eye + up, view).y, 0.0f) << "up stays up";
    D3DXMATRIX rotation = view;
    rotation._41 = rotation._42 = rotation._43 = 0;
    expectNear(rotation * *D3DXMatrixTranspose(&transposed, &rotation), identity());
    // Right-handed: what lies ahead ends up on the negative z axis.
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    expectNear(transformed(at, view), {0, 0, -distance});
    EXPECT_GT(transformed(eye + up, view).y, 0.0f);
}

TEST(D3DXCameraTest, PerspectiveMatricesHaveThePublishedEntries) {
    D3DXMATRIX proj;
    const FLOAT yScale = 2.41421356f; // cot(pi / 8)
    ASSERT_EQ(D3DXMatrixPerspectiveFovLH(&proj, D3DX_PI / 4, 4.0f / 3.0f, 1, 100), &proj);
    expectNear(proj, D3DXMATRIX(yScale * 0.75f, 0, 0, 0, 0, yScale, 0, 0, 0, 0, 100 / 99.f, 1, //
                                0, 0, -100 / 99.f, 0));
    D3DXMatrixPerspectiveFovRH(&proj, D3DX_PI / 4, 4.0f / 3.0f, 1, 100);
    expectNear(proj, D3DXMATRIX(yScale * 0.75f, 0, 0, 0, 0, yScale, 0, 0, 0, 0, -100 / 99.f, -1, //
                                0, 0, -100 / 99.f, 0));
    // w and h are the near plane's size: its corner maps to the corner of clip space.
    D3DXMatrixPerspectiveLH(&proj, 2, 1.5f, 1, 100);
    expectNear(transformed({1, 0.75f, 1}, proj), {1, 1, 0});
    expectNear(transformed({-100, -75, 100}, proj), {-1, -1, 1});
}

TEST(D3DXCameraTest, OrthographicMatricesMapTheBoxToClipSpace) {
    D3DXMATRIX proj;
    D3DXMatrixOrthoLH(&proj, 4, 2, 1, 11);
    expectNear(proj, D3DXMATRIX(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.1f, 0, 0, 0, -0.1f, 1));
    D3DXMatrixOrthoRH(&proj, 4, 2, 1, 11);
    expectNear(transformed({2, 1, -11}, proj), {1, 1, 1});
    expectNear(transformed({-2, -1, -1}, proj), {-1, -1, 0});
    // Screen pixels with y down, as a 2D overlay uses them.
    D3DXMatrixOrthoOffCenterLH(&proj, 0, 800, 600, 0, 0, 1);
    expectNear(transformed({0, 0, 0}, proj), {-1, 1, 0});
    expectNear(transformed({800, 600, 1}, proj), {1, -1, 1});
}

TEST(D3DXPlaneTest, ConstructionNormalisationAndDotProducts) {
    const D3DXVECTOR3 point(1, 2, 3), normal(0, 2, 0);
    D3DXPLANE plane;
    ASSERT_EQ(D3DXPlaneFromPointNormal(&plane, &point, &normal), &plane);
    EXPECT_EQ(plane, D3DXPLANE(0, 2, 0, -4)) << "the normal is kept as given";
    // Clockwise as seen from -z: the normal faces that viewer.
    const D3DXVECTOR3 v1(0, 0, 5), v2(0, 1, 5), v3(1, 0, 5);
    expectNear(*D3DXPlaneFromPoints(&plane, &v1, &v2, &v3), {0, 0, -1, 5});
    const D3DXPLANE scaled(0, 3, 4, 10), flat(0, 0, 0, 1);
    expectNear(*D3DXPlaneNormalize(&plane, &scaled), {0, 0.6f, 0.8f, 2});
    EXPECT_EQ(*D3DXPlaneNormalize(&plane, &flat), D3DXPLANE(0, 0, 0, 0));

    const D3DXVECTOR3 p(7, 3, 9);
    const D3DXVECTOR4 p4(7, 3, 9, 2);
    const D3DXPLANE yIs1(0, 1, 0, -1);
    EXPECT_FLOAT_EQ(D3DXPlaneDotCoord(&yIs1, &p), 2);
    EXPECT_FLOAT_EQ(D3DXPlaneDotNormal(&yIs1, &p), 3);
    EXPECT_FLOAT_EQ(D3DXPlaneDot(&yIs1, &p4), 1);
}

TEST(D3DXPlaneTest, TransformTakesTheInverseTransposeAndIntersectLineTheWholeLine) {
    D3DXMATRIX s, r, t, world, inverse, inverseTranspose;
    world = *D3DXMatrixScaling(&s, 2, 1, 0.5f) * *D3DXMatrixRotationYawPitchRoll(&r, 0.5f, 0.25f, -0.75f) *
            *D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixTranspose(&inverseTranspose, D3DXMatrixInverse(&inverse, nullptr, &world));
    const D3DXPLANE slanted(1, 2, -1, 4);
    D3DXPLANE moved;
    ASSERT_EQ(D3DXPlaneTransform(&moved, &slanted, &inverseTranspose), &moved);
    // Points on the plane, moved by the world matrix, lie on the moved plane.
    for (const D3DXVECTOR3& onPlane : {D3DXVECTOR3(-4, 0, 0), D3DXVECTOR3(0, -2, 0), D3DXVECTOR3(1, 1, 7)}) {
        const D3DXVECTOR3 p = transformed(onPlane, world);
        EXPECT_NEAR(D3DXPlaneDotCoord(&moved, &p), 0, 1e-4f);
    }

    const D3DXPLANE yIs3(0, 1, 0, -3);
    const D3DXVECTOR3 a(1, 0, 1), b(1, 1, 1), c(5, 0, 1);
    D3DXVECTOR3 hit(9, 9, 9);
    ASSERT_EQ(D3DXPlaneIntersectLine(&hit, &yIs3, &a, &b), &hit);
    expectNear(hit, {1, 3, 1});
    EXPECT_EQ(D3DXPlaneIntersectLine(&hit, &yIs3, &a, &c), nullptr) << "parallel";
}

TEST(D3DXVectorTest, TransformsTreatPointsAndDirectionsApart) {
    D3DXMATRIX halfW, t;
    D3DXMatrixIdentity(&halfW);
    halfW._44 = 2;
    const D3DXVECTOR3 v(2, 4, 6);
    D3DXVECTOR3 out;
    D3DXVECTOR4 out4;
    EXPECT_EQ(*D3DXVec3TransformCoord(&out, &v, &halfW), D3DXVECTOR3(1, 2, 3)) << "divided by w";
    EXPECT_EQ(*D3DXVec3Transform(&out4, &v, &halfW), D3DXVECTOR4(2, 4, 6, 2));
    D3DXMatrixTranslation(&t, 10, 20, 30);
    EXPECT_EQ(*D3DXVec3TransformNormal(&out, &v, &t), v) << "directions do not move";
    EXPECT_EQ(*D3DXVec3TransformCoord(&out, &v, &t), D3DXVECTOR3(12, 24, 36));
    const D3DXVECTOR4 direction(1, 1, 1, 0), point(1, 1, 1, 1);
    EXPECT_EQ(*D3DXVec4Transform(&out4, &direction, &t), direction);
    EXPECT_EQ(*D3DXVec4Transform(&out4, &point, &t), D3DXVECTOR4(11, 21, 31, 1));
}

TEST(D3DXVectorTest, HelpersAndZeroLengthNormalisation) {
    const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), zero(0, 0, 0), v(3, -4, 12);
    D3DXVECTOR3 out;
    EXPECT_EQ(*D3DXVec3Cross(&out, &x, &y), D3DXVECTOR3(0, 0, 1));
    EXPECT_FLOAT_EQ(D3DXVec3Length(&v), 13);
    EXPECT_FLOAT_EQ(D3DXVec3LengthSq(&v), 169);
    expectNear(*D3DXVec3Normalize(&out, &v), {3 / 13.f, -4 / 13.f, 12 / 13.f});
    EXPECT_EQ(*D3DXVec3Normalize(&out, &zero), zero);
    EXPECT_EQ(*D3DXVec3Lerp(&out, &x, &v, 0.5f), D3DXVECTOR3(2, -2, 6));
    EXPECT_EQ(*D3DXVec3Minimize(&out, &x, &v), D3DXVECTOR3(1, -4, 0));
    EXPECT_EQ(*D3DXVec3Maximize(&out, &x, &v), D3DXVECTOR3(3, 0, 12));
    const D3DXVECTOR2 v2(3, 4), zero2(0, 0);
    D3DXVECTOR2 out2;
    EXPECT_EQ(*D3DXVec2Normalize(&out2, &v2), D3DXVECTOR2(0.6f, 0.8f));
    EXPECT_EQ(*D3DXVec2Normalize(&out2, &zero2), zero2);
    const D3DXVECTOR4 v4(2, 0, 0, 0), zero4(0, 0, 0, 0);
    D3DXVECTOR4 out4;
    EXPECT_EQ(*D3DXVec4Normalize(&out4, &v4), D3DXVECTOR4(1, 0, 0, 0));
    EXPECT_EQ(*D3DXVec4Normalize(&out4, &zero4), zero4);
}

TEST(D3DXColorTest, ConvertsToAndFromArgb) {
    const D3DXCOLOR c(0x80FF4000u);
    EXPECT_EQ(D3DXVECTOR4(c.r, c.g, c.b, c.a), D3DXVECTOR4(1, 64 / 255.f, 0, 128 / 255.f));
    EXPECT_EQ(static_cast<DWORD>(c), 0x80FF4000u);
    // Out-of-range channels clamp, the rest round to nearest.
    EXPECT_EQ(static_cast<DWORD>(D3DXCOLOR(2, -1, 0.5f, 1)), 0xFFFF0080u);
    const D3DCOLORVALUE value = {0.25f, 0.5f, 0.75f, 1};
    EXPECT_EQ(D3DXCOLOR(value) * 2.0f, D3DXCOLOR(0.5f, 1, 1.5f, 2));
}

} // namespace
