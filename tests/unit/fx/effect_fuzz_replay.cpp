// Replays hostile effect texts through the fuzzing entry point of the effect parser: seeds of every
// construct, then deterministic damage (truncation, flipped bytes, repeated openers, spliced seeds)
// until the time budget (VTR3_FUZZ_SECONDS, default 10) is spent, and whole hostile files. Passing
// means: no crash, no hang, no sanitizer report.
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "fuzz_replay.h"
#include "fx_test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

const char* const kSeeds[] = {
    "float4x4 m : WORLD < string UIName = \"m\"; > = {1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1};\n",
    "texture t;\nsampler2D s = sampler_state { Texture = <t>; MinFilter = Linear; AddressU = Clamp; "
    "BorderColor = 0xff00ff00; };\n",
    "float4 PS(float2 uv : TEXCOORD0, uniform bool b) : COLOR0 { return b ? 1 : 0; }\n"
    "technique T < int a = 1; > { pass P { AlphaBlendEnable = true; SrcBlend = SrcAlpha | One;\n"
    "PixelShader = compile ps_2_0 PS(true); Texture[0] = <t>; MinFilter[0] = Point; } }\n",
    "#define A(x) x\n#if defined(A) && (1 << 3) > 7 || !B\n#include \"x.fxh\"\n#elif\n#else\n#endif\n",
    "vertexshader vs = compile vs_2_0 VS();\ntechnique T { pass { VertexShader = (vs); PixelShader = NULL; } "
    "}\n",
    "int I;\npixelshader ps[2] = { compile ps_2_0 P(1), NULL };\ntechnique T { pass { PixelShader = (ps[I]); "
    "VertexShader = (ps[1]); ZEnable = (I > 2 && !(I == 3) ? I * -2 / 0 : -(1)); CullMode = (I ? Cw : None); "
    "LightEnable[15] = 1; LightType[2] = Spot; LightTheta[2] = 2; LightDiffuse[1] = <I>; MaterialPower = "
    "(I); "
    "MaterialEmissive = float4(1, 2); } }\n",
    "#define X X X\n#define Y X Y\nY Y Y\n",
    "technique T { pass P { Bogus = 1; ZFunc = (; PixelShader = compile ps_9 X(); } pass { Lighting = ) } }\n"
    "sampler s = sampler_state { Nope = 1; AddressU = ; };\n",
    "struct S { float a; float2 b[2] : TEXCOORD1; S2 c; };\nstatic float4 v[2] = {1, 2, 3, 4, 5, 6, 7, 8};\n"
    "float4 PS(float2 uv[3] : TEXCOORD1_centroid) : COLOR0 { S s = {1, 2, 3, 4, 5};\n"
    "float4(s.a, s.b[0], v[0].x) = v[1].wzyx; half2(uv[0].x, s.a) = (1, 2); return v[1]; }\n",
    "#define ST(s, v) s = v\n#define CAT(a, b) a ## b\n#define F(a, b) ST(a, CAT(b, 1));\n#define E() \n"
    "technique T < string n = \"x\"; float2 r = {1, 2}; bool b = true; > { pass P < int k = 3; > {\n"
    "F(ZEnable, 0) F(F, G) CAT(Cull, Mode) = None; ST(PixelShader, compile ps_2_0 PS(F(1, 2))); E() F(} } "
    "}\n",
    "#define R(x) R(x) x R(x)\n#define P(x, y) P(y, x) R(y)\ntechnique T { pass { AlphaRef = P(P(1, 2), "
    "R(3)); "
    "ZEnable = P(; } }\n",
    "vertexshader vs = asm { vs_1_1 ; } comment\n mov oPos, v0 };\npixelshader ps[2] = { asm { ps_2_0 }, "
    "NULL "
    "};\ntechnique T { pass { VertexShader = asm { vs_2_0 { ; {\n }; PixelShader = asm ; } }\n",
    "struct A { float3 c; int n; row_major float2x2 m[2]; };\nstruct B { A a[3] : X; B b; float f, g[0]; };\n"
    "struct C { A a[4096]; };\nA s = {1, 2, 3, 4};\nB t[2] < int k = 1; >;\nshared A u[100000];\nC c;\n",
};

// Whole files from outside that are no effects: random bytes, random text, declarations past their
// limit within the size limit, and past that.
std::vector<std::string> HostileFiles(std::mt19937* random) {
    std::string bytes(65536, ' '), text(65536, ' '), declarations;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((*random)());
        text[i] = static_cast<char>(' ' + (*random)() % 95);
    }
    for (int k = 0; declarations.size() < 1000000; ++k)
        declarations += "float a" + std::to_string(k) + ";\n";
    return {bytes, text, declarations, declarations + Repeat("float4 b;\n", 10000)};
}

} // namespace

int main() {
    const auto deadline = FuzzDeadline(10);
    std::vector<std::string> seeds(std::begin(kSeeds), std::end(kSeeds));
    for (const HostileText& sized : OverBudgetTexts())
        seeds.push_back(sized.text);
    std::mt19937 random(20261206);
    std::size_t runs = 0;
    const auto run = [&runs](const std::string& text) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        ++runs;
    };
    for (const std::string& seed : seeds)
        run(seed);
    for (const std::string& file : HostileFiles(&random))
        run(file);
    run(std::string(200000, '('));
    run("#if " + std::string(100000, '(') + "1\n#endif\n");
    run("#if " + std::string(100000, '!') + "1\n#endif\n");
    const TextDamage kinds{6, 2000, "({<[#\"", true};
    ReplayRounds(200000, deadline, [&](int round) {
        const std::string& seed = seeds[static_cast<std::size_t>(round) % seeds.size()];
        run(DamageText(seed, seeds[random() % seeds.size()], kinds, &random));
    });
    std::printf("%zu effect inputs replayed\n", runs);
    return 0;
}
