// Bytecode shaders reading device state beyond their constants: the bump-environment matrices of the
// texture stages (texbem, texbeml, bem), vertex textures (texldl in vs_3_0), and instanced streams.
#include "caps_coverage.h"
#include "render_fixture.h"
#include "shader_tokens.h"

namespace render_test {
namespace {

using namespace shader_tokens;

class BytecodeStateTest : public RenderTest {
  protected:
    void SetUp() override { CreateDevice(8, 8); }

    // Binds a texture made by the caller to a sampler, which then holds the only reference.
    void Bind(DWORD sampler, IDirect3DBaseTexture9* texture) {
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(device_->SetTexture(sampler, texture), D3D_OK);
        texture->Release();
    }
    // vs_3_0 with v0 to o0 as the position and o1 declared as COLOR0; more instructions follow.
    static Code VertexShader(std::initializer_list<DWORD> inputUsages = {}) {
        Code code(D3DVS_VERSION(3, 0));
        DWORD n = 0;
        for (DWORD usage : inputUsages)
            code.Op(D3DSIO_DCL, {Usage(usage), Dst(D3DSPR_INPUT, n++)});
        return code.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), Dst(D3DSPR_OUTPUT, 0)})
            .Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_COLOR), Dst(D3DSPR_OUTPUT, 1)})
            .Op(D3DSIO_MOV, {Dst(D3DSPR_OUTPUT, 0), Src(D3DSPR_INPUT, 0)});
    }
    // Draws with the shader (the device holds it) and the diffuse colour as the pixel colour.
    void Use(const Code& code) {
        IDirect3DVertexShader9* shader = nullptr;
        ASSERT_EQ(device_->CreateVertexShader(code.End().data(), &shader), D3D_OK);
        EXPECT_EQ(device_->SetVertexShader(shader), D3D_OK);
        shader->Release();
        SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_DIFFUSE}});
    }
};

// The bump texel (du, dv, luminance) = (1, -1, 1) in stage 0; stage 1 a 4x4 texture whose texel (x, y)
// is red 0x20 + 0x40 x, green 0x10 + 0x40 y, blue 0x80. Stage 1's matrix (0.5, 0.75, 0.25, 0.5) moves
// (u, v) by (0.5 - 0.25, 0.75 - 0.5): pixel (1, 1), at (3/16, 3/16) in texel (0, 0), samples texel
// (1, 1). texbeml scales it by 1 x 0.5 + 0.25.
struct BumpRow {
    const char* name;
    std::vector<DWORD> tokens;
    Bgra expected;
};
const DWORD kT0 = Src(D3DSPR_TEXTURE, 0), kT1 = Src(D3DSPR_TEXTURE, 1);
const std::vector<BumpRow> kBumpRows = {
    {"texbem",
     {D3DPS_VERSION(1, 1), D3DSIO_TEX, Dst(D3DSPR_TEXTURE, 0), D3DSIO_TEXBEM, Dst(D3DSPR_TEXTURE, 1), kT0,
      D3DSIO_MOV, R(0), kT1, D3DPS_END()},
     {0x80, 0x50, 0x60, 0xFF}},
    {"texbeml",
     {D3DPS_VERSION(1, 1), D3DSIO_TEX, Dst(D3DSPR_TEXTURE, 0), D3DSIO_TEXBEML, Dst(D3DSPR_TEXTURE, 1), kT0,
      D3DSIO_MOV, R(0), kT1, D3DPS_END()},
     {0x60, 0x3C, 0x48, 0xFF}},
    {"bem",
     {D3DPS_VERSION(1, 4), D3DSIO_TEX, R(0), kT0, D3DSIO_TEXCOORD, R(1, 0x70000), kT1, D3DSIO_BEM,
      R(1, 0x30000), Rs(1), Rs(0), D3DSIO_PHASE, D3DSIO_TEX, R(1), Rs(1), D3DSIO_MOV, R(0), Rs(1),
      D3DPS_END()},
     {0x80, 0x50, 0x60, 0xFF}},
};

