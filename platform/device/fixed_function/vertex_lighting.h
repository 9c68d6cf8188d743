// The fixed-function lighting of one vertex on the CPU, for ProcessVertices: the terms of the
// generated vertex program (glsl_vertex.cpp), read from the same key and uniform block, so that a
// processed vertex carries the colours a draw would give it.
#ifndef VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_VERTEX_LIGHTING_H
#define VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_VERTEX_LIGHTING_H

#include "device/fixed_function/uniform_blocks.h"

namespace platform::device {

struct LitVertex {
    Float4 viewPosition; // the vertex in view space
    Float4 normal;       // the model-space normal; ignored unless the key says the vertex has one
    Float4 diffuse;      // the vertex's colours, or their defaults
    Float4 specular;
};

// Diffuse and specular as the program writes them, clamped to 0..1. The key must have lighting on.
void LightVertex(const VertexProgramKey& key, const FixedVertexBlock& block, const LitVertex& vertex,
                 Float4* diffuse, Float4* specular);

} // namespace platform::device

#endif
