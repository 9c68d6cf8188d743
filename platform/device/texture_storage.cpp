#include "device/texture_storage.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace platform::device {
namespace {

UINT MipSize(UINT size, UINT level) {
    return std::max(1u, size >> level);
}

UINT FullChain(UINT width, UINT height, UINT depth) {
    UINT levels = 1;
    for (UINT size = std::max({width, height, depth}); size > 1; size >>= 1)
        ++levels;
    return levels;
}

bool FitsIn(UINT offset, UINT size, UINT limit) {
    return size > 0 && std::uint64_t{offset} + size <= limit;
}

// Block formats lock and copy whole 4x4 blocks: a region starts on a block and ends on one or at
// the edge of the level.
bool BlockAligned(UINT offset, UINT size, UINT limit, UINT block) {
    return offset % block == 0 && ((offset + size) % block == 0 || offset + size == limit);
}

} // namespace

bool RegionFromRect(const RECT& rect, Region* region) {
    if (rect.left < 0 || rect.top < 0 || rect.right <= rect.left || rect.bottom <= rect.top)
        return false;
    *region = Region{static_cast<UINT>(rect.left),
                     static_cast<UINT>(rect.top),
                     0,
                     static_cast<UINT>(rect.right - rect.left),
                     static_cast<UINT>(rect.bottom - rect.top),
                     1};
    return true;
}

bool RegionFromBox(const D3DBOX& box, Region* region) {
    if (box.Right <= box.Left || box.Bottom <= box.Top || box.Back <= box.Front)
        return false;
    *region = Region{
        box.Left, box.Top, box.Front, box.Right - box.Left, box.Bottom - box.Top, box.Back - box.Front};
    return true;
}

std::unique_ptr<TextureStorage> TextureStorage::Create(const StorageDesc& desc, HRESULT* result) {
    std::unique_ptr<TextureStorage> storage(new (std::nothrow) TextureStorage(desc));
    if (!storage) {
        *result = E_OUTOFMEMORY;
        return nullptr;
    }
    if (!storage->AllocateSystemCopies()) {
        *result = E_OUTOFMEMORY;
        return nullptr;
    }
    const bool needsGl = desc.pool == D3DPOOL_DEFAULT || desc.pool == D3DPOOL_MANAGED;
    if (needsGl && !storage->AllocateGl()) {
        *result = D3DERR_OUTOFVIDEOMEMORY;
        return nullptr;
    }
    // A managed texture's first sampling uploads its (zeroed) system copy; a new texture is dirty.
    storage->MarkDirty();
    for (UINT face = 0; face < storage->Faces(); ++face)
        storage->AddDirty(face, nullptr);
    *result = D3D_OK;
    return storage;
}

TextureStorage::~TextureStorage() {
    if (srgbView_)
        glDeleteTextures(1, &srgbView_);
    if (texture_)
        glDeleteTextures(1, &texture_);
}

GLuint TextureStorage::SrgbName() {
    if (srgbView_ || !texture_)
        return srgbView_ ? srgbView_ : texture_;
    // The formats whose caps claim sRGB reading and writing (kUseSrgb in the format table).
    GLenum srgb = 0;
    if (Format().internalFormat == GL_RGBA8)
        srgb = GL_SRGB8_ALPHA8;
    else if (Format().internalFormat == GL_RGB8)
        srgb = GL_SRGB8;
    if (srgb == 0)
        return texture_;
    glGenTextures(1, &srgbView_); // a view needs a name never bound
    glTextureView(srgbView_, GlTarget(), texture_, srgb, 0, GlLevels(), 0, Faces());
    return srgbView_;
}

GLenum TextureStorage::GlTarget() const {
    switch (desc_.kind) {
    case StorageKind::kCube:
        return GL_TEXTURE_CUBE_MAP;
    case StorageKind::kVolume:
        return GL_TEXTURE_3D;
    case StorageKind::k2D:
        break;
    }
    return GL_TEXTURE_2D;
}

UINT TextureStorage::GlLevels() const {
    if (desc_.usage & D3DUSAGE_AUTOGENMIPMAP)
        return FullChain(desc_.width, desc_.height, desc_.depth);
    return desc_.levels;
}

