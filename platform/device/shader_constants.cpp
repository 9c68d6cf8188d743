#include "device/shader_constants.h"

#include <cstddef>
#include <cstring>

namespace platform::device {
namespace {

using bytecode::kBoolConstants;
using bytecode::kIntConstants;

// Where registers of a kind live in a block, and how many there are.
template <typename Block>
bool Locate(ShaderConstants::Kind kind, UINT start, UINT count, std::size_t* offset, std::size_t* bytes,
            unsigned* registers) {
    switch (kind) {
    case ShaderConstants::kFloat:
        *registers = sizeof(Block::c) / sizeof(Block::c[0]);
        *offset = offsetof(Block, c) + start * sizeof(Block::c[0]);
        *bytes = count * sizeof(Block::c[0]);
        break;
    case ShaderConstants::kInt:
        *registers = kIntConstants;
        *offset = offsetof(Block, i) + start * sizeof(Block::i[0]);
        *bytes = count * sizeof(Block::i[0]);
        break;
    default:
        *registers = kBoolConstants;
        *offset = offsetof(Block, b);
        *bytes = sizeof(Block::b);
        break;
    }
    return start <= *registers && count <= *registers - start;
}

template <typename Block>
HRESULT SetIn(Block* block, GLuint buffer, ShaderConstants::Kind kind, UINT start, const void* data,
              UINT count) {
    std::size_t offset = 0;
    std::size_t bytes = 0;
    unsigned registers = 0;
    if (!Locate<Block>(kind, start, count, &offset, &bytes, &registers) || (!data && count))
        return D3DERR_INVALIDCALL;
    if (count == 0)
        return D3D_OK;
    if (kind == ShaderConstants::kBool) {
        const BOOL* values = static_cast<const BOOL*>(data);
        for (UINT k = 0; k < count; ++k)
            block->b = values[k] ? block->b | (1u << (start + k)) : block->b & ~(1u << (start + k));
    } else {
        std::memcpy(reinterpret_cast<char*>(block) + offset, data, bytes);
    }
    glNamedBufferSubData(buffer, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes),
                         reinterpret_cast<const char*>(block) + offset);
    return D3D_OK;
}

template <typename Block>
HRESULT GetFrom(const Block& block, ShaderConstants::Kind kind, UINT start, void* data, UINT count) {
    std::size_t offset = 0;
    std::size_t bytes = 0;
    unsigned registers = 0;
    if (!Locate<Block>(kind, start, count, &offset, &bytes, &registers) || (!data && count))
        return D3DERR_INVALIDCALL;
    if (kind == ShaderConstants::kBool) {
        for (UINT k = 0; k < count; ++k)
            static_cast<BOOL*>(data)[k] = (block.b >> (start + k)) & 1u;
    } else if (count) {
        std::memcpy(data, reinterpret_cast<const char*>(&block) + offset, bytes);
    }
    return D3D_OK;
}

} // namespace

bool ShaderConstants::Create() {
    glCreateBuffers(2, buffers_);
    glNamedBufferData(buffers_[0], sizeof vertex_, &vertex_, GL_DYNAMIC_DRAW);
    glNamedBufferData(buffers_[1], sizeof pixel_, &pixel_, GL_DYNAMIC_DRAW);
    glBindBufferBase(GL_UNIFORM_BUFFER, bytecode::kVertexConstantBinding, buffers_[0]);
    glBindBufferBase(GL_UNIFORM_BUFFER, bytecode::kPixelConstantBinding, buffers_[1]);
    return buffers_[0] && buffers_[1];
}

void ShaderConstants::Destroy() {
    glDeleteBuffers(2, buffers_);
    buffers_[0] = buffers_[1] = 0;
}

HRESULT ShaderConstants::Set(bool pixel, Kind kind, UINT start, const void* data, UINT count) {
    return pixel ? SetIn(&pixel_, buffers_[1], kind, start, data, count)
                 : SetIn(&vertex_, buffers_[0], kind, start, data, count);
}

HRESULT ShaderConstants::Get(bool pixel, Kind kind, UINT start, void* data, UINT count) const {
    return pixel ? GetFrom(pixel_, kind, start, data, count) : GetFrom(vertex_, kind, start, data, count);
}

} // namespace platform::device
