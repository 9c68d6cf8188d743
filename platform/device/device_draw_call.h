// One draw as the GL sees it, and the Direct3D primitive arithmetic every draw method shares.
#ifndef VTR3_PLATFORM_DEVICE_DEVICE_DRAW_CALL_H
#define VTR3_PLATFORM_DEVICE_DEVICE_DRAW_CALL_H

#include "device/device.h"
#include "device/gl_api.h"

#include <cstdint>

namespace platform::device {

struct Device::DrawCall {
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    UINT count = 0; // vertices, or indices when indexed
    UINT first = 0; // first vertex of a non-indexed draw
    UINT stride = 0;
    GLuint vertexBuffer = 0;
    GLintptr vertexOffset = 0;
    bool indexed = false;
    GLenum indexType = GL_UNSIGNED_SHORT;
    GLuint indexBuffer = 0;
    GLintptr indexOffset = 0;
    GLint baseVertex = 0;
    UINT instances = 0; // indexed buffer draws: the instances; 0 where instancing does not apply
};

// Vertices (or indices) that primitiveCount primitives of a type take; 0 for an unknown type, a
// count of 0 or one too large to draw.
UINT VerticesOfPrimitives(D3DPRIMITIVETYPE type, UINT primitiveCount);
GLenum GlPrimitive(D3DPRIMITIVETYPE type);
// Whether every index lies in [first, end).
bool IndicesWithin(const void* indices, UINT indexSize, UINT count, std::uint64_t first, std::uint64_t end);

} // namespace platform::device

#endif
