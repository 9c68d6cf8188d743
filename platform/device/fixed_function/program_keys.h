// The state a generated fixed-function program depends on, packed into plain bytes so that equal
// state finds the same cached program without allocating. Everything else the pipeline needs
// (matrices, colours, light parameters) reaches the programs as uniform data.
#ifndef VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_PROGRAM_KEYS_H
#define VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_PROGRAM_KEYS_H

#include "device/fixed_function/fvf_layout.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace platform::device {

struct DeviceState;

constexpr unsigned kFixedStages = 8;
constexpr unsigned kFixedLights = 8;

enum class StageTextureKind : std::uint8_t { kNone, k2d, kCube, kVolume };

enum class LightKind : std::uint8_t { kNone, kPoint, kSpot, kDirectional };

struct VertexProgramKey {
    PositionKind position;
    std::uint8_t normal;
    std::uint8_t diffuse;
    std::uint8_t specular;
    std::uint8_t texCoordCount;
    std::uint8_t texCoordSize[8];
    std::uint8_t lighting;
    std::uint8_t lightCount;
    LightKind lights[kFixedLights];
    // D3DMCS_* after Direct3D's fallbacks (a colour the vertex lacks reads from the material).
    std::uint8_t diffuseSource;
    std::uint8_t ambientSource;
    std::uint8_t specularSource;
    std::uint8_t emissiveSource;
    std::uint8_t normalizeNormals;
    std::uint8_t localViewer;
    std::uint8_t specularEnable;
    std::uint8_t flatShading;
    // Per stage: the coordinate set (low byte of D3DTSS_TEXCOORDINDEX), its generation mode (bits
    // 16 and up, shifted down) and D3DTSS_TEXTURETRANSFORMFLAGS' count.
    std::uint8_t texSet[kFixedStages];
    std::uint8_t texGen[kFixedStages];
    std::uint8_t texTransformCount[kFixedStages];
    // D3DFOG_* computed per vertex (vertex fog on, no table fog); D3DFOG_NONE passes the specular
    // alpha on as the fog factor.
    std::uint8_t fogMode;
    std::uint8_t rangeFog;

    bool operator==(const VertexProgramKey& other) const;
};

struct StageKey {
    std::uint8_t colorOp;
    std::uint8_t colorArg[3]; // D3DTSS_COLORARG0, 1, 2
    std::uint8_t alphaOp;
    std::uint8_t alphaArg[3];
    std::uint8_t resultArg;
    StageTextureKind texture;
    std::uint8_t projected;
};

struct PixelProgramKey {
    StageKey stages[kFixedStages];
    std::uint8_t alphaTestFunc; // D3DCMP_*, 0 when alpha testing is off
    std::uint8_t specularAdd;
    std::uint8_t flatShading;

    bool operator==(const PixelProgramKey& other) const;
};

static_assert(std::has_unique_object_representations_v<VertexProgramKey>);
static_assert(std::has_unique_object_representations_v<PixelProgramKey>);

struct ProgramKeyHash {
    std::size_t operator()(const VertexProgramKey& key) const;
    std::size_t operator()(const PixelProgramKey& key) const;
};

// The keys for the current state. Stage i's texture kind comes from the caller (what is bound).
void BuildVertexProgramKey(const DeviceState& state, const FvfLayout& layout, VertexProgramKey* key);
void BuildPixelProgramKey(const DeviceState& state, const StageTextureKind textures[kFixedStages],
                          PixelProgramKey* key);

} // namespace platform::device

#endif
