#include "device/process_vertices.h"

#include "device/fixed_function/vertex_lighting.h"

#include <cmath>
#include <cstring>

namespace platform::device {
namespace {

constexpr D3DCOLOR kDefaultDiffuse = 0xFFFFFFFF; // what a vertex without colours has
constexpr D3DCOLOR kDefaultSpecular = 0;

const VertexAttribute* Find(const VertexInput& input, int location) {
    for (unsigned i = 0; i < input.attributeCount; ++i)
        if (input.attributes[i].location == location)
            return &input.attributes[i];
    return nullptr;
}

const std::uint8_t* At(const VertexAttribute& a, const SourceStream* streams, UINT vertex) {
    return streams[a.stream].data + std::size_t{vertex} * streams[a.stream].stride + a.offset;
}

// (x, y, z, w) of a row vector times the matrix.
void Transform(const float in[4], const D3DMATRIX& m, float out[4]) {
    for (int column = 0; column < 4; ++column)
        out[column] =
            in[0] * m.m[0][column] + in[1] * m.m[1][column] + in[2] * m.m[2][column] + in[3] * m.m[3][column];
}

void ScreenPosition(const float clip[4], const VertexProcessing& p, float out[4]) {
    const float w = clip[3];
    const bool inside = -w <= clip[0] && clip[0] <= w && -w <= clip[1] && clip[1] <= w && 0 <= clip[2] &&
                        clip[2] <= w && w > 0;
    if (p.clipping && !inside) {
        std::memcpy(out, clip, 4 * sizeof(float));
        return;
    }
    const D3DVIEWPORT9& v = p.viewport;
    out[0] = static_cast<float>(v.X) + (1.0f + clip[0] / w) * static_cast<float>(v.Width) / 2;
    out[1] = static_cast<float>(v.Y) + (1.0f - clip[1] / w) * static_cast<float>(v.Height) / 2;
    out[2] = v.MinZ + clip[2] / w * (v.MaxZ - v.MinZ);
    out[3] = 1.0f / w;
}

// A colour the output has: the input's, or Direct3D's default for a vertex without it.
void CopyColor(const VertexInput& input, int location, const SourceStream* streams, UINT vertex,
               D3DCOLOR fallback, std::uint8_t* out) {
    const VertexAttribute* a = Find(input, location);
    if (a)
        std::memcpy(out, At(*a, streams, vertex), sizeof(D3DCOLOR));
    else
        std::memcpy(out, &fallback, sizeof fallback);
}

D3DCOLOR ColorOf(const Float4& c) {
    const auto byte = [](float v) { return static_cast<D3DCOLOR>(std::lround(v * 255.0f)); };
    return byte(c.w) << 24 | byte(c.x) << 16 | byte(c.y) << 8 | byte(c.z);
}

Float4 ColorAt(const VertexInput& input, int location, const SourceStream* streams, UINT vertex,
               D3DCOLOR fallback) {
    D3DCOLOR colour = fallback;
    CopyColor(input, location, streams, vertex, fallback, reinterpret_cast<std::uint8_t*>(&colour));
    return ColorFromArgb(colour);
}

// The diffuse and specular colours of a lit vertex, written whatever D3DPV_DONOTCOPYDATA says: they
// are the lighting's result, not copied data.
void WriteLitColors(const VertexInput& input, const SourceStream* streams, UINT vertex, const float model[4],
                    const FvfLayout& out, std::uint8_t* dest, const VertexProcessing& p) {
    float view[4];
    Transform(model, p.lightingBlock->worldView, view);
    LitVertex lit{};
    lit.viewPosition = Float4{view[0], view[1], view[2], view[3]};
    // A declaration may give the normal fewer than three floats: read no further than it does.
    if (const VertexAttribute* normal = Find(input, kAttributeNormal))
        std::memcpy(&lit.normal, At(*normal, streams, vertex),
                    static_cast<std::size_t>(normal->size < 3 ? normal->size : 3) * sizeof(float));
    lit.diffuse = ColorAt(input, kAttributeColor0, streams, vertex, kDefaultDiffuse);
    lit.specular = ColorAt(input, kAttributeColor1, streams, vertex, kDefaultSpecular);
    Float4 diffuse, specular;
    LightVertex(*p.lightingKey, *p.lightingBlock, lit, &diffuse, &specular);
    const D3DCOLOR colours[2] = {ColorOf(diffuse), ColorOf(specular)};
    if (out.diffuse)
        std::memcpy(dest + out.diffuseOffset, &colours[0], sizeof(D3DCOLOR));
    if (out.specular)
        std::memcpy(dest + out.specularOffset, &colours[1], sizeof(D3DCOLOR));
}

} // namespace

bool CanProcess(const VertexInput& input) {
    if (input.layout.position != PositionKind::kXyz && input.layout.position != PositionKind::kXyzw)
        return false;
    for (unsigned i = 0; i < input.attributeCount; ++i) {
        const VertexAttribute& a = input.attributes[i];
        const bool colour = a.location == kAttributeColor0 || a.location == kAttributeColor1;
        if (colour ? a.size != GL_BGRA : a.type != GL_FLOAT)
            return false;
    }
    return true;
}

void ProcessVertexRange(const VertexInput& input, const SourceStream* streams, UINT count,
                        const FvfLayout& out, UINT outStride, std::uint8_t* dest,
                        const VertexProcessing& processing) {
    const VertexAttribute& position = *Find(input, kAttributePosition);
    for (UINT vertex = 0; vertex < count; ++vertex, dest += outStride) {
        float in[4] = {0, 0, 0, 1};
        std::memcpy(in, At(position, streams, vertex),
                    static_cast<std::size_t>(position.size) * sizeof(float));
        float clip[4], screen[4];
        Transform(in, processing.worldViewProjection, clip);
        ScreenPosition(clip, processing, screen);
        std::memcpy(dest + out.positionOffset, screen, sizeof screen);
        if (processing.lightingKey)
            WriteLitColors(input, streams, vertex, in, out, dest, processing);
        if (!processing.copyData)
            continue;
        if (out.diffuse && !processing.lightingKey)
            CopyColor(input, kAttributeColor0, streams, vertex, kDefaultDiffuse, dest + out.diffuseOffset);
        if (out.specular && !processing.lightingKey)
            CopyColor(input, kAttributeColor1, streams, vertex, kDefaultSpecular, dest + out.specularOffset);
        // Components the input set lacks stay as they are in the destination.
        for (int set = 0; set < out.texCoordCount; ++set) {
            const VertexAttribute* a = Find(input, kAttributeTexCoord0 + set);
            const GLint size = a ? (a->size < out.texCoordSize[set] ? a->size : out.texCoordSize[set]) : 0;
            if (a && a->type == GL_FLOAT)
                std::memcpy(dest + out.texCoordOffset[set], At(*a, streams, vertex),
                            static_cast<std::size_t>(size) * sizeof(float));
        }
    }
}

} // namespace platform::device
