// D3DXAssembleShader: one row of text per token kind with the exact tokens, and error rows with
// the exact message; every cut of the text stays within the bytes given.
#include "shader_tokens.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace shader_tokens;

constexpr DWORD Len(DWORD n) {
    return n << D3DSI_INSTLENGTH_SHIFT;
}
constexpr DWORD Ctl(DWORD control) {
    return control << D3DSP_OPCODESPECIFICCONTROL_SHIFT;
}
constexpr DWORD kRel = D3DSHADER_ADDRMODE_RELATIVE, kEnd = D3DVS_END();

struct Row {
    const char* text;
    std::vector<DWORD> tokens; // empty: an error
    const char* error = "";
};
const Row kRows[] = {
    {"ps_2_0 dcl_2d s0\n dcl_centroid t1.xy // comment\ndcl_volume s2",
     {D3DPS_VERSION(2, 0), D3DSIO_DCL | Len(2), 0x80000000u | D3DSTT_2D, Dst(D3DSPR_SAMPLER, 0),
      D3DSIO_DCL | Len(2), 0x80000000u, Dst(D3DSPR_TEXTURE, 1, 0x30000, D3DSPDM_MSAMPCENTROID),
      D3DSIO_DCL | Len(2), 0x80000000u | D3DSTT_VOLUME, Dst(D3DSPR_SAMPLER, 2), kEnd}},
    {"vs_3_0 dcl_texcoord3 o2.zw ; comment\n dcl_position v0",
     {D3DVS_VERSION(3, 0), D3DSIO_DCL | Len(2), Usage(D3DDECLUSAGE_TEXCOORD, 3),
      Dst(D3DSPR_OUTPUT, 2, 0xC0000), D3DSIO_DCL | Len(2), Usage(D3DDECLUSAGE_POSITION), Dst(D3DSPR_INPUT, 0),
      kEnd}},
    {"vs_2_0 def c3, 1, -0.5, 2.5e1, 0 defi i2, -1, 0, 3, 7 defb b1, true",
     {D3DVS_VERSION(2, 0), D3DSIO_DEF | Len(5), Dst(D3DSPR_CONST, 3), Bits(1), Bits(-0.5f), Bits(25), 0,
      D3DSIO_DEFI | Len(5), Dst(D3DSPR_CONSTINT, 2), 0xFFFFFFFFu, 0, 3, 7, D3DSIO_DEFB | Len(2),
      Dst(D3DSPR_CONSTBOOL, 1), 1, kEnd}},
    {"ps_1_4 mul_x2_sat r0.rg, -c0_bx2.x, 1-t0.bgra add_d2 r1.a, r0_bias, -r1_x2",
     {D3DPS_VERSION(1, 4), D3DSIO_MUL,
      Dst(D3DSPR_TEMP, 0, 0x30000, D3DSPDM_SATURATE | 1 << D3DSP_DSTSHIFT_SHIFT), C(0, kX, D3DSPSM_SIGNNEG),
      Src(D3DSPR_TEXTURE, 0, Swz(2, 1, 0, 3), D3DSPSM_COMP), D3DSIO_ADD,
      Dst(D3DSPR_TEMP, 1, D3DSP_WRITEMASK_3, 15 << D3DSP_DSTSHIFT_SHIFT),
      Src(D3DSPR_TEMP, 0, kXYZW, D3DSPSM_BIAS), Src(D3DSPR_TEMP, 1, kXYZW, D3DSPSM_X2NEG), kEnd}},
    {"ps_3_0 texld_pp r0.xw, -r1_abs.wzyx, s0 mov oC0, !b0 mov oDepth, vFace",
     {D3DPS_VERSION(3, 0), D3DSIO_TEX | Len(3), Dst(D3DSPR_TEMP, 0, 0x90000, D3DSPDM_PARTIALPRECISION),
      Src(D3DSPR_TEMP, 1, Swz(3, 2, 1, 0), D3DSPSM_ABSNEG), Src(D3DSPR_SAMPLER, 0), D3DSIO_MOV | Len(2),
      Dst(D3DSPR_COLOROUT, 0), Src(D3DSPR_CONSTBOOL, 0, kXYZW, D3DSPSM_NOT), D3DSIO_MOV | Len(2),
      Dst(D3DSPR_DEPTHOUT, 0), Src(D3DSPR_MISCTYPE, D3DSMO_FACE), kEnd}},
    {"vs_1_1 mov a0.x, c1 mov oD0, c[a0.x + 4].y",
     {D3DVS_VERSION(1, 1), D3DSIO_MOV, Dst(D3DSPR_ADDR, 0, D3DSP_WRITEMASK_0), C(1), D3DSIO_MOV,
      Dst(D3DSPR_ATTROUT, 0), C(4, kY) | kRel, kEnd}},
    {"vs_3_0 mov o[aL].xy, -c[2 + a0.y].z",
     {D3DVS_VERSION(3, 0), D3DSIO_MOV | Len(4), Dst(D3DSPR_OUTPUT, 0, 0x30000) | kRel,
      Src(D3DSPR_LOOP, 0, kX), C(2, kZ, D3DSPSM_NEG) | kRel, Src(D3DSPR_ADDR, 0, kY), kEnd}},
    {"ps_2_x ifc_lt c0.x, r0.y breakc_ne r1, c2 setp_le p0.x, r0, c1",
     {D3DPS_VERSION(2, 1), D3DSIO_IFC | Ctl(D3DSPC_LT) | Len(2), C(0, kX), Src(D3DSPR_TEMP, 0, kY),
      D3DSIO_BREAKC | Ctl(D3DSPC_NE) | Len(2), Rs(1), C(2), D3DSIO_SETP | Ctl(D3DSPC_LE) | Len(3),
      Dst(D3DSPR_PREDICATE, 0, D3DSP_WRITEMASK_0), Rs(0), C(1), kEnd}},
    {"vs_3_0 (!p0.y) add r0, r1, c0 (p0) callnz l2, b3",
     {D3DVS_VERSION(3, 0), D3DSIO_ADD | D3DSHADER_INSTRUCTION_PREDICATED | Len(4), R(0),
      Src(D3DSPR_PREDICATE, 0, kY, D3DSPSM_NOT), Rs(1), C(0),
      D3DSIO_CALLNZ | D3DSHADER_INSTRUCTION_PREDICATED | Len(3), Src(D3DSPR_PREDICATE, 0),
      Src(D3DSPR_LABEL, 2), Src(D3DSPR_CONSTBOOL, 3), kEnd}},
    {"ps_1_1 tex t0 mov r0.rgb, t0 /* block */ +mul r0.a, v1, t0.a",
     {D3DPS_VERSION(1, 1), D3DSIO_TEX, Dst(D3DSPR_TEXTURE, 0), D3DSIO_MOV, R(0, 0x70000),
      Src(D3DSPR_TEXTURE, 0), D3DSIO_MUL | D3DSI_COISSUE, R(0, D3DSP_WRITEMASK_3), Src(D3DSPR_INPUT, 1),
      Src(D3DSPR_TEXTURE, 0, kW), kEnd}},
    {"vs_2_0\nfoo r0, c0", {}, "(2,1): error X5001: unknown instruction 'foo'\n"},
    {"ps_2_0\nmov r0, q3", {}, "(2,9): error X5002: invalid register 'q3'\n"},
    {"ps_2_0\nmov oPos, c0", {}, "(2,5): error X5002: invalid register 'oPos'\n"},
    {"vs_2_0\n  texkill r0", {}, "(2,3): error X5003: 'texkill' is not supported in vs_2_0\n"},
    {"vs_4_0", {}, "(1,1): error X5004: unknown shader version 'vs_4_0'\n"},
    {"vs_1_1\nmov r0,| c0", {}, "(2,8): error X5000: syntax error : unexpected end of file\n"},
};

