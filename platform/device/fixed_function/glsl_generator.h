// GLSL 4.50 source of the separable fixed-function programs for a key. The vertex stage ends
// through vtr3_EmitPosition (shader_interface.h); both stages read their uniform blocks
// (uniform_blocks.h) and exchange varyings at the locations of the shader interface.
#ifndef VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_GLSL_GENERATOR_H
#define VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_GLSL_GENERATOR_H

#include "device/fixed_function/program_keys.h"

#include <string>

namespace platform::device {

std::string GenerateVertexGlsl(const VertexProgramKey& key);
std::string GeneratePixelGlsl(const PixelProgramKey& key);

} // namespace platform::device

#endif
