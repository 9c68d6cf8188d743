// DrawPrimitive and DrawIndexedPrimitive: drawing from the bound stream source and indices.
#include "device/device.h"

#include "device/device_draw_call.h"
#include "device/buffer.h"

namespace platform::device {

bool Device::StreamsHold(std::uint64_t endVertex, UINT instances) const {
    const std::uint16_t read = StreamsRead();
    for (unsigned s = 0; s < kStreams; ++s) {
        const StreamBinding& stream = streams_[s];
        if (!(read & (1u << s)))
            continue;
        const UINT divisor = instances ? InstanceDivisor(s) : 0;
        const std::uint64_t end = divisor ? (std::uint64_t{instances} + divisor - 1) / divisor : endVertex;
        // Direct3D 9 refuses a draw that reads past the end of a vertex buffer: the last vertex's
        // furthest element must end inside it.
        if (!stream.buffer || stream.stride == 0 || end == 0 ||
            stream.offset + (end - 1) * stream.stride + VertexBytesRead(s) > stream.buffer->Desc().Size)
            return false;
    }
    return true;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    const DeviceLock lock(this);
    const UINT vertexCount = VerticesOfPrimitives(type, primitiveCount);
    if (vertexCount == 0 || !inScene_ || !StreamsHold(std::uint64_t{startVertex} + vertexCount))
        return D3DERR_INVALIDCALL;
    const StreamBinding& stream = BoundStream(0);
    if (!MakeCurrentForDraw())
        return D3DERR_DRIVERINTERNALERROR;
    DrawCall call;
    call.type = type;
    call.count = vertexCount;
    call.first = startVertex;
    call.stride = stream.stride;
    call.vertexBuffer = stream.buffer ? stream.buffer->GlBuffer() : 0;
    call.vertexOffset = stream.offset;
    return Draw(call);
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                     UINT numVertices, UINT startIndex, UINT primitiveCount) {
    const DeviceLock lock(this);
    const UINT indexCount = VerticesOfPrimitives(type, primitiveCount);
    IndexBuffer* indices = BoundIndices();
    if (indexCount == 0 || numVertices == 0 || !indices || !inScene_)
        return D3DERR_INVALIDCALL;
    const UINT indexSize = indices->Desc().Format == D3DFMT_INDEX32 ? 4 : 2;
    if ((std::uint64_t{startIndex} + indexCount) * indexSize > indices->Desc().Size)
        return D3DERR_INVALIDCALL;
    // The vertices the caller says the indices use must lie in the buffer; a negative base vertex
    // may not reach before its start.
    const std::int64_t firstVertex = std::int64_t{baseVertexIndex} + minVertexIndex;
    const std::int64_t endVertex = firstVertex + numVertices;
    const UINT instances = InstanceCount();
    if (firstVertex < 0 || !StreamsHold(static_cast<std::uint64_t>(endVertex), instances))
        return D3DERR_INVALIDCALL;
    const StreamBinding& stream = BoundStream(0);
    if (!MakeCurrentForDraw())
        return D3DERR_DRIVERINTERNALERROR;
    DrawCall call;
    call.type = type;
    call.count = indexCount;
    call.stride = stream.stride;
    call.vertexBuffer = stream.buffer ? stream.buffer->GlBuffer() : 0; // a declaration may skip stream 0
    call.vertexOffset = stream.offset;
    call.indexed = true;
    call.indexType = indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
    call.indexBuffer = indices->GlBuffer();
    call.indexOffset = static_cast<GLintptr>(std::uint64_t{startIndex} * indexSize);
    call.baseVertex = baseVertexIndex;
    call.instances = instances;
    return Draw(call);
}

} // namespace platform::device
