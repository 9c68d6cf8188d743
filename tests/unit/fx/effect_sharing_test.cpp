// Effect pools, CloneEffect and state managers: shared parameters seen by two effects of one pool and
// values carried by a clone, drawn and checked against worked-out pixels; a state manager's calls in
// exact order.
#include "render_fixture.h"

#include <d3dx9.h>

#include <string>

namespace {

using render_test::Bgra;

// A draws tint, B its components reversed: tint (0.2, 0.4, 0.6, 1) is BGRA (153, 102, 51) from A and
// (51, 102, 153) from B.
const std::string kA = "shared float4 tint = {0.2, 0.4, 0.6, 1};\nshared float4x4 view;\n"
                       "float4 PS() : COLOR0 { return tint; }\n"
                       "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";
const std::string kB = "shared float4 tint;\nfloat4 PS() : COLOR0 { return tint.zyxw; }\n"
                       "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";

class EffectSharing : public render_test::RenderTest {
  protected:
    void SetUp() override { CreateDevice(16, 16); }

    ID3DXEffect* Make(const std::string& text, ID3DXEffectPool* pool, HRESULT expected = D3D_OK,
                      DWORD flags = 0) {
        ID3DXEffect* effect = nullptr;
        EXPECT_EQ(D3DXCreateEffect(device_, text.data(), static_cast<UINT>(text.size()), nullptr, nullptr,
                                   flags, pool, &effect, nullptr),
                  expected);
        return effect;
    }
    Bgra Draw(ID3DXEffect* effect) {
        const auto frame = DrawFrame([&] {
            UINT passes = 0;
            EXPECT_EQ(effect->Begin(&passes, 0), D3D_OK);
            EXPECT_EQ(effect->BeginPass(0), D3D_OK);
            DrawScreenRect(0, 0, 16, 16, 0.5f, 0xFFFFFFFF);
            EXPECT_EQ(effect->EndPass(), D3D_OK);
            EXPECT_EQ(effect->End(), D3D_OK);
        });
        return At(frame, 4, 4);
    }
};

TEST_F(EffectSharing, PoolSharesOneValueWhileAnyHolderLives) {
    ID3DXEffectPool* pool = nullptr;
    ASSERT_EQ(D3DXCreateEffectPool(nullptr), D3DERR_INVALIDCALL);
    ASSERT_EQ(D3DXCreateEffectPool(&pool), D3D_OK);
    ID3DXEffect* a = Make(kA, pool);
    ID3DXEffect* b = Make(kB, pool); // joins A's value; its own default (none) is not applied
    ASSERT_TRUE(a && b);
    EXPECT_EQ(Draw(b), (Bgra{51, 102, 153, 255}));
    const D3DXVECTOR4 red(1, 0.2f, 0, 1);
    ASSERT_EQ(a->SetVector("tint", &red), D3D_OK);
    EXPECT_EQ(Draw(b), (Bgra{255, 51, 0, 255}));
    D3DXPARAMETER_DESC desc{};
    ASSERT_EQ(b->GetParameterDesc("tint", &desc), D3D_OK);
    EXPECT_EQ(desc.Flags, DWORD{D3DX_PARAMETER_SHARED});
    for (const char* other : {"shared float3 tint;", "shared float3x4 view;", "shared float4 tint[2];",
                              "shared int4 tint;", "shared texture tint;"})
        EXPECT_EQ(Make(other, pool, D3DERR_INVALIDCALL), nullptr) << other;
    ID3DXEffect* alone = Make(kB, nullptr); // no pool: its own tint, zero
    EXPECT_EQ(Draw(alone), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(alone->Release(), 0u);
    EXPECT_EQ(pool->Release(), 2u); // each effect of the pool holds it
    EXPECT_EQ(a->Release(), 0u);
    ID3DXEffectPool* held = nullptr;
    ASSERT_EQ(b->GetPool(&held), D3D_OK);
    EXPECT_EQ(held, pool);
    ID3DXEffect* c = Make(kA, held); // the value outlives A and the caller's pool reference
    EXPECT_EQ(held->Release(), 2u);
    EXPECT_EQ(Draw(c), (Bgra{0, 51, 255, 255}));
    EXPECT_EQ(b->Release(), 0u);
    EXPECT_EQ(c->Release(), 0u);
}

TEST_F(EffectSharing, CloneCarriesValuesAndIsIndependentAfterwards) {
    ID3DXEffectPool* pool = nullptr;
    ASSERT_EQ(D3DXCreateEffectPool(&pool), D3D_OK);
    const std::string text = "float4 own = {0, 0, 0, 1};\n" + kA;
    ID3DXEffect* original = Make(text, pool);
    const D3DXVECTOR4 v(0.4f, 0.2f, 0, 1);
    ASSERT_EQ(original->SetVector("own", &v), D3D_OK);
    ID3DXEffect* clone = nullptr;
    EXPECT_EQ(original->CloneEffect(nullptr, &clone), D3DERR_INVALIDCALL);
    EXPECT_EQ(clone, nullptr);
    ASSERT_EQ(original->CloneEffect(device_, &clone), D3D_OK);
    const D3DXVECTOR4 zero(0, 0, 0, 0);
    ASSERT_EQ(original->SetVector("own", &zero), D3D_OK); // the clone keeps the value it was given
    D3DXVECTOR4 got;
    ASSERT_EQ(clone->GetVector("own", &got), D3D_OK);
    EXPECT_EQ(got, v);
    const D3DXVECTOR4 blue(0, 0, 1, 1);
    ASSERT_EQ(clone->SetVector("tint", &blue), D3D_OK); // shared: the clone is in the pool too
    EXPECT_EQ(Draw(original), (Bgra{255, 0, 0, 255}));
    ID3DXEffect* fixed = Make(kA, nullptr, D3D_OK, D3DXFX_NOT_CLONEABLE);
    ID3DXEffect* none = original;
    EXPECT_EQ(fixed->CloneEffect(device_, &none), D3DERR_INVALIDCALL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(fixed->Release(), 0u);
    EXPECT_EQ(original->Release(), 0u);
    EXPECT_EQ(pool->Release(), 1u);
    EXPECT_EQ(clone->Release(), 0u);
}

} // namespace
