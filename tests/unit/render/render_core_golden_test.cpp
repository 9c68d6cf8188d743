// What the render core redirects, seen in pixels: a second view drawn into a texture and shown on a
// quad, a view drawn into one face of a cube texture, and the clip plane cutting what the engine
// draws after stage A (golden images, tolerance 0, and the worked-out colours).
#include "frame_pixels.h"
#include "render_unit_fixture.h"

#include <d3dx9.h>

namespace {

using render_test::At;
using Image = render_test::Frame;
using render_test::Rgb;

const Rgb kScene = {0x40, 0x80, 0xC0};
const Rgb kTriangle = {0xFF, 0xFF, 0x00};
const Rgb kScreen = {0x10, 0x10, 0x10};

class RenderCoreGoldenTest : public PluginInProcessTest {
  protected:
    // The engine's scene between the stages: a clear, then a yellow triangle in clip space (the
    // matrices are the identity) that covers the middle of the target from x = -0.8 to 0.8.
    void EngineScene() {
        IDirect3DDevice9* device = engine_.device();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF4080C0, 1.0f, 0);
        struct Vertex {
            float x, y, z;
            D3DCOLOR color;
        };
        const Vertex triangle[3] = {{-0.8f, -0.8f, 0.5f, 0xFFFFFF00},
                                    {0.0f, 0.8f, 0.5f, 0xFFFFFF00},
                                    {0.8f, -0.8f, 0.5f, 0xFFFFFF00}};
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        for (D3DTRANSFORMSTATETYPE state : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) {
            device->SetTransform(state, &identity);
        }
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetTexture(0, nullptr);
        device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(Vertex));
    }

    // One frame: the view through stages A and D with the engine's scene between them, then the
    // back buffer cleared and texture `id` shown with texture coordinates (u, v, w) per corner.
    Image DrawAndShow(int id, DWORD fvf, const float (*coords)[3]) {
        IDirect3DDevice9* device = engine_.device();
        EXPECT_EQ(device->BeginScene(), D3D_OK);
        VTR3RenderDrawA();
        EngineScene();
        VTR3RenderDrawD();
        device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF101010, 1.0f, 0);
        struct Vertex {
            float x, y, z, rhw, u, v, w;
        };
        Vertex quad[4];
        for (int i = 0; i < 4; ++i) {
            quad[i] = {i % 2 ? 768.0f : 256.0f,
                       i / 2 ? 640.0f : 128.0f,
                       0,
                       1,
                       coords[i][0],
                       coords[i][1],
                       coords[i][2]};
        }
        device->SetTexture(0, g_textureManager.GetBaseTexture(id));
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetFVF(fvf);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
        device->SetTexture(0, nullptr);
        EXPECT_EQ(device->EndScene(), D3D_OK);
        return render_test::ReadFrame(device);
    }
};

TEST_F(RenderCoreGoldenTest, ARenderToTextureViewShownOnAQuadAndCutByItsClipPlane) {
    Start();
    Target(3, 0, 256);
    g_textureManager.SetViewID(3, 0, kView);
    g_viewManager.SetRenderToTexture(kView, 1);
    const float coords[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    Image frame = DrawAndShow(3, D3DFVF_XYZRHW | D3DFVF_TEX1, coords);
    EXPECT_EQ(At(frame, 100, 100), kScreen) << "outside the quad";
    EXPECT_EQ(At(frame, 260, 132), kScene) << "the texture's corner";
    EXPECT_EQ(At(frame, 400, 500), kTriangle) << "left of the triangle's middle";
    EXPECT_TRUE(render_test::MatchesGolden("core_render_to_texture", frame, 0, 0));

    // The plane x >= 0 (normal +x through the origin) in world space, which the identity matrices
    // make clip space: the left half of the triangle is cut away, the clear is not.
    g_viewManager.SetClipPlane(kView, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0), 1);
    frame = DrawAndShow(3, D3DFVF_XYZRHW | D3DFVF_TEX1, coords);
    EXPECT_EQ(At(frame, 400, 500), kScene) << "left of the triangle's middle, cut";
    EXPECT_EQ(At(frame, 620, 500), kTriangle) << "right of the triangle's middle";
    EXPECT_TRUE(render_test::MatchesGolden("core_clip_plane", frame, 0, 0));
}

TEST_F(RenderCoreGoldenTest, AViewDrawnIntoSideThreeOfACubeTexture) {
    Start();
    Target(5, 1, 64);
    g_textureManager.SetViewID(5, 3, kView);
    g_viewManager.SetRenderToTexture(kView, 1);
    // Side 3 is the negative x face: directions (-1, t, s) sample it.
    const float toward[4][3] = {{-1, 0.9f, 0.9f}, {-1, 0.9f, -0.9f}, {-1, -0.9f, 0.9f}, {-1, -0.9f, -0.9f}};
    const DWORD fvf = D3DFVF_XYZRHW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0);
    const Image frame = DrawAndShow(5, fvf, toward);
    EXPECT_EQ(At(frame, 270, 140), kScene) << "a corner of the face";
    EXPECT_EQ(At(frame, 512, 500), kTriangle) << "the triangle in the face";
    EXPECT_TRUE(render_test::MatchesGolden("core_cube_face", frame, 0, 0));
}

} // namespace
