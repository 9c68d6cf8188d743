// DrawPrimitiveUP and DrawIndexedPrimitiveUP, the drawing path's life and the effect framework's
// program hook. Buffer draws are in device_draw_buffers.cpp; the state applied before every draw in
// device_draw_prepare.cpp. Shader objects and their constants are in device_shaders.cpp.
#include "device/device.h"

#include "device/buffer.h"
#include "device/device_draw_call.h"
#include "device/device_draw_path.h"
#include "device/device_state.h"

#include <new>

namespace platform::device {

HRESULT Device::InitializeDrawing() {
    state_.reset(new (std::nothrow) DeviceState);
    drawPath_.reset(new (std::nothrow) DrawPath);
    if (!state_ || !drawPath_)
        return E_OUTOFMEMORY;
    ResetDrawingState();
    if (!drawPath_->Create())
        return D3DERR_NOTAVAILABLE;
    // Direct3D's conventions (platform-notes): depth 0..1, and a y flip in the vertex stage with
    // GL's lower-left origin, which keeps row 0 at the top and inverts the winding, so GL's
    // counter-clockwise front faces are Direct3D's clockwise ones.
    glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glFrontFace(GL_CCW);
    // Flat shading takes the first vertex of each triangle (the second of a fan's), as Direct3D's.
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    // Direct3D 9 has no primitive restart: 0xFFFF and 0xFFFFFFFF are ordinary indices.
    glDisable(GL_PRIMITIVE_RESTART);
    glDisable(GL_PRIMITIVE_RESTART_FIXED_INDEX);
    glBindBufferBase(GL_UNIFORM_BUFFER, kFixedVertexBlockBinding, drawPath_->vertexBlockBuffer);
    glBindBufferBase(GL_UNIFORM_BUFFER, kFixedPixelBlockBinding, drawPath_->pixelBlockBuffer);
    return D3D_OK;
}

void Device::ReleaseDrawing() {
    if (drawPath_)
        drawPath_->Destroy();
    drawPath_.reset();
}

void Device::SetShaderPrograms(GLuint vertexProgram, GLuint pixelProgram) {
    drawPath_->shaderVertexProgram = vertexProgram;
    drawPath_->shaderPixelProgram = pixelProgram;
    state_->dirty |= kStateShaderPrograms;
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                                UINT vertexStride) {
    const DeviceLock lock(this);
    const UINT vertexCount = VerticesOfPrimitives(type, primitiveCount);
    // The caller's array is stream 0, the only stream a user-pointer draw has.
    // The copy holds count * stride bytes: the format may not read further into a vertex.
    if (!vertexData || vertexStride == 0 || vertexStride < VertexBytesRead(0) || vertexCount == 0 ||
        !inScene_ || StreamsRead() > 1)
        return D3DERR_INVALIDCALL;
    if (!MakeCurrentForDraw())
        return D3DERR_DRIVERINTERNALERROR;
    DrawCall call;
    call.type = type;
    call.count = vertexCount;
    call.stride = vertexStride;
    call.vertexBuffer = drawPath_->vertexStream.Name();
    if (!drawPath_->vertexStream.Write(vertexData, GLsizeiptr{vertexCount} * vertexStride, 16,
                                       &call.vertexOffset))
        return D3DERR_INVALIDCALL;
    const HRESULT result = Draw(call);
    // Direct3D leaves no stream source bound after a user-pointer draw.
    SetStreamSource(0, nullptr, 0, 0);
    return result;
}

HRESULT Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT numVertices,
                                       UINT primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                       const void* vertexData, UINT vertexStride) {
    const DeviceLock lock(this);
    const UINT indexCount = VerticesOfPrimitives(type, primitiveCount);
    const UINT indexSize = indexFormat == D3DFMT_INDEX16 ? 2 : indexFormat == D3DFMT_INDEX32 ? 4 : 0;
    if (!vertexData || !indexData || vertexStride == 0 || vertexStride < VertexBytesRead(0) ||
        indexCount == 0 || indexSize == 0 || numVertices == 0 || !inScene_ || StreamsRead() > 1)
        return D3DERR_INVALIDCALL;
    // The caller's arrays have no size; the vertices the indices name must lie in the range given.
    const std::uint64_t end = std::uint64_t{minVertexIndex} + numVertices;
    if (!IndicesWithin(indexData, indexSize, indexCount, minVertexIndex, end))
        return D3DERR_INVALIDCALL;
    if (!MakeCurrentForDraw())
        return D3DERR_DRIVERINTERNALERROR;
    DrawCall call;
    call.type = type;
    call.count = indexCount;
    call.stride = vertexStride;
    call.vertexBuffer = drawPath_->vertexStream.Name();
    // Only the vertices in use are copied; the base vertex moves index minVertexIndex to the first.
    const auto* first =
        static_cast<const std::uint8_t*>(vertexData) + std::uint64_t{minVertexIndex} * vertexStride;
    if (!drawPath_->vertexStream.Write(first, GLsizeiptr{numVertices} * vertexStride, 16, &call.vertexOffset))
        return D3DERR_INVALIDCALL;
    call.indexed = true;
    call.indexType = indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT;
    call.indexBuffer = drawPath_->indexStream.Name();
    if (!drawPath_->indexStream.Write(indexData, GLsizeiptr{indexCount} * indexSize, indexSize,
                                      &call.indexOffset))
        return D3DERR_INVALIDCALL;
    call.baseVertex = -static_cast<GLint>(minVertexIndex);
    const HRESULT result = Draw(call);
    SetStreamSource(0, nullptr, 0, 0);
    SetIndices(nullptr);
    return result;
}

