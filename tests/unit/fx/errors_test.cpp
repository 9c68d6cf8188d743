// What an effect author sees when an effect does not compile: the failure result and the messages,
// `path(line,col): error Xnnnn: message`, every error of the compile in file order.
#include "effect_fixture.h"
#include "scoped_directory.h"

#include <gtest/gtest.h>

namespace {

using EffectErrors = EffectFixture;

TEST_F(EffectErrors, EveryErrorOfACompileInFileOrderAtItsFileLineAndColumn) {
    const ScopedDirectory scoped;
    const std::string dir = scoped.path().string() + "/";
    WriteFile(dir + "shade.fxh",
              "float4 tint;\nfloat4 PS() : COLOR0\n{\n    return tint * undefinedThing;\n}\n");
    const struct {
        std::string name;
        const char* text;   // null: no such file
        std::string errors; // $ stands for the directory
    } kCases[] = {
        {"syntax.fx",
         "float4 PS() : COLOR0\n{\n    float4 c = 1\n    return c;\n}\n"
         "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n",
         "$syntax.fx(4,5): error X3000: syntax error: ';' expected\n"},
        {"three.fx",
         "float4 PS() : COLOR0 { return undefinedThing; }\ntechnique T {\n"
         "  pass P { Bogus = 1; PixelShader = compile ps_2_0 PS(); }\n"
         "  pass Q { PixelShader = compile ps_9_9 PS(); ZFunc = Sideways; }\n}\n",
         "$three.fx(1,31): error X3004: undeclared identifier 'undefinedThing'\n"
         "$three.fx(3,12): error X3080: unrecognized state 'Bogus'\n"
         "$three.fx(4,26): error X3502: invalid target 'ps_9_9' for a pixel shader\n"
         "$three.fx(4,55): error X3081: invalid value 'Sideways' for state 'ZFunc'\n"},
        {"undefined.fx",
         "#include \"shade.fxh\"\ntechnique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n",
         "$shade.fxh(4,19): error X3004: undeclared identifier 'undefinedThing'\n"},
        {"nowhere.fx", nullptr, "$nowhere.fx(1,1): error X1507: failed to open source file: '$nowhere.fx'\n"},
    };
    for (const auto& c : kCases) {
        if (c.text)
            WriteFile(dir + c.name, c.text);
        EXPECT_EQ(Make(dir + c.name, true), D3DXERR_INVALIDDATA) << c.name;
        EXPECT_EQ(effect_, nullptr);
        std::string expected = c.errors;
        for (std::size_t at; (at = expected.find('$')) != std::string::npos;)
            expected.replace(at, 1, dir);
        EXPECT_EQ(errors_, expected);
    }
}

TEST_F(EffectErrors, WarningsDoNotFailAndCreationWithoutABufferWorks) {
    const std::string text = "float4 PS() : COLOR0 { return 1; }\n"
                             "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";
    EXPECT_EQ(D3DXCreateEffect(device_, text.data(), static_cast<UINT>(text.size()), nullptr, nullptr, 0,
                               nullptr, &effect_, nullptr),
              D3D_OK);
    EXPECT_EQ(D3DXCreateEffect(device_, nullptr, 0, nullptr, nullptr, 0, nullptr, nullptr, nullptr),
              D3DERR_INVALIDCALL);
}

TEST_F(EffectErrors, ACrashingShaderCompilerIsAnErrorAndTheProcessLives) {
    EXPECT_EQ(Make("float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return noise(uv); }\n"
                   "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n"),
              D3DXERR_INVALIDDATA);
    EXPECT_NE(errors_.find("memory(1,1): error X4000: internal compiler error: the shader compiler"),
              std::string::npos)
        << errors_;
}

} // namespace
