// The translator's frame: versions, declarations (dcl, def), subroutines, and the GLSL around the
// instructions that moves inputs into registers and registers out through the program contract.
#include "device/shader_bytecode/translator.h"

#include "device/shader_bytecode/translator_context.h"
#include "device/shader_interface.h"
#include "device/vertex_input.h"

#include <set>

namespace platform::device::bytecode {
namespace {

std::string Num(std::uint32_t n) {
    return std::to_string(n);
}

bool VersionTranslated(const Program& p) {
    const std::uint32_t v = p.major << 8 | p.minor;
    return p.pixel ? ((v >= 0x101 && v <= 0x104) || v == 0x200 || v == 0x201 || v == 0x300)
                   : (v == 0x101 || v == 0x200 || v == 0x201 || v == 0x300);
}

// The varying a semantic travels in, or -1 where the program contract has none.
int VaryingOf(std::uint32_t usage, std::uint32_t index) {
    if (usage == D3DDECLUSAGE_COLOR && index < 2)
        return kVaryingColor0 + static_cast<int>(index);
    if (usage == D3DDECLUSAGE_TEXCOORD && index < 8)
        return kVaryingTexCoord0 + static_cast<int>(index);
    if (usage == D3DDECLUSAGE_FOG && index == 0)
        return kVaryingFog;
    return -1;
}

// The components of a write mask, in order ("zw").
std::string Components(std::uint32_t mask) {
    std::string s;
    for (int i = 0; i < 4; ++i)
        if (mask & (1u << i))
            s += "xyzw"[i];
    return s;
}

// A register's masked components packed to the front of a varying, the rest 0, 0, 0, 1.
std::string Packed(const std::string& reg, std::uint32_t mask) {
    const std::string parts = Components(mask);
    static const char* const kFill[] = {"", ", 0.0, 0.0, 1.0", ", 0.0, 1.0", ", 1.0", ""};
    if (parts.size() == 4)
        return reg;
    return "vec4(" + reg + "." + parts + kFill[parts.size()] + ")";
}

bool Declare(Context* c, const Instruction& in) {
    const Parameter& d = in.destination;
    Declaration decl{d.type,        d.number,    in.usage,
                     in.usageIndex, d.writeMask, (d.modifiers & D3DSPDM_MSAMPCENTROID) != 0};
    if (d.type == D3DSPR_SAMPLER) {
        const bool known =
            in.textureType == D3DSTT_2D || in.textureType == D3DSTT_CUBE || in.textureType == D3DSTT_VOLUME;
        if (d.number >= (c->pixel ? 16u : c->major >= 3 ? unsigned{kVertexSamplers} : 0u) || !known)
            return false;
        c->samplerTypes[d.number] = in.textureType;
        return true;
    }
    if (d.type == D3DSPR_MISCTYPE)
        return c->pixel && c->major >= 3 && d.number < 2;
    if (!c->pixel && d.type == D3DSPR_INPUT && d.number < 16) {
        if (AttributeLocationOf(in.usage, in.usageIndex) < 0)
            return false;
        c->inputs.push_back(decl);
        return true;
    }
    if (!c->pixel && c->major >= 3 && d.type == D3DSPR_OUTPUT && d.number < 12) {
        const bool known = VaryingOf(in.usage, in.usageIndex) >= 0 || in.usage == D3DDECLUSAGE_PSIZE ||
                           (in.usage == D3DDECLUSAGE_POSITION && in.usageIndex == 0);
        if (!known)
            return false;
        c->outputs.push_back(decl);
        return true;
    }
    if (c->pixel && c->major < 3 &&
        ((d.type == D3DSPR_INPUT && d.number < 2) || (d.type == D3DSPR_TEXTURE && d.number < 8))) {
        decl.usage = d.type == D3DSPR_INPUT ? D3DDECLUSAGE_COLOR : D3DDECLUSAGE_TEXCOORD;
        decl.usageIndex = d.number;
        c->inputs.push_back(decl);
        return true;
    }
    if (c->pixel && c->major >= 3 && d.type == D3DSPR_INPUT && d.number < 10) {
        if (VaryingOf(in.usage, in.usageIndex) < 0)
            return false;
        c->inputs.push_back(decl);
        return true;
    }
    return false;
}

// Pass one: dcl and def, which may stand anywhere ahead of their use.
bool CollectDeclarations(Context* c, std::set<std::uint32_t>* labels) {
    for (const Instruction& in : c->program.instructions) {
        const Parameter& d = in.destination;
        switch (in.opcode) {
        case D3DSIO_DCL:
            if (!Declare(c, in))
                return false;
            break;
        case D3DSIO_DEF:
            if (d.type != D3DSPR_CONST ||
                d.number >= (c->pixel ? kPixelFloatConstants : kVertexFloatConstants))
                return false;
            c->floatDefs[d.number] = in.values;
            break;
        case D3DSIO_DEFI:
            if (d.type != D3DSPR_CONSTINT || d.number >= kIntConstants || c->major < 2)
                return false;
            c->intDefs[d.number] = in.values;
            break;
        case D3DSIO_DEFB:
            if (d.type != D3DSPR_CONSTBOOL || d.number >= kBoolConstants || c->major < 2)
                return false;
            c->boolDefs[d.number] = in.values[0];
            break;
        case D3DSIO_LABEL:
            if (in.sourceCount != 1 || in.sources[0].type != D3DSPR_LABEL ||
                !labels->insert(in.sources[0].number).second)
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

// Pass two: the instructions, main's into vtr3_Main and each label's into its own function.
bool EmitBody(Context* c, const std::set<std::uint32_t>& labels) {
    bool mainDone = false;
    bool inLabel = false;
    c->out = &c->main;
    for (const Instruction& in : c->program.instructions) {
        if (mainDone && !inLabel && in.opcode != D3DSIO_LABEL && in.opcode != D3DSIO_NOP &&
            in.opcode != D3DSIO_DCL && in.opcode != D3DSIO_DEF && in.opcode != D3DSIO_DEFI &&
            in.opcode != D3DSIO_DEFB)
            return false;
        switch (in.opcode) {
        case D3DSIO_LABEL:
            if (c->major < 2 || !c->loops.empty() || !mainDone || inLabel)
                return false;
            inLabel = true;
            c->out = &c->subroutines;
            c->indent = 1;
            *c->out += "void vtr3_L" + Num(in.sources[0].number) + "() {\n";
            continue;
        case D3DSIO_RET:
            if (c->major < 2)
                return false;
            if (!c->loops.empty()) {
                c->Line("return;");
            } else if (inLabel) {
                *c->out += "}\n";
                inLabel = false;
            } else {
                mainDone = true;
            }
            continue;
        case D3DSIO_CALL:
        case D3DSIO_CALLNZ: {
            const Parameter& label = in.sources[0];
            const bool nz = in.opcode == D3DSIO_CALLNZ;
            if (c->major < 2 || in.sourceCount != (nz ? 2 : 1) || label.type != D3DSPR_LABEL ||
                !labels.count(label.number) || in.predicated)
                return false;
            std::string condition = "true";
            if (nz) {
                const Parameter& b = in.sources[1];
                if (b.type == D3DSPR_CONSTBOOL && b.number < kBoolConstants && !b.relative)
                    condition = "vtr3_B(" + Num(b.number) + ")";
                else if (b.type == D3DSPR_PREDICATE && b.number == 0)
                    condition = std::string(b.sourceModifier == D3DSPSM_NOT ? "!" : "") + "p0." +
                                "xyzw"[b.swizzle[0]];
                else
                    return false;
            }
            c->Line("if (" + condition + ") vtr3_L" + Num(label.number) + "();");
            continue;
        }
        default:
            if (!EmitInstruction(c, in))
                return false;
        }
    }
    return c->loops.empty() && !inLabel;
}

void Globals(const Context& c, std::string* s) {
    const unsigned floats = c.pixel ? kPixelFloatConstants : kVertexFloatConstants;
    *s += "layout(std140, binding = " + Num(c.pixel ? kPixelConstantBinding : kVertexConstantBinding) +
          ") uniform Vtr3Constants {\n    vec4 c[" + Num(floats) +
          "];\n    ivec4 i[16];\n    uint b;\n} vtr3_k;\n";
    for (const auto& [n, v] : c.floatDefs)
        *s += "const vec4 vtr3_d" + Num(n) + " = vec4(" + FloatLiteral(v[0]) + ", " + FloatLiteral(v[1]) +
              ", " + FloatLiteral(v[2]) + ", " + FloatLiteral(v[3]) + ");\n";
    *s += "vec4 vtr3_C(int n) {\n";
    for (const auto& [n, v] : c.floatDefs)
        *s += "    if (n == " + Num(n) + ") return vtr3_d" + Num(n) + ";\n";
    *s += "    return n >= 0 && n < " + Num(floats) + " ? vtr3_k.c[n] : vec4(0.0);\n}\n";
    *s += "ivec4 vtr3_I(int n) {\n";
    for (const auto& [n, v] : c.intDefs)
        *s += "    if (n == " + Num(n) + ") return ivec4(" + std::to_string(static_cast<std::int32_t>(v[0])) +
              ", " + std::to_string(static_cast<std::int32_t>(v[1])) + ", " +
              std::to_string(static_cast<std::int32_t>(v[2])) + ", " +
              std::to_string(static_cast<std::int32_t>(v[3])) + ");\n";
    *s += "    return vtr3_k.i[n];\n}\nbool vtr3_B(int n) {\n";
    for (const auto& [n, v] : c.boolDefs)
        *s += "    if (n == " + Num(n) + ") return " + (v ? "true" : "false") + ";\n";
    *s += "    return ((vtr3_k.b >> uint(n)) & 1u) != 0u;\n}\n";
    // lit: y the clamped diffuse term, z the specular power where the diffuse term is positive.
    *s += "vec4 vtr3_Lit(vec4 s) {\n    float p = clamp(s.w, -128.0, 128.0);\n"
          "    return vec4(1.0, max(s.x, 0.0), s.x > 0.0 ? (s.y > 0.0 ? pow(s.y, p) : (p == 0.0 ? 1.0 : "
          "0.0)) : 0.0, 1.0);\n}\n";
    *s += "ivec4 a0 = ivec4(0);\nbvec4 p0 = bvec4(false);\n";
    for (int i = 0; i < 32; ++i)
        *s += "vec4 r" + Num(i) + " = vec4(0.0);\n";
}

// The dcl'd samplers at their texture units.
void Samplers(const Context& c, std::string* s) {
    static const char* const kSamplers[] = {"", "", "sampler2D", "samplerCube", "sampler3D"};
    const std::uint32_t unit0 = c.pixel ? 0 : kVertexSamplerUnit0;
    for (std::uint32_t n = 0; n < 16; ++n)
        if (c.samplerTypes[n])
            *s += "layout(binding = " + Num(unit0 + n) + ") uniform " +
                  kSamplers[c.samplerTypes[n] >> D3DSP_TEXTURETYPE_SHIFT] + " vtr3_s" + Num(n) + ";\n";
}

bool VertexProgram(Context* c, std::string* s) {
    *s += kVertexEpilogueGlsl;
    Samplers(*c, s);
    for (int k = 0; k < kVaryingCount; ++k)
        *s += "layout(location = " + Num(k) + ") out vec4 vtr3_v" + Num(k) + ";\n";
    std::string before;
    std::string after;
    for (std::uint32_t n = 0; n < 16; ++n)
        *s += "vec4 v" + Num(n) + " = vec4(0.0, 0.0, 0.0, 1.0);\n";
    for (const Declaration& d : c->inputs) {
        *s += "layout(location = " + std::to_string(AttributeLocationOf(d.usage, d.usageIndex)) +
              ") in vec4 vtr3_in" + Num(d.number) + ";\n";
        before += "    v" + Num(d.number) + " = vtr3_in" + Num(d.number) + ";\n";
    }
    if (c->major < 3) {
        for (const char* name : {"oPos", "oFog", "oPts", "oD0", "oD1"})
            *s += std::string("vec4 ") + name + " = vec4(0.0, 0.0, 0.0, 1.0);\n";
        after += "    vtr3_EmitPosition(oPos);\n    vtr3_v0 = clamp(oD0, 0.0, 1.0);\n    vtr3_v1 = "
                 "clamp(oD1, 0.0, 1.0);\n";
        for (std::uint32_t n = 0; n < 8; ++n) {
            *s += "vec4 oT" + Num(n) + " = vec4(0.0, 0.0, 0.0, 1.0);\n";
            after += "    vtr3_v" + Num(kVaryingTexCoord0 + n) + " = oT" + Num(n) + ";\n";
        }
        after += "    vtr3_v" + Num(kVaryingFog) + " = vec4(oFog.x, 0.0, 0.0, 1.0);\n";
    } else {
        bool position = false;
        for (int k = 0; k < kVaryingCount; ++k)
            before += "    vtr3_v" + Num(k) + " = vec4(0.0, 0.0, 0.0, 1.0);\n";
        for (std::uint32_t n = 0; n < 12; ++n)
            *s += "vec4 o" + Num(n) + " = vec4(0.0, 0.0, 0.0, 1.0);\n";
        for (const Declaration& d : c->outputs) {
            const std::string reg = "o" + Num(d.number);
            if (d.usage == D3DDECLUSAGE_POSITION) {
                position = true;
                after += "    vtr3_EmitPosition(" + reg + ");\n";
            } else if (d.usage != D3DDECLUSAGE_PSIZE) {
                after += "    vtr3_v" + std::to_string(VaryingOf(d.usage, d.usageIndex)) + " = " +
                         Packed(reg, d.writeMask) + ";\n";
            }
        }
        if (!position)
            return false;
    }
    *s += c->subroutines;
    *s += "void vtr3_Main() {\n" + c->main + "}\nvoid main() {\n" + before + "    vtr3_Main();\n" + after +
          "}\n";
    return true;
}

bool PixelProgram(Context* c, std::string* s) {
    const bool fog = c->major < 3;
    *s += kFixedPixelBlockGlsl;
    *s += kAlphaTestGlsl;
    if (fog) {
        *s += kFogFactorGlsl;
        *s += kFogGlsl;
    }
    bool centroid[kVaryingCount] = {};
    std::string before;
    for (const Declaration& d : c->inputs) {
        const int k = VaryingOf(d.usage, d.usageIndex);
        centroid[k] |= d.centroid;
        const std::string reg = (d.type == D3DSPR_TEXTURE ? "t" : "v") + Num(d.number);
        const std::string parts = Components(d.writeMask);
        before += "    " + reg + MaskSuffix(d.writeMask) + " = vtr3_v" + std::to_string(k) +
                  (parts.size() == 4 ? "" : "." + std::string("xyzw").substr(0, parts.size())) + ";\n";
    }
    for (int k = 0; k < kVaryingCount; ++k)
        *s += "layout(location = " + Num(k) + ") " + (centroid[k] ? "centroid " : "") + "in vec4 vtr3_v" +
              Num(k) + ";\n";
    Samplers(*c, s);
    for (std::uint32_t n = 0; n < 10; ++n)
        *s += "vec4 v" + Num(n) + " = vec4(0.0);\n";
    for (std::uint32_t n = 0; n < 8; ++n)
        *s += "vec4 t" + Num(n) + " = vec4(0.0);\n";
    *s += "vec4 oDepth = vec4(0.0);\n";
    std::string after;
    if (c->major < 2) { // the colours arrive in v0 and v1; r0 is the colour written
        before +=
            "    v0 = vtr3_v" + Num(kVaryingColor0) + ";\n    v1 = vtr3_v" + Num(kVaryingColor1) + ";\n";
        c->main += "    oC0 = r0;\n";
        c->colorOutputs |= 1;
        *s += "vec3 vtr3_m = vec3(0.0);\n";
    }
    for (std::uint32_t n = 0; n < 4; ++n) {
        *s += "vec4 oC" + Num(n) + " = vec4(0.0);\n";
        if (c->colorOutputs & (1u << n)) {
            *s += "layout(location = " + Num(n) + ") out vec4 vtr3_oC" + Num(n) + ";\n";
            after += "    vtr3_oC" + Num(n) + " = oC" + Num(n) + ";\n";
        }
    }
    if (fog)
        after = "    oC0.rgb = vtr3_Fogged(oC0.rgb, vtr3_v" + Num(kVaryingFog) + ".x);\n" + after;
    after = "    if (!vtr3_AlphaPasses(oC0.a, int(vtr3_ff.alphaReference.y))) discard;\n" + after;
    if (c->depthOutput)
        after += "    gl_FragDepth = oDepth.x;\n";
    *s += c->subroutines;
    *s += "void vtr3_Main() {\n" + c->main + "}\nvoid main() {\n" + before + "    vtr3_Main();\n" + after +
          "}\n";
    return true;
}

} // namespace

HRESULT TranslateProgram(const Program& program, std::string* glsl) {
    if (!VersionTranslated(program))
        return D3DERR_INVALIDCALL;
    Context c(program);
    std::set<std::uint32_t> labels;
    if (!CollectDeclarations(&c, &labels) || !EmitBody(&c, labels))
        return D3DERR_INVALIDCALL;
    std::string s = "#version 450\n";
    Globals(c, &s);
    // Subroutines are declared ahead of the code that calls them.
    for (std::uint32_t label : labels)
        s += "void vtr3_L" + Num(label) + "();\n";
    if (!(c.pixel ? PixelProgram(&c, &s) : VertexProgram(&c, &s)))
        return D3DERR_INVALIDCALL;
    *glsl = std::move(s);
    return D3D_OK;
}

} // namespace platform::device::bytecode
