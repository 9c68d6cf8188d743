// Each of the nine effect files has two techniques, the ps_2_a one first and the ps_2_0 fallback
// after it, and both compile and validate on a device of shader model 2.0. (The platform validates
// by major version only, so it cannot show a card without ps_2_a choosing the fallback.)
#include "engine.h"
#include "platform_control.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShaderModel2FallbackTest, EveryEffectFileHasATechniqueForShaderModel2AndAFallback) {
    platform::SetShaderModel2Caps(true);
    host::Engine engine;
    engine.CreateGraphics(64, 64, "Acknex 6");
    platform::SetShaderModel2Caps(false);
    for (const char* name : {"brightpass", "vbloom", "hbloom", "vblur", "hblur", "simpleblur", "negative",
                             "monochrom", "combine"}) {
        const std::string path = std::string(VTR3_CONTENT_DIR) + "/vtr3_" + name + ".fx";
        ID3DXEffect* effect = nullptr;
        ID3DXBuffer* messages = nullptr;
        ASSERT_EQ(D3DXCreateEffectFromFileA(engine.device(), path.c_str(), nullptr, nullptr, 0, nullptr,
                                            &effect, &messages),
                  D3D_OK)
            << name << ": " << (messages ? static_cast<const char*>(messages->GetBufferPointer()) : "");
        D3DXEFFECT_DESC description{};
        ASSERT_EQ(effect->GetDesc(&description), D3D_OK);
        EXPECT_EQ(description.Techniques, 2u) << name;
        for (UINT t = 0; t < description.Techniques; ++t) {
            EXPECT_EQ(effect->ValidateTechnique(effect->GetTechnique(t)), D3D_OK)
                << name << " technique " << t;
        }
        EXPECT_EQ(effect->GetTechniqueByName("PostProcessSM2a"), effect->GetTechnique(0)) << name;
        EXPECT_EQ(effect->GetTechniqueByName("PostProcessSM2"), effect->GetTechnique(1)) << name;
        effect->Release();
        if (messages) {
            messages->Release();
        }
    }
}

} // namespace
