// Casts between vectors and arrays, which the HLSL compiler of D3DX accepts and glslang does not:
// `(float[4])v` and `(int4)indices` where `indices` is declared an array of scalars. Each cast becomes
// a call of a generated function, `vtr3_Array_float_4(v)` returning a typedef'd array (overloads for a
// scalar and every vector at least as long, glslang picks by the argument) or
// `vtr3_Vector_int4_from_3(indices)` taking the array. Only text on the cast's lines is replaced, so
// glslang's line numbers stay those of the file.
#ifndef VTR3_PLATFORM_FX_ARRAY_CASTS_H
#define VTR3_PLATFORM_FX_ARRAY_CASTS_H

#include "fx/effect_lexer.h"
#include "fx/text_edits.h"

#include <vector>

namespace platform::fx {

std::vector<TextEdit> RewriteArrayCasts(const std::vector<Token>& tokens, const std::string& hlsl);

} // namespace platform::fx

#endif
