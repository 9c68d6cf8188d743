// Drawing into a texture and into a cube face, then sampling them; drawing from vertex and index
// buffers, and the checks those draws make against the buffers' sizes.
#include "caps_coverage.h"
#include "render_fixture.h"

#include <cstring>

namespace render_test {
namespace {

const Exercises kExercised{
    {&D3DCAPS9::DevCaps2, D3DDEVCAPS2_STREAMOFFSET | D3DDEVCAPS2_CAN_STRETCHRECT_FROM_TEXTURES}};

class RenderTargetsTest : public RenderTest {
  protected:
    void SetUp() override {
        CreateDevice(32, 32);
        ASSERT_EQ(device_->GetRenderTarget(0, &backBuffer_), D3D_OK);
    }
    void TearDown() override {
        if (backBuffer_) {
            EXPECT_EQ(backBuffer_->Release(), 0u); // the device's own hold does not count
        }
        RenderTest::TearDown();
    }

    // A screen quad over the whole target, sampling stage 0 at the corners' texture coordinates (u, v, w)
    // in strip order.
    void DrawTextured(IDirect3DBaseTexture9* texture, const float (*coords)[3]) {
        struct Vertex {
            float x, y, z, rhw, u, v, w;
        };
        ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        DrawStrip(D3DFVF_XYZRHW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0),
                  Quad<Vertex>(-0.5f, -0.5f, 31.5f, 31.5f, [&](float x, float y, float s, float t) {
                      const float* c = coords[static_cast<int>(s + 2 * t)];
                      return Vertex{x, y, 0, 1, c[0], c[1], c[2]};
                  }));
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
    }

    IDirect3DSurface9* backBuffer_ = nullptr;
};

TEST_F(RenderTargetsTest, DrawingIntoATextureThenSamplingIt) {
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device_->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                     &target, nullptr),
              D3D_OK);
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &level), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, level), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    // Red everywhere, a green square in the top-left quarter of the texture.
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawScreenRect(0, 0, 8, 8, 0.5f, 0xFF00FF00);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, backBuffer_), D3D_OK);
    // The texture stretched over the 32 x 32 back buffer: v = 0 is the row drawn at the top.
    const float coords[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    DrawTextured(target, coords);
    const Frame frame = ReadFrame();
    EXPECT_EQ(At(frame, 4, 4), (Bgra{0, 255, 0, 255}));
    EXPECT_EQ(At(frame, 20, 4), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(At(frame, 4, 20), (Bgra{0, 0, 255, 255}));
    EXPECT_TRUE(MatchesGolden("render_to_texture", frame, 0, 0));
    // The texture's level copied into the bottom-right quarter.
    const RECT corner{16, 16, 32, 32};
    ASSERT_EQ(device_->StretchRect(level, nullptr, backBuffer_, &corner, D3DTEXF_POINT), D3D_OK);
    EXPECT_EQ(At(ReadFrame(), 19, 19), (Bgra{0, 255, 0, 255}));
    EXPECT_EQ(At(ReadFrame(), 27, 27), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(level->Release(), 1u);
    EXPECT_EQ(target->Release(), 0u);
}

TEST_F(RenderTargetsTest, DrawingIntoACubeFaceThenSamplingIt) {
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(device_->CreateCubeTexture(16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                                         &cube, nullptr),
              D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    for (int face = 0; face < 6; ++face) {
        IDirect3DSurface9* surface = nullptr;
        ASSERT_EQ(cube->GetCubeMapSurface(static_cast<D3DCUBEMAP_FACES>(face), 0, &surface), D3D_OK);
        ASSERT_EQ(device_->SetRenderTarget(0, surface), D3D_OK);
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000 | (0x20u * (face + 1)), 1.0f, 0),
                  D3D_OK);
        if (face == D3DCUBEMAP_FACE_POSITIVE_Z) { // a white top-left quarter on +Z
            ASSERT_EQ(device_->BeginScene(), D3D_OK);
            DrawScreenRect(0, 0, 8, 8, 0.5f, 0xFFFFFFFF);
            ASSERT_EQ(device_->EndScene(), D3D_OK);
        }
        EXPECT_EQ(surface->Release(), 1u); // a face counts with its cube
    }
    ASSERT_EQ(device_->SetRenderTarget(0, backBuffer_), D3D_OK);
    // Directions across the +Z face, as seen looking along +z with +y up.
    const float coords[4][3] = {{-1, 1, 1}, {1, 1, 1}, {-1, -1, 1}, {1, -1, 1}};
    DrawTextured(cube, coords);
    const Frame frame = ReadFrame();
    EXPECT_EQ(At(frame, 4, 4), (Bgra{255, 255, 255, 255}));
    EXPECT_EQ(At(frame, 24, 24), (Bgra{0xA0, 0, 0, 255}));
    // Looking along -x instead shows the -X face.
    const float left[4][3] = {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, 1}, {-1, -1, -1}};
    DrawTextured(cube, left);
    EXPECT_EQ(At(ReadFrame(), 16, 16), (Bgra{0x40, 0, 0, 255}));
    EXPECT_EQ(cube->Release(), 0u);
}

TEST_F(RenderTargetsTest, BufferDrawsCheckTheBoundBuffers) {
    const auto vertices = Quad<ScreenVertex>(0, 0, 32, 32, [](float x, float y, float, float) {
        return ScreenVertex{x, y, 0.5f, 1, 0xFF00FF00};
    });
    const WORD indices[6] = {0, 1, 2, 2, 1, 3};
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(sizeof vertices, 0, kScreenFvf, D3DPOOL_MANAGED, &vb, nullptr),
              D3D_OK);
    ASSERT_EQ(device_->CreateIndexBuffer(sizeof indices, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib, nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, vertices.data(), sizeof vertices);
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, indices, sizeof indices);
    ASSERT_EQ(ib->Unlock(), D3D_OK);
    ASSERT_EQ(device_->SetFVF(kScreenFvf), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    // Nothing bound yet.
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->SetStreamSource(0, vb, 0, sizeof(ScreenVertex)), D3D_OK);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->SetIndices(ib), D3D_OK);
    // Past the vertex buffer, past the index buffer, before its start, no primitives.
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 1, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 5, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, -1, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(At(ReadFrame(), 16, 16), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 1), D3D_OK); // upper left
    // From a stream offset of one vertex: the lower right half, counter-clockwise.
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, vb, sizeof(ScreenVertex), sizeof(ScreenVertex)), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const Frame frame = ReadFrame();
    EXPECT_EQ(At(frame, 2, 2), (Bgra{0, 255, 0, 255}));
    EXPECT_EQ(At(frame, 30, 30), (Bgra{0, 255, 0, 255}));
    // A user-pointer draw leaves no stream source and no indices bound, as Direct3D does.
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16,
                                              vertices.data(), sizeof(ScreenVertex)),
              D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    IDirect3DVertexBuffer9* bound = vb;
    UINT offset = 1, stride = 1;
    EXPECT_EQ(device_->GetStreamSource(0, &bound, &offset, &stride), D3D_OK);
    EXPECT_EQ(bound, nullptr);
    IDirect3DIndexBuffer9* boundIndices = ib;
    EXPECT_EQ(device_->GetIndices(&boundIndices), D3D_OK);
    EXPECT_EQ(boundIndices, nullptr);
    EXPECT_EQ(vb->Release(), 0u);
    EXPECT_EQ(ib->Release(), 0u);
}

} // namespace
} // namespace render_test
