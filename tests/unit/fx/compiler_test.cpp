// HLSL to GLSL 4.50: the semantic fix-ups, glslang's messages as HLSL authors read them, the crash
// isolation and the cache.
#include "fx/compile_isolation.h"
#include "fx/program_cache.h"
#include "fx/shader_compiler.h"

#include <gtest/gtest.h>

namespace {

using platform::fx::CompileIsolated;
using platform::fx::CompileShader;
using platform::fx::ShaderRequest;
using platform::fx::ShaderResult;
using platform::fx::ShaderStage;

const char* const kShaders = R"(float4x4 matWorldViewProjection;
float4 tint;
sampler2D tex0;
struct VsOut { float4 pos : POSITION; float2 uv : TEXCOORD0; float4 col : COLOR0; };
VsOut VS(float4 pos : POSITION, float2 uv : TEXCOORD1, float3 n : NORMAL) {
    VsOut o;
    o.pos = mul(pos, matWorldViewProjection);
    o.uv = uv;
    o.col = float4(n, 1);
    return o;
}
float4 PS(float4 uv : TEXCOORD0, float2 vpos : VPOS) : COLOR0 {
    return tex2D(tex0, uv.xy) * tint + vpos.x * 0.001;
}
)";

ShaderRequest Request(const std::string& hlsl, const char* entry, const char* profile, ShaderStage stage) {
    ShaderRequest r;
    r.hlsl = hlsl;
    r.entry = entry;
    r.profile = profile;
    r.stage = stage;
    return r;
}

TEST(ShaderCompiler, VertexShaderMatchesSemanticsToTheDeviceLocations) {
    ShaderResult r;
    CompileShader(Request(kShaders, "VS", "vs_2_0", ShaderStage::Vertex), &r);
    ASSERT_TRUE(r.ok) << (r.messages.empty() ? "" : r.messages[0].text);
    EXPECT_NE(r.glsl.find("layout(location = 0) in vec4 vtr3_in_POSITION0;"), std::string::npos) << r.glsl;
    EXPECT_NE(r.glsl.find("layout(location = 9) in vec2 vtr3_in_TEXCOORD1;"), std::string::npos) << r.glsl;
    EXPECT_NE(r.glsl.find("layout(location = 3) in vec3 vtr3_in_NORMAL0;"), std::string::npos) << r.glsl;
    // Varyings are vec4 at their locations; a float2 TEXCOORD is widened with 0, 1.
    EXPECT_NE(r.glsl.find("layout(location = 2) out vec4 vtr3_v_TEXCOORD0;"), std::string::npos) << r.glsl;
    EXPECT_NE(r.glsl.find("vtr3_v_TEXCOORD0 = vec4(vtr3_out_TEXCOORD0, 0.0, 1.0);"), std::string::npos);
    // Shader model 2 clamps COLOR outputs.
    EXPECT_NE(r.glsl.find("vtr3_v_COLOR0 = clamp(vtr3_out_COLOR0, 0.0, 1.0);"), std::string::npos);
    EXPECT_NE(r.glsl.find("vtr3_EmitPosition(vtr3_out_POSITION0);"), std::string::npos);
    ASSERT_EQ(r.uniforms.size(), 1u);
    EXPECT_EQ(r.uniforms[0].name, "matWorldViewProjection");
    EXPECT_EQ(r.constantRegisters, 4);
}

TEST(ShaderCompiler, PixelShaderReadsVaryingsVposAndSamplers) {
    ShaderResult r;
    CompileShader(Request(kShaders, "PS", "ps_3_0", ShaderStage::Pixel), &r);
    ASSERT_TRUE(r.ok) << (r.messages.empty() ? "" : r.messages[0].text);
    EXPECT_NE(r.glsl.find("layout(location = 2) in vec4 vtr3_v_TEXCOORD0;"), std::string::npos) << r.glsl;
    EXPECT_NE(r.glsl.find("vtr3_in_VPOS0 = vec2(vec4(gl_FragCoord.xy - vec2(0.5), 0.0, 1.0).xy);"),
              std::string::npos)
        << r.glsl;
    EXPECT_NE(r.glsl.find("layout(location = 0) out vec4 vtr3_out_COLOR0;"), std::string::npos) << r.glsl;
    EXPECT_EQ(r.samplers, std::vector<std::string>{"tex0"});
    EXPECT_NE(r.glsl.find("uniform _Global fx_ps;"), std::string::npos);
}