HRESULT Device::Draw(const DrawCall& call) {
    if (!PrepareDraw(call.stride))
        return D3DERR_INVALIDCALL;
    DrawPath& path = *drawPath_;
    // A buffer deleted since the last draw may have left its name to another: bind anew.
    if (path.bufferDeletions != BufferStorage::Deletions()) {
        path.bufferDeletions = BufferStorage::Deletions();
        path.elementBuffer = ~0u;
        for (DrawPath::VertexBinding& binding : path.vertexBindings)
            binding = DrawPath::VertexBinding{};
    }
    // Stream 0 comes with the call (a user-pointer draw's copy); the others as bound.
    const std::uint16_t streams = path.input->streams;
    for (unsigned s = 0; s < kStreams; ++s) {
        if (!(streams & (1u << s)))
            continue;
        const StreamBinding& bound = BoundStream(s);
        const DrawPath::VertexBinding binding =
            s == 0 ? DrawPath::VertexBinding{call.vertexBuffer, call.vertexOffset,
                                             static_cast<GLsizei>(call.stride)}
                   : DrawPath::VertexBinding{bound.buffer->GlBuffer(), static_cast<GLintptr>(bound.offset),
                                             static_cast<GLsizei>(bound.stride)};
        const GLuint divisor = call.instances ? InstanceDivisor(s) : 0;
        if (divisor != path.divisors[s]) {
            glVertexArrayBindingDivisor(path.vertexArray, s, divisor);
            path.divisors[s] = divisor;
        }
        DrawPath::VertexBinding& applied = path.vertexBindings[s];
        if (binding.buffer != applied.buffer || binding.offset != applied.offset ||
            binding.stride != applied.stride) {
            glVertexArrayVertexBuffer(path.vertexArray, s, binding.buffer, binding.offset, binding.stride);
            applied = binding;
        }
    }
    const GLenum mode = GlPrimitive(call.type);
    if (!call.indexed) {
        glDrawArrays(mode, static_cast<GLint>(call.first), static_cast<GLsizei>(call.count));
        return D3D_OK;
    }
    if (path.elementBuffer != call.indexBuffer) {
        glVertexArrayElementBuffer(path.vertexArray, call.indexBuffer);
        path.elementBuffer = call.indexBuffer;
    }
    const void* indices = reinterpret_cast<const void*>(call.indexOffset);
    if (call.instances > 1)
        glDrawElementsInstancedBaseVertex(mode, static_cast<GLsizei>(call.count), call.indexType, indices,
                                          static_cast<GLsizei>(call.instances), call.baseVertex);
    else
        glDrawElementsBaseVertex(mode, static_cast<GLsizei>(call.count), call.indexType, indices,
                                 call.baseVertex);
    return D3D_OK;
}

} // namespace platform::device
