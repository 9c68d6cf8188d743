// Flat initialiser lists, as the HLSL compiler of D3DX flattens them: `float4 v[2] = {1, 2, 3, 4, 5,
// 6, 7, 8};` or a struct's members in one list. glslang wants them nested by the declared type, so
// the flat lists of arrays and structs get braces and constructors inserted around their items. Only
// text is inserted, never a line break, so glslang's line numbers stay those of the file.
#ifndef VTR3_PLATFORM_FX_INITIALIZER_LISTS_H
#define VTR3_PLATFORM_FX_INITIALIZER_LISTS_H

#include "fx/effect_lexer.h"
#include "fx/text_edits.h"

#include <string>
#include <vector>

namespace platform::fx {

// Components of a numeric type name (float, half3, int2x2, vector, matrix); 0 when it is none.
int NumericComponents(const std::string& type);

// The insertions for the lists of `hlsl`, whose tokens are `tokens`; blanked parts are left alone.
std::vector<TextEdit> NestInitializerLists(const std::vector<Token>& tokens, const std::string& hlsl);

} // namespace platform::fx

#endif
