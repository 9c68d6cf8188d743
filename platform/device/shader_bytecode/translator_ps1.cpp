// Pixel shaders 1.1 to 1.4: the texture registers and the texture-addressing instructions. Without
// dcl, a sampler's texture type follows the instruction: the texm3x3 family reads cube maps, the
// others 2D textures. The bump-mapping instructions (texbem, texbeml, bem) read the bump matrices of
// the texture stage states from the fixed-function pixel block.
#include "device/shader_bytecode/translator_context.h"
#include "device/shader_interface.h"

namespace platform::device::bytecode {
namespace {

std::string Num(std::uint32_t n) {
    return std::to_string(n);
}

// The texture coordinates of stage n as they arrive.
std::string Coord(std::uint32_t n) {
    return "vtr3_v" + Num(kVaryingTexCoord0 + n);
}

bool Sample(Context* c, std::uint32_t stage, std::uint32_t type, const std::string& coords,
            std::string* glsl) {
    if (stage >= 8 || (c->samplerTypes[stage] && c->samplerTypes[stage] != type))
        return false;
    c->samplerTypes[stage] = type;
    *glsl = "texture(vtr3_s" + Num(stage) + ", " + coords + ")";
    return true;
}

// The texture register an instruction of 1.1 to 1.3 writes.
bool TextureDestination(const Context& c, const Instruction& in, std::uint32_t* n) {
    *n = in.destination.number;
    return c.major == 1 && c.program.minor < 4 && in.hasDestination &&
           in.destination.type == D3DSPR_TEXTURE && *n < 4 && !in.destination.relative &&
           in.destination.writeMask == 0xF;
}

// ps_1_4's texld and texcrd source: a texture coordinate set or, in the second phase, a temporary;
// _dz and _dw divide by z or w.
bool Ps14Coordinates(Context* c, const Parameter& p, std::string* glsl) {
    std::string base;
    Parameter plain = p;
    plain.sourceModifier = D3DSPSM_NONE;
    if (p.type == D3DSPR_TEXTURE && p.number < 6 && !p.relative)
        base = Coord(p.number);
    else if (p.type != D3DSPR_TEMP || !SourceExpression(c, plain, &base))
        return false;
    if (p.sourceModifier == D3DSPSM_DZ)
        *glsl = "vec4(" + base + ".xy / " + base + ".z, " + base + ".zw)";
    else if (p.sourceModifier == D3DSPSM_DW)
        *glsl = "vec4(" + base + ".xyz / " + base + ".w, " + base + ".w)";
    else
        *glsl = base;
    return p.sourceModifier == D3DSPSM_NONE || p.sourceModifier == D3DSPSM_DZ ||
           p.sourceModifier == D3DSPSM_DW;
}

bool Ps14(Context* c, const Instruction& in) {
    const Parameter& d = in.destination;
    if (in.opcode == D3DSIO_PHASE)
        return true;
    if (in.opcode == D3DSIO_TEXDEPTH) {
        if (d.type != D3DSPR_TEMP || d.number != 5)
            return false;
        c->depthOutput = true;
        c->Line("oDepth = vec4(r5.y == 0.0 ? 1.0 : r5.x / r5.y);");
        return true;
    }
    std::string coords;
    std::string name;
    if (in.sourceCount != 1 || d.type != D3DSPR_TEMP || d.number >= 6 || d.relative ||
        !Ps14Coordinates(c, in.sources[0], &coords))
        return false;
    name = "r" + Num(d.number);
    if (in.opcode == D3DSIO_TEXCOORD) { // texcrd
        c->Line(name + MaskSuffix(d.writeMask) + " = vec4(" + coords + ".xyz, 1.0)" +
                MaskSuffix(d.writeMask) + ";");
        return true;
    }
    std::string sample;
    if (in.opcode != D3DSIO_TEX || !Sample(c, d.number, D3DSTT_2D, coords + ".xy", &sample))
        return false;
    c->Line(name + " = " + sample + ";");
    return true;
}

// A coordinate pair moved by stage n's bump matrix applied to the red and green of a source:
// (u + M00 du + M10 dv, v + M01 du + M11 dv).
std::string Bumped(std::uint32_t n, const std::string& uv, const std::string& source) {
    const std::string m = "vtr3_ff.bumpMatrix[" + Num(n) + "]";
    return "(" + uv + " + " + source + ".x * " + m + ".xy + " + source + ".y * " + m + ".zw)";
}

// The dot product of stage n's coordinates with a source, for the texm3x2 and texm3x3 families.
bool Row(Context* c, std::uint32_t n, const Instruction& in, std::string* glsl) {
    std::string source;
    if (in.sourceCount < 1 || !SourceExpression(c, in.sources[0], &source))
        return false;
    *glsl = "dot(" + Coord(n) + ".xyz, " + source + ".xyz)";
    return true;
}

} // namespace

bool EmitPs1Texture(Context* c, const Instruction& in, bool* handled) {
    *handled = true;
    if (c->program.minor >= 4 && (in.opcode == D3DSIO_TEX || in.opcode == D3DSIO_TEXCOORD ||
                                  in.opcode == D3DSIO_PHASE || in.opcode == D3DSIO_TEXDEPTH))
        return Ps14(c, in);
    if (in.opcode == D3DSIO_TEXKILL) {
        const Parameter& d = in.destination;
        std::string value;
        if (c->program.minor < 4 && d.type == D3DSPR_TEXTURE && d.number < 4)
            value = Coord(d.number);
        else if (c->program.minor >= 4 && !Ps14Coordinates(c, Parameter(d), &value))
            return false;
        c->Line("if (any(lessThan(" + value + ".xyz, vec3(0.0)))) discard;");
        return !value.empty();
    }
    std::uint32_t n = 0;
    const std::string t = "t" + Num(in.destination.number);
    std::string row;
    std::string sample;
    switch (in.opcode) {
    case D3DSIO_TEX:
        if (!TextureDestination(*c, in, &n) || in.sourceCount ||
            !Sample(c, n, D3DSTT_2D, Coord(n) + ".xy", &sample))
            return false;
        c->Line(t + " = " + sample + ";");
        return true;
    case D3DSIO_TEXCOORD:
        if (!TextureDestination(*c, in, &n) || in.sourceCount)
            return false;
        c->Line(t + " = vec4(clamp(" + Coord(n) + ".xyz, 0.0, 1.0), 1.0);");
        return true;
    case D3DSIO_TEXREG2AR:
    case D3DSIO_TEXREG2GB:
    case D3DSIO_TEXREG2RGB: {
        std::string s;
        const char* parts = in.opcode == D3DSIO_TEXREG2AR   ? ".wx"
                            : in.opcode == D3DSIO_TEXREG2GB ? ".yz"
                                                            : ".xy";
        if (!TextureDestination(*c, in, &n) || in.sourceCount != 1 ||
            !SourceExpression(c, in.sources[0], &s) || !Sample(c, n, D3DSTT_2D, s + parts, &sample))
            return false;
        c->Line(t + " = " + sample + ";");
        return true;
    }
    case D3DSIO_TEXM3x2PAD:
    case D3DSIO_TEXM3x3PAD:
        if (!TextureDestination(*c, in, &n) || !Row(c, n, in, &row) || c->matrixRow > 1)
            return false;
        c->Line(std::string("vtr3_m.") + "xy"[c->matrixRow++] + " = " + row + ";");
        return true;
    case D3DSIO_TEXM3x2TEX:
    case D3DSIO_TEXM3x2DEPTH: {
        if (!TextureDestination(*c, in, &n) || !Row(c, n, in, &row) || c->matrixRow != 1)
            return false;
        c->matrixRow = 0;
        c->Line("vtr3_m.y = " + row + ";");
        if (in.opcode == D3DSIO_TEXM3x2DEPTH) {
            c->depthOutput = true;
            c->Line("oDepth = vec4(vtr3_m.y == 0.0 ? 1.0 : vtr3_m.x / vtr3_m.y);");
            return true;
        }
        if (!Sample(c, n, D3DSTT_2D, "vtr3_m.xy", &sample))
            return false;
        c->Line(t + " = " + sample + ";");
        return true;
    }
    case D3DSIO_TEXM3x3TEX:
    case D3DSIO_TEXM3x3:
    case D3DSIO_TEXM3x3SPEC:
    case D3DSIO_TEXM3x3VSPEC: {
        const bool spec = in.opcode == D3DSIO_TEXM3x3SPEC;
        std::string eye;
        if (!TextureDestination(*c, in, &n) || !Row(c, n, in, &row) || c->matrixRow != 2 || n < 2 ||
            in.sourceCount != (spec ? 2 : 1) || (spec && !SourceExpression(c, in.sources[1], &eye)))
            return false;
        c->matrixRow = 0;
        c->Line("vtr3_m.z = " + row + ";");
        if (in.opcode == D3DSIO_TEXM3x3) {
            c->Line(t + " = vec4(vtr3_m, 1.0);");
            return true;
        }
        std::string coords = "vtr3_m";
        if (in.opcode != D3DSIO_TEXM3x3TEX) {
            // The normal reflects the eye vector: a constant, or the w of the three coordinate sets.
            if (!spec)
                eye = "vec3(" + Coord(n - 2) + ".w, " + Coord(n - 1) + ".w, " + Coord(n) + ".w)";
            else
                eye += ".xyz";
            coords = "(2.0 * dot(vtr3_m, " + eye + ") / dot(vtr3_m, vtr3_m) * vtr3_m - " + eye + ")";
        }
        if (!Sample(c, n, D3DSTT_CUBE, coords, &sample))
            return false;
        c->Line(t + " = " + sample + ";");
        return true;
    }
    case D3DSIO_TEXDP3TEX:
    case D3DSIO_TEXDP3:
        if (!TextureDestination(*c, in, &n) || !Row(c, n, in, &row))
            return false;
        if (in.opcode == D3DSIO_TEXDP3) {
            c->Line(t + " = vec4(" + row + ");");
            return true;
        }
        if (!Sample(c, n, D3DSTT_2D, "vec2(" + row + ", 0.0)", &sample))
            return false;
        c->Line(t + " = " + sample + ";");
        return true;
    case D3DSIO_TEXBEM:
    case D3DSIO_TEXBEML: {
        // Stage n samples at its coordinates moved by an earlier stage's (du, dv); texbeml scales
        // the texel by that stage's blue times the luminance scale plus the offset.
        const Parameter& source = in.sources[0];
        std::string s;
        if (!TextureDestination(*c, in, &n) || in.sourceCount != 1 || source.type != D3DSPR_TEXTURE ||
            source.number >= n || !SourceExpression(c, source, &s) ||
            !Sample(c, n, D3DSTT_2D, Bumped(n, Coord(n) + ".xy", s), &sample))
            return false;
        c->Line(t + " = " + sample + ";");
        if (in.opcode == D3DSIO_TEXBEML)
            c->Line(t + " *= " + s + ".z * vtr3_ff.bumpLuminance[" + Num(n) + "].x + vtr3_ff.bumpLuminance[" +
                    Num(n) + "].y;");
        return true;
    }
    case D3DSIO_BEM: {
        // ps_1_4: dst.rg = src0.rg moved by src1's (du, dv) through the matrix of stage dst.
        const Parameter& d = in.destination;
        std::string s0;
        std::string s1;
        if (c->program.minor < 4 || in.sourceCount != 2 || d.type != D3DSPR_TEMP || d.number >= 6 ||
            d.relative || d.writeMask != 0x3 || !SourceExpression(c, in.sources[0], &s0) ||
            !SourceExpression(c, in.sources[1], &s1))
            return false;
        c->Line("r" + Num(d.number) + ".xy = " + Bumped(d.number, s0 + ".xy", s1) + ";");
        return true;
    }
    case D3DSIO_TEXDEPTH:
    case D3DSIO_PHASE:
        return false;
    default:
        *handled = false;
        return true;
    }
}

} // namespace platform::device::bytecode
