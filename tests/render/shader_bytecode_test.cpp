// Bytecode shaders drawn: one table per version family, each row an instruction (or modifier, or
// flow-control construct) whose result reaches a pixel of an 8x8 target; vertex shaders feed the
// fixed-function pixel stage and pixel shaders are fed by the fixed-function vertex stage.
#include "render_fixture.h"
#include "shader_tokens.h"

#include <cmath>
#include <string>

namespace render_test {
namespace {

using namespace shader_tokens;

// Instructions with their lengths, as 2.0 and later encode them.
std::vector<DWORD> Ops(std::initializer_list<std::vector<DWORD>> instructions) {
    std::vector<DWORD> tokens;
    for (const std::vector<DWORD>& in : instructions) {
        tokens.push_back(in[0] | static_cast<DWORD>(in.size() - 1) << D3DSI_INSTLENGTH_SHIFT);
        tokens.insert(tokens.end(), in.begin() + 1, in.end());
    }
    return tokens;
}

// Versions a row runs in: k11 is vs_1_1 (vertex rows), kP11 and kP14 ps_1_1 and ps_1_4 (pixel rows).
constexpr DWORD k20 = 1, k30 = 2, kBoth = 3, k11 = 4, kAll = 7, kP11 = 8, kP14 = 16;
struct Row {
    const char* name;
    DWORD versions;            // k20 (vs_2_0 / ps_2_0), k30, or both
    std::vector<DWORD> body;   // leaves its colour in r0
    float r, g, b;             // r0's red, green and blue as drawn (clamped)
    std::vector<DWORD> tail{}; // subroutines after main's ret
    unsigned x = 1;            // the pixel read, in row 1
    DWORD state = 0;           // kFog or kAlphaTest
};
constexpr DWORD kFog = 1, kAlphaTest = 2;

// Float constants of both stages: c0 to c9.
const float kConstants[10 * 4] = {
    0.25f, 0.5f,  0.75f, 1.0f, 0.5f,  -0.5f, 2.0f, 0.125f, 0.5f, 0,    0, 0,    0, 0, 0.25f, 0, 0, 0, 0, 0.5f,
    0.25f, 0.25f, 0,     0,    -1.5f, 0.3f,  4.0f, 0.6f,   0.5f, 0.5f, 0, 2.0f, 2, 2, 1,     2, 0, 0, 0, 3};

DWORD Rel(DWORD src) {
    return src | D3DSHADER_ADDRMODE_RELATIVE;
}
const DWORD kA0x = Src(D3DSPR_ADDR, 0, kX), kAL = Src(D3DSPR_LOOP, 0, kX);
const DWORD kP0 = Dst(D3DSPR_PREDICATE, 0), kI0 = Src(D3DSPR_CONSTINT, 0), kB0 = Src(D3DSPR_CONSTBOOL, 0);
const DWORD kS0 = Src(D3DSPR_SAMPLER, 0), kSat = D3DSPDM_SATURATE,
            kGt = D3DSPC_GT << D3DSP_OPCODESPECIFICCONTROL_SHIFT,
            kGe = D3DSPC_GE << D3DSP_OPCODESPECIFICCONTROL_SHIFT;

// Rows both stages run: arithmetic on the constants into r0.
const std::vector<Row> kArithmeticRows = {
    {"mov", kAll | kP11 | kP14, Ops({{D3DSIO_MOV, R(0), C(0)}}), 0.25f, 0.5f, 0.75f},
    {"add", kAll | kP11 | kP14, Ops({{D3DSIO_ADD, R(0), C(0), C(1)}}), 0.75f, 0, 1},
    {"sub", kAll | kP11 | kP14, Ops({{D3DSIO_SUB, R(0), C(0), C(1, kW)}}), 0.125f, 0.375f, 0.625f},
    {"mad", kAll | kP11 | kP14, Ops({{D3DSIO_MAD, R(0), C(0), C(1, kX), C(1, kW)}}), 0.25f, 0.375f, 0.5f},
    {"mul", kAll | kP11 | kP14, Ops({{D3DSIO_MUL, R(0), C(0), C(0)}}), 0.0625f, 0.25f, 0.5625f},
    {"rcp", kAll, Ops({{D3DSIO_RCP, R(0), C(1, kZ)}}), 0.5f, 0.5f, 0.5f},
    {"rsq", kAll, Ops({{D3DSIO_RSQ, R(0), C(6, kZ)}}), 0.5f, 0.5f, 0.5f},
    {"dp3", kAll | kP11 | kP14, Ops({{D3DSIO_DP3, R(0), C(0), C(0)}}), 0.875f, 0.875f, 0.875f},
    {"dp4", kAll, Ops({{D3DSIO_DP4, R(0), C(0), C(3)}}), 0.1875f, 0.1875f, 0.1875f},
    {"min", kAll, Ops({{D3DSIO_MIN, R(0), C(0), C(6)}}), 0, 0.3f, 0.75f},
    {"max", kAll, Ops({{D3DSIO_MAX, R(0), C(0), C(6)}}), 0.25f, 0.5f, 1},
    {"exp", kAll, Ops({{D3DSIO_EXP, R(0), C(1, kY)}}), 0.70711f, 0.70711f, 0.70711f},
    {"log of |x|", kAll, Ops({{D3DSIO_LOG, R(0), C(6, kX)}}), 0.58496f, 0.58496f, 0.58496f},
    {"lrp", kBoth | kP11 | kP14, Ops({{D3DSIO_LRP, R(0), C(0, kX), C(0), C(2)}}), 0.4375f, 0.125f, 0.1875f},
    {"frc", kAll, Ops({{D3DSIO_FRC, R(0), C(6)}}), 0.5f, 0.3f, 0},
    {"pow", kBoth, Ops({{D3DSIO_POW, R(0), C(0, kY), C(6, kZ)}}), 0.0625f, 0.0625f, 0.0625f},
    {"crs", kBoth, Ops({{D3DSIO_CRS, R(0, D3DSP_WRITEMASK_ALL & ~D3DSP_WRITEMASK_3), C(0), C(2)}}), 0, 0.375f,
     0},
    {"abs", kBoth, Ops({{D3DSIO_ABS, R(0), C(6)}}), 1, 0.3f, 1},
    {"nrm", kBoth, Ops({{D3DSIO_NRM, R(0), C(1)}}), 0.23570f, 0, 0.94281f},
    {"sincos 3.0", k30, Ops({{D3DSIO_SINCOS, R(0, 0x30000), C(1, kX)}}), 0.87758f, 0.47943f, 0},
    {"sincos 2.0", k20, Ops({{D3DSIO_SINCOS, R(0, 0x30000), C(1, kX), C(8), C(9)}}), 0.87758f, 0.47943f, 0},
    {"negate", kAll | kP11 | kP14, Ops({{D3DSIO_MOV, R(0), C(6, kXYZW, D3DSPSM_NEG)}}), 1, 0, 0},
    {"saturate", kBoth,
     Ops({{D3DSIO_MOV, Dst(D3DSPR_TEMP, 0, D3DSP_WRITEMASK_ALL, kSat), C(6)},
          {D3DSIO_MUL, R(0), Rs(0), C(0, kY)}}),
     0, 0.15f, 0.5f},
    {"write mask and swizzle", kAll,
     Ops({{D3DSIO_MOV, R(0), C(0, Swz(2, 1, 0, 3))}, {D3DSIO_MOV, R(0, D3DSP_WRITEMASK_1), C(6, kZ)}}), 0.75f,
     1, 0.25f},
    {"def overrides", kAll,
     Ops({{D3DSIO_DEF, Dst(D3DSPR_CONST, 0), Bits(0.1f), Bits(0.2f), Bits(0.3f), 0},
          {D3DSIO_MOV, R(0), C(0)}}),
     0.1f, 0.2f, 0.3f},
    {"rep with i0 set", kBoth, Ops({{D3DSIO_REP, kI0}, {D3DSIO_ADD, R(0), Rs(0), C(5)}, {D3DSIO_ENDREP}}),
     0.75f, 0.75f, 0},
    {"if b0 else", kBoth,
     Ops({{D3DSIO_IF, kB0},
          {D3DSIO_MOV, R(0), C(0)},
          {D3DSIO_ELSE},
          {D3DSIO_MOV, R(0), C(2)},
          {D3DSIO_ENDIF}}),
     0.25f, 0.5f, 0.75f},
    {"ifc", kBoth, Ops({{D3DSIO_IFC | kGt, C(0, kX), C(1, kW)}, {D3DSIO_MOV, R(0), C(0)}, {D3DSIO_ENDIF}}),
     0.25f, 0.5f, 0.75f},
    {"breakc after two rounds", kBoth,
     Ops({{D3DSIO_REP, kI0},
          {D3DSIO_ADD, R(0), Rs(0), C(5)},
          {D3DSIO_BREAKC | kGe, Rs(0, kX), C(2, kX)},
          {D3DSIO_ENDREP}}),
     0.5f, 0.5f, 0},
    {"call", kBoth, Ops({{D3DSIO_CALL, Src(D3DSPR_LABEL, 0)}}), 0.25f, 0.5f, 0.75f,
     Ops({{D3DSIO_LABEL, Src(D3DSPR_LABEL, 0)}, {D3DSIO_MOV, R(0), C(0)}, {D3DSIO_RET}})},
    {"setp and predicated mov", k30,
     Ops({{D3DSIO_SETP | kGt, kP0, C(0), C(6)},
          {D3DSIO_MOV | D3DSHADER_INSTRUCTION_PREDICATED, R(0), Src(D3DSPR_PREDICATE, 0), C(0)}}),
     0.25f, 0.5f, 0},
    {"loop aL with defi", k30,
     Ops({{D3DSIO_DEFI, Dst(D3DSPR_CONSTINT, 1), 2, 2, 1, 0},
          {D3DSIO_LOOP, kAL, Src(D3DSPR_CONSTINT, 1)},
          {D3DSIO_ADD, R(0), Rs(0), Rel(C(0)), kAL},
          {D3DSIO_ENDLOOP}}),
     0.5f, 0, 0.25f},
};

// Vertex-shader rows: those of vertex shaders only.
const std::vector<Row> kVertexRows = {
    {"mov a0 and c[a0.x + 1]", k11,
     Ops({{D3DSIO_MOV, Dst(D3DSPR_ADDR, 0, D3DSP_WRITEMASK_0), C(1, kZ)}, {D3DSIO_MOV, R(0), Rel(C(1))}}), 0,
     0, 0.25f},
    {"slt", kAll, Ops({{D3DSIO_SLT, R(0), C(0), C(6)}}), 0, 0, 1},
    {"sge", kAll, Ops({{D3DSIO_SGE, R(0), C(0), C(6)}}), 1, 1, 0},
    {"lit", kAll, Ops({{D3DSIO_LIT, R(0), C(7)}}), 1, 0.5f, 0.25f},
    {"dst", kAll, Ops({{D3DSIO_DST, R(0), C(0), C(0)}}), 1, 0.25f, 0.75f},
    {"m4x4", kAll, Ops({{D3DSIO_M4x4, R(0), C(0), C(2)}}), 0.125f, 0.1875f, 0.5f},
    {"m4x3", kAll, Ops({{D3DSIO_M4x3, R(0, 0x70000), C(0), C(2)}}), 0.125f, 0.1875f, 0.5f},
    {"m3x4", kAll, Ops({{D3DSIO_M3x4, R(0), C(0), C(2)}}), 0.125f, 0.1875f, 0},
    {"m3x3", kAll, Ops({{D3DSIO_M3x3, R(0, 0x70000), C(6), C(2)}}), 0, 1, 0},
    {"m3x2", kAll, Ops({{D3DSIO_M3x2, R(0, 0x30000), C(0), C(2)}}), 0.125f, 0.1875f, 0},
    {"sgn 3.0", k30, Ops({{D3DSIO_SGN, R(0), C(6)}}), 0, 1, 1},
    {"sgn 2.0", k20, Ops({{D3DSIO_SGN, R(0), C(6), Rs(1), Rs(2)}}), 0, 1, 1},
    {"mova and c[a0.x + 1]", kBoth,
     Ops({{D3DSIO_MOVA, Dst(D3DSPR_ADDR, 0, D3DSP_WRITEMASK_0), C(1, kZ)},
          {D3DSIO_MOV, R(0), Rel(C(1)), kA0x}}),
     0, 0, 0.25f},
};

// Pixel-shader rows: r1 holds the texture coordinates, r2 the diffuse colour. The 2x2 texture's
// top-left texel is 0x204060 and its 1x1 level 0x10F080; the cube's +Z face is 0x30C090 and the
// volume's second slice 0x5060F0.
const std::vector<Row> kPixelRows = {
    {"diffuse input", kBoth, Ops({{D3DSIO_MOV, R(0), Rs(2)}}), 64 / 255.f, 128 / 255.f, 32 / 255.f},
    {"texld", kBoth, Ops({{D3DSIO_TEX, R(0), Rs(1), kS0}}), 0x20 / 255.f, 0x40 / 255.f, 0x60 / 255.f},
    {"texld projected",
     kBoth,
     Ops({{D3DSIO_MUL, R(3), Rs(1), C(8)}, {D3DSIO_TEX | D3DSI_TEXLD_PROJECT, R(0), Rs(3), kS0}}),
     0x20 / 255.f,
     0x40 / 255.f,
     0x60 / 255.f,
     {},
     3},
    {"texld biased", kBoth,
     Ops({{D3DSIO_MOV, R(3), Rs(1)},
          {D3DSIO_MOV, R(3, D3DSP_WRITEMASK_3), C(9)},
          {D3DSIO_TEX | D3DSI_TEXLD_BIAS, R(0), Rs(3), kS0}}),
     0x10 / 255.f, 0xF0 / 255.f, 0x80 / 255.f},
    {"texldl", k30,
     Ops({{D3DSIO_MOV, R(3), Rs(1)},
          {D3DSIO_MOV, R(3, D3DSP_WRITEMASK_3), C(9)},
          {D3DSIO_TEXLDL, R(0), Rs(3), kS0}}),
     0x10 / 255.f, 0xF0 / 255.f, 0x80 / 255.f},
    {"texld cube", kBoth, Ops({{D3DSIO_TEX, R(0), C(1), Src(D3DSPR_SAMPLER, 1)}}), 0x30 / 255.f, 0xC0 / 255.f,
     0x90 / 255.f},
    {"texld volume", kBoth, Ops({{D3DSIO_TEX, R(0), C(0), Src(D3DSPR_SAMPLER, 2)}}), 0x50 / 255.f,
     0x60 / 255.f, 0xF0 / 255.f},
    {"texkill left", kBoth,
     Ops({{D3DSIO_SUB, R(3), Rs(1), C(2)}, {D3DSIO_TEXKILL, R(3)}, {D3DSIO_MOV, R(0), C(0)}}), 0, 0, 0},
    {"texkill right",
     kBoth,
     Ops({{D3DSIO_SUB, R(3), Rs(1), C(2)}, {D3DSIO_TEXKILL, R(3)}, {D3DSIO_MOV, R(0), C(0)}}),
     0.25f,
     0.5f,
     0.75f,
     {},
     5},
    {"cmp", kBoth, Ops({{D3DSIO_CMP, R(0), C(6), C(0), C(1)}}), 0.5f, 0.5f, 0.75f},
    {"dp2add", kBoth, Ops({{D3DSIO_DP2ADD, R(0), C(0), C(0), C(1, kW)}}), 0.4375f, 0.4375f, 0.4375f},
    {"dsx", k30, Ops({{D3DSIO_DSX, R(3), Rs(1)}, {D3DSIO_MUL, R(0), Rs(3), C(8, kX)}}), 0.25f, 0, 0},
    {"dsy", k30, Ops({{D3DSIO_DSY, R(3), Rs(1)}, {D3DSIO_MUL, R(0), Rs(3), C(8, kX)}}), 0, 0.25f, 0},
    {"abs modifier", kBoth, Ops({{D3DSIO_MOV, R(0), C(6, kXYZW, D3DSPSM_ABS)}}), 1, 0.3f, 1},
    {"fogged below 3.0", k20, Ops({{D3DSIO_MOV, R(0), C(0)}}), 0.625f, 0.75f, 0.875f, {}, 1, kFog},
    {"not fogged in 3.0", k30, Ops({{D3DSIO_MOV, R(0), C(0)}}), 0.25f, 0.5f, 0.75f, {}, 1, kFog},
    {"alpha test on oC0", kBoth, Ops({{D3DSIO_MOV, R(0), C(5)}}), 0, 0, 0, {}, 1, kAlphaTest},
};

// Pixel shader 1.x rows: r0 is the colour written; constants range from -1 to 1 (c6 reads -1, 0.3,
// 1, 0.6). Pixel (1, 1) samples at (1, 1), where u and v are 1/8, as Direct3D 9 places pixel centres.
constexpr DWORD Shift(DWORD dst, DWORD shift) {
    return dst | shift << D3DSP_DSTSHIFT_SHIFT;
}
const DWORD kT0 = Dst(D3DSPR_TEXTURE, 0), kT1 = Dst(D3DSPR_TEXTURE, 1), kA = Swz(3, 3, 3, 3);
const std::vector<Row> kPs1Rows = {
    {"tex", kP11, Ops({{D3DSIO_TEX, kT0}, {D3DSIO_MOV, R(0), Src(D3DSPR_TEXTURE, 0)}}), 0x20 / 255.f,
     0x40 / 255.f, 0x60 / 255.f},
    {"texcoord", kP11, Ops({{D3DSIO_TEXCOORD, kT0}, {D3DSIO_MOV, R(0), Src(D3DSPR_TEXTURE, 0)}}), 0.125f,
     0.125f, 0},
    {"texreg2ar", kP11,
     Ops({{D3DSIO_TEX, kT0},
          {D3DSIO_TEXREG2AR, kT1, Src(D3DSPR_TEXTURE, 0)},
          {D3DSIO_MOV, R(0), Src(D3DSPR_TEXTURE, 1)}}),
     0xA0 / 255.f, 0xC0 / 255.f, 0xE0 / 255.f},
    {"bx2", kP11 | kP14, Ops({{D3DSIO_MOV, R(0), C(0, kXYZW, D3DSPSM_SIGN)}}), 0, 0, 0.5f},
    {"comp", kP11 | kP14, Ops({{D3DSIO_MOV, R(0), C(0, kXYZW, D3DSPSM_COMP)}}), 0.75f, 0.5f, 0.25f},
    {"bias", kP11 | kP14, Ops({{D3DSIO_ADD, R(0), C(0, kXYZW, D3DSPSM_BIAS), C(0)}}), 0, 0.5f, 1},
    {"x2 modifier", kP14, Ops({{D3DSIO_MOV, R(0), C(0, kXYZW, D3DSPSM_X2)}}), 0.5f, 1, 1},
    {"shift x2", kP11 | kP14, Ops({{D3DSIO_MUL, Shift(R(0), 1), C(0), C(0)}}), 0.125f, 0.5f, 1},
    {"shift d2", kP11 | kP14, Ops({{D3DSIO_ADD, Shift(R(0), 15), C(0), C(0)}}), 0.25f, 0.5f, 0.75f},
    {"constants clamped", kP11 | kP14, Ops({{D3DSIO_MUL, R(0), C(6), C(4, kA)}}), 0, 0.15f, 0.5f},
    {"cnd on r0.a", kP11 | kP14, Ops({{D3DSIO_MOV, R(0), C(6)}, {D3DSIO_CND, R(0), Rs(0, kA), C(0), C(2)}}),
     0.25f, 0.5f, 0.75f},
    {"cmp", kP14, Ops({{D3DSIO_CMP, R(0), C(6), C(0), C(1)}}), 0.5f, 0.5f, 0.75f},
    {"texld", kP14, Ops({{D3DSIO_TEX, R(0), Src(D3DSPR_TEXTURE, 0)}}), 0x20 / 255.f, 0x40 / 255.f,
     0x60 / 255.f},
    {"texcrd, phase, dependent texld",
     kP14,
     Ops({{D3DSIO_TEXCOORD, R(1, 0x70000), Src(D3DSPR_TEXTURE, 0)},
          {D3DSIO_ADD, R(1, 0x70000), Rs(1), Rs(1)},
          {D3DSIO_PHASE},
          {D3DSIO_TEX, R(0), Rs(1)}}),
     0xA0 / 255.f,
     0xC0 / 255.f,
     0xE0 / 255.f,
     {},
     3},
};

std::vector<DWORD> Without1xLengths(std::vector<DWORD> body) {
    for (std::size_t at = 0; at < body.size();) {
        const DWORD length = body[at] >> D3DSI_INSTLENGTH_SHIFT & 15;
        body[at] &= ~static_cast<DWORD>(D3DSI_INSTLENGTH_MASK); // 1.x encodes no lengths
        at += 1 + length;
    }
    return body;
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
    std::vector<DWORD> VertexShader(DWORD major, const Row& row) {
        Code code(D3DVS_VERSION(major, major == 1 ? 1 : 0));
        code.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), Dst(D3DSPR_INPUT, 0)});
        const DWORD color = major >= 3 ? Dst(D3DSPR_OUTPUT, 1) : Dst(D3DSPR_ATTROUT, 0);
        const DWORD position = major >= 3 ? Dst(D3DSPR_OUTPUT, 0) : Dst(D3DSPR_RASTOUT, 0);
        if (major >= 3)
            code.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), position})
                .Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_COLOR), color});
        const std::vector<DWORD> body = major == 1 ? Without1xLengths(row.body) : row.body;
        code.Op(D3DSIO_MOV, {position, Src(D3DSPR_INPUT, 0)}).Append(body).Op(D3DSIO_MOV, {color, Rs(0)});
        if (!row.tail.empty())
            code.Op(D3DSIO_RET, {}).Append(row.tail);
        return code.End();
    }

    // A pixel shader: r1 the texture coordinates, r2 the diffuse colour, the row, r0 out as COLOR0.
    std::vector<DWORD> PixelShader(DWORD major, DWORD minor, const Row& row) {
        if (major == 1)
            return Code(D3DPS_VERSION(1, minor)).Append(Without1xLengths(row.body)).End();
        Code code(D3DPS_VERSION(major, 0));
        const DWORD coords = major >= 3 ? Dst(D3DSPR_INPUT, 1) : Dst(D3DSPR_TEXTURE, 0);
        code.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_COLOR), Dst(D3DSPR_INPUT, 0)})
            .Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_TEXCOORD), coords});
        for (DWORD type : {DWORD{D3DSTT_2D}, DWORD{D3DSTT_CUBE}, DWORD{D3DSTT_VOLUME}})
            code.Op(D3DSIO_DCL,
                    {0x80000000u | type, Dst(D3DSPR_SAMPLER, (type >> D3DSP_TEXTURETYPE_SHIFT) - 2)});
        code.Op(D3DSIO_MOV, {R(1), (coords & ~D3DSP_WRITEMASK_ALL) | kXYZW})
            .Op(D3DSIO_MOV, {R(2), Src(D3DSPR_INPUT, 0)})
            .Append(row.body)
            .Op(D3DSIO_MOV, {Dst(D3DSPR_COLOROUT, 0), Rs(0)});
        if (!row.tail.empty())
            code.Op(D3DSIO_RET, {}).Append(row.tail);
        return code.End();
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
                        Draw(pixel ? std::vector<DWORD>{} : VertexShader(v.major, row),
                             pixel ? PixelShader(v.major, v.minor, row) : std::vector<DWORD>{}, row.state,
                             &created);
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
    Code vs(D3DVS_VERSION(3, 0));
    vs.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), Dst(D3DSPR_INPUT, 0)})
        .Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), Dst(D3DSPR_OUTPUT, 0)})
        .Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_TEXCOORD, 1), Dst(D3DSPR_OUTPUT, 1, 0xC0000)})
        .Op(D3DSIO_MOV, {Dst(D3DSPR_OUTPUT, 0), Src(D3DSPR_INPUT, 0)})
        .Op(D3DSIO_MOV, {Dst(D3DSPR_OUTPUT, 1, 0xC0000), C(0, Swz(0, 0, 0, 1))});
    Code ps(D3DPS_VERSION(3, 0));
    ps.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_TEXCOORD, 1), Dst(D3DSPR_INPUT, 2, 0x30000)})
        .Op(D3DSIO_DCL, {0x80000000u, Dst(D3DSPR_MISCTYPE, D3DSMO_POSITION)})
        .Op(D3DSIO_MAD, {R(0), Src(D3DSPR_MISCTYPE, D3DSMO_POSITION, kX), C(9, kZ), Src(D3DSPR_INPUT, 2)})
        .Op(D3DSIO_MOV, {Dst(D3DSPR_COLOROUT, 0), Rs(0)});
    const float sixteenth[4] = {0, 0, 0.0625f, 0};
    ASSERT_EQ(device_->SetPixelShaderConstantF(9, sixteenth, 1), D3D_OK);
    HRESULT created = E_FAIL;
    const Frame frame = Draw(vs.End(), ps.End(), 0, &created);
    ASSERT_EQ(created, D3D_OK);
    // vPos.x / 16 = 0.25 added to each of v2 = (0.25, 0.5, 0, 0).
    EXPECT_EQ(At(frame, 4, 2), (Bgra{0x40, 0xBF, 0x80, 0xFF}));
}

} // namespace
} // namespace render_test
