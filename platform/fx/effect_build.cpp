#include "fx/effect_build.h"

#include "fx/effect_parser.h"
#include "fx/effect_states.h"
#include "fx/program_cache.h"

#include <cstdlib>
#include <strings.h>

namespace platform::fx {
namespace {

const ShaderVariable* FindShader(const EffectModel& model, const StateValue& value) {
    for (const ShaderVariable& s : model.shaderVariables) {
        if (value.kind == StateValue::Kind::Reference && s.name == value.name)
            return &s;
    }
    return nullptr;
}

// The one shader a state names, or null for a shader array indexed by a parameter.
const StateValue* ShaderValue(const EffectModel& model, const StateValue& value) {
    const ShaderVariable* s = FindShader(model, value);
    if (value.kind != StateValue::Kind::Reference)
        return &value;
    if (!s || value.selector.empty())
        return s && s->elements.empty() ? &s->value : nullptr;
    const char digit = value.selector[0];
    if (digit < '0' || digit > '9')
        return nullptr;
    const std::size_t k = static_cast<std::size_t>(std::atoi(value.selector.c_str()));
    return k < s->elements.size() ? &s->elements[k] : nullptr;
}

// The shaders a state compiles: the one it names, or each element of a shader array indexed by a
// parameter (then *indexed is true). Empty when it names none or is not a shader state.
std::vector<const StateValue*> StateShaders(const EffectModel& model, const StateAssignment& state,
                                            ShaderStage* stage, bool* indexed) {
    const StateInfo* info = FindState(state.name, false);
    *indexed = false;
    if (info->kind != StateKind::VertexShader && info->kind != StateKind::PixelShader)
        return {};
    *stage = info->kind == StateKind::VertexShader ? ShaderStage::Vertex : ShaderStage::Pixel;
    const StateValue* value = ShaderValue(model, state.value);
    const ShaderVariable* array = FindShader(model, state.value);
    *indexed = !value && array && !array->elements.empty();
    std::vector<const StateValue*> shaders;
    if (*indexed) {
        for (const StateValue& element : array->elements)
            shaders.push_back(&element);
    } else if (value) {
        shaders.push_back(value);
    }
    return shaders;
}

bool Declared(const EffectModel& model, const std::string& entry) {
    for (const FunctionInfo& f : model.functions) {
        if (f.name == entry)
            return true;
    }
    return false;
}

ShaderRequest Request(const EffectModel& model, const StateValue& value, ShaderStage stage) {
    ShaderRequest request;
    request.hlsl = model.hlsl;
    request.entry = value.entry;
    request.profile = value.profile;
    request.stage = stage;
    return request;
}

// Every shader of the effect's passes, each once, compiled together (side by side where the compiler
// allows) before the passes take their results in order. All share the effect's text.
struct ShaderBatch {
    std::vector<ShaderRequest> requests;
    std::vector<ShaderResult> results;
    std::vector<int> uses; // the last use takes the result instead of a copy

    explicit ShaderBatch(const EffectModel& model) {
        for (const Technique& technique : model.techniques) {
            for (const Pass& pass : technique.passes) {
                for (const StateAssignment& state : pass.states) {
                    const StateValue::Kind kind = state.value.kind;
                    if (kind != StateValue::Kind::Compile && kind != StateValue::Kind::Reference)
                        continue; // compiles nothing: spares the state's look-up by name
                    ShaderStage stage = ShaderStage::Vertex;
                    bool indexed = false;
                    for (const StateValue* value : StateShaders(model, state, &stage, &indexed)) {
                        if (value->kind != StateValue::Kind::Compile || !Declared(model, value->entry))
                            continue;
                        const std::size_t at = IndexOf(*value, stage);
                        if (at == requests.size()) {
                            requests.push_back(Request(model, *value, stage));
                            uses.push_back(0);
                        }
                        ++uses[at];
                    }
                }
            }
        }
        CompileCached(requests, &results);
    }

    std::size_t IndexOf(const StateValue& value, ShaderStage stage) const {
        std::size_t i = 0;
        while (i < requests.size() && (requests[i].entry != value.entry ||
                                       requests[i].profile != value.profile || requests[i].stage != stage))
            ++i;
        return i;
    }

