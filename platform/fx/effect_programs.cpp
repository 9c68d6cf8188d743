// The GL side of an effect: one separable program per compiled shader, its uniforms bound to the
// parameters, and the upload of changed parameter values.
#include "fx/effect.h"

#include "device/device.h"

#include <cstdio>
#include <cstring>

namespace platform::fx {
namespace {

struct GlTypeInfo {
    GLenum type;
    int components; // per element
    char base;      // 'f' float, 'i' int, 'u' unsigned, 'b' bool, 'm' float matrix
    int columns;    // matrices: GL columns (HLSL rows)
    int rows;       // matrices: GL rows (HLSL columns)
};

constexpr GlTypeInfo kGlTypes[] = {
    {GL_FLOAT, 1, 'f', 0, 0},
    {GL_FLOAT_VEC2, 2, 'f', 0, 0},
    {GL_FLOAT_VEC3, 3, 'f', 0, 0},
    {GL_FLOAT_VEC4, 4, 'f', 0, 0},
    {GL_INT, 1, 'i', 0, 0},
    {GL_INT_VEC2, 2, 'i', 0, 0},
    {GL_INT_VEC3, 3, 'i', 0, 0},
    {GL_INT_VEC4, 4, 'i', 0, 0},
    {GL_UNSIGNED_INT, 1, 'u', 0, 0},
    {GL_UNSIGNED_INT_VEC2, 2, 'u', 0, 0},
    {GL_UNSIGNED_INT_VEC3, 3, 'u', 0, 0},
    {GL_UNSIGNED_INT_VEC4, 4, 'u', 0, 0},
    {GL_BOOL, 1, 'b', 0, 0},
    {GL_BOOL_VEC2, 2, 'b', 0, 0},
    {GL_BOOL_VEC3, 3, 'b', 0, 0},
    {GL_BOOL_VEC4, 4, 'b', 0, 0},
    {GL_FLOAT_MAT2, 4, 'm', 2, 2},
    {GL_FLOAT_MAT3, 9, 'm', 3, 3},
    {GL_FLOAT_MAT4, 16, 'm', 4, 4},
    {GL_FLOAT_MAT2x3, 6, 'm', 2, 3},
    {GL_FLOAT_MAT2x4, 8, 'm', 2, 4},
    {GL_FLOAT_MAT3x2, 6, 'm', 3, 2},
    {GL_FLOAT_MAT3x4, 12, 'm', 3, 4},
    {GL_FLOAT_MAT4x2, 8, 'm', 4, 2},
    {GL_FLOAT_MAT4x3, 12, 'm', 4, 3},
};

const GlTypeInfo* TypeInfo(GLenum type) {
    for (const GlTypeInfo& info : kGlTypes) {
        if (info.type == type)
            return &info;
    }
    return nullptr;
}

// Converts one word of a parameter (float or integer) to the word the uniform takes.
std::uint32_t ConvertWord(std::uint32_t word, D3DXPARAMETER_TYPE from, char to) {
    const bool fromFloat = from == D3DXPT_FLOAT;
    float f = 0.0f;
    std::memcpy(&f, &word, sizeof(f));
    const std::int32_t i = static_cast<std::int32_t>(word);
    if (to == 'f' || to == 'm') {
        const float out = fromFloat ? f : static_cast<float>(i);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &out, sizeof(bits));
        return bits;
    }
    if (to == 'b' || (to == 'u' && from == D3DXPT_BOOL))
        return (fromFloat ? f != 0.0f : i != 0) ? 1u : 0u;
    return fromFloat ? static_cast<std::uint32_t>(static_cast<std::int32_t>(f)) : word;
}

void UploadWords(GLuint program, GLint location, const GlTypeInfo& info, GLint count,
                 const std::uint32_t* words) {
    const auto* f = reinterpret_cast<const GLfloat*>(words);
    const auto* i = reinterpret_cast<const GLint*>(words);
    const auto* u = reinterpret_cast<const GLuint*>(words);
    switch (info.base) {
    case 'f':
        if (info.components == 1)
            glProgramUniform1fv(program, location, count, f);
        else if (info.components == 2)
            glProgramUniform2fv(program, location, count, f);
        else if (info.components == 3)
            glProgramUniform3fv(program, location, count, f);
        else
            glProgramUniform4fv(program, location, count, f);
        break;
    case 'i':
    case 'b':
        if (info.components == 1)
            glProgramUniform1iv(program, location, count, i);
        else if (info.components == 2)
            glProgramUniform2iv(program, location, count, i);
        else if (info.components == 3)
            glProgramUniform3iv(program, location, count, i);
        else
            glProgramUniform4iv(program, location, count, i);
        break;
    case 'u':
        if (info.components == 1)
            glProgramUniform1uiv(program, location, count, u);
        else if (info.components == 2)
            glProgramUniform2uiv(program, location, count, u);
        else if (info.components == 3)
            glProgramUniform3uiv(program, location, count, u);
        else
            glProgramUniform4uiv(program, location, count, u);
        break;
    default:
        // HLSL's floatRxC is GLSL's matRxC: R columns of C rows, so the D3DX rows (C words each) are
        // exactly GL's columns and upload untransposed.
        switch (info.type) {
        case GL_FLOAT_MAT2:
            glProgramUniformMatrix2fv(program, location, count, GL_FALSE, f);
            break;
        case GL_FLOAT_MAT3:
            glProgramUniformMatrix3fv(program, location, count, GL_FALSE, f);
            break;
        case GL_FLOAT_MAT4:
            glProgramUniformMatrix4fv(program, location, count, GL_FALSE, f);
            break;
        case GL_FLOAT_MAT2x3:
            glProgramUniformMatrix2x3fv(program, location, count, GL_FALSE, f);
            break;
        case GL_FLOAT_MAT2x4:
            glProgramUniformMatrix2x4fv(program, location, count, GL_FALSE, f);
            break;
        case GL_FLOAT_MAT3x2:
            glProgramUniformMatrix3x2fv(program, location, count, GL_FALSE, f);
            break;
        case GL_FLOAT_MAT3x4:
            glProgramUniformMatrix3x4fv(program, location, count, GL_FALSE, f);
            break;
        case GL_FLOAT_MAT4x2:
            glProgramUniformMatrix4x2fv(program, location, count, GL_FALSE, f);
            break;
        default:
            glProgramUniformMatrix4x3fv(program, location, count, GL_FALSE, f);
            break;
        }
    }
}

// The uniform's GL type, location and array size; false when the program has no such uniform.
bool QueryUniform(GLuint program, const std::string& name, GLenum* type, GLint* location, GLint* count) {
    GLuint index = glGetProgramResourceIndex(program, GL_UNIFORM, name.c_str());
    if (index == GL_INVALID_INDEX)
        index = glGetProgramResourceIndex(program, GL_UNIFORM, (name + "[0]").c_str());
    if (index == GL_INVALID_INDEX)
        return false;
    const GLenum properties[3] = {GL_TYPE, GL_LOCATION, GL_ARRAY_SIZE};
    GLint values[3] = {0, -1, 1};
    glGetProgramResourceiv(program, GL_UNIFORM, index, 3, properties, 3, nullptr, values);
    *type = static_cast<GLenum>(values[0]);
    *location = values[1];
    *count = values[2] > 0 ? values[2] : 1;
    return *location >= 0;
}

} // namespace

