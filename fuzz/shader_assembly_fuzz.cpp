// The libFuzzer entry point for the shader assembler: the bytes are assembly text of exactly their
// length (as D3DXAssembleShader and an effect's asm block hand it over); text that assembles is read
// and translated as the device reads and translates a caller's bytecode.
#include "device/shader_bytecode/assembler.h"
#include "device/shader_bytecode/reader.h"
#include "device/shader_bytecode/translator.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::device::bytecode;
    std::vector<DWORD> tokens;
    AssemblyError error;
    if (!Assemble(reinterpret_cast<const char*>(data), size, &tokens, &error))
        return 0;
    Program program;
    std::string glsl;
    if (SUCCEEDED(ReadBytecode(tokens.data(), tokens.size(), &program)))
        TranslateProgram(program, &glsl);
    return 0;
}
