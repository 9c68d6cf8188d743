// The names of Direct3D 9 shader assembly: instructions with the versions that have them, registers
// with the stage that has them, dcl usages and sampler types.
#ifndef VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_ASSEMBLER_TABLES_H
#define VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_ASSEMBLER_TABLES_H

#include <d3d9.h>

#include <cstdint>
#include <string_view>

namespace platform::device::bytecode::assembly {

// Version families an instruction belongs to.
enum Family : std::uint8_t {
    kVs1 = 1,   // vs_1_1
    kVs2 = 2,   // vs_2_0, vs_2_x
    kVs3 = 4,   // vs_3_0
    kPs1 = 8,   // ps_1_1 to ps_1_3
    kPs14 = 16, // ps_1_4
    kPs2 = 32,  // ps_2_0, ps_2_x
    kPs3 = 64,  // ps_3_0
};

std::uint8_t FamilyOf(bool pixel, std::uint32_t major, std::uint32_t minor);

struct OpcodeName {
    std::string_view name;
    std::uint32_t opcode;
    std::uint32_t control; // bits 16 to 23 the name implies (texldp, texldb)
    bool destination;
    std::uint8_t minSources, maxSources;
    std::uint8_t families;
};

// The instruction named (case-insensitive), or null.
const OpcodeName* FindOpcode(std::string_view name);

struct RegisterName {
    std::string_view name;
    std::uint32_t type;
    std::int32_t fixedNumber; // -1: the name is followed by its number
    bool vertex, pixel;
};

// The register whose name is `prefix` (the letters before the number) in the stage given, or null.
const RegisterName* FindRegister(std::string_view prefix, bool pixel);

// D3DDECLUSAGE_* for a dcl suffix without its index, or -1.
int FindUsage(std::string_view name);

// D3DSTT_* for a dcl suffix naming a sampler type, or 0.
std::uint32_t FindSamplerType(std::string_view name);

// D3DSPC_* for an instruction suffix naming a comparison, or 0.
std::uint32_t FindComparison(std::string_view name);

bool EqualsNoCase(std::string_view a, std::string_view b);

} // namespace platform::device::bytecode::assembly

#endif
