// Copies between surfaces and textures, with Direct3D 9's rules on pools and usages:
//   UpdateSurface / UpdateTexture  system memory -> video memory, same format
//   GetRenderTargetData            render target -> system memory, same size and format
//   StretchRect                    video memory -> render target, scaled with a point or linear filter
//   ColorFill                      a colour into a render target or video-memory plain surface
//                                  (DXT ones in whole blocks)
#include "device/device.h"

#include "device/base_texture.h"
#include "device/solid_block.h"
#include "device/surface.h"

#include <cstring>

namespace platform::device {
namespace {

bool SameSize(const D3DSURFACE_DESC& a, const D3DSURFACE_DESC& b) {
    return a.Width == b.Width && a.Height == b.Height;
}

// The region a rectangle names on a surface, the whole surface for none; false when it is outside.
bool SurfaceRegion(const Surface& surface, const RECT* rect, Region* region) {
    const Region whole = surface.Storage().LevelRegion(surface.Level());
    if (!rect) {
        *region = whole;
        return true;
    }
    return RegionFromRect(*rect, region) && surface.Storage().ValidRegion(surface.Level(), *region);
}

// Null, or a rectangle that covers the whole surface.
bool Whole(const RECT* rect, const D3DSURFACE_DESC& desc) {
    return !rect || (rect->left == 0 && rect->top == 0 && rect->right == static_cast<LONG>(desc.Width) &&
                     rect->bottom == static_cast<LONG>(desc.Height));
}

bool Overlap(const Region& a, const Region& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

} // namespace

void Device::CreateCopyFramebuffers() {
    if (!copyReadFramebuffer_) {
        glCreateFramebuffers(1, &copyReadFramebuffer_);
        glCreateFramebuffers(1, &copyDrawFramebuffer_);
    }
}

HRESULT Device::UpdateSurface(IDirect3DSurface9* sourceSurface, const RECT* sourceRect,
                              IDirect3DSurface9* destinationSurface, const POINT* destinationPoint) {
    const DeviceLock lock(this);
    Surface* source = nullptr;
    Surface* target = nullptr;
    if (FAILED(CheckOwnSurface(sourceSurface, &source)) ||
        FAILED(CheckOwnSurface(destinationSurface, &target)))
        return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC& from = source->Desc();
    const D3DSURFACE_DESC& to = target->Desc();
    if (from.Pool != D3DPOOL_SYSTEMMEM || to.Pool != D3DPOOL_DEFAULT || from.Format != to.Format ||
        source->IsDepthStencil() || target->IsDepthStencil())
        return D3DERR_INVALIDCALL;
    Region region;
    if (!SurfaceRegion(*source, sourceRect, &region))
        return D3DERR_INVALIDCALL;
    Region placed = region;
    placed.x = destinationPoint ? static_cast<UINT>(destinationPoint->x) : 0;
    placed.y = destinationPoint ? static_cast<UINT>(destinationPoint->y) : 0;
    if ((destinationPoint && (destinationPoint->x < 0 || destinationPoint->y < 0)) ||
        !target->Storage().ValidRegion(target->Level(), placed))
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    target->Storage().CopyFrom(source->Storage(), source->Face(), source->Level(), region, target->Face(),
                               target->Level(), placed.x, placed.y, 0);
    return D3D_OK;
}

HRESULT Device::UpdateTexture(IDirect3DBaseTexture9* sourceTexture,
                              IDirect3DBaseTexture9* destinationTexture) {
    const DeviceLock lock(this);
    BaseTexture* source = sourceTexture ? BaseTexture::From(sourceTexture) : nullptr;
    BaseTexture* target = destinationTexture ? BaseTexture::From(destinationTexture) : nullptr;
    if (!source || !target || source->Owner() != this || target->Owner() != this)
        return D3DERR_INVALIDCALL;
    const StorageDesc& from = source->Storage().Desc();
    const StorageDesc& to = target->Storage().Desc();
    if (from.pool != D3DPOOL_SYSTEMMEM || to.pool != D3DPOOL_DEFAULT || from.kind != to.kind ||
        from.format != to.format || from.levels < to.levels)
        return D3DERR_INVALIDCALL;
    // A source with more levels skips its top ones: its level `skip` matches the target's level 0.
    UINT skip = 0;
    while (skip < from.levels && (source->Storage().LevelRegion(skip).width != to.width ||
                                  source->Storage().LevelRegion(skip).height != to.height ||
                                  source->Storage().LevelRegion(skip).depth != to.depth))
        ++skip;
    if (skip == from.levels || from.levels - skip < to.levels)
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    // Only the source's dirty region, scaled to each level, is copied; the copy cleans the source.
    TextureStorage& storage = target->Storage();
    for (UINT face = 0; face < storage.Faces(); ++face) {
        for (UINT level = 0; level < to.levels; ++level) {
            const Region dirty = source->Storage().DirtyAt(face, level + skip);
            if (dirty.width > 0)
                storage.CopyFrom(source->Storage(), face, level + skip, dirty, face, level, dirty.x, dirty.y,
                                 dirty.z);
        }
    }
    source->Storage().ClearDirty();
    return D3D_OK;
}

HRESULT Device::GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* destinationSurface) {
    const DeviceLock lock(this);
    Surface* source = nullptr;
    Surface* target = nullptr;
    if (FAILED(CheckOwnSurface(renderTarget, &source)) ||
        FAILED(CheckOwnSurface(destinationSurface, &target)))
        return D3DERR_INVALIDCALL;
    if (!source->IsRenderTarget() || target->Desc().Pool != D3DPOOL_SYSTEMMEM ||
        source->Desc().Format != target->Desc().Format || !SameSize(source->Desc(), target->Desc()))
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    if (!source->Storage().ReadGlInto(source->Face(), source->Level(), &target->Storage(), target->Face(),
                                      target->Level()))
        return D3DERR_DRIVERINTERNALERROR;
    return D3D_OK;
}

HRESULT Device::StretchRect(IDirect3DSurface9* sourceSurface, const RECT* sourceRect,
                            IDirect3DSurface9* destinationSurface, const RECT* destinationRect,
                            D3DTEXTUREFILTERTYPE filter) {
    const DeviceLock lock(this);
    Surface* source = nullptr;
    Surface* target = nullptr;
    if (FAILED(CheckOwnSurface(sourceSurface, &source)) ||
        FAILED(CheckOwnSurface(destinationSurface, &target)))
        return D3DERR_INVALIDCALL;
    if (filter != D3DTEXF_NONE && filter != D3DTEXF_POINT && filter != D3DTEXF_LINEAR)
        return D3DERR_INVALIDCALL;
    const D3DSURFACE_DESC& from = source->Desc();
    const D3DSURFACE_DESC& to = target->Desc();
    // Both in video memory; the target a render target, or a plain surface when the source is one
    // too; depth-stencil surfaces only whole, unscaled and between equal formats.
    if (from.Pool != D3DPOOL_DEFAULT || to.Pool != D3DPOOL_DEFAULT ||
        IsCompressed(source->Storage().Format()))
        return D3DERR_INVALIDCALL;
    const bool depth = source->IsDepthStencil() || target->IsDepthStencil();
    if (depth && (!Whole(sourceRect, from) || !Whole(destinationRect, to) || from.Format != to.Format ||
                  !SameSize(from, to) || !source->IsDepthStencil() || !target->IsDepthStencil()))
        return D3DERR_INVALIDCALL;
    if (!depth && !target->IsRenderTarget() &&
        (source->IsRenderTarget() || source->Container() || target->Container()))
        return D3DERR_INVALIDCALL;
    Region fromRegion;
    Region toRegion;
    if (!SurfaceRegion(*source, sourceRect, &fromRegion) ||
        !SurfaceRegion(*target, destinationRect, &toRegion))
        return D3DERR_INVALIDCALL;
    if (source == target && Overlap(fromRegion, toRegion))
        return D3DERR_INVALIDCALL;
    // Direct3D 9 copies into an off-screen plain surface only from another one, and never stretches.
    if (!depth && !target->IsRenderTarget() &&
        (fromRegion.width != toRegion.width || fromRegion.height != toRegion.height))
        return D3DERR_INVALIDCALL;
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    CreateCopyFramebuffers();
    Surface::DetachColor(copyReadFramebuffer_);
    Surface::DetachDepthStencil(copyReadFramebuffer_);
    Surface::DetachColor(copyDrawFramebuffer_);
    Surface::DetachDepthStencil(copyDrawFramebuffer_);
    source->AttachTo(copyReadFramebuffer_);
    target->AttachTo(copyDrawFramebuffer_);
    // Rows are top-down on both sides, so the rectangles pass unchanged; the blit ignores the scissor
    // test only when it is off.
    gl_.SetScissorTest(false);
    GLbitfield mask = GL_COLOR_BUFFER_BIT;
    if (depth)
        mask = source->HasStencil() ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : GL_DEPTH_BUFFER_BIT;
    const auto x0 = static_cast<GLint>(fromRegion.x);
    const auto y0 = static_cast<GLint>(fromRegion.y);
    const auto x1 = static_cast<GLint>(toRegion.x);
    const auto y1 = static_cast<GLint>(toRegion.y);
    glBlitNamedFramebuffer(copyReadFramebuffer_, copyDrawFramebuffer_, x0, y0,
                           x0 + static_cast<GLint>(fromRegion.width),
                           y0 + static_cast<GLint>(fromRegion.height), x1, y1,
                           x1 + static_cast<GLint>(toRegion.width), y1 + static_cast<GLint>(toRegion.height),
                           mask, filter == D3DTEXF_LINEAR && !depth ? GL_LINEAR : GL_NEAREST);
    if (target->Level() == 0)
        target->Storage().MarkMipsStale();
    return D3D_OK;
}

HRESULT Device::ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) {
    const DeviceLock lock(this);
    Surface* target = nullptr;
    if (FAILED(CheckOwnSurface(surface, &target)))
        return D3DERR_INVALIDCALL;
    // Video-memory render targets and plain surfaces only; not the levels of ordinary textures.
    const D3DSURFACE_DESC& desc = target->Desc();
    if (desc.Pool != D3DPOOL_DEFAULT || target->IsDepthStencil() ||
        (target->Container() && !target->IsRenderTarget()))
        return D3DERR_INVALIDCALL;
    Region region;
    if (!SurfaceRegion(*target, rect, &region))
        return D3DERR_INVALIDCALL;
    // A DXT plain surface is filled through a lock, block by block: the region is block-aligned.
    if (IsCompressed(target->Storage().Format())) {
        std::uint8_t block[16];
        const unsigned bytes = SolidBlock(desc.Format, color, block);
        D3DLOCKED_RECT locked{};
        if (bytes == 0 || FAILED(surface->LockRect(&locked, rect, 0)))
            return D3DERR_INVALIDCALL;
        for (UINT row = 0; row < (region.height + 3) / 4; ++row)
            for (UINT column = 0; column < (region.width + 3) / 4; ++column)
                std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + row * locked.Pitch + column * bytes,
                            block, bytes);
        return surface->UnlockRect();
    }
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    const float rgba[4] = {
        static_cast<float>((color >> 16) & 0xFF) / 255.0f, static_cast<float>((color >> 8) & 0xFF) / 255.0f,
        static_cast<float>(color & 0xFF) / 255.0f, static_cast<float>((color >> 24) & 0xFF) / 255.0f};
    const TextureStorage& storage = target->Storage();
    const GLint layer = storage.Desc().kind == StorageKind::kCube ? static_cast<GLint>(target->Face()) : 0;
    glClearTexSubImage(storage.GlName(), static_cast<GLint>(target->Level()), static_cast<GLint>(region.x),
                       static_cast<GLint>(region.y), layer, static_cast<GLsizei>(region.width),
                       static_cast<GLsizei>(region.height), 1, GL_RGBA, GL_FLOAT, rgba);
    if (target->Level() == 0)
        target->Storage().MarkMipsStale();
    return D3D_OK;
}

} // namespace platform::device
