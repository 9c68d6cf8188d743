#include "math_expect.h"

#include <cmath>

namespace {

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
