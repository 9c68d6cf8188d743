#include "device/fixed_function/fvf_layout.h"

namespace platform::device {
namespace {

constexpr std::uint16_t kFloat = 4;

// D3DFVF_TEXTUREFORMATn codes in the two bits per set: 0 two floats, 1 three, 2 four, 3 one.
constexpr std::uint8_t kTexCoordFloats[4] = {2, 3, 4, 1};

} // namespace

bool DecodeFvf(DWORD fvf, FvfLayout* layout) {
    *layout = FvfLayout{};
    // 0x2000 is the reserved half of D3DFVF_RESERVED2 (the other half is D3DFVF_XYZW's bit).
    if (fvf & (D3DFVF_RESERVED0 | 0x2000u))
        return false;
    std::uint16_t offset = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
    case 0:
        break;
    case D3DFVF_XYZ:
        layout->position = PositionKind::kXyz;
        offset = 3 * kFloat;
        break;
    case D3DFVF_XYZW:
        layout->position = PositionKind::kXyzw;
        offset = 4 * kFloat;
        break;
    case D3DFVF_XYZRHW:
        layout->position = PositionKind::kXyzRhw;
        offset = 4 * kFloat;
        break;
    case D3DFVF_XYZB1:
    case D3DFVF_XYZB2:
    case D3DFVF_XYZB3:
    case D3DFVF_XYZB4:
    case D3DFVF_XYZB5:
        layout->position = PositionKind::kXyz;
        layout->blendWeights = static_cast<std::uint8_t>(((fvf & D3DFVF_POSITION_MASK) - D3DFVF_XYZRHW) / 2);
        offset = static_cast<std::uint16_t>((3 + layout->blendWeights) * kFloat);
        break;
    default:
        return false;
    }
    if (fvf & D3DFVF_NORMAL) {
        layout->normal = true;
        layout->normalOffset = offset;
        offset += 3 * kFloat;
    }
    if (fvf & D3DFVF_PSIZE) {
        layout->pointSize = true;
        layout->pointSizeOffset = offset;
        offset += kFloat;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        layout->diffuse = true;
        layout->diffuseOffset = offset;
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        layout->specular = true;
        layout->specularOffset = offset;
        offset += 4;
    }
    const DWORD count = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (count > 8)
        return false;
    layout->texCoordCount = static_cast<std::uint8_t>(count);
    for (DWORD i = 0; i < count; ++i) {
        layout->texCoordSize[i] = kTexCoordFloats[(fvf >> (16 + 2 * i)) & 3u];
        layout->texCoordOffset[i] = offset;
        offset += static_cast<std::uint16_t>(layout->texCoordSize[i] * kFloat);
    }
    layout->size = offset;
    return true;
}

} // namespace platform::device
