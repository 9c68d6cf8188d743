#include "fx/shaderc/glsl_fixup.h"

#include "device/shader_interface.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <sstream>

namespace platform::fx {
namespace {

namespace sif = platform::device;

// The type and the line of a declaration "... in|out TYPE NAME;" or "... TYPE NAME[N];" in the GLSL.
bool FindDeclaration(const std::string& glsl, const std::string& name, std::size_t* begin, std::size_t* end,
                     std::string* type) {
    const std::string needle = " " + name;
    std::size_t at = 0;
    while ((at = glsl.find(needle, at)) != std::string::npos) {
        const std::size_t after = at + needle.size();
        const bool declares = after < glsl.size() && (glsl[after] == ';' || glsl[after] == '[');
        const std::size_t lineBegin = glsl.rfind('\n', at) + 1;
        const std::size_t lineEnd = glsl.find('\n', at);
        const std::string line = glsl.substr(lineBegin, lineEnd - lineBegin);
        const std::string padded = " " + line;
        if (declares &&
            (padded.find(" in ") != std::string::npos || padded.find(" out ") != std::string::npos)) {
            const std::size_t typeEnd = at - lineBegin;
            const std::size_t typeBegin = line.rfind(' ', typeEnd - 1) + 1;
            *type = line.substr(typeBegin, typeEnd - typeBegin);
            *begin = lineBegin;
            *end = lineEnd;
            return true;
        }
        at += needle.size();
    }
    return false;
}

int Components(const std::string& type) {
    if (type == "float" || type == "int" || type == "uint" || type == "bool")
        return 1;
    if (type.size() == 4 && type.compare(0, 3, "vec") == 0)
        return type[3] - '0';
    return 0;
}

// A vec4 holding a value of the type, the rest filled with 0, 0, 0, 1 as Direct3D 9 fills varyings.
std::string Widen(const std::string& type, const std::string& value) {
    switch (Components(type)) {
    case 1:
        return "vec4(float(" + value + "), 0.0, 0.0, 1.0)";
    case 2:
        return "vec4(" + value + ", 0.0, 1.0)";
    case 3:
        return "vec4(" + value + ", 1.0)";
    case 4:
        return value;
    default:
        return "vec4(" + value + ")";
    }
}

std::string Narrow(const std::string& type, const std::string& vec4) {
    static const char* const kSwizzles[] = {"", ".x", ".xy", ".xyz", ""};
    const int n = Components(type);
    if (n == 0)
        return type + "(" + vec4 + ")";
    return type + "(" + vec4 + kSwizzles[n] + ")";
}

} // namespace

Semantic ParseSemantic(const std::string& text) {
    Semantic s;
    std::string upper;
    for (char c : text)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string centroid = "_CENTROID";
    if (upper.size() > centroid.size() &&
        upper.compare(upper.size() - centroid.size(), centroid.size(), centroid) == 0) {
        upper.resize(upper.size() - centroid.size());
        s.centroid = true;
    }
    if (upper.compare(0, 3, "SV_") == 0)
        upper = upper == "SV_TARGET" ? "COLOR" : upper.substr(3);
    std::size_t digits = upper.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(upper[digits - 1])))
        --digits;
    s.name = upper.substr(0, digits);
    // strtol saturates where atoi's overflow is undefined; any index this large is invalid anyway.
    s.index = digits < upper.size()
                  ? static_cast<int>(std::min(std::strtol(upper.c_str() + digits, nullptr, 10), 1000L))
                  : 0;
    if (s.name == "TARGET")
        s.name = "COLOR";
    return s;
}

int VaryingLocation(const Semantic& s) {
    if (s.name == "COLOR" && s.index < 2)
        return sif::kVaryingColor0 + s.index;
    if (s.name == "TEXCOORD" && s.index < 8)
        return sif::kVaryingTexCoord0 + s.index;
    if (s.name == "FOG")
        return sif::kVaryingFog;
    return -1;
}

int AttributeLocation(const Semantic& s) {
    if (s.name == "POSITION" || s.name == "POSITIONT")
        return s.index == 0 ? sif::kAttributePosition : -1;
    if (s.name == "BLENDWEIGHT")
        return sif::kAttributeBlendWeight;
    if (s.name == "BLENDINDICES")
        return sif::kAttributeBlendIndices;
    if (s.name == "NORMAL")
        return sif::kAttributeNormal;
    if (s.name == "COLOR" && s.index < 2)
        return sif::kAttributeColor0 + s.index;
    if (s.name == "TANGENT")
        return sif::kAttributeTangent;
    if (s.name == "BINORMAL")
        return sif::kAttributeBinormal;
    if (s.name == "TEXCOORD" && s.index < 8)
        return sif::kAttributeTexCoord0 + s.index;
    return -1;
}

