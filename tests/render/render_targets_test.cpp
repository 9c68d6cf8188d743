// Drawing into a texture and into a cube face, then sampling them; blending into float targets; drawing from
// vertex and index buffers, and the checks those draws make against the buffers' sizes; cube maps through the
// fixed-function stage 0: a sky box shows each face where Direct3D puts it.
#include "caps_coverage.h"
#include "render_fixture.h"

#include <d3dx9math.h>

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
    IDirect3DTexture9* target = Texture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &level), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, level), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    // Red everywhere, a green square in the top-left quarter of the texture.
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    Scene([&] { DrawScreenRect(0, 0, 8, 8, 0.5f, 0xFF00FF00); });
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

// The 32-bit float targets blend, as CheckDeviceFormat's QUERY_POSTPIXELSHADER_BLENDING answers: 64
// added to a clear of 64 reads 128 / 255 in every channel the format has.
TEST_F(RenderTargetsTest, FloatTargetsBlendAsCheckDeviceFormatSays) {
    IDirect3D9* direct3d = nullptr;
    ASSERT_EQ(device_->GetDirect3D(&direct3d), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    SetStates(
        {{D3DRS_ALPHABLENDENABLE, TRUE}, {D3DRS_SRCBLEND, D3DBLEND_ONE}, {D3DRS_DESTBLEND, D3DBLEND_ONE}});
    for (const auto& [format, channels] :
         {std::pair{D3DFMT_R32F, 1u}, std::pair{D3DFMT_G32R32F, 2u}, std::pair{D3DFMT_A32B32G32R32F, 4u}}) {
        EXPECT_EQ(direct3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                              D3DUSAGE_RENDERTARGET | D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING,
                                              D3DRTYPE_TEXTURE, format),
                  D3D_OK);
        IDirect3DSurface9 *target = nullptr, *copy = nullptr;
        ASSERT_EQ(device_->CreateRenderTarget(4, 4, format, D3DMULTISAMPLE_NONE, 0, FALSE, &target, nullptr),
                  D3D_OK);
        ASSERT_EQ(device_->CreateOffscreenPlainSurface(4, 4, format, D3DPOOL_SYSTEMMEM, &copy, nullptr),
                  D3D_OK);
        ASSERT_EQ(device_->SetRenderTarget(0, target), D3D_OK);
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x40404040, 1.0f, 0), D3D_OK);
        Scene([&] { DrawScreenRect(0, 0, 4, 4, 0.5f, 0x40404040); });
        ASSERT_EQ(device_->GetRenderTargetData(target, copy), D3D_OK);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        for (UINT channel = 0; channel < channels; ++channel)
            EXPECT_NEAR(static_cast<const float*>(locked.pBits)[channel], 128 / 255.0f, 1e-6f) << format;
        ASSERT_EQ(copy->UnlockRect(), D3D_OK);
        copy->Release();
        target->Release();
    }
    ASSERT_EQ(device_->SetRenderTarget(0, backBuffer_), D3D_OK);
    direct3d->Release();
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
        if (face == D3DCUBEMAP_FACE_POSITIVE_Z) // a white top-left quarter on +Z
            Scene([&] { DrawScreenRect(0, 0, 8, 8, 0.5f, 0xFFFFFFFF); });
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
