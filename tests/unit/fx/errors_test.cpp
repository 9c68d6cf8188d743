// What an effect author sees when an effect does not compile: the failure result and the messages,
// `path(line,col): error Xnnnn: message`, every error of the compile in file order. Files from outside
// that are no effects (devices, FIFOs, directories, files past the size limit) are refused before a
// byte is read. The first text that is no declaration, function, struct or technique stops the
// compile, as the HLSL compiler's own parser stops; an empty effect or one of known types and typedefs
// compiles. (Whole files of random bytes and text run in the effect fuzz replay.) An effect declaring
// past the limit, or past a size budget, fails with that limit named. The preprocessor's includes,
// conditions and macros are checked as the parser sees them.
#include "effect_fixture.h"
#include "scoped_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/stat.h>

namespace {

using platform::fx::kMaxSourceBytes;
using EffectErrors = EffectFixture;

TEST_F(EffectErrors, EveryErrorOfACompileInFileOrderAtItsFileLineAndColumn) {
    const ScopedDirectory scoped;
    const std::string dir = scoped.path().string() + "/";
    ASSERT_EQ(mkfifo((dir + "fifo.fx").c_str(), 0600), 0);
    WriteFile(dir + "half.fxh", std::string(kMaxSourceBytes / 2, ' '));
    WriteFile(dir + "shade.fxh",
              "float4 tint;\nfloat4 PS() : COLOR0\n{\n    return tint * undefinedThing;\n}\n");
    const std::string refused = ": error X1507: failed to open source file: '",
                      syntax = ": error X3000: ", unexpected = syntax + "syntax error: unexpected token '";
    const struct {
        std::string file;   // "$..." is written with the text first when there is one; "" reads the text
        std::string text;   // from memory
        std::string errors; // "" for an effect; $ stands for the directory
    } kCases[] = {
        {"$syntax.fx",
         "float4 PS() : COLOR0\n{\n    float4 c = 1\n    return c;\n}\n"
         "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n",
         "$syntax.fx(4,5)" + syntax + "syntax error: ';' expected\n"},
        {"$three.fx",
         "float4 PS() : COLOR0 { return undefinedThing; }\ntechnique T {\n"
         "  pass P { Bogus = 1; PixelShader = compile ps_2_0 PS(); }\n"
         "  pass Q { PixelShader = compile ps_9_9 PS(); ZFunc = Sideways; }\n}\n",
         "$three.fx(1,31): error X3004: undeclared identifier 'undefinedThing'\n"
         "$three.fx(3,12): error X3080: unrecognized state 'Bogus'\n"
         "$three.fx(4,26): error X3502: invalid target 'ps_9_9' for a pixel shader\n"
         "$three.fx(4,55): error X3081: invalid value 'Sideways' for state 'ZFunc'\n"},
        {"$undefined.fx",
         "#include \"shade.fxh\"\ntechnique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n",
         "$shade.fxh(4,19): error X3004: undeclared identifier 'undefinedThing'\n"},
        {"$nowhere.fx", "", "$nowhere.fx(1,1)" + refused + "$nowhere.fx'\n"},
        {"/dev/zero", "", "/dev/zero(1,1)" + refused + "/dev/zero': not a regular file\n"},
        {"$fifo.fx", "", "$fifo.fx(1,1)" + refused + "$fifo.fx': not a regular file\n"},
        {"$", "", "$(1,1)" + refused + "$': not a regular file\n"},
        {"$over.fx", std::string(kMaxSourceBytes + 1, ' '),
         "$over.fx(1,1)" + refused + "$over.fx': larger than 1048576 bytes\n"},
        {"$limit.fx", std::string(kMaxSourceBytes, ' '), ""},
        {"$zero.fx", "\n#include \"/dev/zero\"\n",
         "$zero.fx(2,11)" + refused + "/dev/zero': not a regular file\n"},
        {"$twice.fx", "#include \"half.fxh\"\n#include \"half.fxh\"\n",
         "$twice.fx(2,11): error X1507: #include makes the source larger than 1048576 bytes: 'half.fxh'\n"},
        {"", std::string(kMaxSourceBytes + 1, ' '),
         "memory(1,1): error X1507: source larger than 1048576 bytes\n"},
        {"", "technique T { pass P { PixelShader = compile ps_2_0 Missing(); } }\n",
         "memory(1,38): error X3501: 'Missing': entrypoint not found\n"},
        {"", "sampler s = sampler_state { Texture = <nothing>; };\n",
         "memory(1,39): error X3004: undeclared identifier 'nothing'\n"},
        {"", "\n  #include \"not_there.fxh\"\n", "memory(2,13)" + refused + "not_there.fxh'\n"},
        {"", "#if 1\nfloat a;\n", "memory(2,1): error X1000: unexpected end of file in #if block\n"},
        {"", "technique T { pass P { ZEnable = ; } }\n",
         "memory(1,34): error X3081: invalid state value for 'ZEnable'\n"},
        {"",
         "technique T { pass P {\n  VertexShader = asm {\n    vs_2_0 ; a } comment\n    movv oPos, v0\n  };\n"
         "  CullMode = None;\n} }\n",
         "memory(4,5): error X5001: unknown instruction 'movv'\n"},
        {"", "vertexshader vs =\n  asm { vs_1_1 movv oPos, v0 };\nfloat f;\n",
         "memory(2,16): error X5001: unknown instruction 'movv'\n"},
        {"", "technique T { pass P { PixelShader = asm { vs_2_0 mov oPos, c0 }; } }",
         "memory(1,38): error X3081: a vertex shader asm block for a pixel shader\n"},
        {"", "technique T { pass P { PixelShader = asm { }; } }",
         "memory(1,44): error X5000: syntax error : unexpected end of file\n"},
        {"", "technique T { pass P { PixelShader = asm { ps_2_0 ; }",
         "memory(1,1): error X3000: syntax error: unexpected end of file, expected '}'\n"
         "memory(1,38): error X3000: syntax error: asm block without its closing '}'\n"},
        {"", "technique T { pass P { ZEnable = asm { ps_2_0 }; } }",
         "memory(1,34): error X3081: 'asm' is only valid for VertexShader and PixelShader\n"},
        {"", "", ""},
        {"", "typedef float4 color;\nstruct S { texture t; };\ncolor c;\nS s;\nSamplerState p;\n", ""},
        {"", "float a;\n  @ b; $", "memory(2,3)" + unexpected + "@'\n"},
        {"", "\x81\x02", "memory(1,1)" + unexpected + "\\x81'\n"},
        {"", "float4 f;\nhello world; more", "memory(2,1)" + syntax + "unrecognized identifier 'hello'\n"},
        {"", "static float4 5;", "memory(1,15)" + unexpected + "5'\n"},
        {"", "const {", "memory(1,7)" + unexpected + "{'\n"},
        {"", "float a, 1;", "memory(1,10)" + unexpected + "1'\n"},
        {"",
         "float4 VS(float4 p : POSITION, float4 w : WHATEVER) : POSITION { return p + w; }\n"
         "technique T { pass P { VertexShader = compile vs_2_0 VS(); } }\n",
         "memory(1,1)" + syntax + "'VS': invalid vertex input semantic 'WHATEVER'\n"},
    };
    const auto inDir = [&dir](std::string text) {
        for (std::size_t at; (at = text.find('$')) != std::string::npos;)
            text.replace(at, 1, dir);
        return text;
    };
    for (const auto& c : kCases) {
        const std::string file = inDir(c.file);
        if (c.file[0] == '$' && !c.text.empty())
            WriteFile(file, c.text);
        EXPECT_EQ(file.empty() ? Make(c.text) : Make(file, true),
                  c.errors.empty() ? D3D_OK : D3DXERR_INVALIDDATA)
            << c.file << c.text.substr(0, 80);
        EXPECT_EQ(effect_ != nullptr, c.errors.empty());
        EXPECT_EQ(errors_, inDir(c.errors));
    }
}

TEST_F(EffectErrors, ACrashingShaderCompilerIsAnErrorTheProcessLivesAndNoBufferIsNeeded) {
    EXPECT_EQ(Make("float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return noise(uv); }\n"
                   "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n"),
              D3DXERR_INVALIDDATA);
    EXPECT_NE(errors_.find("memory(1,1): error X4000: internal compiler error: the shader compiler"),
              std::string::npos)
        << errors_;
    // Warnings do not fail, and creation works without a buffer for the messages.
    const std::string text = "float4 PS() : COLOR0 { return 1; }\n"
                             "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";
    EXPECT_EQ(D3DXCreateEffect(device_, text.data(), static_cast<UINT>(text.size()), nullptr, nullptr, 0,
                               nullptr, &effect_, nullptr),
              D3D_OK);
    EXPECT_EQ(D3DXCreateEffect(device_, nullptr, 0, nullptr, nullptr, 0, nullptr, nullptr, nullptr),
              D3DERR_INVALIDCALL);
}

using HostileEffectFiles = EffectFixture;

TEST_F(HostileEffectFiles, DeclarationsPastTheLimitAreRefusedWithTheLimitNamed) {
    const std::string limit = ": error X3000: too many declarations: an effect holds at most 4096 variables, "
                              "functions, structs and techniques\n";
    const struct {
        std::string first; // a declaration before the repeated ones, and what closes it
        std::string close;
        std::string each; // repeated with a number, then `end`
        std::string end;
        int column; // of the declaration past the limit, on line 4097
    } kCases[] = {
        {"", "", "float a", ";\n", 7},
        {"", "", "float f", "() { return 1; }\n", 7},
        {"", "", "technique t", " { }\n", 1},
        {"typedef float F;\n", "", "F a", ";\n", 3},
        {"struct S {\n", "};\n", "float a", ";\n", 9}, // a member counts at its ';'
    };
    for (const auto& c : kCases) {
        std::string text = c.first;
        for (int k = 0; k < 4096 - (c.first.empty() ? 0 : 1); ++k)
            text += c.each + std::to_string(k) + c.end;
        EXPECT_EQ(Make(text + c.close), D3D_OK) << c.each << errors_;
        text += c.each + "x" + c.end;
        EXPECT_EQ(Make(text), D3DXERR_INVALIDDATA) << c.each;
        EXPECT_EQ(errors_, "memory(4097," + std::to_string(c.column) + ")" + limit) << c.each;
    }
}

TEST_F(HostileEffectFiles, SizesPastTheirBudgetAreRefusedWithTheBudgetNamed) {
    for (const HostileText& c : OverBudgetTexts()) {
        EXPECT_EQ(Make(c.text), c.errors.empty() ? D3D_OK : D3DXERR_INVALIDDATA) << c.errors;
        EXPECT_EQ(errors_, c.errors);
    }
    ASSERT_NE(effect_, nullptr);
    const float four[4] = {1, 2, 3, 4};
    EXPECT_EQ(effect_->SetFloatArray(effect_->GetParameterByName(nullptr, "c"), four, 4), D3D_OK);
    EXPECT_NE(effect_->GetParameterElement(effect_->GetParameterByName(nullptr, "s0"), 0), nullptr);
}

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

} // namespace