bool PrepareInterface(spvc_compiler compiler, spvc_resources resources, ShaderStage stage,
                      StageInterface* stageInterface, std::string* error) {
    std::set<std::string> taken[2]; // register names in use by outputs [0] and inputs [1]
    for (const bool input : {true, false}) {
        const spvc_reflected_resource* list = nullptr;
        size_t count = 0;
        spvc_resources_get_resource_list_for_type(
            resources, input ? SPVC_RESOURCE_TYPE_STAGE_INPUT : SPVC_RESOURCE_TYPE_STAGE_OUTPUT, &list,
            &count);
        for (size_t i = 0; i < count; ++i) {
            const char* text =
                spvc_compiler_get_decoration_string(compiler, list[i].id, SpvDecorationUserSemantic);
            StageInterface::Variable v;
            v.semantic = ParseSemantic(text ? text : "");
            v.input = input;
            // An array with one semantic takes consecutive registers: glslang splits one inside a
            // struct into variables named "...[k]", and keeps a parameter one an array variable.
            const std::string reflected = list[i].name ? list[i].name : "";
            const std::size_t open = reflected.rfind('[');
            if (!reflected.empty() && reflected.back() == ']' && open != std::string::npos)
                v.semantic.index += std::atoi(reflected.c_str() + open + 1);
            const spvc_type type = spvc_compiler_get_type_handle(compiler, list[i].type_id);
            if (spvc_type_get_num_array_dimensions(type) == 1)
                v.count = static_cast<int>(spvc_type_get_array_dimension(type, 0));
            v.name = std::string(input ? "vtr3_in_" : "vtr3_out_") + v.semantic.name +
                     std::to_string(v.semantic.index);
            for (int k = 0; k < std::max(v.count, 1); ++k) {
                const std::string element = v.semantic.name + std::to_string(v.semantic.index + k);
                if (!taken[input].insert(element).second) {
                    *error = "semantic " + element + " used twice";
                    return false;
                }
            }
            if (v.count > 0 && (VaryingLocation(v.semantic) < 0 || (stage == ShaderStage::Vertex && input) ||
                                (stage == ShaderStage::Pixel && !input))) {
                *error = "an array cannot take semantic '" + std::string(text ? text : "") + "'";
                return false;
            }
            spvc_compiler_set_name(compiler, list[i].id, v.name.c_str());
            const Semantic& s = v.semantic;
            if (stage == ShaderStage::Vertex && input) {
                const int location = AttributeLocation(s);
                if (location < 0) {
                    *error = "invalid vertex input semantic '" + std::string(text ? text : "") + "'";
                    return false;
                }
                spvc_compiler_set_decoration(compiler, list[i].id, SpvDecorationLocation,
                                             static_cast<unsigned>(location));
            } else if (stage == ShaderStage::Pixel && !input) {
                if (s.name == "COLOR" && s.index < 4) {
                    spvc_compiler_set_decoration(compiler, list[i].id, SpvDecorationLocation,
                                                 static_cast<unsigned>(s.index));
                } else if (s.name != "DEPTH") {
                    *error = "invalid pixel output semantic '" + std::string(text ? text : "") + "'";
                    return false;
                }
            } else if (VaryingLocation(Semantic{s.name, s.index + std::max(v.count, 1) - 1}) < 0 &&
                       s.name != "POSITION" && s.name != "PSIZE" && s.name != "VPOS" && s.name != "VFACE") {
                *error = std::string("invalid ") + (input ? "input" : "output") + " semantic '" +
                         std::string(text ? text : "") + "'";
                return false;
            }
            stageInterface->variables.push_back(v);
        }
    }
    return true;
}

