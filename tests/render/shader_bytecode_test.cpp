// Bytecode shaders drawn: one table per version family, each row an instruction (or modifier, or
// flow-control construct) whose result reaches a pixel of an 8x8 target; vertex shaders feed the
// fixed-function pixel stage and pixel shaders are fed by the fixed-function vertex stage.
#include "render_fixture.h"

#include <d3dx9.h>

#include <cmath>
#include <string>

namespace render_test {
namespace {

// Versions a row runs in: k11 is vs_1_1 (vertex rows), kP11 and kP14 ps_1_1 and ps_1_4 (pixel rows).
constexpr DWORD k20 = 1, k30 = 2, kBoth = 3, k11 = 4, kAll = 7, kP11 = 8, kP14 = 16;
struct Row {
    const char* name;
    DWORD versions;       // k20 (vs_2_0 / ps_2_0), k30, or both
    const char* body;     // assembly that leaves its colour in r0
    float r, g, b;        // r0's red, green and blue as drawn (clamped)
    const char* tail{""}; // subroutines after main's ret
    unsigned x = 1;       // the pixel read, in row 1
    DWORD state = 0;      // kFog or kAlphaTest
};
constexpr DWORD kFog = 1, kAlphaTest = 2;

// Float constants of both stages: c0 to c9.
const float kConstants[10 * 4] = {
    0.25f, 0.5f,  0.75f, 1.0f, 0.5f,  -0.5f, 2.0f, 0.125f, 0.5f, 0,    0, 0,    0, 0, 0.25f, 0, 0, 0, 0, 0.5f,
    0.25f, 0.25f, 0,     0,    -1.5f, 0.3f,  4.0f, 0.6f,   0.5f, 0.5f, 0, 2.0f, 2, 2, 1,     2, 0, 0, 0, 3};

// Rows both stages run: arithmetic on the constants into r0.
const std::vector<Row> kArithmeticRows = {
    {"mov", kAll | kP11 | kP14, "mov r0, c0", 0.25f, 0.5f, 0.75f},
    {"add", kAll | kP11 | kP14, "add r0, c0, c1", 0.75f, 0, 1},
    {"sub", kAll | kP11 | kP14, "sub r0, c0, c1.w", 0.125f, 0.375f, 0.625f},
    {"mad", kAll | kP11 | kP14, "mad r0, c0, c1.x, c1.w", 0.25f, 0.375f, 0.5f},
    {"mul", kAll | kP11 | kP14, "mul r0, c0, c0", 0.0625f, 0.25f, 0.5625f},
    {"rcp", kAll, "rcp r0, c1.z", 0.5f, 0.5f, 0.5f},
    {"rsq", kAll, "rsq r0, c6.z", 0.5f, 0.5f, 0.5f},
    {"dp3", kAll | kP11 | kP14, "dp3 r0, c0, c0", 0.875f, 0.875f, 0.875f},
    {"dp4", kAll, "dp4 r0, c0, c3", 0.1875f, 0.1875f, 0.1875f},
    {"min", kAll, "min r0, c0, c6", 0, 0.3f, 0.75f},
    {"max", kAll, "max r0, c0, c6", 0.25f, 0.5f, 1},
    {"exp", kAll, "exp r0, c1.y", 0.70711f, 0.70711f, 0.70711f},
    {"log of |x|", kAll, "log r0, c6.x", 0.58496f, 0.58496f, 0.58496f},
    {"lrp", kBoth | kP11 | kP14, "lrp r0, c0.x, c0, c2", 0.4375f, 0.125f, 0.1875f},
    {"frc", kAll, "frc r0, c6", 0.5f, 0.3f, 0},
    {"pow", kBoth, "pow r0, c0.y, c6.z", 0.0625f, 0.0625f, 0.0625f},
    {"crs", kBoth, "crs r0.xyz, c0, c2", 0, 0.375f, 0},
    {"abs", kBoth, "abs r0, c6", 1, 0.3f, 1},
    {"nrm", kBoth, "nrm r0, c1", 0.23570f, 0, 0.94281f},
    {"sincos 3.0", k30, "sincos r0.xy, c1.x", 0.87758f, 0.47943f, 0},
    {"sincos 2.0", k20, "sincos r0.xy, c1.x, c8, c9", 0.87758f, 0.47943f, 0},
    {"negate", kAll | kP11 | kP14, "mov r0, -c6", 1, 0, 0},
    {"saturate", kBoth, "mov_sat r0, c6 \n mul r0, r0, c0.y", 0, 0.15f, 0.5f},
    {"write mask and swizzle", kAll, "mov r0, c0.zyxw \n mov r0.y, c6.z", 0.75f, 1, 0.25f},
    {"def overrides", kAll, "def c0, 0.1, 0.2, 0.3, 0 \n mov r0, c0", 0.1f, 0.2f, 0.3f},
    {"rep with i0 set", kBoth, "rep i0 \n add r0, r0, c5 \n endrep", 0.75f, 0.75f, 0},
    {"if b0 else", kBoth, "if b0 \n mov r0, c0 \n else \n mov r0, c2 \n endif", 0.25f, 0.5f, 0.75f},
    {"ifc", kBoth, "ifc_gt c0.x, c1.w \n mov r0, c0 \n endif", 0.25f, 0.5f, 0.75f},
    {"breakc after two rounds", kBoth, "rep i0 \n add r0, r0, c5 \n breakc_ge r0.x, c2.x \n endrep", 0.5f,
     0.5f, 0},
    {"call", kBoth, "call l0", 0.25f, 0.5f, 0.75f, "label l0 \n mov r0, c0 \n ret"},
    {"setp and predicated mov", k30, "setp_gt p0, c0, c6 \n (p0) mov r0, c0", 0.25f, 0.5f, 0},
    {"breakp after one round", k30, "setp_gt p0, c0, c6 \n rep i0 \n add r0, r0, c5 \n breakp p0.x \n endrep",
     0.25f, 0.25f, 0},
    {"callnz b0", kBoth, "callnz l0, b0", 0.25f, 0.5f, 0.75f, "label l0 \n mov r0, c0 \n ret"},
    {"loop aL with defi", k30, "defi i1, 2, 2, 1, 0 \n loop aL, i1 \n add r0, r0, c[aL] \n endloop", 0.5f, 0,
     0.25f},
};

// Vertex-shader rows: those of vertex shaders only.
const std::vector<Row> kVertexRows = {
    {"mov a0 and c[a0.x + 1]", k11, "mov a0.x, c1.z \n mov r0, c[a0.x + 1]", 0, 0, 0.25f},
    {"slt", kAll, "slt r0, c0, c6", 0, 0, 1},
    {"sge", kAll, "sge r0, c0, c6", 1, 1, 0},
    {"lit", kAll, "lit r0, c7", 1, 0.5f, 0.25f},
    {"dst", kAll, "dst r0, c0, c0", 1, 0.25f, 0.75f},
    {"m4x4", kAll, "m4x4 r0, c0, c2", 0.125f, 0.1875f, 0.5f},
    {"m4x3", kAll, "m4x3 r0.xyz, c0, c2", 0.125f, 0.1875f, 0.5f},
    {"m3x4", kAll, "m3x4 r0, c0, c2", 0.125f, 0.1875f, 0},
    {"m3x3", kAll, "m3x3 r0.xyz, c6, c2", 0, 1, 0},
    {"m3x2", kAll, "m3x2 r0.xy, c0, c2", 0.125f, 0.1875f, 0},
    {"sgn 3.0", k30, "sgn r0, c6", 0, 1, 1},
    {"sgn 2.0", k20, "sgn r0, c6, r1, r2", 0, 1, 1},
    {"mova and c[a0.x + 1]", kBoth, "mova a0.x, c1.z \n mov r0, c[a0.x + 1]", 0, 0, 0.25f},
};

// Pixel-shader rows: r1 holds the texture coordinates, r2 the diffuse colour. The 2x2 texture's
// top-left texel is 0x204060 and its 1x1 level 0x10F080; the cube's +Z face is 0x30C090 and the
// volume's second slice 0x5060F0.
const std::vector<Row> kPixelRows = {
    {"diffuse input", kBoth, "mov r0, r2", 64 / 255.f, 128 / 255.f, 32 / 255.f},
    {"texld", kBoth, "texld r0, r1, s0", 0x20 / 255.f, 0x40 / 255.f, 0x60 / 255.f},
    {"texld projected", kBoth, "mul r3, r1, c8 \n texldp r0, r3, s0", 0x20 / 255.f, 0x40 / 255.f,
     0x60 / 255.f, "", 3},
    {"texld biased", kBoth, "mov r3, r1 \n mov r3.w, c9 \n texldb r0, r3, s0", 0x10 / 255.f, 0xF0 / 255.f,
     0x80 / 255.f},
    {"texldl", k30, "mov r3, r1 \n mov r3.w, c9 \n texldl r0, r3, s0", 0x10 / 255.f, 0xF0 / 255.f,
     0x80 / 255.f},
    {"texld cube", kBoth, "texld r0, c1, s1", 0x30 / 255.f, 0xC0 / 255.f, 0x90 / 255.f},
    {"texld volume", kBoth, "texld r0, c0, s2", 0x50 / 255.f, 0x60 / 255.f, 0xF0 / 255.f},
    {"texkill left", kBoth, "sub r3, r1, c2 \n texkill r3 \n mov r0, c0", 0, 0, 0},
    {"texkill right", kBoth, "sub r3, r1, c2 \n texkill r3 \n mov r0, c0", 0.25f, 0.5f, 0.75f, "", 5},
    {"cmp", kBoth, "cmp r0, c6, c0, c1", 0.5f, 0.5f, 0.75f},
    {"dp2add", kBoth, "dp2add r0, c0, c0, c1.w", 0.4375f, 0.4375f, 0.4375f},
    {"texldd: the gradients pick level 1", k30, "texldd r0, r1, s0, c6, c6", 0x10 / 255.f, 0xF0 / 255.f,
     0x80 / 255.f},
    {"vFace of a front face", k30, "dcl vFace \n cmp r0, vFace, c0, c2", 0.25f, 0.5f, 0.75f},
    {"dsx", k30, "dsx r3, r1 \n mul r0, r3, c8.x", 0.25f, 0, 0},
    {"dsy", k30, "dsy r3, r1 \n mul r0, r3, c8.x", 0, 0.25f, 0},
    {"abs modifier", kBoth, "mov r0, c6_abs", 1, 0.3f, 1},
    {"fogged below 3.0", k20, "mov r0, c0", 0.625f, 0.75f, 0.875f, "", 1, kFog},
    {"not fogged in 3.0", k30, "mov r0, c0", 0.25f, 0.5f, 0.75f, "", 1, kFog},
    {"alpha test on oC0", kBoth, "mov r0, c5", 0, 0, 0, "", 1, kAlphaTest},
};

// Pixel shader 1.x rows: r0 is the colour written; constants range from -1 to 1 (c6 reads -1, 0.3,
// 1, 0.6). Pixel (1, 1) samples at (1, 1), where u and v are 1/8, as Direct3D 9 places pixel centres.
const std::vector<Row> kPs1Rows = {
    {"tex", kP11, "tex t0 \n mov r0, t0", 0x20 / 255.f, 0x40 / 255.f, 0x60 / 255.f},
    {"texcoord", kP11, "texcoord t0 \n mov r0, t0", 0.125f, 0.125f, 0},
    {"texreg2ar", kP11, "tex t0 \n texreg2ar t1, t0 \n mov r0, t1", 0xA0 / 255.f, 0xC0 / 255.f, 0xE0 / 255.f},
    {"texreg2gb", kP11, "tex t0 \n texreg2gb t1, t0 \n mov r0, t1", 0x20 / 255.f, 0x40 / 255.f, 0x60 / 255.f},
    {"texreg2rgb", kP11, "tex t0 \n texreg2rgb t1, t0 \n mov r0, t1", 0x20 / 255.f, 0x40 / 255.f,
     0x60 / 255.f},
    {"bx2", kP11 | kP14, "mov r0, c0_bx2", 0, 0, 0.5f},
    {"comp", kP11 | kP14, "mov r0, 1 - c0", 0.75f, 0.5f, 0.25f},
    {"bias", kP11 | kP14, "add r0, c0_bias, c0", 0, 0.5f, 1},
    {"x2 modifier", kP14, "mov r0, c0_x2", 0.5f, 1, 1},
    {"shift x2", kP11 | kP14, "mul_x2 r0, c0, c0", 0.125f, 0.5f, 1},
    {"shift d2", kP11 | kP14, "add_d2 r0, c0, c0", 0.25f, 0.5f, 0.75f},
    {"constants clamped", kP11 | kP14, "mul r0, c6, c4.a", 0, 0.15f, 0.5f},
    {"cnd on r0.a", kP11 | kP14, "mov r0, c6 \n cnd r0, r0.a, c0, c2", 0.25f, 0.5f, 0.75f},
    {"cmp", kP14, "cmp r0, c6, c0, c1", 0.5f, 0.5f, 0.75f},
    {"texld", kP14, "texld r0, t0", 0x20 / 255.f, 0x40 / 255.f, 0x60 / 255.f},
    {"texcrd, phase, dependent texld", kP14,
     "texcrd r1.xyz, t0 \n add r1.xyz, r1, r1 \n phase \n texld r0, r1", 0xA0 / 255.f, 0xC0 / 255.f,
     0xE0 / 255.f, "", 3},
};

// The tokens D3DXAssembleShader makes of `text`; empty when it fails.
std::vector<DWORD> Assembled(const std::string& text) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    EXPECT_EQ(
        D3DXAssembleShader(text.c_str(), static_cast<UINT>(text.size()), nullptr, nullptr, 0, &code, &errors),
        D3D_OK)
        << text << (errors ? static_cast<const char*>(errors->GetBufferPointer()) : "");
    std::vector<DWORD> tokens;
    if (code) {
        const DWORD* p = static_cast<const DWORD*>(code->GetBufferPointer());
        tokens.assign(p, p + code->GetBufferSize() / sizeof(DWORD));
        code->Release();
    }
    if (errors)
        errors->Release();
    return tokens;
}

std::uint8_t Channel(float v) {
    return static_cast<std::uint8_t>(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255.0f));
}