TEST(ShaderCompiler, MessagesCarryLineColumnAndCode) {
    ShaderResult r;
    CompileShader(Request("float4 k;\nfloat4 PS() : COLOR0 {\n  return undefinedThing + k;\n}\n", "PS",
                          "ps_2_0", ShaderStage::Pixel),
                  &r);
    ASSERT_FALSE(r.ok);
    ASSERT_FALSE(r.messages.empty());
    EXPECT_EQ(r.messages[0].line, 3);
    EXPECT_EQ(r.messages[0].column, 10);
    EXPECT_EQ(r.messages[0].code, 3004);
    EXPECT_EQ(r.messages[0].text, "undeclared identifier 'undefinedThing'");

    CompileShader(Request("float4 PS() : COLOR0 {\n  float4 a = 1\n  return a;\n}\n", "PS", "ps_2_0",
                          ShaderStage::Pixel),
                  &r);
    ASSERT_FALSE(r.ok);
    ASSERT_FALSE(r.messages.empty());
    EXPECT_EQ(r.messages[0].line, 3);
    EXPECT_EQ(r.messages[0].code, 3000);
}

TEST(ShaderCompiler, AnInvalidSemanticIsAnError) {
    ShaderResult r;
    CompileShader(Request("float4 VS(float4 p : POSITION, float4 w : WHATEVER) : POSITION { return p + w; }",
                          "VS", "vs_2_0", ShaderStage::Vertex),
                  &r);
    ASSERT_FALSE(r.ok);
    EXPECT_EQ(r.messages.back().text, "'VS': invalid vertex input semantic 'WHATEVER'");
}

TEST(CompileIsolation, ACrashingCompilerCostsAnErrorNotTheProcess) {
    ShaderResult r;
    // glslang 12 dereferences null on noise() in HLSL.
    CompileIsolated(Request("float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return noise(uv); }", "PS", "ps_2_0",
                            ShaderStage::Pixel),
                    &r);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text.rfind("internal compiler error: the shader compiler", 0), 0u)
        << r.messages[0].text;
    // The next compile gets a fresh compiler.
    CompileIsolated(Request(kShaders, "PS", "ps_2_0", ShaderStage::Pixel), &r);
    EXPECT_TRUE(r.ok);
}

TEST(CompileIsolation, TheChildHandsBackWhatTheCompilerMade) {
    ShaderResult inProcess;
    ShaderResult isolated;
    const ShaderRequest request = Request(kShaders, "PS", "ps_2_0", ShaderStage::Pixel);
    CompileShader(request, &inProcess);
    CompileIsolated(request, &isolated);
    ASSERT_TRUE(isolated.ok);
    EXPECT_EQ(isolated.glsl, inProcess.glsl);
    EXPECT_EQ(isolated.samplers, inProcess.samplers);
    ShaderResult garbage;
    EXPECT_FALSE(platform::fx::DeserializeResult("\x01\x02", &garbage));
    EXPECT_FALSE(platform::fx::DeserializeResult(platform::fx::SerializeResult(inProcess) + "x", &garbage));
}

TEST(ShaderCache, ASecondCompileOfTheSameShaderIsAHit) {
    platform::fx::ClearShaderCache();
    const ShaderRequest request = Request(kShaders, "VS", "vs_2_0", ShaderStage::Vertex);
    ShaderResult first;
    ShaderResult second;
    platform::fx::CompileCached(request, &first);
    EXPECT_EQ(platform::fx::ShaderCacheSize(), 1u);
    platform::fx::CompileCached(request, &second);
    EXPECT_EQ(platform::fx::ShaderCacheSize(), 1u);
    EXPECT_EQ(first.glsl, second.glsl);
    ShaderRequest failing = request;
    failing.entry = "Nope";
    platform::fx::CompileCached(failing, &second);
    EXPECT_FALSE(second.ok);
    EXPECT_EQ(platform::fx::ShaderCacheSize(), 1u); // failures are not kept
}

} // namespace
