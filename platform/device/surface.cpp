#include "device/surface.h"

#include "device/base_texture.h"
#include "device/format_table.h"

#include <new>

namespace platform::device {

D3DSURFACE_DESC LevelDesc(const TextureStorage& storage, UINT level) {
    const StorageDesc& desc = storage.Desc();
    const Region whole = storage.LevelRegion(level);
    return D3DSURFACE_DESC{desc.format->format, D3DRTYPE_SURFACE,    desc.usage,
                           desc.pool,           D3DMULTISAMPLE_NONE, 0,
                           whole.width,         whole.height};
}

HRESULT Surface::CreateStandalone(Device* device, const D3DSURFACE_DESC& desc, bool lockable, bool implicit,
                                  Surface** surface) {
    *surface = nullptr;
    const FormatInfo* format = FindFormat(desc.Format);
    if (!format)
        return D3DERR_INVALIDCALL;
    if (!device->MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    StorageDesc storageDesc;
    storageDesc.format = format;
    storageDesc.width = desc.Width;
    storageDesc.height = desc.Height;
    storageDesc.usage = desc.Usage;
    storageDesc.pool = desc.Pool;
    storageDesc.lockable = lockable;
    HRESULT result = D3D_OK;
    std::unique_ptr<TextureStorage> storage = TextureStorage::Create(storageDesc, &result);
    if (!storage)
        return result;
    TextureStorage* raw = storage.get();
    const bool countsAsDefault = !implicit && desc.Pool == D3DPOOL_DEFAULT;
    Surface* created = new (std::nothrow) Surface(device, desc, nullptr, raw, 0, 0, countsAsDefault);
    if (!created)
        return E_OUTOFMEMORY;
    created->ownStorage_ = std::move(storage);
    *surface = created;
    return D3D_OK;
}

Surface* Surface::CreateImplicit(Device* device, const D3DSURFACE_DESC& desc) {
    Surface* surface = nullptr;
    CreateStandalone(device, desc, false, true, &surface);
    return surface;
}

Surface* Surface::CreateSubresource(Device* device, BaseTexture* container, TextureStorage* storage,
                                    UINT face, UINT level) {
    return new (std::nothrow)
        Surface(device, LevelDesc(*storage, level), container, storage, face, level, false);
}

void Surface::DestroySubresource(Surface* surface) {
    delete surface;
}

Surface::Surface(Device* device, const D3DSURFACE_DESC& desc, BaseTexture* container, TextureStorage* storage,
                 UINT face, UINT level, bool countsAsDefault)
    : Resource<IDirect3DSurface9>(device, desc.Pool), desc_(desc), container_(container), storage_(storage),
      face_(face), level_(level), countsAsDefault_(countsAsDefault) {
    if (countsAsDefault_)
        device->CountDefaultResource(+1);
}

Surface::~Surface() {
    const DeviceLock lock(ParentDevice());
    if (countsAsDefault_)
        ParentDevice()->CountDefaultResource(-1);
    if (ownStorage_) {
        ParentDevice()->MakeCurrent();
        ownStorage_.reset();
    }
}

ULONG Surface::AddRef() {
    if (container_)
        return container_->ComInterface()->AddRef();
    return Resource<IDirect3DSurface9>::AddRef();
}

ULONG Surface::Release() {
    if (container_)
        return container_->ComInterface()->Release();
    return Resource<IDirect3DSurface9>::Release();
}

void Surface::AddRefPrivate() {
    if (container_)
        container_->AddRefPrivate();
    else
        Resource<IDirect3DSurface9>::AddRefPrivate();
}

void Surface::ReleasePrivate() {
    if (container_)
        container_->ReleasePrivate();
    else
        Resource<IDirect3DSurface9>::ReleasePrivate();
}

bool Surface::HasStencil() const {
    return device::HasStencil(desc_.Format);
}

void Surface::AttachTo(GLuint framebuffer, unsigned colorIndex, bool srgb) const {
    GLenum attachment = GL_COLOR_ATTACHMENT0 + colorIndex;
    if (IsDepthStencil())
        attachment = HasStencil() ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
    const auto level = static_cast<GLint>(level_);
    const GLuint texture = srgb && !IsDepthStencil() ? storage_->SrgbName() : storage_->GlName();
    if (storage_->Desc().kind == StorageKind::kCube)
        glNamedFramebufferTextureLayer(framebuffer, attachment, texture, level, static_cast<GLint>(face_));
    else
        glNamedFramebufferTexture(framebuffer, attachment, texture, level);
}

void Surface::DetachColor(GLuint framebuffer, unsigned colorIndex) {
    glNamedFramebufferTexture(framebuffer, GL_COLOR_ATTACHMENT0 + colorIndex, 0, 0);
}

void Surface::DetachDepthStencil(GLuint framebuffer) {
    glNamedFramebufferTexture(framebuffer, GL_DEPTH_STENCIL_ATTACHMENT, 0, 0);
}

HRESULT Surface::GetContainer(REFIID riid, void** container) {
    if (!container)
        return D3DERR_INVALIDCALL;
    *container = nullptr;
    // A surface that belongs to no texture has the device as its container.
    if (container_)
        return container_->ComInterface()->QueryInterface(riid, container);
    return ParentDevice()->QueryInterface(riid, container);
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = desc_;
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) {
    const DeviceLock lock(ParentDevice());
    if (!lockedRect)
        return D3DERR_INVALIDCALL;
    *lockedRect = D3DLOCKED_RECT{0, nullptr};
    Region region;
    if (rect && !RegionFromRect(*rect, &region))
        return D3DERR_INVALIDCALL;
    if (!ParentDevice()->MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    D3DLOCKED_BOX box{};
    const HRESULT result = storage_->Lock(face_, level_, rect ? &region : nullptr, flags, &box);
    if (SUCCEEDED(result))
        *lockedRect = D3DLOCKED_RECT{box.RowPitch, box.pBits};
    return result;
}

HRESULT Surface::UnlockRect() {
    const DeviceLock lock(ParentDevice());
    if (!ParentDevice()->MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    return storage_->Unlock(face_, level_);
}

HRESULT Surface::GetDC(HDC* dc) {
    if (dc)
        *dc = nullptr;
    // There is no GDI to draw with.
    return D3DERR_INVALIDCALL;
}

HRESULT Surface::ReleaseDC(HDC /*dc*/) {
    return D3DERR_INVALIDCALL;
}

} // namespace platform::device