class ShaderBytecodeTest : public RenderTest {
  protected:
    void SetUp() override {
        CreateDevice(8, 8);
        const int count[] = {3, 0, 0, 0};
        const BOOL yes = TRUE;
        // Any failure leaves a bit set.
        ASSERT_EQ(device_->SetVertexShaderConstantF(0, kConstants, 10) |
                      device_->SetPixelShaderConstantF(0, kConstants, 10) |
                      device_->SetVertexShaderConstantI(0, count, 1) |
                      device_->SetPixelShaderConstantI(0, count, 1) |
                      device_->SetVertexShaderConstantB(0, &yes, 1) |
                      device_->SetPixelShaderConstantB(0, &yes, 1),
                  D3D_OK);
    }

    // A vertex shader: position from v0, the row, r0 out as the diffuse colour.
    static std::string VertexShader(DWORD major, const Row& row) {
        const std::string position = major >= 3 ? "o0" : "oPos", color = major >= 3 ? "o1" : "oD0";
        return (major == 1 ? "vs_1_1" : "vs_" + std::to_string(major) + "_0") + "\n dcl_position v0 \n" +
               (major >= 3 ? "dcl_position o0 \n dcl_color o1 \n" : "") + "mov " + position + ", v0 \n" +
               row.body + "\n mov " + color + ", r0 \n" + (*row.tail ? "ret \n" : "") + row.tail;
    }

