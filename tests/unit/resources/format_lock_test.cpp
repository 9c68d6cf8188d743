// Bytes written through LockRect in each format come back through OpenGL as Direct3D lays them out:
// written to a dynamic texture, uploaded at UnlockRect, read back by the next lock; and for render
// target formats written with UpdateSurface and read with GetRenderTargetData. And what a texture of
// each special format samples as, drawn through stage 0 into an A8R8G8B8 target: the channels
// Direct3D 9 fills in (L8 as L, L, L, 1; A8 as 0, 0, 0, A; V8U8 as U, V, 1, 1; the C of CxV8U8 derived
// from U and V).
#include "resource_fixture.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

enum class Fill { kBytes, kHalves, kFloats };

struct FormatCase {
    D3DFORMAT format;
    UINT bytesPerUnit; // of a pixel, or of a 4x4 block
    UINT blockSize;
    Fill fill;
    bool target; // also a render target format, read back through GetRenderTargetData
    // Bits the storage does not keep and reads as ones (the X of X8R8G8B8), per unit.
    std::uint8_t onesMask[4];
};

const FormatCase kCases[] = {{D3DFMT_R8G8B8, 3, 1, Fill::kBytes, false, {}},
                             {D3DFMT_A8R8G8B8, 4, 1, Fill::kBytes, true, {}},
                             {D3DFMT_X8R8G8B8, 4, 1, Fill::kBytes, true, {0, 0, 0, 0xFF}},
                             {D3DFMT_A8B8G8R8, 4, 1, Fill::kBytes, false, {}},
                             {D3DFMT_X8B8G8R8, 4, 1, Fill::kBytes, false, {0, 0, 0, 0xFF}},
                             {D3DFMT_R5G6B5, 2, 1, Fill::kBytes, true, {}},
                             {D3DFMT_X1R5G5B5, 2, 1, Fill::kBytes, false, {0, 0x80}},
                             {D3DFMT_A1R5G5B5, 2, 1, Fill::kBytes, false, {}},
                             {D3DFMT_A4R4G4B4, 2, 1, Fill::kBytes, false, {}},
                             {D3DFMT_A2R10G10B10, 4, 1, Fill::kBytes, false, {}},
                             {D3DFMT_A2B10G10R10, 4, 1, Fill::kBytes, true, {}},
                             {D3DFMT_G16R16, 4, 1, Fill::kBytes, true, {}},
                             {D3DFMT_A16B16G16R16, 8, 1, Fill::kBytes, false, {}},
                             {D3DFMT_A8, 1, 1, Fill::kBytes, false, {}},
                             {D3DFMT_L8, 1, 1, Fill::kBytes, false, {}},
                             {D3DFMT_A8L8, 2, 1, Fill::kBytes, false, {}},
                             {D3DFMT_L16, 2, 1, Fill::kBytes, false, {}},
                             {D3DFMT_V8U8, 2, 1, Fill::kBytes, false, {}},
                             {D3DFMT_CxV8U8, 2, 1, Fill::kBytes, false, {}},
                             {D3DFMT_Q8W8V8U8, 4, 1, Fill::kBytes, false, {}},
                             {D3DFMT_V16U16, 4, 1, Fill::kBytes, false, {}},
                             {D3DFMT_R16F, 2, 1, Fill::kHalves, true, {}},
                             {D3DFMT_G16R16F, 4, 1, Fill::kHalves, true, {}},
                             {D3DFMT_A16B16G16R16F, 8, 1, Fill::kHalves, true, {}},
                             {D3DFMT_R32F, 4, 1, Fill::kFloats, true, {}},
                             {D3DFMT_G32R32F, 8, 1, Fill::kFloats, false, {}},
                             {D3DFMT_A32B32G32R32F, 16, 1, Fill::kFloats, true, {}},
                             {D3DFMT_DXT1, 8, 4, Fill::kBytes, false, {}},
                             {D3DFMT_DXT3, 16, 4, Fill::kBytes, false, {}},
                             {D3DFMT_DXT5, 16, 4, Fill::kBytes, false, {}}};

