// The fixed-function pixel stage: Direct3D 9's texture stage cascade (operations, arguments and
// their modifiers, the current and temporary registers), the specular add and the alpha test.
#include "device/fixed_function/glsl_generator.h"

#include "device/shader_interface.h"

#include <d3d9types.h>

namespace platform::device {
namespace {

// vtr3_AlphaPasses (shader_interface.h) takes the D3DCMP numbers.
static_assert(D3DCMP_NEVER == 1 && D3DCMP_LESS == 2 && D3DCMP_GREATEREQUAL == 7 && D3DCMP_ALWAYS == 8);

std::string Num(unsigned value) {
    return std::to_string(value);
}

// One argument (D3DTA_* with its modifiers) as a vec4 expression.
std::string Argument(std::uint8_t arg, unsigned stage) {
    std::string value;
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE:
        value = "diffuse";
        break;
    case D3DTA_TEXTURE:
        value = "texel" + Num(stage);
        break;
    case D3DTA_TFACTOR:
        value = "vtr3_ff.textureFactor";
        break;
    case D3DTA_SPECULAR:
        value = "specular";
        break;
    case D3DTA_TEMP:
        value = "temp";
        break;
    case D3DTA_CONSTANT:
        value = "vtr3_ff.stageConstant[" + Num(stage) + "]";
        break;
    default:
        value = "current";
        break;
    }
    if (arg & D3DTA_ALPHAREPLICATE)
        value = "vec4(" + value + ".a)";
    if (arg & D3DTA_COMPLEMENT)
        value = "(1.0 - " + value + ")";
    return value;
}

// The operation on arguments already narrowed to the channels computed (".rgb" or ".a").
std::string Operation(std::uint8_t op, const std::string a[3], const std::string& channels, unsigned stage) {
    const std::string a0 = a[0] + channels;
    const std::string a1 = a[1] + channels;
    const std::string a2 = a[2] + channels;
    const std::string texel = "texel" + Num(stage);
    if (channels == ".a" && op >= D3DTOP_MODULATEALPHA_ADDCOLOR && op <= D3DTOP_MODULATEINVCOLOR_ADDALPHA)
        return a1; // colour-only operations; Direct3D refuses them as alpha operations
    switch (op) {
    case D3DTOP_SELECTARG1:
        return a1;
    case D3DTOP_SELECTARG2:
        return a2;
    case D3DTOP_MODULATE:
        return a1 + " * " + a2;
    case D3DTOP_MODULATE2X:
        return a1 + " * " + a2 + " * 2.0";
    case D3DTOP_MODULATE4X:
        return a1 + " * " + a2 + " * 4.0";
    case D3DTOP_ADD:
        return a1 + " + " + a2;
    case D3DTOP_ADDSIGNED:
        return a1 + " + " + a2 + " - 0.5";
    case D3DTOP_ADDSIGNED2X:
        return "(" + a1 + " + " + a2 + " - 0.5) * 2.0";
    case D3DTOP_SUBTRACT:
        return a1 + " - " + a2;
    case D3DTOP_ADDSMOOTH:
        return a1 + " + " + a2 + " * (1.0 - " + a1 + ")";
    case D3DTOP_BLENDDIFFUSEALPHA:
        return "mix(" + a2 + ", " + a1 + ", diffuse.a)";
    case D3DTOP_BLENDTEXTUREALPHA:
        return "mix(" + a2 + ", " + a1 + ", " + texel + ".a)";
    case D3DTOP_BLENDFACTORALPHA:
        return "mix(" + a2 + ", " + a1 + ", vtr3_ff.textureFactor.a)";
    case D3DTOP_BLENDTEXTUREALPHAPM:
        return a1 + " + " + a2 + " * (1.0 - " + texel + ".a)";
    case D3DTOP_BLENDCURRENTALPHA:
        return "mix(" + a2 + ", " + a1 + ", current.a)";
    case D3DTOP_MODULATEALPHA_ADDCOLOR:
        return a[1] + ".rgb + " + a[1] + ".a * " + a[2] + ".rgb";
    case D3DTOP_MODULATECOLOR_ADDALPHA:
        return a[1] + ".rgb * " + a[2] + ".rgb + " + a[1] + ".a";
    case D3DTOP_MODULATEINVALPHA_ADDCOLOR:
        return "(1.0 - " + a[1] + ".a) * " + a[2] + ".rgb + " + a[1] + ".rgb";
    case D3DTOP_MODULATEINVCOLOR_ADDALPHA:
        return "(1.0 - " + a[1] + ".rgb) * " + a[2] + ".rgb + " + a[1] + ".a";
    case D3DTOP_DOTPRODUCT3:
        return "vec4(4.0 * dot(" + a[1] + ".rgb - 0.5, " + a[2] + ".rgb - 0.5))" + channels;
    case D3DTOP_MULTIPLYADD:
        return a0 + " + " + a1 + " * " + a2;
    case D3DTOP_LERP:
        return "mix(" + a2 + ", " + a1 + ", " + a0 + ")";
    default:
        // Premodulation and bump mapping are not offered: the stage passes its first argument on.
        return a1;
    }
}

std::string Sample(StageTextureKind kind, bool projected, unsigned stage) {
    const std::string coord = "vtr3_TexCoord" + Num(stage);
    const std::string sampler = "vtr3_Texture" + Num(stage);
    switch (kind) {
    case StageTextureKind::k2d:
        return projected ? "textureProj(" + sampler + ", " + coord + ".xyw)"
                         : "texture(" + sampler + ", " + coord + ".xy)";
    case StageTextureKind::kCube:
        return "texture(" + sampler + ", " + coord + ".xyz)";
    case StageTextureKind::kVolume:
        return projected ? "textureProj(" + sampler + ", " + coord + ")"
                         : "texture(" + sampler + ", " + coord + ".xyz)";
    default:
        // Direct3D reads a stage without a texture as opaque white.
        return "vec4(1.0)";
    }
}

const char* SamplerType(StageTextureKind kind) {
    switch (kind) {
    case StageTextureKind::kCube:
        return "samplerCube";
    case StageTextureKind::kVolume:
        return "sampler3D";
    default:
        return "sampler2D";
    }
}

void AppendDeclarations(const PixelProgramKey& key, std::string* s) {
    const char* interpolation = key.flatShading ? "flat " : "";
    *s += "layout(location = " + Num(kVaryingColor0) + ") " + interpolation + "in vec4 vtr3_Color0;\n";
    *s += "layout(location = " + Num(kVaryingColor1) + ") " + interpolation + "in vec4 vtr3_Color1;\n";
    *s += "layout(location = " + Num(kVaryingFog) + ") in vec4 vtr3_Fog;\n";
    for (unsigned stage = 0; stage < kFixedStages; ++stage) {
        const StageKey& k = key.stages[stage];
        if (k.colorOp == 0 || k.texture == StageTextureKind::kNone)
            continue;
        *s += "layout(location = " + Num(kVaryingTexCoord0 + stage) + ") in vec4 vtr3_TexCoord" + Num(stage) +
              ";\n";
        *s += "layout(binding = " + Num(stage) + ") uniform " + SamplerType(k.texture) + " vtr3_Texture" +
              Num(stage) + ";\n";
    }
    *s += "layout(location = 0) out vec4 vtr3_Target0;\n";
}

void AppendStage(const StageKey& k, unsigned stage, std::string* s) {
    const std::string target = k.resultArg == D3DTA_TEMP ? "temp" : "current";
    const std::string colorArgs[3] = {Argument(k.colorArg[0], stage), Argument(k.colorArg[1], stage),
                                      Argument(k.colorArg[2], stage)};
    const std::string alphaArgs[3] = {Argument(k.alphaArg[0], stage), Argument(k.alphaArg[1], stage),
                                      Argument(k.alphaArg[2], stage)};
    *s += "    {\n        vec4 texel" + Num(stage) + " = " + Sample(k.texture, k.projected, stage) + ";\n";
    *s += "        vec3 color = " + Operation(k.colorOp, colorArgs, ".rgb", stage) + ";\n";
    if (k.colorOp == D3DTOP_DOTPRODUCT3)
        *s += "        float alpha = color.r;\n"; // the dot product goes to alpha as well
    else if (k.alphaOp == D3DTOP_DISABLE)
        *s += "        float alpha = current.a;\n";
    else
        *s += "        float alpha = " + Operation(k.alphaOp, alphaArgs, ".a", stage) + ";\n";
    *s += "        " + target + " = clamp(vec4(color, alpha), 0.0, 1.0);\n    }\n";
}

} // namespace

