// Effects drawn through the render tests' device: made from text, every pass of the current technique
// drawn around a draw call, the frame read back.
#ifndef VTR3_TESTS_UNIT_FX_EFFECT_RENDER_FIXTURE_H
#define VTR3_TESTS_UNIT_FX_EFFECT_RENDER_FIXTURE_H

#include "fx_test_support.h"
#include "render_fixture.h"

#include <d3dx9.h>

class EffectRenderTest : public render_test::RenderTest {
  protected:
    static constexpr unsigned kSize = 32;
    void SetUp() override { CreateDevice(kSize, kSize); }
    void TearDown() override {
        if (effect_) {
            EXPECT_EQ(effect_->Release(), 0u);
        }
        RenderTest::TearDown();
    }

    // The effect made from the text, or null with the compiler's messages reported.
    ID3DXEffect* Make(const std::string& text, ID3DXEffectPool* pool = nullptr, DWORD flags = 0) {
        ID3DXEffect* effect = nullptr;
        std::string errors;
        EXPECT_EQ(CreateEffect(device_, text, &effect, &errors, pool, flags), D3D_OK) << errors;
        return effect;
    }

    // Every pass of the effect's current technique around the draw.
    template <typename Draw> void Passes(ID3DXEffect* effect, Draw draw, DWORD flags = 0) {
        UINT passes = 0;
        ASSERT_EQ(effect->Begin(&passes, flags), D3D_OK);
        for (UINT p = 0; p < passes; ++p) {
            ASSERT_EQ(effect->BeginPass(p), D3D_OK);
            draw();
            ASSERT_EQ(effect->EndPass(), D3D_OK);
        }
        ASSERT_EQ(effect->End(), D3D_OK);
    }

    // A clip-space quad over the whole target, D3DFVF_XYZ | D3DFVF_NORMAL with the normal towards -z.
    void DrawClipQuad() {
        const D3DXVECTOR3 n(0, 0, -1);
        const D3DXVECTOR3 quad[8] = {{-1, -1, 0.5f}, n, {-1, 1, 0.5f}, n, {1, -1, 0.5f}, n, {1, 1, 0.5f}, n};
        ASSERT_EQ(device_->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL), D3D_OK);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, 2 * sizeof(quad[0])), D3D_OK);
    }

    // The pixel at (4, 4) of the effect drawn over the clip-space quad.
    render_test::Bgra Pixel(ID3DXEffect* effect) {
        return At(DrawFrame([&] { Passes(effect, [&] { DrawClipQuad(); }); }), 4, 4);
    }

    ID3DXEffect* effect_ = nullptr; // the test's effect, released at the end
};

#endif