// Distinct, valid values: no float NaNs, which a driver may rewrite.
std::vector<std::uint8_t> Pattern(const FormatCase& test, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    if (test.fill == Fill::kHalves) {
        for (std::size_t i = 0; i + 1 < size; i += 2) {
            const auto half = static_cast<std::uint16_t>(0x3000 + (i * 7) % 0x0FFF);
            std::memcpy(&bytes[i], &half, 2);
        }
    } else if (test.fill == Fill::kFloats) {
        for (std::size_t i = 0; i + 3 < size; i += 4) {
            const float value = static_cast<float>(i) * 0.5f - 3.0f;
            std::memcpy(&bytes[i], &value, 4);
        }
    }
    return bytes;
}

std::vector<std::uint8_t> Expected(const FormatCase& test, std::vector<std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] |= test.onesMask[i % test.bytesPerUnit % 4];
    return bytes;
}

void Write(const D3DLOCKED_RECT& locked, const std::vector<std::uint8_t>& bytes, UINT rows, UINT rowBytes) {
    for (UINT row = 0; row < rows; ++row)
        std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + row * locked.Pitch,
                    &bytes[std::size_t{row} * rowBytes], rowBytes);
}

using FormatLockTest = ResourceFixture;
using SamplingTest = ResourceFixture;

TEST_F(FormatLockTest, DynamicTexturesReadBackEveryFormatInDirect3DsLayout) {
    // Six pixels wide: 24-bit rows of 18 bytes are padded to a DWORD pitch of 20.
    for (const FormatCase& test : kCases) {
        SCOPED_TRACE(test.format);
        const UINT width = test.blockSize == 4 ? 8 : 6;
        const UINT height = 4, rowBytes = width / test.blockSize * test.bytesPerUnit;
        const UINT rows = height / test.blockSize;
        IDirect3DTexture9* texture =
            Texture(width, height, 1, D3DUSAGE_DYNAMIC, test.format, D3DPOOL_DEFAULT);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
        EXPECT_EQ(static_cast<UINT>(locked.Pitch), (rowBytes + 3) & ~3u);
        const std::vector<std::uint8_t> written = Pattern(test, std::size_t{rows} * rowBytes);
        Write(locked, written, rows, rowBytes);
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
        const std::vector<std::uint8_t> expected = Expected(test, written);
        // A read-only lock reads GL; spoiling its bytes must not reach GL, so the next lock finds
        // the written bytes again.
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        EXPECT_EQ(Rows(locked, rows, rowBytes), expected);
        std::memset(locked.pBits, 0, std::size_t{static_cast<UINT>(locked.Pitch)} * rows);
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        EXPECT_EQ(Rows(locked, rows, rowBytes), expected);
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
        EXPECT_EQ(texture->Release(), 0u);
    }
}

TEST_F(FormatLockTest, RenderTargetFormatsReadBackThroughGetRenderTargetData) {
    for (const FormatCase& test : kCases) {
        if (!test.target)
            continue;
        SCOPED_TRACE(test.format);
        const UINT width = 5, height = 3;
        const UINT rowBytes = width * test.bytesPerUnit;
        IDirect3DSurface9* source = PlainSurface(width, height, test.format, D3DPOOL_SYSTEMMEM);
        IDirect3DSurface9* target = RenderTarget(width, height, test.format);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(source->LockRect(&locked, nullptr, 0), D3D_OK);
        const std::vector<std::uint8_t> written = Pattern(test, std::size_t{height} * rowBytes);
        Write(locked, written, height, rowBytes);
        ASSERT_EQ(source->UnlockRect(), D3D_OK);
        ASSERT_EQ(device_->UpdateSurface(source, nullptr, target, nullptr), D3D_OK);
        EXPECT_EQ(TargetBytes(target, rowBytes), Expected(test, written));
        EXPECT_EQ(source->Release(), 0u);
        EXPECT_EQ(target->Release(), 0u);
    }
}

struct SampleCase {
    D3DFORMAT format;
    std::uint8_t bytes[2];
    int bgra[4]; // expected B, G, R, A of the target
};

struct Vertex {
    float x, y, z, rhw, u, v;
};

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
