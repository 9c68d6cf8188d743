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

constexpr DWORD k20 = 1, k30 = 2, kBoth = 3;
struct Row {
    const char* name;
    DWORD versions;            // k20 (vs_2_0 / ps_2_0), k30, or both
    std::vector<DWORD> body;   // leaves its colour in r0
    float r, g, b;             // r0's red, green and blue as drawn (clamped)
    std::vector<DWORD> tail{}; // subroutines after main's ret
    unsigned x = 1;            // the pixel read, in row 1
};

// Float constants of both stages: c0 to c9.
const float kConstants[10][4] = {{0.25f, 0.5f, 0.75f, 1.0f},
                                 {0.5f, -0.5f, 2.0f, 0.125f},
                                 {0.5f, 0, 0, 0},
                                 {0, 0, 0.25f, 0},
                                 {0, 0, 0, 0.5f},
                                 {0.25f, 0.25f, 0, 0},
                                 {-1.5f, 0.3f, 4.0f, 0.6f},
                                 {0.5f, 0.5f, 0, 2.0f},
                                 {2, 2, 1, 2},
                                 {0, 0, 0, 3}};

DWORD Rel(DWORD src) {
    return src | D3DSHADER_ADDRMODE_RELATIVE;
}
const DWORD kA0x = Src(D3DSPR_ADDR, 0, kX), kAL = Src(D3DSPR_LOOP, 0, kX);
const DWORD kP0 = Dst(D3DSPR_PREDICATE, 0), kI0 = Src(D3DSPR_CONSTINT, 0), kB0 = Src(D3DSPR_CONSTBOOL, 0);
const DWORD kSat = D3DSPDM_SATURATE, kGt = D3DSPC_GT << D3DSHADER_COMPARISON_SHIFT;

