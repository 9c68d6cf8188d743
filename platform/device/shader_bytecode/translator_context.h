// The state shared by the translator's parts while one program is translated.
#ifndef VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_TRANSLATOR_CONTEXT_H
#define VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_TRANSLATOR_CONTEXT_H

#include "device/shader_bytecode/reader.h"

#include <map>
#include <string>
#include <vector>

namespace platform::device::bytecode {

// A register the shader declares with a semantic (dcl), as an input or an output.
struct Declaration {
    std::uint32_t type = 0;
    std::uint32_t number = 0;
    std::uint32_t usage = 0;
    std::uint32_t usageIndex = 0;
    std::uint32_t writeMask = 0xF;
    bool centroid = false;
};

struct Context {
    explicit Context(const Program& p) : program(p), pixel(p.pixel), major(p.major) {}

    const Program& program;
    const bool pixel;
    const std::uint32_t major;
    std::string* out = nullptr; // main's body, or the subroutine being written
    std::string main;
    std::string subroutines;
    int indent = 1;
    std::vector<std::string> loops; // the aL variable of each enclosing loop, or "" for rep

    std::vector<Declaration> inputs;
    std::vector<Declaration> outputs;
    std::uint32_t samplerTypes[16] = {}; // D3DSTT_* of each dcl'd sampler
    std::map<std::uint32_t, const std::uint32_t*> floatDefs;
    std::map<std::uint32_t, const std::uint32_t*> intDefs;
    std::map<std::uint32_t, std::uint32_t> boolDefs;
    std::uint32_t colorOutputs = 0; // bit n: oC n written
    bool depthOutput = false;
    int matrixRow = 0; // texm3x2pad and texm3x3pad rows done (pixel shaders 1.x)

    void Line(const std::string& text) {
        out->append(static_cast<std::size_t>(indent) * 4, ' ');
        *out += text;
        *out += '\n';
    }
};

// Operands (translator_operands.cpp). Each returns false for a register the version does not have.
bool SourceExpression(Context* c, const Parameter& p, std::string* glsl); // a vec4, swizzled, modified
bool ScalarSource(Context* c, const Parameter& p, std::string* glsl);     // its replicated component
bool DestinationName(Context* c, const Parameter& p, std::string* glsl);  // a vec4 lvalue
std::string MaskSuffix(std::uint32_t writeMask);                          // ".xz", "" for all four
std::string FloatLiteral(std::uint32_t bits);
std::string Comparison(std::uint32_t control); // the GLSL operator of D3DSPC_*, "" when invalid

// Instructions (translator_instructions.cpp; the texture instructions of pixel shaders 1.x in
// translator_ps1.cpp, which leaves *handled false for the others).
bool EmitInstruction(Context* c, const Instruction& in);
bool EmitPs1Texture(Context* c, const Instruction& in, bool* handled);

} // namespace platform::device::bytecode

#endif
