// What a texture of each special format samples as, drawn through stage 0 into an A8R8G8B8 target:
// the channels Direct3D 9 fills in (L8 as L, L, L, 1; A8 as 0, 0, 0, A; V8U8 as U, V, 1, 1; the C of
// CxV8U8 derived from U and V).
#include "resource_fixture.h"

#include <cstdlib>

namespace {

struct SampleCase {
    D3DFORMAT format;
    std::uint8_t bytes[2];
    int bgra[4]; // expected B, G, R, A of the target
};

struct Vertex {
    float x, y, z, rhw, u, v;
};

using SamplingTest = ResourceFixture;

TEST_F(SamplingTest, FormatsSampleTheChannelsDirect3DFillsIn) {
    const SampleCase cases[] = {
        {D3DFMT_L8, {0x80, 0}, {0x80, 0x80, 0x80, 0xFF}},
        {D3DFMT_A8, {0x80, 0}, {0x00, 0x00, 0x00, 0x80}},
        {D3DFMT_A8L8, {0x40, 0xC0}, {0x40, 0x40, 0x40, 0xC0}},
        // U = 64/127, V negative (clamped to 0 by the target); blue and alpha are 1.
        {D3DFMT_V8U8, {0x40, 0xC0}, {0xFF, 0x00, 0x80, 0xFF}},
        // U = V = 0 gives C = 1; U = 1 gives C = 0.
        {D3DFMT_CxV8U8, {0x00, 0x00}, {0xFF, 0x00, 0x00, 0xFF}},
        {D3DFMT_CxV8U8, {0x7F, 0x00}, {0x00, 0x00, 0xFF, 0xFF}},
    };
    IDirect3DSurface9* target = RenderTarget(4, 4, D3DFMT_A8R8G8B8);
    ASSERT_EQ(device_->SetRenderTarget(0, target), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
    const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                            {3.5f, -0.5f, 0, 1, 1, 0},
                            {-0.5f, 3.5f, 0, 1, 0, 1},
                            {3.5f, 3.5f, 0, 1, 1, 1}};
    for (const SampleCase& test : cases) {
        SCOPED_TRACE(test.format);
        IDirect3DTexture9* texture = Texture(1, 1, 1, 0, test.format, D3DPOOL_MANAGED);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        std::memcpy(locked.pBits, test.bytes, test.format == D3DFMT_L8 || test.format == D3DFMT_A8 ? 1 : 2);
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
        ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        const std::vector<std::uint8_t> bytes = TargetBytes(target, 16);
        for (int channel = 0; channel < 4; ++channel)
            EXPECT_LE(std::abs(bytes[5 * 4 + channel] - test.bgra[channel]), 1) << "channel " << channel;
        ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
        texture->Release();
    }
    target->Release();
}

} // namespace
