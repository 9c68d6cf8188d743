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

bool CompileStage(const EffectSource& source, const EffectModel& model, const StateValue& value,
                  ShaderStage stage, CompiledStage* out, Diagnostics* diagnostics) {
    if (value.kind != StateValue::Kind::Compile)
        return true; // NULL: the fixed-function stage
    bool declared = false;
    for (const FunctionInfo& f : model.functions)
        declared = declared || f.name == value.entry;
    if (!declared && diagnostics->HasErrors())
        return false; // the parser reported the missing entry
    out->present = true;
    out->profile = value.profile;
    out->entry = value.entry;
    out->arguments = value.arguments;
    for (const FunctionInfo& f : model.functions) {
        if (f.name == value.entry)
            out->uniformParameters = f.uniformParameters;
    }
    ShaderRequest request;
    request.hlsl = model.hlsl;
    request.entry = value.entry;
    request.profile = value.profile;
    request.stage = stage;
    CompileCached(request, &out->result);
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
    effect->passes.resize(model.techniques.size());
    for (std::size_t t = 0; t < model.techniques.size(); ++t) {
        for (const Pass& pass : model.techniques[t].passes) {
            CompiledPass compiled;
            for (const StateAssignment& state : pass.states) {
                const StateInfo* info = FindState(state.name, false);
                const bool vertex = info->kind == StateKind::VertexShader;
                if (!vertex && info->kind != StateKind::PixelShader)
                    continue;
                const ShaderStage kind = vertex ? ShaderStage::Vertex : ShaderStage::Pixel;
                CompiledStage* stage = vertex ? &compiled.vertex : &compiled.pixel;
                std::vector<CompiledStage>* choices =
                    vertex ? &compiled.vertexChoices : &compiled.pixelChoices;
                const StateValue* value = ShaderValue(model, state.value);
                const ShaderVariable* array = FindShader(model, state.value);
                if (!value && array && !array->elements.empty()) {
                    choices->assign(array->elements.size(), CompiledStage{});
                    for (std::size_t k = 0; k < choices->size(); ++k)
                        CompileStage(source, model, array->elements[k], kind, &(*choices)[k], diagnostics);
                    (vertex ? compiled.vertexSelector : compiled.pixelSelector) = state.value.selector;
                    *stage = choices->front();
                    continue;
                }
                if (!value)
                    continue;
                *stage = CompiledStage{};
                choices->clear();
                CompileStage(source, model, *value, kind, stage, diagnostics);
            }
            effect->passes[t].push_back(std::move(compiled));
        }
    }
    return !diagnostics->HasErrors();
}

} // namespace platform::fx
