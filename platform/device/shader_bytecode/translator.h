// Translates read shader bytecode into a separable GLSL 4.50 program that meets the device's
// program contract (shader_interface.h): vertex inputs by dcl usage at the attribute locations,
// varyings at theirs, vtr3_EmitPosition, fog and the alpha test after pixel shaders. Float, integer
// and boolean constants come from one uniform block per stage (ShaderConstantBlock), which def,
// defi and defb registers override.
#ifndef VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_TRANSLATOR_H
#define VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_TRANSLATOR_H

#include "device/shader_bytecode/reader.h"

#include <string>

namespace platform::device::bytecode {

// Uniform block binding points of the constants; the fixed-function blocks take 14 and 15.
constexpr unsigned kVertexConstantBinding = 12;
constexpr unsigned kPixelConstantBinding = 13;
constexpr unsigned kVertexFloatConstants = 256;
constexpr unsigned kPixelFloatConstants = 224;
constexpr unsigned kIntConstants = 16;
constexpr unsigned kBoolConstants = 16;

// The std140 layout of a stage's constant block.
template <unsigned FloatCount> struct ShaderConstantBlock {
    float c[FloatCount][4];
    int i[kIntConstants][4];
    unsigned b; // bit n: boolean register n
    unsigned padding[3];
};

// D3DERR_INVALIDCALL for versions, instructions, registers and modifiers not translated.
HRESULT TranslateProgram(const Program& program, std::string* glsl);

} // namespace platform::device::bytecode

#endif
