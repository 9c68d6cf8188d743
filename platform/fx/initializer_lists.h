// Flat initialiser lists, as the HLSL compiler of D3DX flattens them: `float4 v[2] = {1, 2, 3, 4, 5,
// 6, 7, 8};` or a struct's members in one list. glslang wants them nested by the declared type, so
// the flat lists of arrays and structs get braces and constructors inserted around their items. Only
// text is inserted, never a line break, so glslang's line numbers stay those of the file.
#ifndef VTR3_PLATFORM_FX_INITIALIZER_LISTS_H
#define VTR3_PLATFORM_FX_INITIALIZER_LISTS_H

#include "fx/effect_lexer.h"

#include <string>
#include <vector>

namespace platform::fx {

// `tokens` are those of `hlsl` as the lexer read it; lists in blanked parts are left alone.
void NestInitializerLists(const std::vector<Token>& tokens, std::string* hlsl);

} // namespace platform::fx

#endif