bool Effect::LinkStage(const CompiledStage& stage, ShaderStage kind, StageProgram* out) {
    out->shaderModel = stage.profile.size() >= 4 ? stage.profile[3] - '0' : 0;
    out->registers = stage.result.constantRegisters;
    if (!platformDevice_)
        return true; // a device that is not the platform's: no GL, validation by caps only
    const char* source = stage.result.glsl.c_str();
    out->program = glCreateShaderProgramv(kind == ShaderStage::Vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER,
                                          1, &source);
    GLint linked = GL_FALSE;
    if (out->program)
        glGetProgramiv(out->program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[1024] = {0};
        if (out->program)
            glGetProgramInfoLog(out->program, sizeof(log), nullptr, log);
        std::fprintf(stderr, "effect: the %s shader '%s' did not link: %s\n",
                     kind == ShaderStage::Vertex ? "vertex" : "pixel", stage.entry.c_str(), log);
        return false;
    }
    const std::string prefix = std::string(BlockInstanceName(kind)) + ".";
    for (const ShaderUniform& u : stage.result.uniforms) {
        UniformBinding binding;
        if (!QueryUniform(out->program, prefix + u.name, &binding.type, &binding.location, &binding.count)) {
            BindStructMembers(FindParameterByName(u.name.c_str()), prefix, out);
            continue;
        }
        const GlTypeInfo* info = TypeInfo(binding.type);
        if (!info)
            continue;
        binding.parameter = FindParameterByName(u.name.c_str());
        if (binding.parameter < 0) {
            // A uniform parameter of the entry function: the compile statement's literal argument.
            for (std::size_t a = 0; a < stage.uniformParameters.size() && a < stage.arguments.size(); ++a) {
                if (stage.uniformParameters[a] != u.name)
                    continue;
                std::vector<std::uint32_t> words(static_cast<std::size_t>(info->components), 0);
                for (std::size_t k = 0; k < words.size() && k < stage.arguments[a].size(); ++k) {
                    std::uint32_t bits = 0;
                    std::memcpy(&bits, &stage.arguments[a][k], sizeof(bits));
                    words[k] = ConvertWord(bits, D3DXPT_FLOAT, info->base);
                }
                UploadWords(out->program, binding.location, *info, 1, words.data());
            }
            continue;
        }
        const ParameterSlot& slot = parameters_[static_cast<std::size_t>(binding.parameter)];
        const GLint elements = static_cast<GLint>(slot.desc.elements ? slot.desc.elements : 1);
        binding.count = std::min(binding.count, elements);
        binding.scratch.assign(static_cast<std::size_t>(info->components * binding.count), 0);
        binding.uploaded = 0;
        out->uniforms.push_back(std::move(binding));
    }
    UploadUniforms(out);
    return true;
}

