// One shader of a pass: HLSL (glslang's HLSL front end, DX9-compatible mode) to SPIR-V, SPIR-V to
// GLSL 4.50 (SPIRV-Cross), inputs and outputs matched by semantic to the device's fixed locations.
// Pure text work that touches no GL, so it can run in a child process (compile_isolation.h).
#ifndef VTR3_PLATFORM_FX_SHADER_COMPILER_H
#define VTR3_PLATFORM_FX_SHADER_COMPILER_H

#include <string>
#include <vector>

namespace platform::fx {

enum class ShaderStage { Vertex, Pixel };

struct ShaderRequest {
    std::string hlsl; // the combined text with the effect-only parts blanked
    std::string entry;
    std::string profile; // vs_2_0, ps_3_0, ...
    ShaderStage stage = ShaderStage::Vertex;
};

// A message of glslang or of the fix-up, at a combined line (1-based; 0 when unknown).
struct CompilerMessage {
    int line = 0;
    int column = 0;
    bool warning = false;
    int code = 0;
    std::string text;
};

struct ShaderUniform {
    std::string name;  // the HLSL name (the member of the global block)
    int registers = 0; // float4 constant registers it takes
};

struct ShaderResult {
    bool ok = false;
    std::string glsl;
    std::vector<CompilerMessage> messages;
    std::vector<ShaderUniform> uniforms; // used members of the global block
    std::vector<std::string> samplers;   // sampler uniforms, by HLSL name
    int constantRegisters = 0;
};

// The instance name of the global block in the GLSL of each stage: uniforms are "fx_vs.name".
const char* BlockInstanceName(ShaderStage stage);

// Compiles in this process. glslang is known to crash on some input: call through
// CompileIsolated unless the input is trusted.
void CompileShader(const ShaderRequest& request, ShaderResult* result);

// Warms glslang's built-in symbol tables in this process, so that child processes forked later
// start warm (the first compile in a process costs tens of milliseconds more).
void WarmCompiler();

} // namespace platform::fx

#endif
