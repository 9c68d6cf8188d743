// Reads Direct3D 9 shader bytecode (the token format of Direct3D 9 drivers) into instructions with
// decoded parameters. The reader checks the structure only: token kinds, lengths, register types.
// Which instructions and registers a version may use is left to the translator.
#ifndef VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_READER_H
#define VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_READER_H

#include <d3d9.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::device::bytecode {

// Longest bytecode accepted, in tokens: far beyond what 3.0's instruction slots can hold.
constexpr std::size_t kMaxTokens = std::size_t{1} << 20;

// A relative address: the register and component whose value is added to the register number.
struct RelativeAddress {
    std::uint32_t type = D3DSPR_ADDR;
    std::uint32_t number = 0;
    std::uint32_t component = 0;
};

struct Parameter {
    std::uint32_t type = 0;
    std::uint32_t number = 0;
    bool relative = false;
    RelativeAddress address;
    // Destinations: write mask (bit n: component n), D3DSPDM_* bits and the 1.x shift scale.
    std::uint32_t writeMask = 0xF;
    std::uint32_t modifiers = 0;
    std::uint32_t shift = 0;
    // Sources: components selected per output component, and the D3DSPSM_* modifier.
    std::uint8_t swizzle[4] = {0, 1, 2, 3};
    std::uint32_t sourceModifier = D3DSPSM_NONE;
};

struct Instruction {
    std::uint32_t opcode = D3DSIO_NOP;
    std::uint32_t control = 0; // the opcode-specific bits 16 to 23
    bool predicated = false;
    bool coissue = false;
    bool hasDestination = false;
    Parameter destination;
    Parameter predicate;
    int sourceCount = 0;
    Parameter sources[4];
    // dcl: usage, usage index and sampler texture type (D3DSTT_*); def, defi, defb: the raw values.
    std::uint32_t usage = 0;
    std::uint32_t usageIndex = 0;
    std::uint32_t textureType = 0;
    std::uint32_t values[4] = {};
};

struct Program {
    bool pixel = false;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::size_t tokenCount = 0; // including the version and end tokens
    std::vector<Instruction> instructions;
};

// The number of tokens up to and including the end token, following instruction lengths and
// comment sizes with no more than kMaxTokens read; D3DERR_INVALIDCALL when there is no end in reach.
HRESULT MeasureBytecode(const DWORD* function, std::size_t* tokenCount);

// Reads `count` tokens, which must end with the end token.
HRESULT ReadBytecode(const DWORD* tokens, std::size_t count, Program* program);

// The token's register type, from bits 28 to 30 and 11 to 12.
inline std::uint32_t RegisterType(DWORD token) {
    return ((token & D3DSP_REGTYPE_MASK) >> D3DSP_REGTYPE_SHIFT) |
           ((token & D3DSP_REGTYPE_MASK2) >> D3DSP_REGTYPE_SHIFT2);
}

} // namespace platform::device::bytecode

#endif
