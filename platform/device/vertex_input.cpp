#include "device/vertex_input.h"

#include "device/fvf_elements.h"

#include <algorithm>

namespace platform::device {
namespace {

// By D3DDECLTYPE. D3DCOLOR is B, G, R, A bytes in memory: GL's BGRA size reads it as red, green,
// blue, alpha. UDEC3 and DEC3N read their two top bits as w, where Direct3D gives 1.
constexpr DeclTypeFormat kDeclTypes[] = {
    {4, 1, GL_FLOAT, false},                       // FLOAT1
    {8, 2, GL_FLOAT, false},                       // FLOAT2
    {12, 3, GL_FLOAT, false},                      // FLOAT3
    {16, 4, GL_FLOAT, false},                      // FLOAT4
    {4, GL_BGRA, GL_UNSIGNED_BYTE, true},          // D3DCOLOR
    {4, 4, GL_UNSIGNED_BYTE, false},               // UBYTE4
    {4, 2, GL_SHORT, false},                       // SHORT2
    {8, 4, GL_SHORT, false},                       // SHORT4
    {4, 4, GL_UNSIGNED_BYTE, true},                // UBYTE4N
    {4, 2, GL_SHORT, true},                        // SHORT2N
    {8, 4, GL_SHORT, true},                        // SHORT4N
    {4, 2, GL_UNSIGNED_SHORT, true},               // USHORT2N
    {8, 4, GL_UNSIGNED_SHORT, true},               // USHORT4N
    {4, 4, GL_UNSIGNED_INT_2_10_10_10_REV, false}, // UDEC3
    {4, 4, GL_INT_2_10_10_10_REV, true},           // DEC3N
    {4, 2, GL_HALF_FLOAT, false},                  // FLOAT16_2
    {8, 4, GL_HALF_FLOAT, false},                  // FLOAT16_4
};
static_assert(sizeof kDeclTypes / sizeof kDeclTypes[0] == D3DDECLTYPE_UNUSED);

// A location read twice (a declaration may repeat a usage) takes the last element's format.
void Add(VertexInput* input, int location, std::uint8_t stream, std::uint16_t offset, GLint size, GLenum type,
         bool normalised) {
    unsigned i = 0;
    while (i < input->attributeCount && input->attributes[i].location != location)
        ++i;
    input->attributeCount =
        static_cast<std::uint8_t>(i == input->attributeCount ? i + 1 : input->attributeCount);
    input->attributes[i] =
        VertexAttribute{static_cast<std::uint8_t>(location), stream, offset, size, type, normalised};
}

// What the fixed-function programs see of one element read at `location`.
void Summarise(const D3DVERTEXELEMENT9& e, int location, GLint size, FvfLayout* layout) {
    const auto components = static_cast<std::uint8_t>(size == GL_BGRA ? 4 : size);
    if (location == kAttributePosition)
        layout->position = e.Usage == D3DDECLUSAGE_POSITIONT ? PositionKind::kXyzRhw
                           : components == 4                 ? PositionKind::kXyzw
                                                             : PositionKind::kXyz;
    else if (location == kAttributeBlendWeight)
        layout->blendWeights = components;
    else if (location == kAttributeNormal)
        layout->normal = true;
    else if (location == kAttributeColor0)
        layout->diffuse = true;
    else if (location == kAttributeColor1)
        layout->specular = true;
    else if (location >= kAttributeTexCoord0) {
        const int set = location - kAttributeTexCoord0;
        // Sets the declaration skips read GL's default attribute (0, 0, 0, 1), all four components.
        for (int i = layout->texCoordCount; i < set; ++i)
            layout->texCoordSize[i] = 4;
        if (set >= layout->texCoordCount)
            layout->texCoordCount = static_cast<std::uint8_t>(set + 1);
        layout->texCoordSize[set] = components;
    }
}

} // namespace

int AttributeLocationOf(unsigned usage, unsigned index) {
    switch (usage) {
    case D3DDECLUSAGE_POSITION:
    case D3DDECLUSAGE_POSITIONT:
        return index == 0 ? kAttributePosition : -1;
    case D3DDECLUSAGE_BLENDWEIGHT:
        return index == 0 ? kAttributeBlendWeight : -1;
    case D3DDECLUSAGE_BLENDINDICES:
        return index == 0 ? kAttributeBlendIndices : -1;
    case D3DDECLUSAGE_NORMAL:
        return index == 0 ? kAttributeNormal : -1;
    case D3DDECLUSAGE_COLOR:
        return index < 2 ? kAttributeColor0 + static_cast<int>(index) : -1;
    case D3DDECLUSAGE_TANGENT:
        return index == 0 ? kAttributeTangent : -1;
    case D3DDECLUSAGE_BINORMAL:
        return index == 0 ? kAttributeBinormal : -1;
    case D3DDECLUSAGE_TEXCOORD:
        return index < 8 ? kAttributeTexCoord0 + static_cast<int>(index) : -1;
    default:
        return -1;
    }
}

bool DeclTypeFormatOf(BYTE declType, DeclTypeFormat* format) {
    if (declType >= D3DDECLTYPE_UNUSED)
        return false;
    *format = kDeclTypes[declType];
    return true;
}

void VertexInputOfFvf(DWORD fvf, const FvfLayout& layout, VertexInput* input) {
    D3DVERTEXELEMENT9 elements[kMaxFvfElements];
    UINT count = 0;
    UINT size = 0;
    if (ElementsOfFvf(fvf, elements, &count, &size))
        VertexInputOfElements(elements, count, input);
    else
        *input = VertexInput{};
    // The format's own summary keys the fixed-function programs.
    input->layout = layout;
    input->streams = 1;
    input->extent[0] = layout.size;
}

void VertexInputOfElements(const D3DVERTEXELEMENT9* elements, UINT count, VertexInput* input) {
    *input = VertexInput{};
    for (UINT i = 0; i < count; ++i) {
        const D3DVERTEXELEMENT9& e = elements[i];
        const int location = AttributeLocationOf(e.Usage, e.UsageIndex);
        DeclTypeFormat format{};
        if (e.Usage == D3DDECLUSAGE_PSIZE && e.UsageIndex == 0)
            input->layout.pointSize = true;
        if (location < 0 || !DeclTypeFormatOf(e.Type, &format))
            continue;
        Add(input, location, e.Stream, e.Offset, format.size, format.type, format.normalised);
        input->extent[e.Stream] = std::max<std::uint32_t>(input->extent[e.Stream], e.Offset + format.bytes);
        Summarise(e, location, format.size, &input->layout);
    }
    for (unsigned i = 0; i < input->attributeCount; ++i)
        input->streams = static_cast<std::uint16_t>(input->streams | (1u << input->attributes[i].stream));
}

} // namespace platform::device
