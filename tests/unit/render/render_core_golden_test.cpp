// What the render core redirects, seen in pixels: a second view drawn into a texture and shown on a
// quad, a view drawn into one face of a cube texture, and the clip plane cutting what the engine
// draws after stage A (golden images, tolerance 0, and the worked-out colours).
#include "golden_image.h"
#include "render_unit_fixture.h"

#include <d3dx9.h>

namespace {

using Image = render_test::Frame;

const D3DCOLOR kScene = 0xFF4080C0;
const D3DCOLOR kTriangle = 0xFFFFFF00;
const D3DCOLOR kScreen = 0xFF101010;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

class RenderCoreGoldenTest : public PluginInProcessTest {
  protected:
    void Target(int id, int type, unsigned int size) {
        g_textureManager.TextureCreate(id, type);
        g_textureManager.SetSize(id, size, size);
        g_textureManager.SetFormat(id, D3DFMT_A8R8G8B8);
        g_textureManager.SetUsage(id, 0);
        g_textureManager.TextureInitialize(id);
    }

    // The engine's scene between the stages: a clear, then a yellow triangle in clip space (the
    // matrices are the identity) that covers the middle of the target from x = -0.8 to 0.8.
    void EngineScene() {
        IDirect3DDevice9* device = engine_.device();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kScene, 1.0f, 0);
        struct Vertex {
            float x, y, z;
            D3DCOLOR color;
        };
        const Vertex triangle[3] = {
            {-0.8f, -0.8f, 0.5f, kTriangle}, {0.0f, 0.8f, 0.5f, kTriangle}, {0.8f, -0.8f, 0.5f, kTriangle}};
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        device->SetTransform(D3DTS_WORLD, &identity);
        device->SetTransform(D3DTS_VIEW, &identity);
        device->SetTransform(D3DTS_PROJECTION, &identity);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetTexture(0, nullptr);
        device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(Vertex));
    }

    // One frame: the view through stages A and D with the engine's scene between them, then the
    // back buffer cleared and `texture` shown with texture coordinates (u, v, w) per corner.
    Image DrawAndShow(IDirect3DBaseTexture9* texture, DWORD fvf, const float (*coords)[3]) {
        IDirect3DDevice9* device = engine_.device();
        EXPECT_EQ(device->BeginScene(), D3D_OK);
        VTR3RenderDrawA();
        EngineScene();
        VTR3RenderDrawD();
        device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, kScreen, 1.0f, 0);
        struct Vertex {
            float x, y, z, rhw, u, v, w;
        };
        const Vertex quad[4] = {{256, 128, 0, 1, coords[0][0], coords[0][1], coords[0][2]},
                                {768, 128, 0, 1, coords[1][0], coords[1][1], coords[1][2]},
                                {256, 640, 0, 1, coords[2][0], coords[2][1], coords[2][2]},
                                {768, 640, 0, 1, coords[3][0], coords[3][1], coords[3][2]}};
        device->SetTexture(0, texture);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetFVF(fvf);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
        device->SetTexture(0, nullptr);
        EXPECT_EQ(device->EndScene(), D3D_OK);
        Image frame;
        EXPECT_TRUE(platform::ReadBackBuffer(device, &frame.bgra, &frame.width, &frame.height));
        return frame;
    }

    static Rgb At(const Image& frame, unsigned x, unsigned y) {
        const size_t i = (size_t{y} * frame.width + x) * 4;
        return Rgb{frame.bgra[i + 2], frame.bgra[i + 1], frame.bgra[i]};
    }
};

const Rgb kSceneRgb = {0x40, 0x80, 0xC0};
const Rgb kTriangleRgb = {0xFF, 0xFF, 0x00};
const Rgb kScreenRgb = {0x10, 0x10, 0x10};

TEST_F(RenderCoreGoldenTest, ARenderToTextureViewShownOnAQuadAndCutByItsClipPlane) {
    Start();
    Target(3, 0, 256);
    g_textureManager.SetViewID(3, 0, kView);
    g_viewManager.SetRenderToTexture(kView, 1);
    const float coords[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    Image frame = DrawAndShow(g_textureManager.GetBaseTexture(3), D3DFVF_XYZRHW | D3DFVF_TEX1, coords);
    EXPECT_EQ(At(frame, 100, 100), kScreenRgb) << "outside the quad";
    EXPECT_EQ(At(frame, 260, 132), kSceneRgb) << "the texture's corner";
    EXPECT_EQ(At(frame, 400, 500), kTriangleRgb) << "left of the triangle's middle";
    EXPECT_TRUE(render_test::MatchesGolden("core_render_to_texture", frame, 0, 0));

    // The plane x >= 0 (normal +x through the origin) in world space, which the identity matrices
    // make clip space: the left half of the triangle is cut away, the clear is not.
    g_viewManager.SetClipPlane(kView, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0), 1);
    frame = DrawAndShow(g_textureManager.GetBaseTexture(3), D3DFVF_XYZRHW | D3DFVF_TEX1, coords);
    EXPECT_EQ(At(frame, 400, 500), kSceneRgb) << "left of the triangle's middle, cut";
    EXPECT_EQ(At(frame, 620, 500), kTriangleRgb) << "right of the triangle's middle";
    EXPECT_TRUE(render_test::MatchesGolden("core_clip_plane", frame, 0, 0));
}

TEST_F(RenderCoreGoldenTest, AViewDrawnIntoSideThreeOfACubeTexture) {
    Start();
    Target(5, 1, 64);
    g_textureManager.SetViewID(5, 3, kView);
    g_viewManager.SetRenderToTexture(kView, 1);
    // Side 3 is the negative x face: directions (-1, t, s) sample it, and the other faces stay as
    // the device created them.
    const float toward[4][3] = {{-1, 0.9f, 0.9f}, {-1, 0.9f, -0.9f}, {-1, -0.9f, 0.9f}, {-1, -0.9f, -0.9f}};
    const DWORD fvf = D3DFVF_XYZRHW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0);
    Image frame = DrawAndShow(g_textureManager.GetBaseTexture(5), fvf, toward);
    EXPECT_EQ(At(frame, 270, 140), kSceneRgb) << "a corner of the face";
    EXPECT_EQ(At(frame, 512, 500), kTriangleRgb) << "the triangle in the face";
    EXPECT_TRUE(render_test::MatchesGolden("core_cube_face", frame, 0, 0));
    const float away[4][3] = {{1, 0.9f, -0.9f}, {1, 0.9f, 0.9f}, {1, -0.9f, -0.9f}, {1, -0.9f, 0.9f}};
    frame = DrawAndShow(g_textureManager.GetBaseTexture(5), fvf, away);
    EXPECT_NE(At(frame, 512, 500), kTriangleRgb) << "the positive x face was not drawn into";
}

} // namespace