bool TextureStorage::AllocateSystemCopies() {
    try {
        subresources_.resize(std::size_t{Faces()} * desc_.levels);
        if (!HasSystemCopy())
            return true;
        for (UINT face = 0; face < Faces(); ++face) {
            for (UINT level = 0; level < desc_.levels; ++level) {
                const Region whole = LevelRegion(level);
                Sub(face, level)
                    .memory.assign(ImageSize(Format(), whole.width, whole.height, whole.depth), 0);
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool TextureStorage::AllocateGl() {
    while (glGetError() != GL_NO_ERROR) {
    }
    glCreateTextures(GlTarget(), 1, &texture_);
    const auto levels = static_cast<GLsizei>(GlLevels());
    const auto width = static_cast<GLsizei>(desc_.width);
    const auto height = static_cast<GLsizei>(desc_.height);
    if (desc_.kind == StorageKind::kVolume)
        glTextureStorage3D(texture_, levels, Format().internalFormat, width, height,
                           static_cast<GLsizei>(desc_.depth));
    else
        glTextureStorage2D(texture_, levels, Format().internalFormat, width, height);
    if (!IsDepthFormat(Format()))
        glTextureParameteriv(texture_, GL_TEXTURE_SWIZZLE_RGBA, Format().swizzle);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &texture_);
        texture_ = 0;
        return false;
    }
    return true;
}

Region TextureStorage::LevelRegion(UINT level) const {
    return Region{
        0, 0, 0, MipSize(desc_.width, level), MipSize(desc_.height, level), MipSize(desc_.depth, level)};
}

bool TextureStorage::ValidRegion(UINT level, const Region& region) const {
    const Region whole = LevelRegion(level);
    if (!FitsIn(region.x, region.width, whole.width) || !FitsIn(region.y, region.height, whole.height) ||
        !FitsIn(region.z, region.depth, whole.depth))
        return false;
    const UINT block = Format().blockSize;
    return BlockAligned(region.x, region.width, whole.width, block) &&
           BlockAligned(region.y, region.height, whole.height, block);
}

std::size_t TextureStorage::Offset(UINT level, const Region& region) const {
    const Region whole = LevelRegion(level);
    const std::size_t pitch = RowPitch(Format(), whole.width);
    const std::size_t slice = pitch * PitchRows(Format(), whole.height);
    const UINT block = Format().blockSize;
    return region.z * slice + (region.y / block) * pitch +
           std::size_t{region.x / block} * Format().bytesPerBlock;
}

bool TextureStorage::AnyLocked() const {
    return std::any_of(subresources_.begin(), subresources_.end(),
                       [](const Subresource& sub) { return sub.locked; });
}

HRESULT TextureStorage::Lock(UINT face, UINT level, const Region* region, DWORD flags,
                             D3DLOCKED_BOX* locked) {
    if (face >= Faces() || level >= desc_.levels || !IsLockable())
        return D3DERR_INVALIDCALL;
    Subresource& sub = Sub(face, level);
    const Region whole = LevelRegion(level);
    const Region area = region ? *region : whole;
    if (sub.locked || !ValidRegion(level, area))
        return D3DERR_INVALIDCALL;
    if (!HasSystemCopy()) {
        try {
            sub.memory.resize(ImageSize(Format(), whole.width, whole.height, whole.depth));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        // A discarding lock promises to overwrite everything, so the old contents are not read.
        if (!(flags & D3DLOCK_DISCARD)) {
            const std::size_t offset = Offset(level, area);
            Download(face, level, area, sub.memory.data() + offset, whole.width, whole.height,
                     sub.memory.size() - offset);
        }
    }
    sub.locked = true;
    sub.lockFlags = flags;
    sub.lockRegion = area;
    if (!(flags & (D3DLOCK_READONLY | D3DLOCK_NO_DIRTY_UPDATE))) {
        // The locked area at level 0's scale.
        const Region top = LevelRegion(0);
        const Region scaled{area.x << level,
                            area.y << level,
                            area.z << level,
                            std::min(area.width << level, top.width - (area.x << level)),
                            std::min(area.height << level, top.height - (area.y << level)),
                            std::min(area.depth << level, top.depth - (area.z << level))};
        AddDirty(face, &scaled);
    }
    locked->pBits = sub.memory.data() + Offset(level, area);
    locked->RowPitch = static_cast<INT>(RowPitch(Format(), whole.width));
    locked->SlicePitch = locked->RowPitch * static_cast<INT>(PitchRows(Format(), whole.height));
    return D3D_OK;
}

HRESULT TextureStorage::Unlock(UINT face, UINT level) {
    if (face >= Faces() || level >= desc_.levels || !Sub(face, level).locked)
        return D3DERR_INVALIDCALL;
    Subresource& sub = Sub(face, level);
    sub.locked = false;
    if ((sub.lockFlags & D3DLOCK_READONLY) || !HasGl())
        return D3D_OK;
    // A managed lock without a dirty update leaves GL alone until AddDirtyRect says so.
    if (HasSystemCopy() && (sub.lockFlags & D3DLOCK_NO_DIRTY_UPDATE))
        return D3D_OK;
    const Region whole = LevelRegion(level);
    Upload(face, level, sub.lockRegion, sub.memory.data() + Offset(level, sub.lockRegion), whole.width,
           whole.height);
    if (level == 0)
        mipsStale_ = true;
    return D3D_OK;
}

const std::uint8_t* TextureStorage::SystemCopy(UINT face, UINT level) const {
    if (!HasSystemCopy() || face >= Faces() || level >= desc_.levels)
        return nullptr;
    return Sub(face, level).memory.data();
}

void TextureStorage::CopyFrom(const TextureStorage& source, UINT sourceFace, UINT sourceLevel,
                              const Region& sourceRegion, UINT face, UINT level, UINT x, UINT y, UINT z) {
    const Region sourceWhole = source.LevelRegion(sourceLevel);
    const std::uint8_t* from =
        source.SystemCopy(sourceFace, sourceLevel) + source.Offset(sourceLevel, sourceRegion);
    const Region target{x, y, z, sourceRegion.width, sourceRegion.height, sourceRegion.depth};
    if (HasSystemCopy()) {
        const FormatInfo& format = Format();
        const Region whole = LevelRegion(level);
        const std::size_t fromPitch = RowPitch(format, sourceWhole.width);
        const std::size_t fromSlice = fromPitch * PitchRows(format, sourceWhole.height);
        const std::size_t toPitch = RowPitch(format, whole.width);
        const std::size_t toSlice = toPitch * PitchRows(format, whole.height);
        const std::size_t rowBytes =
            std::size_t{(target.width + format.blockSize - 1) / format.blockSize} * format.bytesPerBlock;
        std::uint8_t* to = Sub(face, level).memory.data() + Offset(level, target);
        for (UINT slice = 0; slice < target.depth; ++slice)
            for (UINT row = 0; row < PitchRows(format, target.height); ++row)
                std::memcpy(to + slice * toSlice + row * toPitch, from + slice * fromSlice + row * fromPitch,
                            rowBytes);
    }
    if (HasGl())
        Upload(face, level, target, from, sourceWhole.width, sourceWhole.height);
    if (level == 0)
        mipsStale_ = true;
}

bool TextureStorage::ReadGlInto(UINT face, UINT level, TextureStorage* target, UINT targetFace,
                                UINT targetLevel) const {
    if (!HasGl() || !target->HasSystemCopy())
        return false;
    const Region whole = LevelRegion(level);
    std::vector<std::uint8_t>& memory = target->Sub(targetFace, targetLevel).memory;
    while (glGetError() != GL_NO_ERROR) {
    }
    Download(face, level, whole, memory.data(), whole.width, whole.height, memory.size());
    return glGetError() == GL_NO_ERROR;
}

void TextureStorage::PrepareForSampling() {
    if (uploadPending_) {
        uploadPending_ = false;
        for (UINT face = 0; face < Faces(); ++face)
            for (UINT level = 0; level < desc_.levels; ++level)
                UploadWhole(face, level);
        mipsStale_ = true;
    }
    if (mipsStale_) {
        mipsStale_ = false;
        GenerateMips();
    }
}

void TextureStorage::GenerateMips() {
    if (HasGl() && (desc_.usage & D3DUSAGE_AUTOGENMIPMAP) && GlLevels() > 1)
        glGenerateTextureMipmap(texture_);
}

void TextureStorage::SetBaseLevel(UINT level) {
    if (HasGl())
        glTextureParameteri(texture_, GL_TEXTURE_BASE_LEVEL, static_cast<GLint>(level));
}

void TextureStorage::UploadWhole(UINT face, UINT level) {
    const Region whole = LevelRegion(level);
    Upload(face, level, whole, Sub(face, level).memory.data(), whole.width, whole.height);
}

} // namespace platform::device
