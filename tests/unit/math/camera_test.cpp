#include "math_expect.h"

namespace {

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

} // namespace
