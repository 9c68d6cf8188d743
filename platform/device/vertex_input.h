// What a draw reads from its vertex streams, as the GL's attribute formats and as the summary the
// fixed-function programs are keyed by. A flexible vertex format and a vertex declaration both come
// down to this, so the drawing path has one way to set up its vertex array.
#ifndef VTR3_PLATFORM_DEVICE_VERTEX_INPUT_H
#define VTR3_PLATFORM_DEVICE_VERTEX_INPUT_H

#include "device/fixed_function/fvf_layout.h"
#include "device/gl_api.h"
#include "device/shader_interface.h"

#include <d3d9types.h>

#include <cstdint>

namespace platform::device {

struct VertexAttribute {
    std::uint8_t location = 0; // VertexAttributeLocation
    std::uint8_t stream = 0;   // the vertex array's binding point
    std::uint16_t offset = 0;
    GLint size = 0; // components, or GL_BGRA for D3DCOLOR
    GLenum type = GL_FLOAT;
    bool normalised = false;
};

struct VertexInput {
    FvfLayout layout; // position kind, colours, texture coordinate sets; offsets unused
    VertexAttribute attributes[kAttributeCount];
    std::uint8_t attributeCount = 0;
    std::uint16_t streams = 0; // bit n: stream n is read
    // Per stream, the bytes of a vertex read: where the furthest element ends (past the stride for
    // elements that reach into the next vertex).
    std::uint32_t extent[16] = {};
};

// D3DDECLTYPE's bytes and GL format; false for D3DDECLTYPE_UNUSED and unknown types.
struct DeclTypeFormat {
    std::uint8_t bytes;
    GLint size;
    GLenum type;
    bool normalised;
};
bool DeclTypeFormatOf(BYTE declType, DeclTypeFormat* format);

// The attribute location of a declaration usage and usage index, where effects and shader bytecode
// bind their vertex inputs; -1 for what no program reads.
int AttributeLocationOf(unsigned usage, unsigned index);

// The input of a flexible vertex format, decoded as `layout`: its declaration's elements, in stream
// 0 (the last beta of XYZB formats with LASTBETA_UBYTE4 or LASTBETA_D3DCOLOR reads as BLENDINDICES).
void VertexInputOfFvf(DWORD fvf, const FvfLayout& layout, VertexInput* input);
// The input of declaration elements the declaration has validated. Elements with no attribute
// location (point size, fog, depth, a second position) are not read.
void VertexInputOfElements(const D3DVERTEXELEMENT9* elements, UINT count, VertexInput* input);

} // namespace platform::device

#endif
