#include "device/buffer_storage.h"

#include <atomic>

#include <algorithm>
#include <new>

namespace platform::device {

HRESULT BufferStorage::Create(UINT length) {
    try {
        memory_.assign(length, 0);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    glCreateBuffers(1, &buffer_);
    glNamedBufferStorage(buffer_, static_cast<GLsizeiptr>(length), memory_.data(), GL_DYNAMIC_STORAGE_BIT);
    return glGetError() == GL_NO_ERROR ? D3D_OK : D3DERR_OUTOFVIDEOMEMORY;
}

BufferStorage::~BufferStorage() {
    DeleteGlBuffer();
}

namespace {
std::atomic<std::uint32_t> g_deletions{0};
} // namespace

std::uint32_t BufferStorage::Deletions() {
    return g_deletions.load(std::memory_order_relaxed);
}

void BufferStorage::DeleteGlBuffer() {
    if (buffer_) {
        glDeleteBuffers(1, &buffer_);
        g_deletions.fetch_add(1, std::memory_order_relaxed);
    }
    buffer_ = 0;
}

HRESULT BufferStorage::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    if (!data)
        return D3DERR_INVALIDCALL;
    *data = nullptr;
    const std::size_t length = memory_.size();
    if (offset > length || std::uint64_t{offset} + size > length)
        return D3DERR_INVALIDCALL;
    const std::size_t end = size == 0 ? length : std::size_t{offset} + size;
    if (!(flags & D3DLOCK_READONLY)) {
        dirtyBegin_ = dirtyEnd_ > dirtyBegin_ ? std::min<std::size_t>(dirtyBegin_, offset) : offset;
        dirtyEnd_ = std::max(dirtyEnd_, end);
    }
    ++lockCount_;
    *data = memory_.data() + offset;
    return D3D_OK;
}

HRESULT BufferStorage::Unlock() {
    if (lockCount_ == 0)
        return D3DERR_INVALIDCALL;
    if (--lockCount_ == 0 && dirtyEnd_ > dirtyBegin_) {
        glNamedBufferSubData(buffer_, static_cast<GLintptr>(dirtyBegin_),
                             static_cast<GLsizeiptr>(dirtyEnd_ - dirtyBegin_), memory_.data() + dirtyBegin_);
        dirtyBegin_ = 0;
        dirtyEnd_ = 0;
    }
    return D3D_OK;
}

} // namespace platform::device
