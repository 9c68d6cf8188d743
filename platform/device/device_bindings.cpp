// Textures, stream sources and indices bound for drawing. The device holds a private reference on
// each, so what the caller releases while it is bound stays alive until it is unbound; the counts
// the caller sees do not change. The drawing code reads the bindings and the dirty bits.
#include "device/device.h"

#include "device/base_texture.h"
#include "device/buffer.h"
#include "device/device_state.h"
#include "device/surface.h"
#include "device/vertex_declaration.h"

namespace platform::device {
namespace {

constexpr unsigned kPixelSamplers = 16;

// Replaces a privately held pointer; the new one is held before the old one goes, so rebinding the
// same object cannot destroy it.
template <typename T> void Rebind(T** slot, T* object) {
    if (object)
        object->AddRefPrivate();
    if (*slot)
        (*slot)->ReleasePrivate();
    *slot = object;
}

} // namespace

int Device::TextureSlot(DWORD sampler) {
    if (sampler < kPixelSamplers)
        return static_cast<int>(sampler);
    if (sampler >= D3DDMAPSAMPLER && sampler <= D3DVERTEXTEXTURESAMPLER3)
        return static_cast<int>(kPixelSamplers + (sampler - D3DDMAPSAMPLER));
    return -1;
}

BaseTexture* Device::BoundTexture(DWORD sampler) const {
    const int slot = TextureSlot(sampler);
    return slot < 0 ? nullptr : textures_[slot];
}

const Device::StreamBinding& Device::BoundStream(UINT stream) const {
    static const StreamBinding kNone;
    return stream < kStreams ? streams_[stream] : kNone;
}

IndexBuffer* Device::BoundIndices() const {
    return indices_;
}

HRESULT Device::SetTexture(DWORD sampler, IDirect3DBaseTexture9* texture) {
    const DeviceLock lock(this);
    const int slot = TextureSlot(sampler);
    if (slot < 0)
        return D3DERR_INVALIDCALL;
    BaseTexture* own = nullptr;
    if (texture) {
        own = BaseTexture::From(texture);
        if (!own || own->Owner() != this)
            return D3DERR_INVALIDCALL;
        // Only video-memory and managed textures can be sampled (no TEXTURESYSTEMMEMORY cap).
        if (own->PoolOf() == D3DPOOL_SYSTEMMEM || own->PoolOf() == D3DPOOL_SCRATCH)
            return D3DERR_INVALIDCALL;
    }
    if (textures_[slot] == own)
        return D3D_OK;
    Rebind(&textures_[slot], own);
    bindingDirty_ |= 1u << slot;
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD sampler, IDirect3DBaseTexture9** texture) {
    const DeviceLock lock(this);
    if (!texture)
        return D3DERR_INVALIDCALL;
    *texture = nullptr;
    const int slot = TextureSlot(sampler);
    if (slot < 0)
        return D3DERR_INVALIDCALL;
    if (textures_[slot]) {
        *texture = textures_[slot]->ComInterface();
        (*texture)->AddRef();
    }
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
    const DeviceLock lock(this);
    if (stream >= caps_.MaxStreams || stream >= kStreams || stride > caps_.MaxStreamStride)
        return D3DERR_INVALIDCALL;
    VertexBuffer* own = nullptr;
    if (buffer) {
        own = VertexBuffer::From(buffer);
        if (!own || own->Owner() != this)
            return D3DERR_INVALIDCALL;
    }
    StreamBinding& binding = streams_[stream];
    if (binding.buffer == own && binding.offset == offset && binding.stride == stride)
        return D3D_OK;
    Rebind(&binding.buffer, own);
    binding.offset = offset;
    binding.stride = stride;
    bindingDirty_ |= kDirtyStreams;
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) {
    const DeviceLock lock(this);
    if (!buffer || !offset || !stride)
        return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    *offset = 0;
    *stride = 0;
    if (stream >= caps_.MaxStreams || stream >= kStreams)
        return D3DERR_INVALIDCALL;
    const StreamBinding& binding = streams_[stream];
    if (binding.buffer) {
        binding.buffer->AddRef();
        *buffer = binding.buffer;
    }
    *offset = binding.offset;
    *stride = binding.stride;
    return D3D_OK;
}

// Instancing: stream 0 carries D3DSTREAMSOURCE_INDEXEDDATA with the instance count, the streams of
// per-instance data D3DSTREAMSOURCE_INSTANCEDATA with the instances each element serves. Both flags at
// once, instance data in stream 0 and a setting of 0 are refused.
HRESULT Device::SetStreamSourceFreq(UINT stream, UINT setting) {
    const DeviceLock lock(this);
    const UINT flags = setting & (D3DSTREAMSOURCE_INDEXEDDATA | D3DSTREAMSOURCE_INSTANCEDATA);
    if (stream >= caps_.MaxStreams || stream >= kStreams || setting == 0 ||
        flags == (D3DSTREAMSOURCE_INDEXEDDATA | D3DSTREAMSOURCE_INSTANCEDATA) ||
        (flags == D3DSTREAMSOURCE_INSTANCEDATA && stream == 0))
        return D3DERR_INVALIDCALL;
    streams_[stream].frequency = setting;
    return D3D_OK;
}

HRESULT Device::GetStreamSourceFreq(UINT stream, UINT* setting) {
    const DeviceLock lock(this);
    if (!setting || stream >= caps_.MaxStreams || stream >= kStreams)
        return D3DERR_INVALIDCALL;
    *setting = streams_[stream].frequency;
    return D3D_OK;
}

UINT Device::InstanceCount() const {
    const UINT frequency = streams_[0].frequency;
    const UINT count = frequency & ~(D3DSTREAMSOURCE_INDEXEDDATA | D3DSTREAMSOURCE_INSTANCEDATA);
    return (frequency & D3DSTREAMSOURCE_INDEXEDDATA) && count ? count : 1;
}

UINT Device::InstanceDivisor(unsigned stream) const {
    const UINT frequency = streams_[stream].frequency;
    return frequency & D3DSTREAMSOURCE_INSTANCEDATA ? frequency & ~D3DSTREAMSOURCE_INSTANCEDATA : 0;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* buffer) {
    const DeviceLock lock(this);
    IndexBuffer* own = nullptr;
    if (buffer) {
        own = IndexBuffer::From(buffer);
        if (!own || own->Owner() != this)
            return D3DERR_INVALIDCALL;
    }
    if (indices_ == own)
        return D3D_OK;
    Rebind(&indices_, own);
    bindingDirty_ |= kDirtyIndices;
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** buffer) {
    const DeviceLock lock(this);
    if (!buffer)
        return D3DERR_INVALIDCALL;
    *buffer = indices_;
    if (indices_)
        indices_->AddRef();
    return D3D_OK;
}

void Device::ReleaseBindings() {
    for (BaseTexture*& texture : textures_)
        Rebind(&texture, static_cast<BaseTexture*>(nullptr));
    for (StreamBinding& stream : streams_) {
        Rebind(&stream.buffer, static_cast<VertexBuffer*>(nullptr));
        stream = StreamBinding{};
    }
    Rebind(&indices_, static_cast<IndexBuffer*>(nullptr));
    // The draw path may point at the declaration's input: it must choose again.
    declaration_.Reset();
    fvfDeclaration_.Reset();
    state_->fvf = 0;
    state_->dirty |= kStateVertexInput | kStateVertexProgram;
    for (com::PrivateRef<Surface>& target : extraRenderTargets_)
        target.Reset();
    renderTarget_ = backBuffer_;
    depthStencil_ = autoDepthStencil_;
    bindingDirty_ = ~0u;
}

} // namespace platform::device
