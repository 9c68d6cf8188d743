#include "math_expect.h"

namespace {

TEST(D3DXCameraTest, LookAtMovesTheEyeToTheOriginFacingZ) {
    const D3DXVECTOR3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0);
    D3DXMATRIX view;
    ASSERT_EQ(D3DXMatrixLookAtLH(&view, &eye, &at, &up), &view);
    expectMatrixNear(view, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 5, 1));

    const D3DXVECTOR3 eye2(3, 4, -5), at2(1, -2, 6), toAt = at2 - eye2;
    const FLOAT distance = D3DXVec3Length(&toAt);
    D3DXMatrixLookAtLH(&view, &eye2, &at2, &up);
    expectVectorNear(transformed(eye2, view), {0, 0, 0});
    expectVectorNear(transformed(at2, view), {0, 0, distance});
    D3DXMATRIX rotation = view, transposed;
    rotation._41 = rotation._42 = rotation._43 = 0;
    expectMatrixNear(rotation * *D3DXMatrixTranspose(&transposed, &rotation), identity());
    EXPECT_GT(transformed(eye2 + up, view).y, 0.0f) << "up stays up";

    // Right-handed: what lies ahead ends up on the negative z axis.
    D3DXMatrixLookAtRH(&view, &eye2, &at2, &up);
    expectVectorNear(transformed(at2, view), {0, 0, -distance});
    EXPECT_GT(transformed(eye2 + up, view).y, 0.0f);
}

TEST(D3DXCameraTest, PerspectiveMatricesHaveThePublishedEntries) {
    D3DXMATRIX proj;
    ASSERT_EQ(D3DXMatrixPerspectiveFovLH(&proj, D3DX_PI / 4, 4.0f / 3.0f, 1, 100), &proj);
    const FLOAT yScale = 2.41421356f; // cot(pi / 8)
    expectMatrixNear(proj, D3DXMATRIX(yScale * 0.75f, 0, 0, 0, 0, yScale, 0, 0, 0, 0, 100 / 99.f, 1, //
                                      0, 0, -100 / 99.f, 0));
    expectVectorNear(transformed({0, 0, 1}, proj), {0, 0, 0});
    expectVectorNear(transformed({0, 0, 100}, proj), {0, 0, 1});

    D3DXMatrixPerspectiveFovRH(&proj, D3DX_PI / 4, 4.0f / 3.0f, 1, 100);
    expectMatrixNear(proj, D3DXMATRIX(yScale * 0.75f, 0, 0, 0, 0, yScale, 0, 0, 0, 0, -100 / 99.f, -1, //
                                      0, 0, -100 / 99.f, 0));
    expectVectorNear(transformed({0, 0, -100}, proj), {0, 0, 1});

    // w and h are the near plane's size: its corner maps to the corner of clip space.
    D3DXMatrixPerspectiveLH(&proj, 2, 1.5f, 1, 100);
    expectVectorNear(transformed({1, 0.75f, 1}, proj), {1, 1, 0});
    expectVectorNear(transformed({-100, -75, 100}, proj), {-1, -1, 1});
}

TEST(D3DXCameraTest, OrthographicMatricesMapTheBoxToClipSpace) {
    D3DXMATRIX proj;
    D3DXMatrixOrthoLH(&proj, 4, 2, 1, 11);
    expectMatrixNear(proj, D3DXMATRIX(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.1f, 0, 0, 0, -0.1f, 1));
    expectVectorNear(transformed({2, 1, 11}, proj), {1, 1, 1});
    expectVectorNear(transformed({-2, -1, 1}, proj), {-1, -1, 0});

    D3DXMatrixOrthoRH(&proj, 4, 2, 1, 11);
    expectVectorNear(transformed({2, 1, -11}, proj), {1, 1, 1});
    expectVectorNear(transformed({-2, -1, -1}, proj), {-1, -1, 0});

    // Screen pixels with y down, as a 2D overlay uses them.
    D3DXMatrixOrthoOffCenterLH(&proj, 0, 800, 600, 0, 0, 1);
    expectVectorNear(transformed({0, 0, 0}, proj), {-1, 1, 0});
    expectVectorNear(transformed({800, 600, 1}, proj), {1, -1, 1});
    expectVectorNear(transformed({400, 300, 0.5f}, proj), {0, 0, 0.5f});
}

} // namespace
