// The storage behind vertex and index buffers: a GL buffer and a system copy that locks hand out.
// Direct3D 9 allows nested locks of a buffer; the ranges written are gathered and reach GL when the
// last lock is undone, so the drawing code always finds the data in the GL buffer.
#ifndef VTR3_PLATFORM_DEVICE_BUFFER_STORAGE_H
#define VTR3_PLATFORM_DEVICE_BUFFER_STORAGE_H

#include "device/gl_api.h"

#include <d3d9.h>

#include <cstdint>
#include <vector>

namespace platform::device {

class BufferStorage {
  public:
    BufferStorage() = default;
    BufferStorage(const BufferStorage&) = delete;
    BufferStorage& operator=(const BufferStorage&) = delete;
    // The GL context must be current for both.
    HRESULT Create(UINT length);
    ~BufferStorage();
    // Deletes the GL buffer now (the context must be current) rather than at destruction.
    void DeleteGlBuffer();
    // Counts the GL buffers deleted in the process: GL may give a deleted buffer's name to a new
    // one, so a binding remembered by name is stale once the count moves.
    static std::uint32_t Deletions();

    GLuint GlBuffer() const { return buffer_; }
    UINT Length() const { return static_cast<UINT>(memory_.size()); }

    // Lock(offset, size, data, flags) as IDirect3DVertexBuffer9 and IDirect3DIndexBuffer9 have it:
    // size 0 locks to the end of the buffer.
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT Unlock();

  private:
    std::vector<std::uint8_t> memory_;
    GLuint buffer_ = 0;
    unsigned lockCount_ = 0;
    std::size_t dirtyBegin_ = 0;
    std::size_t dirtyEnd_ = 0;
};

} // namespace platform::device

#endif
