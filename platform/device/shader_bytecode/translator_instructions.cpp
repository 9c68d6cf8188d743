// The GLSL of each instruction: an expression of four components, masked into the destination.
#include "device/shader_bytecode/translator_context.h"

namespace platform::device::bytecode {
namespace {

// The number of sources each arithmetic instruction reads in the translated versions.
int SourceCount(const Context& c, std::uint32_t opcode) {
    switch (opcode) {
    case D3DSIO_MOV:
    case D3DSIO_MOVA:
    case D3DSIO_RCP:
    case D3DSIO_RSQ:
    case D3DSIO_EXP:
    case D3DSIO_LOG:
    case D3DSIO_EXPP:
    case D3DSIO_LOGP:
    case D3DSIO_LIT:
    case D3DSIO_FRC:
    case D3DSIO_ABS:
    case D3DSIO_NRM:
    case D3DSIO_DSX:
    case D3DSIO_DSY:
        return 1;
    case D3DSIO_SGN:
        return c.major >= 3 ? 1 : 3;
    case D3DSIO_SINCOS:
        return c.major >= 3 ? 1 : 3;
    case D3DSIO_ADD:
    case D3DSIO_SUB:
    case D3DSIO_MUL:
    case D3DSIO_DP3:
    case D3DSIO_DP4:
    case D3DSIO_MIN:
    case D3DSIO_MAX:
    case D3DSIO_SLT:
    case D3DSIO_SGE:
    case D3DSIO_DST:
    case D3DSIO_M4x4:
    case D3DSIO_M4x3:
    case D3DSIO_M3x4:
    case D3DSIO_M3x3:
    case D3DSIO_M3x2:
    case D3DSIO_POW:
    case D3DSIO_CRS:
    case D3DSIO_TEX:
    case D3DSIO_TEXLDL:
    case D3DSIO_SETP:
        return 2;
    case D3DSIO_MAD:
    case D3DSIO_LRP:
    case D3DSIO_CMP:
    case D3DSIO_DP2ADD:
        return 3;
    case D3DSIO_CND:
        return c.pixel && c.major < 2 ? 3 : -1;
    case D3DSIO_TEXLDD:
        return 4;
    default:
        return -1;
    }
}

// Rows of the matrix instructions and the components each row's product takes.
bool MatrixShape(std::uint32_t opcode, int* rows, int* size) {
    switch (opcode) {
    case D3DSIO_M4x4:
        *rows = 4, *size = 4;
        return true;
    case D3DSIO_M4x3:
        *rows = 3, *size = 4;
        return true;
    case D3DSIO_M3x4:
        *rows = 4, *size = 3;
        return true;
    case D3DSIO_M3x3:
        *rows = 3, *size = 3;
        return true;
    case D3DSIO_M3x2:
        *rows = 2, *size = 3;
        return true;
    default:
        return false;
    }
}

bool Matrix(Context* c, const Instruction& in, const std::string& vector, int rows, int size,
            std::string* value) {
    const char* swizzle = size == 4 ? "" : ".xyz";
    *value = "vec4(";
    for (int row = 0; row < 4; ++row) {
        Parameter p = in.sources[1];
        p.number += static_cast<std::uint32_t>(row);
        std::string column;
        if (row < rows && (p.number < in.sources[1].number || !SourceExpression(c, p, &column)))
            return false;
        *value += row < rows ? "dot(" + vector + swizzle + ", " + column + swizzle + ")" : std::string("0.0");
        *value += row < 3 ? ", " : ")";
    }
    return true;
}

// The sampler of texld and its kin: GLSL's sampler name and the dcl'd texture type.
bool Sampler(const Context& c, const Parameter& p, std::string* name, std::uint32_t* type) {
    if (p.type != D3DSPR_SAMPLER || p.number >= 16 || p.relative || !c.samplerTypes[p.number])
        return false;
    *name = "vtr3_s" + std::to_string(p.number);
    *type = c.samplerTypes[p.number];
    return true;
}

bool TextureSample(Context* c, const Instruction& in, const std::string* s, std::string* value) {
    std::string sampler;
    std::uint32_t type = 0;
    // Vertex shaders sample at an explicit level only.
    if (!Sampler(*c, in.sources[1], &sampler, &type) || (!c->pixel && in.opcode != D3DSIO_TEXLDL))
        return false;
    const std::string coords = type == D3DSTT_2D ? s[0] + ".xy" : s[0] + ".xyz";
    if (in.opcode == D3DSIO_TEXLDL) {
        *value = "textureLod(" + sampler + ", " + coords + ", " + s[0] + ".w)";
    } else if (in.opcode == D3DSIO_TEXLDD) {
        const char* d = type == D3DSTT_2D ? ".xy" : ".xyz";
        *value = "textureGrad(" + sampler + ", " + coords + ", " + s[2] + d + ", " + s[3] + d + ")";
    } else if (in.control == 1) { // projected
        *value = "texture(" + sampler + ", " + coords + " / " + s[0] + ".w)";
    } else if (in.control == 2) { // biased
        *value = "texture(" + sampler + ", " + coords + ", " + s[0] + ".w)";
    } else if (in.control == 0) {
        *value = "texture(" + sampler + ", " + coords + ")";
    } else {
        return false;
    }
    // 3.0 lets the sampler register carry a swizzle of the result.
    const std::uint8_t* sw = in.sources[1].swizzle;
    if (sw[0] != 0 || sw[1] != 1 || sw[2] != 2 || sw[3] != 3)
        *value += std::string(".") + "xyzw"[sw[0]] + "xyzw"[sw[1]] + "xyzw"[sw[2]] + "xyzw"[sw[3]];
    return true;
}

// The four-component value of an arithmetic instruction.
bool Value(Context* c, const Instruction& in, std::string* value) {
    const int count = SourceCount(*c, in.opcode);
    if (count < 0 || in.sourceCount != count || !in.hasDestination)
        return false;
    std::string s[4];
    std::string w[4]; // the scalar of a replicate swizzle
    const bool sampling = in.opcode == D3DSIO_TEX || in.opcode == D3DSIO_TEXLDL || in.opcode == D3DSIO_TEXLDD;
    for (int i = 0; i < count; ++i) {
        if (sampling && i == 1)
            continue;
        if (!SourceExpression(c, in.sources[i], &s[i]) || !ScalarSource(c, in.sources[i], &w[i]))
            return false;
    }
    int rows = 0;
    int size = 0;
    if (MatrixShape(in.opcode, &rows, &size))
        return Matrix(c, in, s[0], rows, size, value);
    switch (in.opcode) {
    case D3DSIO_MOV:
    case D3DSIO_ABS:
        *value = in.opcode == D3DSIO_ABS ? "abs(" + s[0] + ")" : s[0];
        return true;
    case D3DSIO_MOVA:
        *value = s[0];
        return true;
    case D3DSIO_ADD:
        *value = "(" + s[0] + " + " + s[1] + ")";
        return true;
    case D3DSIO_SUB:
        *value = "(" + s[0] + " - " + s[1] + ")";
        return true;
    case D3DSIO_MUL:
        *value = "(" + s[0] + " * " + s[1] + ")";
        return true;
    case D3DSIO_MAD:
        *value = "(" + s[0] + " * " + s[1] + " + " + s[2] + ")";
        return true;
    case D3DSIO_RCP:
        *value = "vec4(1.0 / " + w[0] + ")";
        return true;
    case D3DSIO_RSQ:
        *value = "vec4(inversesqrt(abs(" + w[0] + ")))";
        return true;
    case D3DSIO_EXP:
    case D3DSIO_EXPP: // from 2.0 expp and logp may be as precise as exp and log; 1.x's differ
        *value = "vec4(exp2(" + w[0] + "))";
        return in.opcode == D3DSIO_EXP || c->major >= 2;
    case D3DSIO_LOG:
    case D3DSIO_LOGP:
        *value = "vec4(log2(abs(" + w[0] + ")))";
        return in.opcode == D3DSIO_LOG || c->major >= 2;
    case D3DSIO_POW:
        *value = "vec4(pow(abs(" + w[0] + "), " + w[1] + "))";
        return true;
    case D3DSIO_DP3:
        *value = "vec4(dot(" + s[0] + ".xyz, " + s[1] + ".xyz))";
        return true;
    case D3DSIO_DP4:
        *value = "vec4(dot(" + s[0] + ", " + s[1] + "))";
        return true;
    case D3DSIO_DP2ADD:
        *value = "vec4(dot(" + s[0] + ".xy, " + s[1] + ".xy) + " + w[2] + ")";
        return true;
    case D3DSIO_MIN:
    case D3DSIO_MAX:
        *value = std::string(in.opcode == D3DSIO_MIN ? "min(" : "max(") + s[0] + ", " + s[1] + ")";
        return true;
    case D3DSIO_SLT:
        *value = "vec4(lessThan(" + s[0] + ", " + s[1] + "))";
        return true;
    case D3DSIO_SGE:
        *value = "vec4(greaterThanEqual(" + s[0] + ", " + s[1] + "))";
        return true;
    case D3DSIO_LIT:
        *value = "vtr3_Lit(" + s[0] + ")";
        return true;
    case D3DSIO_DST:
        *value = "vec4(1.0, " + s[0] + ".y * " + s[1] + ".y, " + s[0] + ".z, " + s[1] + ".w)";
        return true;
    case D3DSIO_LRP:
        *value = "mix(" + s[2] + ", " + s[1] + ", " + s[0] + ")";
        return true;
    case D3DSIO_FRC:
        *value = "fract(" + s[0] + ")";
        return true;
    case D3DSIO_CRS:
        *value = "vec4(cross(" + s[0] + ".xyz, " + s[1] + ".xyz), 0.0)";
        return true;
    case D3DSIO_SGN:
        *value = "sign(" + s[0] + ")";
        return true;
    case D3DSIO_NRM:
        *value = "(" + s[0] + " * inversesqrt(dot(" + s[0] + ".xyz, " + s[0] + ".xyz)))";
        return true;
    case D3DSIO_SINCOS:
        *value = "vec4(cos(" + w[0] + "), sin(" + w[0] + "), 0.0, 0.0)";
        return true;
    case D3DSIO_CMP:
        *value = "mix(" + s[2] + ", " + s[1] + ", greaterThanEqual(" + s[0] + ", vec4(0.0)))";
        return true;
    case D3DSIO_CND:
        *value = "mix(" + s[2] + ", " + s[1] + ", greaterThan(" + s[0] + ", vec4(0.5)))";
        return true;
    case D3DSIO_DSX:
    case D3DSIO_DSY:
        *value = std::string(in.opcode == D3DSIO_DSX ? "dFdx(" : "dFdy(") + s[0] + ")";
        return c->pixel;
    case D3DSIO_TEX:
    case D3DSIO_TEXLDL:
    case D3DSIO_TEXLDD:
        return TextureSample(c, in, s, value);
    default:
        return false;
    }
}

bool Assign(Context* c, const Instruction& in, const std::string& value) {
    std::string name;
    if (!DestinationName(c, in.destination, &name))
        return false;
    std::uint32_t mask = in.destination.writeMask;
    if (in.opcode == D3DSIO_SINCOS)
        mask &= 3;
    const bool address = !c->pixel && in.destination.type == D3DSPR_ADDR;
    if (address != (in.opcode == D3DSIO_MOVA || (c->major < 2 && address)))
        return false;
    const bool predicate = in.destination.type == D3DSPR_PREDICATE;
    if (predicate != (in.opcode == D3DSIO_SETP))
        return false;
    std::string v = value;
    // The shift scale of pixel shaders 1.x: x2, x4 and x8 (1 to 3), d8, d4 and d2 (13 to 15).
    static const char* const kScales[16] = {"",      "2.0",   "4.0",   "8.0",   nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, "0.125", "0.25",  "0.5"};
    const char* scale = kScales[in.destination.shift & 15];
    if (!scale)
        return false;
    if (*scale)
        v = "(" + v + " * " + scale + ")";
    if (address) // mova rounds to the nearest integer; vs_1_1's mov to a0 rounds down
        v = c->major < 2 ? "ivec4(floor(" + v + "))" : "ivec4(floor(" + v + " + 0.5))";
    else if (in.destination.modifiers & D3DSPDM_SATURATE)
        v = "clamp(" + v + ", 0.0, 1.0)";
    const std::string suffix = MaskSuffix(mask);
    if (in.predicated) {
        std::string p;
        if (in.predicate.type != D3DSPR_PREDICATE || in.predicate.number != 0 ||
            (in.predicate.sourceModifier != D3DSPSM_NONE && in.predicate.sourceModifier != D3DSPSM_NOT))
            return false;
        p = "p0." + std::string{"xyzw"[in.predicate.swizzle[0]], "xyzw"[in.predicate.swizzle[1]],
                                "xyzw"[in.predicate.swizzle[2]], "xyzw"[in.predicate.swizzle[3]]};
        if (in.predicate.sourceModifier == D3DSPSM_NOT)
            p = "not(" + p + ")";
        v = "mix(" + name + ", " + v + ", " + p + ")";
    }
    c->Line(name + suffix + " = (" + v + ")" + suffix + ";");
    return true;
}

bool Condition(Context* c, const Instruction& in, std::string* condition) {
    if (in.opcode == D3DSIO_IF || in.opcode == D3DSIO_BREAKP) {
        const Parameter& p = in.sources[0];
        if (in.sourceCount != 1)
            return false;
        if (p.type == D3DSPR_CONSTBOOL && p.number < 16 && !p.relative && in.opcode == D3DSIO_IF) {
            *condition = "vtr3_B(" + std::to_string(p.number) + ")";
            return true;
        }
        if (p.type != D3DSPR_PREDICATE || p.number != 0 ||
            (p.sourceModifier != D3DSPSM_NONE && p.sourceModifier != D3DSPSM_NOT))
            return false;
        *condition = std::string(p.sourceModifier == D3DSPSM_NOT ? "!" : "") + "p0." + "xyzw"[p.swizzle[0]];
        return true;
    }
    std::string a;
    std::string b;
    const std::string op = Comparison(in.control);
    if (in.sourceCount != 2 || op.empty() || !ScalarSource(c, in.sources[0], &a) ||
        !ScalarSource(c, in.sources[1], &b))
        return false;
    // A replicate swizzle's component: ScalarSource takes w, which the swizzle fills with it.
    *condition = a + " " + op + " " + b;
    return true;
}

bool FlowControl(Context* c, const Instruction& in) {
    std::string condition;
    switch (in.opcode) {
    case D3DSIO_IF:
    case D3DSIO_IFC:
        if (!Condition(c, in, &condition))
            return false;
        c->Line("if (" + condition + ") {");
        ++c->indent;
        c->loops.push_back("if");
        return true;
    case D3DSIO_ELSE:
        if (c->loops.empty() || c->loops.back() != "if")
            return false;
        c->indent--;
        c->Line("} else {");
        ++c->indent;
        c->loops.back() = "else";
        return true;
    case D3DSIO_ENDIF:
    case D3DSIO_ENDREP:
    case D3DSIO_ENDLOOP: {
        const bool ifBlock = !c->loops.empty() && (c->loops.back() == "if" || c->loops.back() == "else");
        const bool loopBlock = !c->loops.empty() && c->loops.back().compare(0, 2, "aL") == 0;
        const bool repBlock = !c->loops.empty() && c->loops.back().compare(0, 3, "rep") == 0;
        if ((in.opcode == D3DSIO_ENDIF && !ifBlock) || (in.opcode == D3DSIO_ENDREP && !repBlock) ||
            (in.opcode == D3DSIO_ENDLOOP && !loopBlock))
            return false;
        c->loops.pop_back();
        --c->indent;
        c->Line("}");
        return true;
    }
    case D3DSIO_REP:
    case D3DSIO_LOOP: {
        const bool loop = in.opcode == D3DSIO_LOOP;
        const Parameter& counts = in.sources[loop ? 1 : 0];
        if (in.sourceCount != (loop ? 2 : 1) || counts.type != D3DSPR_CONSTINT || counts.number >= 16 ||
            counts.relative || (loop && in.sources[0].type != D3DSPR_LOOP) || c->loops.size() >= 24)
            return false;
        const std::string depth = std::to_string(c->loops.size());
        const std::string i = "vtr3_I(" + std::to_string(counts.number) + ")";
        const std::string counter = "vtr3_n" + depth;
        const std::string name = (loop ? "aL" : "rep") + depth;
        // The count is at most 255, as Direct3D clamps it; aL starts at y and steps by z.
        c->Line("for (int " + counter + " = 0, " + (loop ? name : "vtr3_unused" + depth) + " = " + i +
                ".y; " + counter + " < clamp(" + i + ".x, 0, 255); ++" + counter + ", " +
                (loop ? name : "vtr3_unused" + depth) + " += " + i + ".z) {");
        ++c->indent;
        c->loops.push_back(name);
        return true;
    }
    case D3DSIO_BREAK:
    case D3DSIO_BREAKC:
    case D3DSIO_BREAKP: {
        bool inLoop = false;
        for (const std::string& l : c->loops)
            inLoop |= l.compare(0, 2, "aL") == 0 || l.compare(0, 3, "rep") == 0;
        if (!inLoop || (in.opcode != D3DSIO_BREAK && !Condition(c, in, &condition)))
            return false;
        c->Line(in.opcode == D3DSIO_BREAK ? "break;" : "if (" + condition + ") break;");
        return true;
    }
    default:
        return false;
    }
}

// The arithmetic of pixel shaders 1.x.
bool Ps1Arithmetic(std::uint32_t opcode) {
    switch (opcode) {
    case D3DSIO_MOV:
    case D3DSIO_ADD:
    case D3DSIO_SUB:
    case D3DSIO_MUL:
    case D3DSIO_MAD:
    case D3DSIO_LRP:
    case D3DSIO_DP3:
    case D3DSIO_DP4:
    case D3DSIO_CND:
    case D3DSIO_CMP:
    case D3DSIO_NOP:
    case D3DSIO_DEF:
        return true;
    default:
        return false;
    }
}

} // namespace

bool EmitInstruction(Context* c, const Instruction& in) {
    const bool ps1 = c->pixel && c->major < 2;
    // A co-issued pair writes colour and alpha apart; it runs here one after the other.
    if (in.coissue && !ps1)
        return false;
    if (ps1) {
        bool handled = false;
        if (!EmitPs1Texture(c, in, &handled))
            return false;
        if (handled)
            return true;
        if (!Ps1Arithmetic(in.opcode))
            return false;
    }
    switch (in.opcode) {
    case D3DSIO_NOP:
    case D3DSIO_DCL:
    case D3DSIO_DEF:
    case D3DSIO_DEFI:
    case D3DSIO_DEFB:
        return true;
    case D3DSIO_TEXKILL: {
        std::string name;
        const std::uint32_t mask = c->major >= 2 ? in.destination.writeMask : 7u;
        if (!c->pixel || in.predicated || !DestinationName(c, in.destination, &name))
            return false;
        for (int i = 0; i < 4; ++i)
            if (mask & (1u << i))
                c->Line(std::string("if (") + name + "." + "xyzw"[i] + " < 0.0) discard;");
        return true;
    }
    case D3DSIO_IF:
    case D3DSIO_IFC:
    case D3DSIO_ELSE:
    case D3DSIO_ENDIF:
    case D3DSIO_REP:
    case D3DSIO_ENDREP:
    case D3DSIO_LOOP:
    case D3DSIO_ENDLOOP:
    case D3DSIO_BREAK:
    case D3DSIO_BREAKC:
    case D3DSIO_BREAKP:
        return c->major >= 2 && !in.predicated && FlowControl(c, in);
    case D3DSIO_SETP: {
        std::string a;
        std::string b;
        const std::string op = Comparison(in.control);
        if (op.empty() || in.sourceCount != 2 || !SourceExpression(c, in.sources[0], &a) ||
            !SourceExpression(c, in.sources[1], &b))
            return false;
        static const char* const kVectorOps[] = {
            "", "greaterThan", "equal", "greaterThanEqual", "lessThan", "notEqual", "lessThanEqual", ""};
        return Assign(c, in, std::string(kVectorOps[in.control & 7]) + "(" + a + ", " + b + ")");
    }
    default: {
        std::string value;
        return Value(c, in, &value) && Assign(c, in, value);
    }
    }
}

} // namespace platform::device::bytecode
