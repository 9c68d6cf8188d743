// One shader of a pass: HLSL (glslang's HLSL front end, DX9-compatible mode) to SPIR-V, SPIR-V to
// GLSL 4.50 (SPIRV-Cross), inputs and outputs matched by semantic to the device's fixed locations.
// Runs only in the vtr3-shaderc program: glslang crashes on some input, and the engine's process
// must not go down with it.
#ifndef VTR3_PLATFORM_FX_SHADERC_SHADER_COMPILER_H
#define VTR3_PLATFORM_FX_SHADERC_SHADER_COMPILER_H

#include "fx/shader_request.h"

namespace platform::fx {

void CompileShader(const ShaderRequest& request, ShaderResult* result);

// Builds glslang's built-in symbol tables (the first compile in a process costs tens of
// milliseconds more), so that a freshly started program is warm before its first request.
void WarmCompiler();

} // namespace platform::fx

#endif
