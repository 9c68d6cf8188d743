// Shader objects: malformed or untranslated bytecode refused (never read past its end token, nor
// past the bytes a length claims), GetFunction's copy, binding and references, and the constant
// registers the caps count.
#include "device_fixture.h"
#include "shader_tokens.h"

#include <cstring>

namespace {

using namespace shader_tokens;

class ShaderObjectsTest : public DeviceFixture {
  protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        CreateDevice();
    }
    // The tokens followed by zeros (nop in 2.0) far past the device's scan limit: bytecode that
    // has lost its end leaves the device nothing but zeros to read.
    HRESULT CreateVs(std::vector<DWORD> tokens) {
        tokens.resize(tokens.size() + (std::size_t{1} << 21), 0);
        IDirect3DVertexShader9* shader = reinterpret_cast<IDirect3DVertexShader9*>(std::uintptr_t{0x10});
        const HRESULT hr = device_->CreateVertexShader(tokens.data(), &shader);
        if (shader && SUCCEEDED(hr))
            shader->Release();
        EXPECT_TRUE(SUCCEEDED(hr) || !shader);
        return hr;
    }
};

const DWORD kVs2 = D3DVS_VERSION(2, 0), kEnd = D3DVS_END();
const DWORD kMov = D3DSIO_MOV | 2u << D3DSI_INSTLENGTH_SHIFT;
const DWORD kPos = Dst(D3DSPR_RASTOUT, 0);

struct Malformed {
    const char* name;
    std::vector<DWORD> tokens;
};
const Malformed kMalformed[] = {
    {"no end token", {kVs2, kMov, kPos, C(0)}},
    {"length past the end", {kVs2, D3DSIO_MOV | 9u << D3DSI_INSTLENGTH_SHIFT, kPos, C(0), kEnd}},
    {"truncated operands", {kVs2, D3DSIO_MOV | 1u << D3DSI_INSTLENGTH_SHIFT, kPos, kEnd}},
    {"comment past the end", {kVs2, D3DSHADER_COMMENT(40), kEnd}},
    {"unknown opcode", {kVs2, 0x77, kEnd}},
    {"unknown register type", {kVs2, kMov, kPos, 0xF0001800u, kEnd}},
    {"parameter without its marker bit", {kVs2, kMov, kPos, C(0) & 0x7FFFFFFFu, kEnd}},
    {"constant beyond the caps", {kVs2, kMov, kPos, C(256), kEnd}},
    {"temporary beyond 31", {kVs2, kMov, kPos, Src(D3DSPR_TEMP, 32), kEnd}},
    {"input as a destination", {kVs2, kMov, Dst(D3DSPR_INPUT, 0), C(0), kEnd}},
    {"sampler not declared",
     {kVs2, D3DSIO_TEX | 3u << D3DSI_INSTLENGTH_SHIFT, R(0), C(0), Src(D3DSPR_SAMPLER, 0), kEnd}},
    {"else without if", {kVs2, D3DSIO_ELSE, kEnd}},
    {"open rep", {kVs2, D3DSIO_REP | 1u << D3DSI_INSTLENGTH_SHIFT, Src(D3DSPR_CONSTINT, 0), kEnd}},
    {"call of a missing label",
     {kVs2, D3DSIO_CALL | 1u << D3DSI_INSTLENGTH_SHIFT, Src(D3DSPR_LABEL, 3), kEnd}},
    {"pixel-shader-only modifier", {kVs2, kMov, kPos, C(0, kXYZW, D3DSPSM_BIAS), kEnd}},
    {"vs_4_0", {D3DVS_VERSION(4, 0), kEnd}},
    {"vs_1_0", {D3DVS_VERSION(1, 0), kEnd}},
    {"not a version token", {0x12345678, kEnd}},
};

