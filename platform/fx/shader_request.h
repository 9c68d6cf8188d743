// What the effect framework asks of the shader compiler program and what it gets back: one shader
// of a pass in HLSL, and GLSL 4.50 with the compiler's messages and the shader's uniforms.
#ifndef VTR3_PLATFORM_FX_SHADER_REQUEST_H
#define VTR3_PLATFORM_FX_SHADER_REQUEST_H

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
inline const char* BlockInstanceName(ShaderStage stage) {
    return stage == ShaderStage::Vertex ? "fx_vs" : "fx_ps";
}

} // namespace platform::fx

#endif