std::vector<DWORD> Tokens(ID3DXBuffer* buffer) {
    const DWORD* p = static_cast<const DWORD*>(buffer->GetBufferPointer());
    return std::vector<DWORD>(p, p + buffer->GetBufferSize() / sizeof(DWORD));
}

// Assembles the first `length` bytes, copied alone so that a read past them is caught.
HRESULT Assemble(const std::string& text, std::size_t length, ID3DXBuffer** shader, ID3DXBuffer** errors) {
    const std::vector<char> bytes(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    return D3DXAssembleShader(bytes.data(), static_cast<UINT>(length), nullptr, nullptr, 0, shader, errors);
}

// A '|' in a row's text marks where the length given ends.
TEST(AssembleShader, RowsAssembleToTheirTokensOrTheirError) {
    for (const Row& row : kRows) {
        std::string text = row.text;
        const std::size_t cut = std::min(text.find('|'), text.size());
        text.erase(std::remove(text.begin(), text.end(), '|'), text.end());
        ID3DXBuffer* shader = nullptr;
        ID3DXBuffer* errors = nullptr;
        const HRESULT hr =
            D3DXAssembleShader(text.c_str(), static_cast<UINT>(cut), nullptr, nullptr, 0, &shader, &errors);
        EXPECT_EQ(hr, row.tokens.empty() ? D3DXERR_INVALIDDATA : D3D_OK) << row.text;
        EXPECT_EQ(shader ? Tokens(shader) : std::vector<DWORD>{}, row.tokens) << row.text;
        EXPECT_EQ(errors ? static_cast<const char*>(errors->GetBufferPointer()) : "", std::string(row.error));
        for (ID3DXBuffer* b : {shader, errors})
            if (b)
                b->Release();
        for (std::size_t length = 0; length < text.size(); ++length) { // every cut fails or assembles
            shader = errors = nullptr;
            const HRESULT part = Assemble(text, length, &shader, &errors);
            EXPECT_EQ(SUCCEEDED(part), shader != nullptr);
            for (ID3DXBuffer* b : {shader, errors})
                if (b)
                    b->Release();
        }
    }
    ID3DXBuffer* shader = nullptr;
    EXPECT_EQ(D3DXAssembleShader(nullptr, 4, nullptr, nullptr, 0, &shader, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXAssembleShader("vs_2_0", 6, nullptr, nullptr, 0, nullptr, nullptr), D3DERR_INVALIDCALL);
}

} // namespace