    // A pixel shader: r1 the texture coordinates, r2 the diffuse colour, the row, r0 out as COLOR0.
    static std::string PixelShader(DWORD major, DWORD minor, const Row& row) {
        const std::string version = "ps_" + std::to_string(major) + "_" + std::to_string(minor) + "\n";
        if (major == 1)
            return version + row.body;
        return version +
               (major >= 3 ? "dcl_color v0 \n dcl_texcoord v1 \n mov r1, v1 \n"
                           : "dcl v0 \n dcl t0 \n mov r1, t0 \n") +
               "dcl_2d s0 \n dcl_cube s1 \n dcl_volume s2 \n mov r2, v0 \n" + row.body + "\n mov oC0, r0 \n" +
               (*row.tail ? "ret \n" : "") + row.tail;
    }

    // Textures of the pixel rows: a 2D texture of two levels, a cube and a volume of 1x1x2.
    void BindTextures() {
        IDirect3DTexture9* plain = Texture(2, 2, 2, 0, D3DFMT_A8R8G8B8);
        Fill(plain, 0, [](UINT x, UINT y) {
            return x + y == 0 ? 0xFF204060u : x ? 0xFFA0C0E0u : 0xFF6080A0u;
        });
        Fill(plain, 1, [](UINT, UINT) { return 0xFF10F080u; });
        IDirect3DCubeTexture9* cube = nullptr;
        ASSERT_EQ(device_->CreateCubeTexture(1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr),
                  D3D_OK);
        for (DWORD face = 0; face < 6; ++face)
            Fill(cube, static_cast<D3DCUBEMAP_FACES>(face), [face](UINT, UINT) {
                return face == D3DCUBEMAP_FACE_POSITIVE_Z ? 0xFF30C090u : 0xFF000000u;
            });
        IDirect3DVolumeTexture9* volume = nullptr;
        ASSERT_EQ(
            device_->CreateVolumeTexture(1, 1, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &volume, nullptr),
            D3D_OK);
        D3DLOCKED_BOX box{};
        ASSERT_EQ(volume->LockBox(0, &box, nullptr, 0), D3D_OK);
        *reinterpret_cast<D3DCOLOR*>(static_cast<char*>(box.pBits) + box.SlicePitch) = 0xFF5060F0u;
        ASSERT_EQ(volume->UnlockBox(0), D3D_OK);
        IDirect3DBaseTexture9* textures[] = {plain, cube, volume};
        for (DWORD s = 0; s < 3; ++s) {
            ASSERT_EQ(device_->SetTexture(s, textures[s]), D3D_OK);
            ASSERT_EQ(device_->SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_POINT), D3D_OK);
            textures[s]->Release();
        }
    }

    // Draws with the shaders given (empty: fixed function); a pixel shader alone gets a pre-transformed
    // quad with diffuse colour and texture coordinates, a vertex shader a clip-space one.
    Frame Draw(const std::vector<DWORD>& vsTokens, const std::vector<DWORD>& psTokens, DWORD state,
               HRESULT* created) {
        IDirect3DVertexShader9* vs = nullptr;
        IDirect3DPixelShader9* ps = nullptr;
        *created = (vsTokens.empty() ? D3D_OK : device_->CreateVertexShader(vsTokens.data(), &vs)) |
                   (psTokens.empty() ? D3D_OK : device_->CreatePixelShader(psTokens.data(), &ps));
        SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_DIFFUSE}});
        SetStates({{D3DRS_FOGENABLE, state == kFog},
                   {D3DRS_FOGTABLEMODE, D3DFOG_LINEAR},
                   {D3DRS_FOGSTART, FloatBits(0)},
                   {D3DRS_FOGEND, FloatBits(1)},
                   {D3DRS_FOGCOLOR, 0xFFFFFFFF},
                   {D3DRS_ALPHATESTENABLE, state == kAlphaTest},
                   {D3DRS_ALPHAREF, 0x90},
                   {D3DRS_ALPHAFUNC, D3DCMP_GREATER}});
        EXPECT_EQ(device_->SetVertexShader(vs) | device_->SetPixelShader(ps), D3D_OK);
        struct Vertex {
            float x, y, z, rhw;
            D3DCOLOR color;
            float u, v;
        };
        const Frame frame = DrawFrame([&] {
            if (!vs)
                DrawStrip(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                          Quad<Vertex>(0, 0, 8, 8, [](float x, float y, float u, float v) {
                              return Vertex{x, y, 0.5f, 1.0f, 0xFF408020, u, v};
                          }));
            else
                DrawStrip(D3DFVF_XYZ, Quad<Vertex>(-1, 1, 1, -1, [](float x, float y, float, float) {
                              return Vertex{x, y, 0.5f, 0, 0, 0, 0};
                          }));
        });
        EXPECT_EQ(device_->SetVertexShader(nullptr) | device_->SetPixelShader(nullptr), D3D_OK);
        if (vs)
            vs->Release();
        if (ps)
            ps->Release();
        return frame;
    }

    void CheckRows(bool pixel, std::initializer_list<const std::vector<Row>*> tables) {
        struct Version {
            DWORD major, minor, bit;
        };
        const std::vector<Version> versions =
            pixel ? std::vector<Version>{{1, 1, kP11}, {1, 4, kP14}, {2, 0, k20}, {3, 0, k30}}
                  : std::vector<Version>{{1, 1, k11}, {2, 0, k20}, {3, 0, k30}};
        for (const Version& v : versions)
            for (const std::vector<Row>* rows : tables)
                for (const Row& row : *rows) {
                    if (!(row.versions & v.bit))
                        continue;
                    HRESULT created = E_FAIL;
                    const Frame frame =
                        Draw(pixel ? std::vector<DWORD>{} : Assembled(VertexShader(v.major, row)),
                             pixel ? Assembled(PixelShader(v.major, v.minor, row)) : std::vector<DWORD>{},
                             row.state, &created);
                    const std::string name = std::string(row.name) + (pixel ? " ps_" : " vs_") +
                                             std::to_string(v.major) + "_" + std::to_string(v.minor);
                    ASSERT_EQ(created, D3D_OK) << name;
                    const Bgra expected{Channel(row.b), Channel(row.g), Channel(row.r), 0};
                    const Bgra got = At(frame, row.x, 1);
                    for (int c = 0; c < 3; ++c)
                        EXPECT_NEAR(got[c], expected[c], 1) << name << " channel " << c;
                }
    }
};

