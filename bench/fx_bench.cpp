// Compiling effects: an effect of one technique with one pass, and the nine post-processing effects,
// cold (the shader cache cleared, so glslang and SPIRV-Cross run in their child process) and cached
// (a second effect with the same shaders: preprocessing, parsing and GL linking only).
#include "fx/program_cache.h"
#include "stand_in_device.h"

#include <benchmark/benchmark.h>
#include <d3dx9.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kOnePass = R"(
float4x4 matWorldViewProjection;
texture entTex0;
sampler2D tex0 = sampler_state { Texture = <entTex0>; MinFilter = Linear; MagFilter = Linear; };
struct VsOut { float4 pos : POSITION; float2 uv : TEXCOORD0; };
VsOut VS(float4 pos : POSITION, float2 uv : TEXCOORD0) { VsOut o; o.pos = mul(pos, matWorldViewProjection); o.uv = uv; return o; }
float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(tex0, uv); }
technique T { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } }
)";

// Full-screen steps as the post-processor runs them: a pixel shader over pre-transformed quads.
std::string PostEffect(const std::string& body) {
    return "texture postTex1;\ntexture postTex2;\nfloat4 vecValues1;\nfloat4 vecValues2;\n"
           "sampler2D src = sampler_state { Texture = <postTex1>; MinFilter = Linear; MagFilter = Linear; "
           "AddressU = Clamp; AddressV = Clamp; };\n"
           "sampler2D scene = sampler_state { Texture = <postTex2>; AddressU = Clamp; AddressV = Clamp; };\n"
           "float4 PS(float2 uv : TEXCOORD0) : COLOR0 {\n" +
           body + "\n}\ntechnique Post { pass P { ZEnable = false; PixelShader = compile ps_2_0 PS(); } }\n";
}

std::vector<std::string> NinePostEffects() {
    const std::string blur =
        "float4 c = 0; for (int i = -3; i <= 3; ++i) c += tex2D(src, uv + i * vecValues1.xy); "
        "return c / 7;";
    return {
        PostEffect("float4 c = tex2D(src, uv); return max(c - vecValues1.x, 0) * vecValues1.y;"),
        PostEffect("float4 c = 0; for (int i = -4; i <= 4; ++i) c += tex2D(src, uv + float2(0, i) * "
                   "vecValues1.x) * (5 - abs(i)); return c / 25;"),
        PostEffect("float4 c = 0; for (int i = -4; i <= 4; ++i) c += tex2D(src, uv + float2(i, 0) * "
                   "vecValues1.x) * (5 - abs(i)); return c / 25;"),
        PostEffect(blur),
        PostEffect("float4 c = 0; for (int i = -3; i <= 3; ++i) c += tex2D(src, uv + i * vecValues1.yx); "
                   "return c / 7;"),
        PostEffect("float4 c = 0; for (int x = -1; x <= 1; ++x) for (int y = -1; y <= 1; ++y) "
                   "c += tex2D(src, uv + float2(x, y) * vecValues1.xy); return c / 9;"),
        PostEffect("float4 c = tex2D(src, uv); return float4(1 - c.rgb, c.a);"),
        PostEffect("float4 c = tex2D(src, uv); float l = dot(c.rgb, float3(0.299, 0.587, 0.114)); "
                   "return float4(l, l, l, c.a);"),
        PostEffect("return tex2D(scene, uv) + tex2D(src, uv) * vecValues1.x;"),
    };
}

class EffectCompile : StandInDevice {
  public:
    EffectCompile() { OpenDevice(64, 64, "fx bench"); }
    bool Ok() const { return device_ != nullptr; }

    bool Compile(const std::string& text) {
        ID3DXEffect* effect = nullptr;
        const HRESULT r = D3DXCreateEffect(device_, text.data(), static_cast<UINT>(text.size()), nullptr,
                                           nullptr, 0, nullptr, &effect, nullptr);
        if (effect)
            effect->Release();
        return SUCCEEDED(r);
    }
};

void Run(benchmark::State& state, const std::vector<std::string>& effects, bool cold) {
    setenv("VTR3_SHADER_CACHE", "off", 1); // cold means glslang; fx_cache_bench times the disk cache
    EffectCompile compile;
    if (!compile.Ok()) {
        state.SkipWithError("no device");
        return;
    }
    for (const std::string& text : effects)
        compile.Compile(text); // the process's first compile pays glslang's start-up once
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            platform::fx::ClearShaderCache();
            state.ResumeTiming();
        }
        for (const std::string& text : effects) {
            if (!compile.Compile(text)) {
                state.SkipWithError("compile failed");
                return;
            }
        }
    }
}

void BM_OnePassEffectCold(benchmark::State& state) {
    Run(state, {kOnePass}, true);
}
void BM_OnePassEffectCached(benchmark::State& state) {
    Run(state, {kOnePass}, false);
}
void BM_NinePostEffectsCold(benchmark::State& state) {
    Run(state, NinePostEffects(), true);
}
void BM_NinePostEffectsCached(benchmark::State& state) {
    Run(state, NinePostEffects(), false);
}

BENCHMARK(BM_OnePassEffectCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OnePassEffectCached)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NinePostEffectsCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NinePostEffectsCached)->Unit(benchmark::kMillisecond);

} // namespace