bool RewriteGlsl(const StageInterface& stageInterface, ShaderStage stage, bool clampColors, std::string* glsl,
                 std::string* error) {
    std::string before; // statements ahead of the original main
    std::string after;  // statements after it
    std::string declarations;
    bool wrotePosition = false;
    bool alphaTest = false;
    bool fog = false;
    bool readsFog = false; // the shader's own FOG input declares the varying
    bool wroteFog = false;
    for (const StageInterface::Variable& v : stageInterface.variables) {
        readsFog |= v.input && v.semantic.name == "FOG" && v.semantic.index == 0;
        wroteFog |= !v.input && v.semantic.name == "FOG" && v.semantic.index == 0;
        const bool vertexInput = stage == ShaderStage::Vertex && v.input;
        const bool pixelColor = stage == ShaderStage::Pixel && !v.input && v.semantic.name == "COLOR";
        if (pixelColor && v.semantic.index == 0) {
            // Direct3D's alpha test applies to whatever the shader writes to COLOR0.
            std::size_t begin = 0;
            std::size_t end = 0;
            std::string type;
            if (!FindDeclaration(*glsl, v.name, &begin, &end, &type)) {
                *error = "internal: no declaration of " + v.name;
                return false;
            }
            // Below shader model 3 the device fogs the colour after the shader, as the
            // fixed-function pipeline does.
            if (clampColors && (type == "vec4" || type == "vec3")) {
                after += "    " + v.name + ".rgb = vtr3_Fogged(" + v.name + ".rgb, vtr3_v_FOG0.x);\n";
                fog = true;
            }
            after += "    if (!vtr3_AlphaPasses(" + Widen(type, v.name) +
                     ".a, int(vtr3_ff.alphaReference.y))) discard;\n";
            alphaTest = true;
        }
        if (vertexInput || pixelColor)
            continue; // declared at their locations already
        std::size_t begin = 0;
        std::size_t end = 0;
        std::string type;
        if (!FindDeclaration(*glsl, v.name, &begin, &end, &type)) {
            *error = "internal: no declaration of " + v.name;
            return false;
        }
        const std::string count = v.count > 0 ? "[" + std::to_string(v.count) + "]" : "";
        glsl->replace(begin, end - begin, type + " " + v.name + count + ";");
        const int location = VaryingLocation(v.semantic);
        const std::string& s = v.semantic.name;
        if (location >= 0) {
            // One vec4 per register; an array's elements go to consecutive ones.
            const bool centroid = v.input && v.semantic.centroid && stage == ShaderStage::Pixel;
            for (int k = 0; k < std::max(v.count, 1); ++k) {
                const std::string wide = "vtr3_v_" + s + std::to_string(v.semantic.index + k);
                const std::string element = v.count > 0 ? v.name + "[" + std::to_string(k) + "]" : v.name;
                declarations += "layout(location = " + std::to_string(location + k) + ") " +
                                (centroid ? "centroid " : "") + (v.input ? "in" : "out") + " vec4 " + wide +
                                ";\n";
                std::string value = v.input ? Narrow(type, wide) : Widen(type, element);
                if (!v.input && clampColors && s == "COLOR")
                    value = "clamp(" + value + ", 0.0, 1.0)";
                (v.input ? before : after) += "    " + (v.input ? element : wide) + " = " + value + ";\n";
            }
        } else if (v.input && s == "VPOS") {
            before +=
                "    " + v.name + " = " + Narrow(type, "vec4(gl_FragCoord.xy - vec2(0.5), 0.0, 1.0)") + ";\n";
        } else if (v.input && s == "VFACE") {
            before += "    " + v.name + " = " + Narrow(type, "vec4(gl_FrontFacing ? 1.0 : -1.0)") + ";\n";
        } else if (!v.input && s == "POSITION") {
            after += "    vtr3_EmitPosition(" + Widen(type, v.name) + ");\n";
            wrotePosition = true;
        } else if (!v.input && s == "PSIZE") {
            after += "    gl_PointSize = float(" + v.name + ");\n";
        } else if (!v.input && s == "DEPTH") {
            after += "    gl_FragDepth = float(" + v.name + ");\n";
        }
    }
    if (stage == ShaderStage::Vertex && !wrotePosition)
        after += "    vtr3_EmitPosition(vec4(0.0, 0.0, 0.0, 1.0));\n";
    // Vertex fog takes its factor from FOG: a shader that writes none leaves its pixels clear.
    if (stage == ShaderStage::Vertex && !wroteFog) {
        declarations += "layout(location = " + std::to_string(sif::kVaryingFog) + ") out vec4 vtr3_v_FOG0;\n";
        after += "    vtr3_v_FOG0 = vec4(1.0);\n";
    }
    const std::string mainSignature = "\nvoid main()\n";
    const std::size_t main = glsl->find(mainSignature);
    if (main == std::string::npos) {
        *error = "internal: no main in the translated shader";
        return false;
    }
    glsl->replace(main, mainSignature.size(), "\nvoid vtr3_main()\n");
    const std::size_t version = glsl->find('\n');
    std::string head = declarations;
    if (stage == ShaderStage::Vertex)
        head = std::string(sif::kVertexEpilogueGlsl) + head;
    if (fog) {
        if (!readsFog)
            head += "layout(location = " + std::to_string(sif::kVaryingFog) + ") in vec4 vtr3_v_FOG0;\n";
        head = std::string(sif::kFogFactorGlsl) + sif::kFogGlsl + head;
    }
    if (alphaTest)
        head = std::string(sif::kFixedPixelBlockGlsl) + sif::kAlphaTestGlsl + head;
    glsl->insert(version + 1, head);
    *glsl += "\nvoid main()\n{\n" + before + "    vtr3_main();\n" + after + "}\n";
    return true;
}

} // namespace platform::fx