    // The result for the shader, or false when it is not in the batch.
    bool Take(const StateValue& value, ShaderStage stage, ShaderResult* result) {
        const std::size_t at = IndexOf(value, stage);
        if (at == requests.size())
            return false;
        *result = --uses[at] == 0 ? std::move(results[at]) : results[at];
        return true;
    }
};

bool CompileStage(const EffectSource& source, const EffectModel& model, const StateValue& value,
                  ShaderStage stage, ShaderBatch* batch, CompiledStage* out, Diagnostics* diagnostics) {
    if (value.kind == StateValue::Kind::Asm) {
        // Assembled and translated by the parser, which reported any error at its line.
        out->present = true;
        out->profile = value.profile;
        out->entry = "asm";
        out->result.ok = true;
        out->result.glsl = value.glsl;
        return true;
    }
    if (value.kind != StateValue::Kind::Compile)
        return true; // NULL: the fixed-function stage
    if (!Declared(model, value.entry) && diagnostics->HasErrors())
        return false; // the parser reported the missing entry
    out->present = true;
    out->profile = value.profile;
    out->entry = value.entry;
    out->arguments = value.arguments;
    for (const FunctionInfo& f : model.functions) {
        if (f.name == value.entry)
            out->uniformParameters = f.uniformParameters;
    }
    if (!batch->Take(value, stage, &out->result))
        CompileCached(Request(model, value, stage), &out->result);
    // glslang's HLSL parser gives up at the first faulty function, and what follows the first error is
    // its consequence ('return': type does not match, 'declaration' expected): one error per shader.
    bool errorTaken = false;
    for (const CompilerMessage& m : out->result.messages) {
        if (!m.warning && errorTaken)
            continue;
        errorTaken = errorTaken || !m.warning;
        // glslang counts lines of the combined text from 1; the line map gives the file's own line.
        const SourceLocation where = source.Locate(m.line > 0 ? m.line - 1 : 0, m.column);
        const std::string& file = source.files[static_cast<std::size_t>(where.file)];
        const int line = m.line > 0 ? where.line : 1;
        bool seen = false;
        for (const Diagnostic& d : diagnostics->All())
            seen = seen || (d.file == file && d.line == line && d.message == m.text);
        if (seen)
            continue; // the same shader compiled for two passes reports once
        const long long order = m.line > 0 ? TextOrder(m.line - 1, 0) : 0;
        if (m.warning)
            diagnostics->Warning(file, line, where.column, m.code, m.text, order);
        else
            diagnostics->Error(file, line, where.column, m.code, m.text, order);
    }
    return out->result.ok;
}

} // namespace

bool BuildEffect(const SourceInput& input, BuiltEffect* effect, Diagnostics* diagnostics) {
    EffectSource source;
    if (!Preprocess(input, &source, diagnostics))
        return false;
    // After effect-syntax errors the shaders still compile, so that their errors are listed too, as
    // long as the parser could blank every effect-only part.
    if (!ParseEffect(source, &effect->model, diagnostics) && !effect->model.blanked)
        return false;
    const EffectModel& model = effect->model;
    ShaderBatch batch(model);
    effect->passes.resize(model.techniques.size());
    for (std::size_t t = 0; t < model.techniques.size(); ++t) {
        for (const Pass& pass : model.techniques[t].passes) {
            CompiledPass compiled;
            for (const StateAssignment& state : pass.states) {
                ShaderStage kind = ShaderStage::Vertex;
                bool indexed = false;
                const std::vector<const StateValue*> shaders = StateShaders(model, state, &kind, &indexed);
                const bool vertex = kind == ShaderStage::Vertex;
                CompiledStage* stage = vertex ? &compiled.vertex : &compiled.pixel;
                std::vector<CompiledStage>* choices =
                    vertex ? &compiled.vertexChoices : &compiled.pixelChoices;
                if (indexed) {
                    choices->assign(shaders.size(), CompiledStage{});
                    for (std::size_t k = 0; k < choices->size(); ++k)
                        CompileStage(source, model, *shaders[k], kind, &batch, &(*choices)[k], diagnostics);
                    (vertex ? compiled.vertexSelector : compiled.pixelSelector) = state.value.selector;
                    *stage = choices->front();
                    continue;
                }
                if (shaders.empty())
                    continue;
                *stage = CompiledStage{};
                choices->clear();
                CompileStage(source, model, *shaders.front(), kind, &batch, stage, diagnostics);
            }
            effect->passes[t].push_back(std::move(compiled));
        }
    }
    return !diagnostics->HasErrors();
}

} // namespace platform::fx