std::string GeneratePixelGlsl(const PixelProgramKey& key) {
    std::string s = "#version 450\n";
    s += kFixedPixelBlockGlsl;
    s += kAlphaTestGlsl;
    s += kFogFactorGlsl;
    s += kFogGlsl;
    AppendDeclarations(key, &s);
    s += "void main() {\n"
         "    vec4 diffuse = vtr3_Color0;\n"
         "    vec4 specular = vtr3_Color1;\n"
         "    vec4 current = diffuse;\n"
         "    vec4 temp = vec4(0.0);\n";
    for (unsigned stage = 0; stage < kFixedStages && key.stages[stage].colorOp != 0; ++stage)
        AppendStage(key.stages[stage], stage, &s);
    if (key.specularAdd)
        s += "    current.rgb = clamp(current.rgb + specular.rgb, 0.0, 1.0);\n";
    s += "    current.rgb = vtr3_Fogged(current.rgb, vtr3_Fog.x);\n";
    // The function is a constant here: the program is generated per function.
    if (key.alphaTestFunc != 0)
        s += "    if (!vtr3_AlphaPasses(current.a, " + Num(key.alphaTestFunc) + ")) discard;\n";
    s += "    vtr3_Target0 = current;\n}\n";
    return s;
}

} // namespace platform::device
