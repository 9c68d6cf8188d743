// Cube maps through the fixed-function stage 0: a sky box shows each face where Direct3D puts it.
#include "render_fixture.h"

#include <d3dx9math.h>

namespace render_test {
namespace {

struct SkyVertex { // D3DFVF_XYZ | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0), as the sky box draws
    float x, y, z, u, v, w;
};
constexpr DWORD kSkyFvf = D3DFVF_XYZ | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0);

class CubeMapTest : public RenderTest {
  protected:
    static constexpr unsigned kEdge = 16;
    // +X, -X, +Y, -Y, +Z, -Z; each face's top-left quarter is darker, to show its orientation.
    static constexpr D3DCOLOR kFaceColors[6] = {0xFFFF0000, 0xFF00FFFF, 0xFF00FF00,
                                                0xFFFF00FF, 0xFF0000FF, 0xFFFFFF00};

    void SetUp() override {
        CreateDevice(96, 96);
        ASSERT_EQ(device_->CreateCubeTexture(kEdge, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &cube_, nullptr),
                  D3D_OK);
        for (int face = 0; face < 6; ++face)
            Fill(cube_, static_cast<D3DCUBEMAP_FACES>(face), [&](unsigned x, unsigned y) {
                return (x < kEdge / 2 && y < kEdge / 2) ? (kFaceColors[face] & 0xFF7F7F7F)
                                                        : kFaceColors[face];
            });
    }

    void TearDown() override {
        if (cube_) {
            EXPECT_EQ(cube_->Release(), 0u);
        }
        RenderTest::TearDown();
    }

    // The inside of a box around the viewer, its texture coordinates its positions, as the sky.
    Frame DrawBox(float yaw, float pitch, float fieldOfView) {
        static const float c[8][3] = {{-1, -1, -1}, {1, -1, -1}, {-1, 1, -1}, {1, 1, -1},
                                      {-1, -1, 1},  {1, -1, 1},  {-1, 1, 1},  {1, 1, 1}};
        SkyVertex vertices[8];
        for (int i = 0; i < 8; ++i)
            vertices[i] = SkyVertex{c[i][0], c[i][1], c[i][2], c[i][0], c[i][1], c[i][2]};
        static const WORD indices[36] = {0, 1, 2, 2, 1, 3, 4, 6, 5, 5, 6, 7, 0, 2, 4, 4, 2, 6,
                                         1, 5, 3, 3, 5, 7, 0, 4, 1, 1, 4, 5, 2, 3, 6, 6, 3, 7};
        D3DXMATRIX view, projection;
        D3DXMatrixRotationYawPitchRoll(&view, yaw, pitch, 0.0f);
        D3DXMatrixTranspose(&view, &view); // the inverse of the camera's rotation
        D3DXMatrixPerspectiveFovLH(&projection, fieldOfView, 1.0f, 0.1f, 10.0f);
        EXPECT_EQ(device_->SetTransform(D3DTS_VIEW, &view), D3D_OK);
        EXPECT_EQ(device_->SetTransform(D3DTS_PROJECTION, &projection), D3D_OK);
        EXPECT_EQ(device_->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
        EXPECT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
        EXPECT_EQ(device_->SetTexture(0, cube_), D3D_OK);
        EXPECT_EQ(device_->SetFVF(kSkyFvf), D3D_OK);
        const Frame frame = DrawFrame([&] {
            ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 8, 12, indices, D3DFMT_INDEX16,
                                                      vertices, sizeof(SkyVertex)),
                      D3D_OK);
        });
        EXPECT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
        return frame;
    }

    static Bgra Full(int face) { return ToBgra(kFaceColors[face]); }
    static Bgra Dark(int face) { return ToBgra(kFaceColors[face] & 0xFF7F7F7F); }

    IDirect3DCubeTexture9* cube_ = nullptr;
};

TEST_F(CubeMapTest, BoxSeenFromInsideShowsEachFaceWhereDirect3DPutsIt) {
    const float pi = 3.14159265f;
    // Looking along +z with a wide field: +x to the right, +y up, -x left, -y down.
    Frame frame = DrawBox(0.0f, 0.0f, 2.0f * pi / 3.0f);
    EXPECT_EQ(At(frame, 70, 70), Full(4)); // +Z, lower right quarter
    EXPECT_EQ(At(frame, 40, 40), Dark(4)); // +Z's first texels are at the top left
    EXPECT_EQ(At(frame, 94, 60), Full(0)); // +X to the right
    EXPECT_EQ(At(frame, 1, 60), Full(1));  // -X to the left
    EXPECT_EQ(At(frame, 60, 1), Full(2));  // +Y above
    EXPECT_EQ(At(frame, 60, 94), Full(3)); // -Y below
    EXPECT_TRUE(MatchesGolden("cube_box_front", frame, 2, 8));
    // Turned to look along +x, then along -z: each face upright, its first texels top left.
    frame = DrawBox(pi / 2.0f, 0.0f, pi / 2.0f);
    EXPECT_EQ(At(frame, 30, 30), Dark(0));
    EXPECT_EQ(At(frame, 70, 70), Full(0));
    frame = DrawBox(pi, 0.0f, pi / 2.0f);
    EXPECT_EQ(At(frame, 30, 30), Dark(5));
    EXPECT_EQ(At(frame, 70, 70), Full(5));
    // Looking at a corner shows three faces meeting.
    EXPECT_TRUE(MatchesGolden("cube_box_corner", DrawBox(pi / 4.0f, -0.6f, pi / 2.0f), 2, 16));
}

} // namespace
} // namespace render_test
