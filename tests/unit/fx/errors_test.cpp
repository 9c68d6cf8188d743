// What an effect author sees when an effect does not compile: the failure result and the messages,
// `path(line,col): error Xnnnn: message`, every error of the compile in file order.
#include "effect_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

class EffectErrors : public EffectFixture {
  protected:
    void SetUp() override {
        EffectFixture::SetUp();
        dir_ = ::testing::TempDir() + "fx_errors/";
        std::system(("mkdir -p " + dir_).c_str());
    }

    // Compiles the file; returns the first line of the messages.
    std::string FirstError(const std::string& name, const std::string& text, HRESULT* result) {
        const std::string path = dir_ + name;
        WriteFile(path, text);
        ID3DXBuffer* messages = nullptr;
        *result = D3DXCreateEffectFromFileA(device_, path.c_str(), nullptr, nullptr, 0, nullptr, &effect_,
                                            &messages);
        errors_ = BufferText(messages);
        if (messages)
            messages->Release();
        return errors_.substr(0, errors_.find('\n'));
    }

    std::string dir_;
};

TEST_F(EffectErrors, ASyntaxErrorInAShader) {
    HRESULT result = S_OK;
    const std::string first = FirstError("syntax.fx",
                                         "float4 PS() : COLOR0\n{\n    float4 c = 1\n    return c;\n}\n"
                                         "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n",
                                         &result);
    EXPECT_EQ(result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(effect_, nullptr);
    EXPECT_EQ(first, dir_ + "syntax.fx(4,5): error X3000: syntax error: ';' expected") << errors_;
}

TEST_F(EffectErrors, EveryErrorOfACompileInFileOrder) {
    HRESULT result = S_OK;
    FirstError("three.fx",
               "float4 PS() : COLOR0 { return undefinedThing; }\n"
               "technique T {\n"
               "  pass P { Bogus = 1; PixelShader = compile ps_2_0 PS(); }\n"
               "  pass Q { PixelShader = compile ps_9_9 PS(); ZFunc = Sideways; }\n"
               "}\n",
               &result);
    EXPECT_EQ(result, D3DXERR_INVALIDDATA);
    const std::string at = dir_ + "three.fx";
    EXPECT_EQ(errors_, at + "(1,31): error X3004: undeclared identifier 'undefinedThing'\n" + at +
                           "(3,12): error X3080: unrecognized state 'Bogus'\n" + at +
                           "(4,26): error X3502: invalid target 'ps_9_9' for a pixel shader\n" + at +
                           "(4,55): error X3081: invalid value 'Sideways' for state 'ZFunc'\n");
}

TEST_F(EffectErrors, AnUndefinedIdentifierInAnIncludedFile) {
    WriteFile(dir_ + "shade.fxh",
              "float4 tint;\nfloat4 PS() : COLOR0\n{\n    return tint * undefinedThing;\n}\n");
    HRESULT result = S_OK;
    const std::string first = FirstError("undefined.fx",
                                         "#include \"shade.fxh\"\n"
                                         "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n",
                                         &result);
    EXPECT_EQ(result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(first, dir_ + "shade.fxh(4,19): error X3004: undeclared identifier 'undefinedThing'")
        << errors_;
}

TEST_F(EffectErrors, AFileThatDoesNotExist) {
    ID3DXBuffer* messages = nullptr;
    const std::string path = dir_ + "nowhere.fx";
    EXPECT_EQ(
        D3DXCreateEffectFromFileA(device_, path.c_str(), nullptr, nullptr, 0, nullptr, &effect_, &messages),
        D3DXERR_INVALIDDATA);
    EXPECT_EQ(BufferText(messages),
              path + "(1,1): error X1507: failed to open source file: '" + path + "'\n");
    messages->Release();
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

TEST_F(EffectErrors, AnyBytesGiveAResultAndNoCrash) {
    std::mt19937 random(1234);
    const std::string alphabet =
        "technique pass { } < > ( ) ; = compile ps_2_0 vs_2_0 float4 PS sampler_state "
        "#if #include #define \" \n , [ ] 0x1 -";
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const int pieces = static_cast<int>(random() % 60);
        for (int i = 0; i < pieces; ++i) {
            if (random() % 3 == 0)
                text += static_cast<char>(random() % 256);
            else
                text += alphabet.substr(random() % alphabet.size(), 1 + random() % 12);
        }
        const HRESULT result = Make(text);
        EXPECT_TRUE(result == D3D_OK || result == D3DXERR_INVALIDDATA) << text;
        if (effect_) {
            effect_->Release();
            effect_ = nullptr;
        }
    }
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int k = 0; k < times; ++k)
        out += text;
    return out;
}

TEST_F(EffectErrors, MacrosThatMultiplyPastTheTokenBudgetAreRefusedAtTheirUse) {
    std::string text;
    for (int level = 1; level <= 5; ++level)
        text += "#define M" + std::to_string(level) + "(x) M" + std::to_string(level + 1) + "(" +
                Repeat("x ", 100) + ")\n";
    HRESULT result = S_OK;
    const std::string first = FirstError("macros.fx", text + "float f = 1;\nfloat g = M1(2);\n", &result);
    EXPECT_EQ(result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(first, dir_ + "macros.fx(7,11): error X1000: macro expansion exceeds 1048576 tokens")
        << errors_;
}

TEST_F(EffectErrors, ParametersTooLargeForMemoryAreRefused) {
    HRESULT result = S_OK;
    std::string first =
        FirstError("array.fx", "float4 a[4];\nstruct A { float4 v[4096]; };\nA b[1000000];\n", &result);
    EXPECT_EQ(result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(
        first,
        dir_ + "array.fx(3,3): error X3000: parameter 'b' is too large: 16384000000 words, at most 1048576")
        << errors_;
    std::string text;
    for (int k = 0; k < 5; ++k)
        text += "float4x4 m" + std::to_string(k) + "[65536];\n";
    first = FirstError("many.fx", text, &result);
    EXPECT_EQ(result, D3DXERR_INVALIDDATA);
    EXPECT_EQ(first,
              dir_ + "many.fx(5,10): error X3000: parameter 'm4' makes the effect's parameters too large: at "
                     "most 4194304 words in all")
        << errors_;
}

// Each element view of a struct array holds the struct's member list; past a budget the views stop
// instead of copying it millions of times.
TEST_F(EffectErrors, ArraysOfLargeStructsCreateWithoutCopyingTheirMembersPerView) {
    std::string text = "struct S { float " + Repeat("a, ", 4095) + "a; };\n";
    for (int k = 0; k < 15; ++k)
        text += "S s" + std::to_string(k) + "[64];\n";
    text += "float4 c;\n";
    HRESULT result = S_OK;
    FirstError("views.fx", text, &result);
    ASSERT_EQ(result, D3D_OK) << errors_;
    ASSERT_NE(effect_, nullptr);
    D3DXHANDLE c = effect_->GetParameterByName(nullptr, "c");
    const float four[4] = {1, 2, 3, 4};
    EXPECT_EQ(effect_->SetFloatArray(c, four, 4), D3D_OK);
    EXPECT_NE(effect_->GetParameterElement(effect_->GetParameterByName(nullptr, "s0"), 0), nullptr);
}

} // namespace
