// The libFuzzer entry point for the shader bytecode reader and translator: the bytes are tokens and
// an end token is put after them (the device's scan for the end of a caller's bytecode has no bound
// but its token limit, so it is not run here), then they are read and, when they read, translated.
#include "device/shader_bytecode/reader.h"
#include "device/shader_bytecode/translator.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::device::bytecode;
    std::vector<DWORD> tokens(size / sizeof(DWORD) + 1, D3DVS_END());
    if (size >= sizeof(DWORD))
        std::memcpy(tokens.data(), data, size / sizeof(DWORD) * sizeof(DWORD));
    Program program;
    std::string glsl;
    if (SUCCEEDED(ReadBytecode(tokens.data(), tokens.size(), &program)))
        TranslateProgram(program, &glsl);
    return 0;
}
