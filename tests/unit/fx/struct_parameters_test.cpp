// Struct parameters: members and array elements as handles of their own (by index, by name, by
// "s.member" path), their values shared with the whole parameter, and the uniforms they reach.
#include "render_fixture.h"

#include <d3dx9.h>

#include <string>

namespace {

using render_test::Bgra;

// Pixel = light.colour * light.scale + pair[1].colour + gain[1]; the defaults give (0.2, 0.4, 0.6).
const char* const kEffect = R"(
struct Light { float3 colour; float scale; };
Light light = {0.4, 0.8, 1.2, 0.5};
Light pair[2];
float gain[2] = {1, 0};
float4 VS(float4 p : POSITION) : POSITION { return p; }
float4 PS() : COLOR0 { return float4(light.colour * light.scale + pair[1].colour + gain[1], 1); }
technique T { pass P { CullMode = None; VertexShader = compile vs_3_0 VS(); PixelShader = compile ps_3_0 PS(); } }
)";

class StructParameters : public render_test::RenderTest {
  protected:
    void SetUp() override { CreateDevice(16, 16); }
    Bgra Draw(ID3DXEffect* effect) {
        const D3DXVECTOR3 quad[4] = {{-1, -1, 0.5f}, {-1, 1, 0.5f}, {1, -1, 0.5f}, {1, 1, 0.5f}};
        EXPECT_EQ(device_->SetFVF(D3DFVF_XYZ), D3D_OK);
        const auto frame = DrawFrame([&] {
            UINT passes = 0;
            ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
            ASSERT_EQ(effect->BeginPass(0), D3D_OK);
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(quad[0])), D3D_OK);
            ASSERT_EQ(effect->EndPass(), D3D_OK);
            ASSERT_EQ(effect->End(), D3D_OK);
        });
        return At(frame, 4, 4);
    }
};

TEST_F(StructParameters, MembersAndElementsAreParametersThatReachTheShader) {
    ID3DXEffect* e = nullptr;
    ID3DXBuffer* messages = nullptr;
    ASSERT_EQ(D3DXCreateEffect(device_, kEffect, static_cast<UINT>(std::string(kEffect).size()), nullptr,
                               nullptr, 0, nullptr, &e, &messages),
              D3D_OK)
        << (messages ? static_cast<const char*>(messages->GetBufferPointer()) : "");
    const D3DXHANDLE light = e->GetParameterByName(nullptr, "light");
    const D3DXHANDLE scale = e->GetParameter(light, 1);
    D3DXPARAMETER_DESC desc{};
    ASSERT_EQ(e->GetParameterDesc(light, &desc), D3D_OK);
    EXPECT_TRUE(desc.Class == D3DXPC_STRUCT && desc.StructMembers == 2 && desc.Bytes == 16);
    ASSERT_EQ(e->GetParameterDesc(scale, &desc), D3D_OK);
    EXPECT_EQ(desc.Name, std::string("scale"));
    EXPECT_EQ(e->GetParameterByName(light, "scale"), scale);
    EXPECT_EQ(e->GetParameterByName(nullptr, "light.scale"), scale);
    EXPECT_EQ(e->GetParameter(light, 2), nullptr);
    EXPECT_EQ(e->GetParameterElement(light, 0), nullptr) << "not an array";
    const D3DXHANDLE second = e->GetParameterElement("pair", 1);
    EXPECT_EQ(e->GetParameterElement("pair", 2), nullptr);
    EXPECT_EQ(e->GetParameterByName(second, "colour"), e->GetParameterByName(nullptr, "pair[1].colour"));
    float f = 0;
    EXPECT_EQ(e->GetFloat(scale, &f), D3D_OK);
    EXPECT_EQ(f, 0.5f);
    EXPECT_EQ(Draw(e), (Bgra{153, 102, 51, 255}));

    // A member written alone changes the whole parameter's value, and the other way round.
    ASSERT_EQ(e->SetFloat(scale, 0), D3D_OK);
    float whole[4] = {};
    ASSERT_EQ(e->GetValue(light, whole, sizeof(whole)), D3D_OK);
    EXPECT_TRUE(whole[0] == 0.4f && whole[3] == 0);
    const float colour[4] = {0.6f, 0.2f, 0.4f, 1};
    ASSERT_EQ(e->SetFloatArray(e->GetParameterByName(second, "colour"), colour, 3), D3D_OK);
    ASSERT_EQ(e->SetValue(e->GetParameterElement("pair", 0), colour, sizeof(colour)), D3D_OK);
    EXPECT_EQ(Draw(e), (Bgra{102, 51, 153, 255})); // (0.6, 0.2, 0.4): pair[0] is not read
    ASSERT_EQ(e->SetFloat(e->GetParameterElement("gain", 1), 0.2f), D3D_OK);
    float gain[2] = {};
    ASSERT_EQ(e->GetFloatArray("gain", gain, 2), D3D_OK);
    EXPECT_TRUE(gain[0] == 1 && gain[1] == 0.2f);
    EXPECT_EQ(Draw(e), (Bgra{153, 102, 204, 255})); // (0.8, 0.4, 0.6)
    const float restored[4] = {0.4f, 0.8f, 1.2f, 0.5f};
    ASSERT_EQ(e->SetValue(light, restored, sizeof(restored)), D3D_OK);
    EXPECT_EQ(e->GetFloat(scale, &f), D3D_OK);
    EXPECT_EQ(f, 0.5f);
    EXPECT_EQ(e->Release(), 0u);
}

} // namespace