TEST_F(BytecodeStateTest, BumpInstructionsSampleThroughTheStageMatrix) {
    IDirect3DTexture9* bump = Texture(1, 1, 1, 0, D3DFMT_Q8W8V8U8);
    IDirect3DTexture9* colours = Texture(4, 4, 1, 0, D3DFMT_A8R8G8B8);
    ASSERT_TRUE(bump && colours);
    Fill(bump, 0, [](UINT, UINT) { return 0x7F7F817Fu; }); // U 127, V -127, W 127
    Fill(colours, 0,
         [](UINT x, UINT y) { return 0xFF000080u | (0x20 + 0x40 * x) << 16 | (0x10 + 0x40 * y) << 8; });
    Bind(0, bump);
    Bind(1, colours);
    SetStageStates(1, {{D3DTSS_BUMPENVMAT00, FloatBits(0.5f)},
                       {D3DTSS_BUMPENVMAT01, FloatBits(0.75f)},
                       {D3DTSS_BUMPENVMAT10, FloatBits(0.25f)},
                       {D3DTSS_BUMPENVMAT11, FloatBits(0.5f)},
                       {D3DTSS_BUMPENVLSCALE, FloatBits(0.5f)},
                       {D3DTSS_BUMPENVLOFFSET, FloatBits(0.25f)}});
    struct Vertex {
        float x, y, z, rhw, u0, v0, u1, v1;
    };
    for (const BumpRow& row : kBumpRows) {
        IDirect3DPixelShader9* shader = nullptr;
        ASSERT_EQ(device_->CreatePixelShader(row.tokens.data(), &shader), D3D_OK) << row.name;
        EXPECT_EQ(device_->SetPixelShader(shader), D3D_OK);
        const Frame frame = DrawFrame([&] {
            DrawStrip(D3DFVF_XYZRHW | D3DFVF_TEX2,
                      Quad<Vertex>(0, 0, 8, 8, [](float x, float y, float u, float v) {
                          return Vertex{x, y, 0.5f, 1.0f, u, v, u, v};
                      }));
        });
        EXPECT_EQ(At(frame, 1, 1), row.expected) << row.name;
        EXPECT_EQ(device_->SetPixelShader(nullptr), D3D_OK);
        shader->Release();
    }
}

// vs_3_0 reads D3DVERTEXTEXTURESAMPLER0 with texldl at (u, 0.5, 0, lod) into its colour. The 2x1
// A16B16G16R16F texture holds (0.25, 0.5, 0.75) and (0.75, 1, 0.25): level 0 magnifies, lod 1 minifies,
// and halfway between the texel centres linear filtering gives (0.5, 0.75, 0.5).
struct VertexTextureRow {
    DWORD filter;
    float lod, u;
    Bgra expected;
    DWORD cap;
};
const VertexTextureRow kVertexTextureRows[] = {
    {D3DTEXF_POINT, 0, 0.375f, {0xBF, 0x80, 0x40, 0xFF}, D3DPTFILTERCAPS_MAGFPOINT},
    {D3DTEXF_LINEAR, 0, 0.5f, {0x80, 0xBF, 0x80, 0xFF}, D3DPTFILTERCAPS_MAGFLINEAR},
    {D3DTEXF_POINT, 1, 0.375f, {0xBF, 0x80, 0x40, 0xFF}, D3DPTFILTERCAPS_MINFPOINT},
    {D3DTEXF_LINEAR, 1, 0.5f, {0x80, 0xBF, 0x80, 0xFF}, D3DPTFILTERCAPS_MINFLINEAR},
};
const Exercises kVertexTextureCaps{
    {&D3DCAPS9::VertexTextureFilterCaps, BitsOf(kVertexTextureRows, [](const auto& r) { return r.cap; })}};

TEST_F(BytecodeStateTest, VertexShaderReadsAVertexTexture) {
    IDirect3DTexture9* texture = Texture(2, 1, 1, 0, D3DFMT_A16B16G16R16F);
    ASSERT_NE(texture, nullptr);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    const std::uint16_t halves[] = {0x3400, 0x3800, 0x3A00, 0x3C00, 0x3A00, 0x3C00, 0x3400, 0x3C00};
    std::memcpy(locked.pBits, halves, sizeof halves);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    Bind(D3DVERTEXTEXTURESAMPLER0, texture);
    Use(VertexShader({D3DDECLUSAGE_POSITION})
            .Op(D3DSIO_DCL, {0x80000000u | D3DSTT_2D, Dst(D3DSPR_SAMPLER, 0)})
            .Op(D3DSIO_TEXLDL, {R(0), C(0), Src(D3DSPR_SAMPLER, 0)})
            .Op(D3DSIO_MOV, {Dst(D3DSPR_OUTPUT, 1), Rs(0)}));
    for (const VertexTextureRow& row : kVertexTextureRows) {
        const float at[4] = {row.u, 0.5f, 0, row.lod};
        EXPECT_EQ(device_->SetVertexShaderConstantF(0, at, 1), D3D_OK);
        for (DWORD state : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER})
            EXPECT_EQ(device_->SetSamplerState(D3DVERTEXTEXTURESAMPLER0,
                                               static_cast<D3DSAMPLERSTATETYPE>(state), row.filter),
                      D3D_OK);
        struct Vertex {
            float x, y, z;
        };
        const Bgra got =
            At(DrawFrame([&] {
                   DrawStrip(D3DFVF_XYZ, Quad<Vertex>(-1, 1, 1, -1, [](float x, float y, float, float) {
                                 return Vertex{x, y, 0.5f};
                             }));
               }),
               4, 4);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(got[c], row.expected[c], 1) << row.cap << " channel " << c;
    }
    EXPECT_EQ(device_->SetVertexShader(nullptr), D3D_OK);
}

