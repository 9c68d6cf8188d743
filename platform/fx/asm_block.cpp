#include "fx/asm_block.h"

#include "device/shader_bytecode/reader.h"
#include "device/shader_bytecode/translator.h"

#include <vector>

namespace platform::fx {

std::size_t AsmBlockEnd(const std::string& text, std::size_t begin) {
    std::size_t at = begin;
    while (at < text.size()) {
        const char c = text[at];
        const char next = at + 1 < text.size() ? text[at + 1] : '\0';
        if (c == '}')
            return at;
        if (c == ';' || (c == '/' && next == '/')) {
            at = text.find('\n', at);
        } else if (c == '/' && next == '*') {
            at = text.find("*/", at + 2);
            at = at == std::string::npos ? at : at + 2;
        } else {
            ++at;
        }
    }
    return std::string::npos;
}

bool TranslateAsmBlock(const char* text, std::size_t length, AsmShader* shader,
                       device::bytecode::AssemblyError* error) {
    namespace bytecode = device::bytecode;
    std::vector<DWORD> tokens;
    if (!bytecode::Assemble(text, length, &tokens, error))
        return false;
    bytecode::Program program;
    if (FAILED(bytecode::ReadBytecode(tokens.data(), tokens.size(), &program)) ||
        FAILED(bytecode::TranslateProgram(program, &shader->glsl))) {
        // The assembler accepts what the translator may not run: the block as a whole is at fault.
        *error = bytecode::AssemblyError{1, 1, bytecode::assembly_error::kNotInVersion,
                                         "the shader uses instructions or registers not supported here"};
        return false;
    }
    shader->pixel = program.pixel;
    shader->profile = std::string(program.pixel ? "ps_" : "vs_") + std::to_string(program.major) + "_" +
                      std::to_string(program.minor);
    return true;
}

} // namespace platform::fx