void Effect::BindStructMembers(int parameter, const std::string& prefix, StageProgram* out) {
    if (parameter < 0 || static_cast<std::size_t>(parameter) >= tree_.size() ||
        parameters_[static_cast<std::size_t>(parameter)].desc.cls != D3DXPC_STRUCT)
        return;
    // The numeric members, each a GL uniform of its own; elements of numeric arrays go with their array.
    const Range views = tree_[static_cast<std::size_t>(parameter)].views;
    for (int v = views.first; v < views.first + views.count; ++v) {
        const Parameter& member = parameters_[static_cast<std::size_t>(v)].desc;
        const std::string& path = tree_[static_cast<std::size_t>(v)].path;
        if (member.cls == D3DXPC_STRUCT || member.cls == D3DXPC_OBJECT || path.empty() || path.back() == ']')
            continue;
        UniformBinding binding;
        if (!QueryUniform(out->program, prefix + path, &binding.type, &binding.location, &binding.count))
            continue;
        const GlTypeInfo* info = TypeInfo(binding.type);
        if (!info)
            continue;
        binding.parameter = v;
        binding.count = std::min(binding.count, static_cast<GLint>(member.elements ? member.elements : 1));
        binding.scratch.assign(static_cast<std::size_t>(info->components * binding.count), 0);
        binding.uploaded = 0;
        out->uniforms.push_back(std::move(binding));
    }
}

void Effect::UploadUniforms(StageProgram* stage) {
    for (UniformBinding& b : stage->uniforms) {
        // A struct member's value is its whole's, which a pool may share with other effects.
        const ParameterSlot& slot = parameters_[static_cast<std::size_t>(b.parameter)];
        if (b.uploaded == slot.value->version)
            continue;
        const WordSpan words = Words(b.parameter);
        const GlTypeInfo* info = TypeInfo(b.type);
        // Each element of the uniform takes rows x columns words of the parameter; a vector uniform
        // of a wider type than the parameter keeps zeros in the rest.
        const std::size_t perElement = std::size_t{slot.desc.rows} * slot.desc.columns;
        const std::size_t components = static_cast<std::size_t>(info->components);
        for (std::size_t e = 0; e < static_cast<std::size_t>(b.count); ++e) {
            for (std::size_t k = 0; k < components; ++k) {
                const std::size_t from = e * perElement + k;
                b.scratch[e * components + k] =
                    (k < perElement && from < words.size)
                        ? ConvertWord(words.data[from], slot.desc.type, info->base)
                        : 0u;
            }
        }
        UploadWords(stage->program, b.location, *info, b.count, b.scratch.data());
        b.uploaded = slot.value->version;
    }
}

void Effect::DeletePrograms() {
    const device::DeviceLock lock(platformDevice_);
    if (!platformDevice_ || !platformDevice_->MakeCurrent())
        return;
    for (RuntimeTechnique& t : techniques_) {
        for (RuntimePass& p : t.passes) {
            for (StageProgram* s : {&p.vertex, &p.pixel}) {
                if (s->program)
                    glDeleteProgram(s->program);
                s->program = 0;
            }
            for (RuntimePass::Choices* c : {&p.vertexChoices, &p.pixelChoices}) {
                for (StageProgram& s : c->programs) {
                    if (s.program)
                        glDeleteProgram(s.program);
                    s.program = 0;
                }
            }
        }
    }
}

} // namespace platform::fx
