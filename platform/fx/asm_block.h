// The `asm { ... }` blocks of effect files: where a block's assembly ends, and the separable GL
// program it becomes through the device's assembler and bytecode translator.
#ifndef VTR3_PLATFORM_FX_ASM_BLOCK_H
#define VTR3_PLATFORM_FX_ASM_BLOCK_H

#include "device/shader_bytecode/assembler.h"

#include <cstddef>
#include <string>

namespace platform::fx {

// The offset of the '}' that closes a block whose text starts at `begin`, or std::string::npos.
// Comments (';' and '//' to the end of their line, '/* */') may hold braces.
std::size_t AsmBlockEnd(const std::string& text, std::size_t begin);

struct AsmShader {
    bool pixel = false;
    std::string profile; // vs_1_1 ... ps_3_0, from the version token
    std::string glsl;
};

// Assembles and translates `length` bytes of `text`; false with the error at its line and column
// within the text (from 1).
bool TranslateAsmBlock(const char* text, std::size_t length, AsmShader* shader,
                       device::bytecode::AssemblyError* error);

} // namespace platform::fx

#endif
