// The effect preprocessor and the effect syntax's messages (those D3DXCreateEffect reports in file order
// are in errors_test.cpp); what the parser reads is checked through the effect interface.
#include "fx_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(EffectPreprocessor, IncludesRelativeToTheFileAndFollowsDefinesAndConditions) {
    const std::string dir = ::testing::TempDir() + "fx_include_test/";
    std::system(("mkdir -p " + dir + "inc").c_str());
    WriteFile(dir + "inc/common.fxh", "#define USE_BLOOM 2\nfloat bloom;\n");
    const ParsedEffect e = ParseText("#include \"inc/common.fxh\"\n"
                                     "#if USE_BLOOM > 1 && defined(USE_BLOOM)\n"
                                     "float strong;\n"
                                     "#elif 1\n"
                                     "float weak;\n"
                                     "#endif\n"
                                     "#ifndef MISSING\n"
                                     "float always;\n"
                                     "#else\n"
                                     "float never;\n"
                                     "#endif\n",
                                     dir + "main.fx", dir);
    ASSERT_TRUE(e.ok) << e.diagnostics.Text();
    std::vector<std::string> names;
    for (const auto& p : e.model.parameters)
        names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string>{"bloom", "strong", "always"}));
    // The included line maps back to its own file and line.
    const auto& lines = e.source.lines;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(e.source.files[static_cast<std::size_t>(lines[2].file)], dir + "inc/common.fxh");
    EXPECT_EQ(lines[2].line, 2);
    EXPECT_EQ(lines[3].file, 0);
    EXPECT_EQ(lines[3].line, 2);
}

TEST(EffectPreprocessor, ObjectLikeMacrosReachTheEffectSyntax) {
    const ParsedEffect e = ParseText("#define PROFILE ps_2_0\n#define FILTER Linear\n"
                                     "float4 PS() : COLOR0 { return 0; }\n"
                                     "sampler s = sampler_state { MinFilter = FILTER; };\n"
                                     "technique T { pass { PixelShader = compile PROFILE PS(); } }\n");
    ASSERT_TRUE(e.ok) << e.diagnostics.Text();
    EXPECT_EQ(e.model.techniques[0].passes[0].states[0].value.profile, "ps_2_0");
    EXPECT_EQ(e.model.parameters[0].samplerStates[0].value.name, "Linear");
}

TEST(EffectSyntaxErrors, NameFileLineAndColumnAndStopTheParse) {
    const struct {
        const char* text;
        const char* message;
    } kCases[] = {
        {"technique T { pass P { PixelShader = compile ps_2_0 Missing(); } }\n",
         "bad.fx(1,38): error X3501: 'Missing': entrypoint not found"},
        {"sampler s = sampler_state { Texture = <nothing>; };\n",
         "bad.fx(1,39): error X3004: undeclared identifier 'nothing'"},
        {"\n  #include \"not_there.fxh\"\n",
         "bad.fx(2,13): error X1507: failed to open source file: 'not_there.fxh'"},
        {"#if 1\nfloat a;\n", "bad.fx(2,1): error X1000: unexpected end of file in #if block"},
        {"technique T { pass P { ZEnable = ; } }\n",
         "bad.fx(1,34): error X3081: invalid state value for 'ZEnable'"},
        {"technique T { pass P {\n  VertexShader = asm {\n    vs_2_0 ; a } comment\n"
         "    mov oPos, v0\n  };\n  CullMode = None;\n} }\n",
         "bad.fx(2,18): error X3000: asm shader blocks are not supported"},
        {"vertexshader vs =\n  asm { vs_1_1 mov oPos, v0 };\nfloat f;\n",
         "bad.fx(2,3): error X3000: asm shader blocks are not supported"},
    };
    for (const auto& c : kCases) {
        const ParsedEffect e = ParseText(c.text, "bad.fx");
        EXPECT_FALSE(e.ok);
        ASSERT_EQ(e.diagnostics.All().size(), 1u) << e.diagnostics.Text();
        EXPECT_EQ(platform::fx::FormatDiagnostic(e.diagnostics.All().front()), c.message);
    }
}

} // namespace
