#include "device/device_draw_path.h"

namespace platform::device {

bool StreamBuffer::Create(GLsizeiptr capacity) {
    glCreateBuffers(1, &buffer_);
    glNamedBufferData(buffer_, capacity, nullptr, GL_STREAM_DRAW);
    capacity_ = capacity;
    position_ = 0;
    return buffer_ != 0;
}

void StreamBuffer::Destroy() {
    glDeleteBuffers(1, &buffer_);
    buffer_ = 0;
}

bool StreamBuffer::Write(const void* data, GLsizeiptr size, GLsizeiptr alignment, GLintptr* offset) {
    if (size > capacity_)
        return false;
    GLintptr start = (position_ + alignment - 1) / alignment * alignment;
    if (start + size > capacity_) {
        glInvalidateBufferData(buffer_);
        start = 0;
    }
    glNamedBufferSubData(buffer_, start, size, data);
    position_ = start + size;
    *offset = start;
    return true;
}

bool DrawPath::Create() {
    glCreateVertexArrays(1, &vertexArray);
    glCreateProgramPipelines(1, &pipeline);
    glCreateBuffers(1, &vertexBlockBuffer);
    glNamedBufferData(vertexBlockBuffer, sizeof(FixedVertexBlock), nullptr, GL_DYNAMIC_DRAW);
    glCreateBuffers(1, &pixelBlockBuffer);
    glNamedBufferData(pixelBlockBuffer, sizeof(FixedPixelBlock), nullptr, GL_DYNAMIC_DRAW);
    glCreateSamplers(kSamplerSlotCount, samplers);
    return vertexStream.Create(kVertexStreamBytes) && indexStream.Create(kIndexStreamBytes) && vertexArray &&
           pipeline && vertexBlockBuffer && pixelBlockBuffer && shaderConstants.Create();
}

void DrawPath::Destroy() {
    vertexShader.Reset();
    pixelShader.Reset();
    shaderConstants.Destroy();
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteProgramPipelines(1, &pipeline);
    glDeleteBuffers(1, &vertexBlockBuffer);
    glDeleteBuffers(1, &pixelBlockBuffer);
    glDeleteSamplers(kSamplerSlotCount, samplers);
    vertexStream.Destroy();
    indexStream.Destroy();
}

} // namespace platform::device
