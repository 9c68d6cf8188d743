// Constructors as assignment targets, which the HLSL compiler of D3DX accepts and glslang does not:
// `float4(a, b.xy) = expr;` assigns the value's components to the arguments in order. The statement
// becomes a call of a generated function with out parameters, `vtr3_Split4(a, b.xy , expr);`, whose
// overloads for every split of 2 to 4 float components glslang picks by the arguments' types. Only
// tokens on their lines are replaced, so glslang's line numbers stay those of the file.
#ifndef VTR3_PLATFORM_FX_CONSTRUCTOR_TARGETS_H
#define VTR3_PLATFORM_FX_CONSTRUCTOR_TARGETS_H

#include "fx/effect_lexer.h"
#include "fx/text_edits.h"

#include <vector>

namespace platform::fx {

std::vector<TextEdit> RewriteConstructorTargets(const std::vector<Token>& tokens, const std::string& hlsl);

} // namespace platform::fx

#endif
