// Register names and operand expressions of the translated GLSL. Every register is a global vec4
// named after its Direct3D register (r3, c[...], oT1, o5, oC0), except the address register a0
// (an ivec4) and the predicate p0 (a bvec4).
#include "device/shader_bytecode/translator_context.h"

#include <cstdio>
#include <cstring>

namespace platform::device::bytecode {
namespace {

std::string Num(std::uint32_t n) {
    return std::to_string(n);
}

// The largest register number + 1 of each type the translated versions have.
std::uint32_t RegisterCount(const Context& c, std::uint32_t type) {
    const bool ps1 = c.pixel && c.major < 2;
    switch (type) {
    case D3DSPR_TEMP:
        return !ps1 ? 32 : c.program.minor >= 4 ? 6 : 2;
    case D3DSPR_INPUT:
        return !c.pixel ? 16 : c.major >= 3 ? 10 : 2;
    case D3DSPR_CONST:
        return ps1 ? 8 : c.pixel ? 224 : 256;
    case D3DSPR_TEXTURE: // a0 in vertex shaders; ps_1_4 reads coordinates only through texld and texcrd
        return !c.pixel ? 1 : ps1 ? (c.program.minor >= 4 ? 0 : 4) : c.major >= 3 ? 0 : 8;
    case D3DSPR_CONSTINT:
        return 16;
    case D3DSPR_RASTOUT:
        return c.pixel || c.major >= 3 ? 0 : 3;
    case D3DSPR_ATTROUT:
        return c.pixel || c.major >= 3 ? 0 : 2;
    case D3DSPR_OUTPUT:
        return c.pixel ? 0 : c.major >= 3 ? 12 : 8;
    case D3DSPR_COLOROUT:
        return c.pixel ? 4 : 0;
    case D3DSPR_DEPTHOUT:
        return c.pixel ? 1 : 0;
    case D3DSPR_MISCTYPE:
        return c.pixel && c.major >= 3 ? 2 : 0;
    case D3DSPR_PREDICATE:
        return c.major >= 2 && !(c.major == 2 && c.program.minor == 0) ? 1 : 0;
    default:
        return 0;
    }
}

// The integer expression of a relative address: a0's or the loop counter's component.
bool AddressExpression(const Context& c, const Parameter& p, std::string* glsl) {
    if (c.major < 2) { // vs_1_1: always a0.x
        *glsl = "a0.x";
        return !c.pixel;
    }
    static const char kComponents[] = "xyzw";
    if (p.address.type == D3DSPR_ADDR && !c.pixel && p.address.number == 0) {
        *glsl = std::string("a0.") + kComponents[p.address.component];
        return true;
    }
    if (p.address.type != D3DSPR_LOOP || p.address.number != 0)
        return false;
    for (auto loop = c.loops.rbegin(); loop != c.loops.rend(); ++loop)
        if (loop->compare(0, 2, "aL") == 0) {
            *glsl = *loop; // the innermost loop's counter
            return true;
        }
    return false;
}

bool RegisterExpression(Context* c, const Parameter& p, bool destination, std::string* glsl) {
    if (p.number >= RegisterCount(*c, p.type))
        return false;
    const std::string n = Num(p.number);
    if (p.relative) {
        std::string address;
        if (!AddressExpression(*c, p, &address))
            return false;
        if (p.type == D3DSPR_CONST && !destination) {
            *glsl = "vtr3_C(" + address + " + " + n + ")";
            return true;
        }
        return false; // relative temps, inputs and outputs are not translated
    }
    switch (p.type) {
    case D3DSPR_TEMP:
        *glsl = "r" + n;
        return true;
    case D3DSPR_INPUT:
        *glsl = "v" + n;
        return !destination;
    case D3DSPR_CONST:
        *glsl = c->floatDefs.count(p.number) ? "vtr3_d" + n : "vtr3_k.c[" + n + "]";
        if (c->pixel && c->major < 2) // constants of pixel shaders 1.x range from -1 to 1
            *glsl = "clamp(" + *glsl + ", -1.0, 1.0)";
        return !destination;
    case D3DSPR_TEXTURE:
        *glsl = c->pixel ? "t" + n : destination ? "a0" : "vec4(a0)";
        return !destination || !c->pixel || c->major < 2;
    case D3DSPR_CONSTINT:
        *glsl = "vec4(vtr3_I(" + n + "))";
        return !destination;
    case D3DSPR_RASTOUT:
        *glsl = p.number == 0 ? "oPos" : p.number == 1 ? "oFog" : "oPts";
        return destination;
    case D3DSPR_ATTROUT:
        *glsl = "oD" + n;
        return destination;
    case D3DSPR_OUTPUT:
        *glsl = (c->major >= 3 ? "o" : "oT") + n;
        return destination;
    case D3DSPR_COLOROUT:
        *glsl = "oC" + n;
        c->colorOutputs |= 1u << p.number;
        return destination;
    case D3DSPR_DEPTHOUT:
        *glsl = "oDepth";
        c->depthOutput = true;
        return destination;
    case D3DSPR_MISCTYPE:
        *glsl = p.number == 0 ? "vec4(gl_FragCoord.xy - vec2(0.5), 0.0, 1.0)"
                              : "vec4(gl_FrontFacing ? 1.0 : -1.0)";
        return !destination;
    case D3DSPR_PREDICATE:
        *glsl = "p0";
        return destination;
    default:
        return false;
    }
}

} // namespace

std::string MaskSuffix(std::uint32_t writeMask) {
    if ((writeMask & 0xF) == 0xF)
        return "";
    std::string suffix = ".";
    for (int i = 0; i < 4; ++i)
        if (writeMask & (1u << i))
            suffix += "xyzw"[i];
    return suffix;
}

std::string FloatLiteral(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    if (value != value)
        return "(0.0 / 0.0)";
    if (value > 3.4e38f || value < -3.4e38f)
        return value > 0 ? "(1.0 / 0.0)" : "(-1.0 / 0.0)";
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    std::string literal = text;
    if (literal.find_first_of(".e") == std::string::npos)
        literal += ".0";
    return literal;
}

std::string Comparison(std::uint32_t control) {
    static const char* const kOperators[] = {"", ">", "==", ">=", "<", "!=", "<=", ""};
    return kOperators[control & 7];
}

bool DestinationName(Context* c, const Parameter& p, std::string* glsl) {
    // The shift scale belongs to pixel shaders 1.x; _centroid only to dcl.
    const bool ps1 = c->pixel && c->major < 2;
    if ((p.shift != 0 && !ps1) || (p.modifiers & ~(D3DSPDM_SATURATE | D3DSPDM_PARTIALPRECISION)) ||
        p.writeMask == 0)
        return false;
    return RegisterExpression(c, p, true, glsl);
}

bool SourceExpression(Context* c, const Parameter& p, std::string* glsl) {
    std::string value;
    if (!RegisterExpression(c, p, false, &value))
        return false;
    if (p.swizzle[0] != 0 || p.swizzle[1] != 1 || p.swizzle[2] != 2 || p.swizzle[3] != 3) {
        value += '.';
        for (int i = 0; i < 4; ++i)
            value += "xyzw"[p.swizzle[i]];
    }
    switch (p.sourceModifier) {
    case D3DSPSM_NONE:
        *glsl = value;
        return true;
    case D3DSPSM_NEG:
        *glsl = "(-" + value + ")";
        return true;
    case D3DSPSM_ABS:
        *glsl = "abs(" + value + ")";
        return c->major >= 2;
    case D3DSPSM_ABSNEG:
        *glsl = "(-abs(" + value + "))";
        return c->major >= 2;
    default:
        break;
    }
    // Pixel shaders 1.x only (x2 from 1.4; dz and dw belong to texld and texcrd).
    const bool ps1 = c->pixel && c->major < 2;
    const bool ps14 = ps1 && c->program.minor >= 4;
    switch (p.sourceModifier) {
    case D3DSPSM_BIAS:
        *glsl = "(" + value + " - 0.5)";
        return ps1;
    case D3DSPSM_BIASNEG:
        *glsl = "(0.5 - " + value + ")";
        return ps1;
    case D3DSPSM_SIGN:
        *glsl = "(2.0 * " + value + " - 1.0)";
        return ps1;
    case D3DSPSM_SIGNNEG:
        *glsl = "(1.0 - 2.0 * " + value + ")";
        return ps1;
    case D3DSPSM_COMP:
        *glsl = "(1.0 - " + value + ")";
        return ps1;
    case D3DSPSM_X2:
        *glsl = "(2.0 * " + value + ")";
        return ps14;
    case D3DSPSM_X2NEG:
        *glsl = "(-2.0 * " + value + ")";
        return ps14;
    default:
        return false;
    }
}

bool ScalarSource(Context* c, const Parameter& p, std::string* glsl) {
    std::string value;
    if (!SourceExpression(c, p, &value))
        return false;
    // A replicate swizzle picks the component; without one, Direct3D reads w.
    *glsl = value + ".w";
    return true;
}

} // namespace platform::device::bytecode
