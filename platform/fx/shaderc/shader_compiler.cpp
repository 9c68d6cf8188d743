#define ENABLE_HLSL 1
#include "fx/shaderc/shader_compiler.h"

#include "fx/diagnostics.h"
#include "fx/shaderc/glsl_fixup.h"
#include "fx/shaderc/glslang_messages.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>
#include <spirv_cross/spirv_cross_c.h>

#include <cctype>
#include <memory>

namespace platform::fx {
namespace {

constexpr const char* kSourceName = "fx";

const EShMessages kMessages =
    static_cast<EShMessages>(EShMsgSpvRules | EShMsgVulkanRules | EShMsgReadHlsl | EShMsgHlslDX9Compatible);

void EnsureInitialized() {
    static const bool initialized = glslang::InitializeProcess();
    (void)initialized;
}

void Fail(ShaderResult* result, const std::string& text, int errorCode = code::kInternal) {
    result->ok = false;
    CompilerMessage m;
    m.code = errorCode;
    m.text = text;
    m.column = 1;
    result->messages.push_back(m);
}

// glslang quietly compiles an empty main when the entry function does not exist.
bool NamesFunction(const std::string& hlsl, const std::string& name) {
    const auto isIdent = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (std::size_t at = hlsl.find(name); at != std::string::npos; at = hlsl.find(name, at + 1)) {
        std::size_t after = at + name.size();
        if ((at > 0 && isIdent(hlsl[at - 1])) || (after < hlsl.size() && isIdent(hlsl[after])))
            continue;
        while (after < hlsl.size() && std::isspace(static_cast<unsigned char>(hlsl[after])))
            ++after;
        if (after < hlsl.size() && hlsl[after] == '(')
            return true;
    }
    return false;
}

int ShaderModel(const std::string& profile) {
    return profile.size() >= 4 ? profile[3] - '0' : 0;
}

bool ToSpirv(const ShaderRequest& request, std::vector<unsigned>* spirv, ShaderResult* result) {
    const EShLanguage language = request.stage == ShaderStage::Vertex ? EShLangVertex : EShLangFragment;
    glslang::TShader shader(language);
    const char* text = request.hlsl.c_str();
    const int length = static_cast<int>(request.hlsl.size());
    const char* name = kSourceName;
    shader.setStringsWithLengthsAndNames(&text, &length, &name, 1);
    shader.setEntryPoint(request.entry.c_str());
    shader.setEnvInput(glslang::EShSourceHlsl, language, glslang::EShClientVulkan, 100);
    shader.setEnvClient(glslang::EShClientVulkan, glslang::EShTargetVulkan_1_0);
    shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
    shader.setEnvTargetHlslFunctionality1();
    const bool parsed = shader.parse(GetDefaultResources(), 100, false, kMessages);
    result->messages = ParseGlslangLog(shader.getInfoLog(), kSourceName, request.hlsl);
    bool failed = !parsed;
    for (const CompilerMessage& m : result->messages)
        failed = failed || !m.warning;
    if (failed) {
        if (result->messages.empty() || result->messages.front().warning)
            Fail(result, "compilation failed", code::kSyntax);
        return false;
    }
    glslang::TProgram program;
    program.addShader(&shader);
    if (!program.link(kMessages)) {
        for (const CompilerMessage& m : ParseGlslangLog(program.getInfoLog(), kSourceName, request.hlsl))
            result->messages.push_back(m);
        Fail(result, "'" + request.entry + "': entrypoint not found or not linkable", code::kEntryNotFound);
        return false;
    }
    glslang::SpvOptions options;
    options.disableOptimizer = false; // HLSL legalization runs in the optimizer
    options.validate = false;
    glslang::GlslangToSpv(*program.getIntermediate(language), *spirv, &options);
    return !spirv->empty();
}

struct SpvcContext {
    spvc_context context = nullptr;
    ~SpvcContext() {
        if (context)
            spvc_context_destroy(context);
    }
};

bool ToGlsl(const ShaderRequest& request, const std::vector<unsigned>& spirv, ShaderResult* result) {
    SpvcContext holder;
    if (spvc_context_create(&holder.context) != SPVC_SUCCESS)
        return false;
    spvc_context context = holder.context;
    spvc_parsed_ir ir = nullptr;
    spvc_compiler compiler = nullptr;
    spvc_compiler_options options = nullptr;
    spvc_resources resources = nullptr;
    if (spvc_context_parse_spirv(context, spirv.data(), spirv.size(), &ir) != SPVC_SUCCESS ||
        spvc_context_create_compiler(context, SPVC_BACKEND_GLSL, ir, SPVC_CAPTURE_MODE_TAKE_OWNERSHIP,
                                     &compiler) != SPVC_SUCCESS ||
        spvc_compiler_create_compiler_options(compiler, &options) != SPVC_SUCCESS ||
        spvc_compiler_create_shader_resources(compiler, &resources) != SPVC_SUCCESS) {
        Fail(result, std::string("internal: ") + spvc_context_get_last_error_string(context));
        return false;
    }
    spvc_compiler_options_set_uint(options, SPVC_COMPILER_OPTION_GLSL_VERSION, 450);
    spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_ES, SPVC_FALSE);
    spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_EMIT_UNIFORM_BUFFER_AS_PLAIN_UNIFORMS,
                                   SPVC_TRUE);
    spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_ENABLE_ROW_MAJOR_LOAD_WORKAROUND,
                                   SPVC_FALSE);
    spvc_compiler_install_compiler_options(compiler, options);

    // The global block: one instance name per stage, and the members the shader reads.
    const spvc_reflected_resource* list = nullptr;
    size_t count = 0;
    spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_UNIFORM_BUFFER, &list, &count);
    for (size_t i = 0; i < count; ++i) {
        spvc_compiler_set_name(compiler, list[i].id, BlockInstanceName(request.stage));
        const spvc_buffer_range* ranges = nullptr;
        size_t rangeCount = 0;
        spvc_compiler_get_active_buffer_ranges(compiler, list[i].id, &ranges, &rangeCount);
        const spvc_type type = spvc_compiler_get_type_handle(compiler, list[i].base_type_id);
        for (size_t r = 0; r < rangeCount; ++r) {
            ShaderUniform u;
            u.name = spvc_compiler_get_member_name(compiler, list[i].base_type_id, ranges[r].index);
            size_t size = 0;
            spvc_compiler_get_declared_struct_member_size(compiler, type, ranges[r].index, &size);
            u.registers = static_cast<int>((size + 15) / 16);
            result->constantRegisters += u.registers;
            result->uniforms.push_back(u);
        }
    }
    spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_SAMPLED_IMAGE, &list, &count);
    for (size_t i = 0; i < count; ++i) {
        result->samplers.push_back(list[i].name);
        spvc_compiler_unset_decoration(compiler, list[i].id, SpvDecorationBinding);
    }
    StageInterface stageInterface;
    std::string error;
    if (!PrepareInterface(compiler, resources, request.stage, &stageInterface, &error)) {
        Fail(result, "'" + request.entry + "': " + error, code::kSyntax);
        return false;
    }
    const char* glsl = nullptr;
    if (spvc_compiler_compile(compiler, &glsl) != SPVC_SUCCESS || !glsl) {
        Fail(result, std::string("internal: ") + spvc_context_get_last_error_string(context));
        return false;
    }
    result->glsl = glsl;
    if (!RewriteGlsl(stageInterface, request.stage, ShaderModel(request.profile) < 3, &result->glsl,
                     &error)) {
        Fail(result, error);
        return false;
    }
    return true;
}

} // namespace

void WarmCompiler() {
    static const bool warmed = [] {
        for (const ShaderStage stage : {ShaderStage::Vertex, ShaderStage::Pixel}) {
            ShaderRequest request;
            request.hlsl = "float4 main() : COLOR0 { return 0; }";
            request.entry = "main";
            request.profile = stage == ShaderStage::Vertex ? "vs_2_0" : "ps_2_0";
            if (stage == ShaderStage::Vertex)
                request.hlsl = "float4 main() : POSITION { return 0; }";
            request.stage = stage;
            ShaderResult result;
            CompileShader(request, &result);
        }
        return true;
    }();
    (void)warmed;
}

void CompileShader(const ShaderRequest& request, ShaderResult* result) {
    *result = ShaderResult{};
    if (request.entry.empty() || !NamesFunction(request.hlsl, request.entry)) {
        Fail(result, "'" + request.entry + "': entrypoint not found", code::kEntryNotFound);
        return;
    }
    EnsureInitialized();
    std::vector<unsigned> spirv;
    if (!ToSpirv(request, &spirv, result))
        return;
    result->ok = ToGlsl(request, spirv, result);
}

} // namespace platform::fx