TEST_F(ShaderObjectsTest, MalformedBytecodeIsRefused) {
    ASSERT_EQ(CreateVs({kVs2, kMov, kPos, C(0), kEnd}), D3D_OK);
    for (const Malformed& m : kMalformed)
        EXPECT_EQ(CreateVs(m.tokens), D3DERR_INVALIDCALL) << m.name;
    IDirect3DVertexShader9* shader = nullptr;
    EXPECT_EQ(device_->CreateVertexShader(nullptr, &shader), D3DERR_INVALIDCALL);
    const DWORD tokens[] = {kVs2, kEnd};
    EXPECT_EQ(device_->CreateVertexShader(tokens, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(ShaderObjectsTest, GetFunctionCopiesTheBytecodeAndBindingHoldsTheShader) {
    const DWORD tokens[] = {kVs2, D3DSHADER_COMMENT(1), 0x12345678, kMov, kPos, C(0), kEnd};
    IDirect3DVertexShader9* shader = nullptr;
    ASSERT_EQ(device_->CreateVertexShader(tokens, &shader), D3D_OK);
    UINT size = 0;
    ASSERT_EQ(shader->GetFunction(nullptr, &size), D3D_OK);
    EXPECT_EQ(size, sizeof tokens);
    DWORD copy[7] = {};
    UINT small = size - 4;
    EXPECT_EQ(shader->GetFunction(copy, &small), D3DERR_INVALIDCALL);
    ASSERT_EQ(shader->GetFunction(copy, &size), D3D_OK);
    EXPECT_EQ(std::memcmp(copy, tokens, sizeof tokens), 0);
    IDirect3DDevice9* owner = nullptr;
    ASSERT_EQ(shader->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device_);
    owner->Release();

    ASSERT_EQ(device_->SetVertexShader(shader), D3D_OK);
    EXPECT_EQ(shader->Release(), 0u); // the device's hold is its own
    IDirect3DVertexShader9* bound = nullptr;
    ASSERT_EQ(device_->GetVertexShader(&bound), D3D_OK);
    ASSERT_EQ(bound, shader);
    EXPECT_EQ(bound->GetFunction(nullptr, &size), D3D_OK);
    EXPECT_EQ(bound->Release(), 0u);
    ASSERT_EQ(device_->SetVertexShader(nullptr), D3D_OK);
    EXPECT_EQ(device_->GetVertexShader(&bound), D3D_OK);
    EXPECT_EQ(bound, nullptr);
}

TEST_F(ShaderObjectsTest, ConstantRegistersStopWhereTheCapsSay) {
    D3DCAPS9 caps{};
    ASSERT_EQ(device_->GetDeviceCaps(&caps), D3D_OK);
    const UINT vertexFloats = caps.MaxVertexShaderConst;
    const float four[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const int ints[4] = {3, 1, 2, 0};
    const BOOL bools[2] = {TRUE, FALSE};
    EXPECT_EQ(device_->SetVertexShaderConstantF(vertexFloats - 1, four, 1), D3D_OK);
    EXPECT_EQ(device_->SetVertexShaderConstantF(vertexFloats - 1, four, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetPixelShaderConstantF(223, four, 1), D3D_OK);
    EXPECT_EQ(device_->SetPixelShaderConstantF(224, four, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetVertexShaderConstantI(15, ints, 1), D3D_OK);
    EXPECT_EQ(device_->SetPixelShaderConstantI(16, ints, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetPixelShaderConstantB(14, bools, 2), D3D_OK);
    EXPECT_EQ(device_->SetVertexShaderConstantB(15, bools, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetVertexShaderConstantF(0, nullptr, 1), D3DERR_INVALIDCALL);

    float f[4] = {};
    int i[4] = {};
    BOOL b[2] = {FALSE, TRUE};
    ASSERT_EQ(device_->GetVertexShaderConstantF(vertexFloats - 1, f, 1), D3D_OK);
    EXPECT_EQ(std::memcmp(f, four, sizeof f), 0);
    ASSERT_EQ(device_->GetVertexShaderConstantI(15, i, 1), D3D_OK);
    EXPECT_EQ(std::memcmp(i, ints, sizeof i), 0);
    ASSERT_EQ(device_->GetPixelShaderConstantB(14, b, 2), D3D_OK);
    EXPECT_TRUE(b[0] && !b[1]);
    EXPECT_EQ(device_->GetPixelShaderConstantF(222, f, 3), D3DERR_INVALIDCALL);
}

} // namespace