// Rows both stages run: arithmetic on the constants into r0.
const std::vector<Row> kArithmeticRows = {
    {"mov", kBoth, Ops({{D3DSIO_MOV, R(0), C(0)}}), 0.25f, 0.5f, 0.75f},
    {"add", kBoth, Ops({{D3DSIO_ADD, R(0), C(0), C(1)}}), 0.75f, 0, 1},
    {"sub", kBoth, Ops({{D3DSIO_SUB, R(0), C(0), C(1, kW)}}), 0.125f, 0.375f, 0.625f},
    {"mad", kBoth, Ops({{D3DSIO_MAD, R(0), C(0), C(1, kX), C(1, kW)}}), 0.25f, 0.375f, 0.5f},
    {"mul", kBoth, Ops({{D3DSIO_MUL, R(0), C(0), C(0)}}), 0.0625f, 0.25f, 0.5625f},
    {"rcp", kBoth, Ops({{D3DSIO_RCP, R(0), C(1, kZ)}}), 0.5f, 0.5f, 0.5f},
    {"rsq", kBoth, Ops({{D3DSIO_RSQ, R(0), C(6, kZ)}}), 0.5f, 0.5f, 0.5f},
    {"dp3", kBoth, Ops({{D3DSIO_DP3, R(0), C(0), C(0)}}), 0.875f, 0.875f, 0.875f},
    {"dp4", kBoth, Ops({{D3DSIO_DP4, R(0), C(0), C(3)}}), 0.1875f, 0.1875f, 0.1875f},
    {"min", kBoth, Ops({{D3DSIO_MIN, R(0), C(0), C(6)}}), 0, 0.3f, 0.75f},
    {"max", kBoth, Ops({{D3DSIO_MAX, R(0), C(0), C(6)}}), 0.25f, 0.5f, 1},
    {"exp", kBoth, Ops({{D3DSIO_EXP, R(0), C(1, kY)}}), 0.70711f, 0.70711f, 0.70711f},
    {"log of |x|", kBoth, Ops({{D3DSIO_LOG, R(0), C(6, kX)}}), 0.58496f, 0.58496f, 0.58496f},
    {"lrp", kBoth, Ops({{D3DSIO_LRP, R(0), C(0, kY), C(0), C(2)}}), 0.375f, 0.25f, 0.375f},
    {"frc", kBoth, Ops({{D3DSIO_FRC, R(0), C(6)}}), 0.5f, 0.3f, 0},
    {"pow", kBoth, Ops({{D3DSIO_POW, R(0), C(0, kY), C(6, kZ)}}), 0.0625f, 0.0625f, 0.0625f},
    {"crs", kBoth, Ops({{D3DSIO_CRS, R(0, D3DSP_WRITEMASK_ALL & ~D3DSP_WRITEMASK_3), C(0), C(2)}}), 0, 0.375f,
     0},
    {"abs", kBoth, Ops({{D3DSIO_ABS, R(0), C(6)}}), 1, 0.3f, 1},
    {"nrm", kBoth, Ops({{D3DSIO_NRM, R(0), C(1)}}), 0.23570f, 0, 0.94281f},
    {"sincos 3.0", k30, Ops({{D3DSIO_SINCOS, R(0, 0x30000), C(1, kX)}}), 0.87758f, 0.47943f, 0},
    {"sincos 2.0", k20, Ops({{D3DSIO_SINCOS, R(0, 0x30000), C(1, kX), C(8), C(9)}}), 0.87758f, 0.47943f, 0},
    {"negate", kBoth, Ops({{D3DSIO_MOV, R(0), C(6, kXYZW, D3DSPSM_NEG)}}), 1, 0, 0},
    {"saturate", kBoth,
     Ops({{D3DSIO_MOV, Dst(D3DSPR_TEMP, 0, D3DSP_WRITEMASK_ALL, kSat), C(6)},
          {D3DSIO_MUL, R(0), Rs(0), C(0, kY)}}),
     0, 0.15f, 0.5f},
    {"write mask and swizzle", kBoth,
     Ops({{D3DSIO_MOV, R(0), C(0, Swz(2, 1, 0, 3))}, {D3DSIO_MOV, R(0, D3DSP_WRITEMASK_1), C(6, kZ)}}), 0.75f,
     1, 0.25f},
    {"def overrides", kBoth,
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
    {"call", kBoth, Ops({{D3DSIO_CALL, Src(D3DSPR_LABEL, 0)}}), 0.25f, 0.5f, 0.75f,
     Ops({{D3DSIO_LABEL, Src(D3DSPR_LABEL, 0)}, {D3DSIO_MOV, R(0), C(0)}, {D3DSIO_RET}})},
    {"setp and predicated mov", k30,
     Ops({{D3DSIO_SETP | kGt, kP0, C(0), C(6)},
          {D3DSIO_MOV | D3DSHADER_INSTRUCTION_PREDICATED, R(0), Src(D3DSPR_PREDICATE, 0), C(0)}}),
     0.25f, 0.5f, 0},
};

// Vertex-shader rows: those of vertex shaders only.
const std::vector<Row> kVertexRows = {
    {"slt", kBoth, Ops({{D3DSIO_SLT, R(0), C(0), C(6)}}), 0, 0, 1},
    {"sge", kBoth, Ops({{D3DSIO_SGE, R(0), C(0), C(6)}}), 1, 1, 0},
    {"lit", kBoth, Ops({{D3DSIO_LIT, R(0), C(7)}}), 1, 0.5f, 0.25f},
    {"dst", kBoth, Ops({{D3DSIO_DST, R(0), C(0), C(0)}}), 1, 0.25f, 0.75f},
    {"m4x4", kBoth, Ops({{D3DSIO_M4x4, R(0), C(0), C(2)}}), 0.125f, 0.1875f, 0.5f},
    {"m4x3", kBoth, Ops({{D3DSIO_M4x3, R(0, 0x70000), C(0), C(2)}}), 0.125f, 0.1875f, 0.5f},
    {"m3x4", kBoth, Ops({{D3DSIO_M3x4, R(0), C(0), C(2)}}), 0.125f, 0.1875f, 0},
    {"m3x3", kBoth, Ops({{D3DSIO_M3x3, R(0, 0x70000), C(6), C(2)}}), 0, 1, 0},
    {"m3x2", kBoth, Ops({{D3DSIO_M3x2, R(0, 0x30000), C(0), C(2)}}), 0.125f, 0.1875f, 0},
    {"sgn 3.0", k30, Ops({{D3DSIO_SGN, R(0), C(6)}}), 0, 1, 1},
    {"sgn 2.0", k20, Ops({{D3DSIO_SGN, R(0), C(6), Rs(1), Rs(2)}}), 0, 1, 1},
    {"mova and c[a0.x + 1]", kBoth,
     Ops({{D3DSIO_MOVA, Dst(D3DSPR_ADDR, 0, D3DSP_WRITEMASK_0), C(1, kZ)},
          {D3DSIO_MOV, R(0), Rel(C(1)), kA0x}}),
     0, 0, 0.25f},
    {"loop aL with defi", k30,
     Ops({{D3DSIO_DEFI, Dst(D3DSPR_CONSTINT, 1), 2, 2, 1, 0},
          {D3DSIO_LOOP, kAL, Src(D3DSPR_CONSTINT, 1)},
          {D3DSIO_ADD, R(0), Rs(0), Rel(C(0)), kAL},
          {D3DSIO_ENDLOOP}}),
     0.5f, 0, 0.25f},
};

std::uint8_t Channel(float v) {
    return static_cast<std::uint8_t>(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255.0f));
}