TEST_F(ShaderBytecodeTest, VertexShaderRowsDrawTheirWorkedOutColour) {
    CheckRows(false, {&kArithmeticRows, &kVertexRows});
}

TEST_F(ShaderBytecodeTest, PixelShaderRowsDrawTheirWorkedOutColour) {
    BindTextures();
    CheckRows(true, {&kArithmeticRows, &kPixelRows});
}

TEST_F(ShaderBytecodeTest, PixelShader1xRowsDrawTheirWorkedOutColour) {
    BindTextures();
    IDirect3DBaseTexture9* plain = nullptr;
    ASSERT_EQ(device_->GetTexture(0, &plain), D3D_OK);
    ASSERT_EQ(device_->SetTexture(1, plain), D3D_OK); // texreg2ar reads stage 1 at u = 1: the right column
    plain->Release();
    ASSERT_EQ(device_->SetSamplerState(1, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP), D3D_OK);
    CheckRows(true, {&kArithmeticRows, &kPs1Rows});
}

// vs_3_0 packs TEXCOORD1 into o1.zw; ps_3_0 unpacks it into v2.xy and adds vPos.x / 16.
TEST_F(ShaderBytecodeTest, ShaderModel3StagesMeetThroughPackedSemantics) {
    const std::vector<DWORD> vs =
        Assembled("vs_3_0 dcl_position v0 \n dcl_position o0 \n dcl_texcoord1 o1.zw \n"
                  "mov o0, v0 \n mov o1.zw, c0.xxxy");
    const std::vector<DWORD> ps =
        Assembled("ps_3_0 dcl_texcoord1 v2.xy \n dcl vPos \n mad r0, vPos.x, c9.z, v2 \n"
                  "mov oC0, r0");
    const float sixteenth[4] = {0, 0, 0.0625f, 0};
    ASSERT_EQ(device_->SetPixelShaderConstantF(9, sixteenth, 1), D3D_OK);
    HRESULT created = E_FAIL;
    const Frame frame = Draw(vs, ps, 0, &created);
    ASSERT_EQ(created, D3D_OK);
    // vPos.x / 16 = 0.25 added to each of v2 = (0.25, 0.5, 0, 0).
    EXPECT_EQ(At(frame, 4, 2), (Bgra{0x40, 0xBF, 0x80, 0xFF}));
}

} // namespace
} // namespace render_test