// A vertex buffer holding the bytes given.
template <typename T, std::size_t N>
IDirect3DVertexBuffer9* Buffer(IDirect3DDevice9* device, const T (&data)[N]) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    void* bits = nullptr;
    EXPECT_EQ(device->CreateVertexBuffer(sizeof data, 0, 0, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    if (buffer && buffer->Lock(0, 0, &bits, 0) == D3D_OK) {
        std::memcpy(bits, data, sizeof data);
        buffer->Unlock();
    }
    return buffer;
}

// Three instances of a quad two pixels wide: stream 1 moves each by 0.5 (two pixels) in x, stream 2
// colours two instances each, so the third is blue and the first two red.
TEST_F(BytecodeStateTest, IndexedDrawMakesInstancesFromInstanceStreams) {
    const float corners[] = {-1, 1, 0.5f, -0.5f, 1, 0.5f, -1, -1, 0.5f, -0.5f, -1, 0.5f};
    const float offsets[] = {0, 0.5f, 1};
    const D3DCOLOR colours[] = {0xFFFF0000, 0xFF0000FF};
    IDirect3DVertexBuffer9* buffers[] = {Buffer(device_, corners), Buffer(device_, offsets),
                                         Buffer(device_, colours)};
    const UINT strides[] = {12, 4, 4};
    for (UINT s = 0; s < 3; ++s) {
        EXPECT_EQ(device_->SetStreamSource(s, buffers[s], 0, strides[s]), D3D_OK);
        buffers[s]->Release();
    }
    IDirect3DIndexBuffer9* indices = nullptr;
    void* bits = nullptr;
    const WORD quad[] = {0, 1, 2, 2, 1, 3};
    ASSERT_EQ(device_->CreateIndexBuffer(sizeof quad, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
              D3D_OK);
    ASSERT_EQ(indices->Lock(0, 0, &bits, 0), D3D_OK);
    std::memcpy(bits, quad, sizeof quad);
    EXPECT_EQ(indices->Unlock(), D3D_OK);
    EXPECT_EQ(device_->SetIndices(indices), D3D_OK);
    indices->Release();
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {1, 0, D3DDECLTYPE_FLOAT1, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
        {2, 0, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
        D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(device_->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    EXPECT_EQ(device_->SetVertexDeclaration(declaration), D3D_OK);
    declaration->Release();
    Use(VertexShader({D3DDECLUSAGE_POSITION, D3DDECLUSAGE_TEXCOORD, D3DDECLUSAGE_COLOR})
            .Op(D3DSIO_ADD,
                {Dst(D3DSPR_OUTPUT, 0, D3DSP_WRITEMASK_0), Src(D3DSPR_INPUT, 0), Src(D3DSPR_INPUT, 1)})
            .Op(D3DSIO_MOV, {Dst(D3DSPR_OUTPUT, 1), Src(D3DSPR_INPUT, 2)}));

    // Refused as Direct3D 9 refuses them; a refusal leaves the setting alone.
    for (const auto& [stream, setting] : {std::pair<UINT, UINT>{0, D3DSTREAMSOURCE_INSTANCEDATA | 1},
                                          {1, D3DSTREAMSOURCE_INSTANCEDATA | D3DSTREAMSOURCE_INDEXEDDATA | 1},
                                          {1, 0},
                                          {16, 1}})
        EXPECT_EQ(device_->SetStreamSourceFreq(stream, setting), D3DERR_INVALIDCALL)
            << stream << " " << setting;
    EXPECT_EQ(device_->GetStreamSourceFreq(0, nullptr), D3DERR_INVALIDCALL);
    UINT setting = 0;
    EXPECT_EQ(device_->GetStreamSourceFreq(0, &setting), D3D_OK);
    EXPECT_EQ(setting, 1u);

    EXPECT_EQ(device_->SetStreamSourceFreq(0, D3DSTREAMSOURCE_INDEXEDDATA | 3) |
                  device_->SetStreamSourceFreq(1, D3DSTREAMSOURCE_INSTANCEDATA | 1) |
                  device_->SetStreamSourceFreq(2, D3DSTREAMSOURCE_INSTANCEDATA | 2),
              D3D_OK);
    EXPECT_EQ(device_->GetStreamSourceFreq(2, &setting), D3D_OK);
    EXPECT_EQ(setting, D3DSTREAMSOURCE_INSTANCEDATA | 2);
    const Frame frame = DrawFrame(
        [&] { EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK); });
    const D3DCOLOR expected[] = {0xFFFF0000, 0xFFFF0000, 0xFF0000FF, 0xFF000000}; // and the cleared column
    for (unsigned x = 1; x < 8; x += 2)
        EXPECT_EQ(At(frame, x, 4), ToBgra(expected[x / 2])) << x;
    // A fourth instance would read past the offsets.
    EXPECT_EQ(device_->SetStreamSourceFreq(0, D3DSTREAMSOURCE_INDEXEDDATA | 4), D3D_OK);
    Scene([&] {
        EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    });
    EXPECT_EQ(device_->SetVertexShader(nullptr), D3D_OK);
}

} // namespace
} // namespace render_test
