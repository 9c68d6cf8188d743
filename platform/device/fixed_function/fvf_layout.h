// Where a flexible vertex format puts each element of a vertex, in Direct3D's fixed order:
// position, blend weights, normal, point size, diffuse, specular, texture coordinate sets.
#ifndef VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_FVF_LAYOUT_H
#define VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_FVF_LAYOUT_H

#include <d3d9types.h>

#include <cstdint>

namespace platform::device {

enum class PositionKind : std::uint8_t {
    kNone,
    kXyz,    // transformed by world, view and projection
    kXyzw,   // as kXyz with a given w
    kXyzRhw, // already in screen space: x, y in pixels, z depth, reciprocal of w
};

struct FvfLayout {
    PositionKind position = PositionKind::kNone;
    std::uint8_t blendWeights = 0; // floats between position and normal
    bool normal = false;
    bool pointSize = false;
    bool diffuse = false;
    bool specular = false;
    std::uint8_t texCoordCount = 0;
    std::uint8_t texCoordSize[8] = {}; // floats per set, 1 to 4

    // Byte offsets of each element; meaningful where the element is present.
    std::uint16_t positionOffset = 0;
    std::uint16_t normalOffset = 0;
    std::uint16_t pointSizeOffset = 0;
    std::uint16_t diffuseOffset = 0;
    std::uint16_t specularOffset = 0;
    std::uint16_t texCoordOffset[8] = {};
    std::uint16_t size = 0; // bytes of one vertex
};

// False for a format Direct3D refuses: reserved bits, an unknown position type, more than eight
// texture coordinate sets.
bool DecodeFvf(DWORD fvf, FvfLayout* layout);

} // namespace platform::device

#endif