class ShaderBytecodeTest : public RenderTest {
  protected:
    void SetUp() override {
        CreateDevice(8, 8);
        const int count[] = {3, 0, 0, 0};
        const BOOL yes = TRUE;
        for (bool pixel : {false, true}) {
            ASSERT_EQ(pixel ? device_->SetPixelShaderConstantF(0, &kConstants[0][0], 10)
                            : device_->SetVertexShaderConstantF(0, &kConstants[0][0], 10),
                      D3D_OK);
            ASSERT_EQ(pixel ? device_->SetPixelShaderConstantI(0, count, 1)
                            : device_->SetVertexShaderConstantI(0, count, 1),
                      D3D_OK);
            ASSERT_EQ(pixel ? device_->SetPixelShaderConstantB(0, &yes, 1)
                            : device_->SetVertexShaderConstantB(0, &yes, 1),
                      D3D_OK);
        }
    }

    // A vertex shader: position from v0, the row, r0 out as the diffuse colour.
    std::vector<DWORD> VertexShader(DWORD major, const Row& row) {
        Code code(D3DVS_VERSION(major, 0));
        code.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), Dst(D3DSPR_INPUT, 0)});
        const DWORD color = major >= 3 ? Dst(D3DSPR_OUTPUT, 1) : Dst(D3DSPR_ATTROUT, 0);
        const DWORD position = major >= 3 ? Dst(D3DSPR_OUTPUT, 0) : Dst(D3DSPR_RASTOUT, 0);
        if (major >= 3)
            code.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), position})
                .Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_COLOR), color});
        code.Op(D3DSIO_MOV, {position, Src(D3DSPR_INPUT, 0)}).Append(row.body).Op(D3DSIO_MOV, {color, Rs(0)});
        if (!row.tail.empty())
            code.Op(D3DSIO_RET, {}).Append(row.tail);
        return code.End();
    }

    Frame DrawWithVertexShader(const std::vector<DWORD>& tokens, HRESULT* created) {
        IDirect3DVertexShader9* shader = nullptr;
        *created = device_->CreateVertexShader(tokens.data(), &shader);
        if (FAILED(*created))
            return Frame{};
        SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_DIFFUSE}});
        EXPECT_EQ(device_->SetVertexShader(shader), D3D_OK);
        struct Vertex {
            float x, y, z;
        };
        const Frame frame = DrawFrame([&] {
            DrawStrip(D3DFVF_XYZ, Quad<Vertex>(-1, 1, 1, -1, [](float x, float y, float, float) {
                          return Vertex{x, y, 0.5f};
                      }));
        });
        EXPECT_EQ(device_->SetVertexShader(nullptr), D3D_OK);
        shader->Release();
        return frame;
    }

    void CheckRows(const std::vector<Row>& rows, DWORD major, bool pixel);
};

TEST_F(ShaderBytecodeTest, VertexShaderRowsDrawTheirWorkedOutColour) {
    for (DWORD major : {2u, 3u}) {
        for (const std::vector<Row>* rows : {&kArithmeticRows, &kVertexRows}) {
            for (const Row& row : *rows) {
                if (!(row.versions & (major == 2 ? k20 : k30)))
                    continue;
                HRESULT created = E_FAIL;
                const Frame frame = DrawWithVertexShader(VertexShader(major, row), &created);
                ASSERT_EQ(created, D3D_OK) << row.name << " vs_" << major;
                const Bgra expected{Channel(row.b), Channel(row.g), Channel(row.r), 0};
                const Bgra got = At(frame, row.x, 1);
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(got[c], expected[c], 1) << row.name << " vs_" << major << " channel " << c;
            }
        }
    }
}

} // namespace
} // namespace render_test
