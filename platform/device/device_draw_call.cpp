#include "device/device_draw_call.h"

#include <limits>

namespace platform::device {
namespace {

// GL primitive by D3DPRIMITIVETYPE; a fan keeps its order, as GL's first-vertex convention
// provokes a fan's triangle from its second vertex, as Direct3D does.
constexpr GLenum kPrimitives[] = {GL_POINTS,    GL_POINTS,         GL_LINES,       GL_LINE_STRIP,
                                  GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN};
static_assert(sizeof kPrimitives / sizeof kPrimitives[0] == D3DPT_TRIANGLEFAN + 1);

} // namespace

UINT VerticesOfPrimitives(D3DPRIMITIVETYPE type, UINT primitiveCount) {
    if (primitiveCount == 0)
        return 0;
    std::uint64_t count = 0;
    switch (type) {
    case D3DPT_POINTLIST:
        count = primitiveCount;
        break;
    case D3DPT_LINELIST:
        count = std::uint64_t{primitiveCount} * 2;
        break;
    case D3DPT_LINESTRIP:
        count = std::uint64_t{primitiveCount} + 1;
        break;
    case D3DPT_TRIANGLELIST:
        count = std::uint64_t{primitiveCount} * 3;
        break;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        count = std::uint64_t{primitiveCount} + 2;
        break;
    default:
        return 0;
    }
    return count > static_cast<std::uint64_t>(std::numeric_limits<GLint>::max()) ? 0
                                                                                 : static_cast<UINT>(count);
}

GLenum GlPrimitive(D3DPRIMITIVETYPE type) {
    return type >= D3DPT_POINTLIST && type <= D3DPT_TRIANGLEFAN ? kPrimitives[type] : GL_POINTS;
}

bool IndicesWithin(const void* indices, UINT indexSize, UINT count, std::uint64_t first, std::uint64_t end) {
    for (UINT i = 0; i < count; ++i) {
        std::uint64_t index;
        if (indexSize == 2)
            index = static_cast<const std::uint16_t*>(indices)[i];
        else
            index = static_cast<const std::uint32_t*>(indices)[i];
        if (index < first || index >= end)
            return false;
    }
    return true;
}

} // namespace platform::device
