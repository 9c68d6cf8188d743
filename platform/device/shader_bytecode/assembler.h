// Shader assembly text (vs_1_1 to vs_3_0, ps_1_1 to ps_3_0) to Direct3D 9 bytecode, as D3DX
// assembles it: for D3DXAssembleShader and for asm blocks in effects.
#ifndef VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_ASSEMBLER_H
#define VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_ASSEMBLER_H

#include <d3d9.h>

#include <cstddef>
#include <string>
#include <vector>

namespace platform::device::bytecode {

// The error codes of the messages, in the compiler's X5xxx range for assembly.
namespace assembly_error {
constexpr int kSyntax = 5000;
constexpr int kUnknownInstruction = 5001;
constexpr int kBadRegister = 5002;
constexpr int kNotInVersion = 5003;
constexpr int kBadVersion = 5004;
constexpr int kBadValue = 5005;
} // namespace assembly_error

struct AssemblyError {
    int line = 0;
    int column = 0;
    int code = 0;
    std::string message;
};

// Assembles `length` bytes of `text` into `tokens` (version token to end token). False with the
// first error, located at its line and column (from 1).
bool Assemble(const char* text, std::size_t length, std::vector<DWORD>* tokens, AssemblyError* error);

} // namespace platform::device::bytecode

#endif
