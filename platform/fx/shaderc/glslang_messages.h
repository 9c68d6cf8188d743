// glslang's info log in the form an HLSL author knows: each error with its line, a column (from
// glslang's parse-failure note or the quoted token's place in the line) and a Direct3D error code.
#ifndef VTR3_PLATFORM_FX_SHADERC_GLSLANG_MESSAGES_H
#define VTR3_PLATFORM_FX_SHADERC_GLSLANG_MESSAGES_H

#include "fx/shaderc/shader_compiler.h"

#include <string>
#include <vector>

namespace platform::fx {

// `sourceName` is the name the log uses for the text; `source` is that text (for columns).
std::vector<CompilerMessage> ParseGlslangLog(const std::string& log, const std::string& sourceName,
                                             const std::string& source);

} // namespace platform::fx

#endif
