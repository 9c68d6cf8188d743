// The storage behind every texture and surface: one OpenGL texture with its mip levels (and cube
// faces), the memory that locks hand out in Direct3D's byte layout, and the lock bookkeeping.
//
// Where the bytes live follows the pool. D3DPOOL_MANAGED keeps a system copy of every level and
// mirrors it to GL; D3DPOOL_SYSTEMMEM and D3DPOOL_SCRATCH have the system copy only; D3DPOOL_DEFAULT
// has GL only, and a lock of a lockable default resource reads the region from GL into staging
// memory that the unlock writes back.
#ifndef VTR3_PLATFORM_DEVICE_TEXTURE_STORAGE_H
#define VTR3_PLATFORM_DEVICE_TEXTURE_STORAGE_H

#include "device/format_table.h"
#include "device/gl_api.h"

#include <d3d9.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::device {

enum class StorageKind { k2D, kCube, kVolume };

struct StorageDesc {
    StorageKind kind = StorageKind::k2D;
    const FormatInfo* format = nullptr;
    UINT width = 1;
    UINT height = 1;
    UINT depth = 1;
    UINT levels = 1; // levels the caller sees; an autogen texture shows one and has its chain in GL
    DWORD usage = 0;
    D3DPOOL pool = D3DPOOL_DEFAULT;
    bool lockable = false; // a default-pool resource the caller may lock
};

// A region of one level: x, y, z and a size, in pixels.
struct Region {
    UINT x = 0;
    UINT y = 0;
    UINT z = 0;
    UINT width = 0;
    UINT height = 0;
    UINT depth = 1;
};

// A RECT or D3DBOX as a region; false when it is empty or inverted.
bool RegionFromRect(const RECT& rect, Region* region);
bool RegionFromBox(const D3DBOX& box, Region* region);

class TextureStorage {
  public:
    // The GL context must be current. Null with D3DERR_OUTOFVIDEOMEMORY or E_OUTOFMEMORY in *result.
    static std::unique_ptr<TextureStorage> Create(const StorageDesc& desc, HRESULT* result);
    // The GL context must be current.
    ~TextureStorage();
    TextureStorage(const TextureStorage&) = delete;
    TextureStorage& operator=(const TextureStorage&) = delete;

    const StorageDesc& Desc() const { return desc_; }
    const FormatInfo& Format() const { return *desc_.format; }
    GLuint GlName() const { return texture_; }
    // A view of the same texels that GL reads and writes as sRGB (D3DSAMP_SRGBTEXTURE,
    // D3DRS_SRGBWRITEENABLE), made at first use; the texture itself for formats without one.
    GLuint SrgbName();
    GLenum GlTarget() const;
    UINT Faces() const { return desc_.kind == StorageKind::kCube ? 6 : 1; }
    Region LevelRegion(UINT level) const; // the whole level
    bool HasGl() const { return texture_ != 0; }
    bool HasSystemCopy() const { return desc_.pool != D3DPOOL_DEFAULT; }
    bool IsLockable() const { return HasSystemCopy() || desc_.lockable; }

    // LockRect / LockBox of one level of one face; region null for the whole level.
    HRESULT Lock(UINT face, UINT level, const Region* region, DWORD flags, D3DLOCKED_BOX* locked);
    HRESULT Unlock(UINT face, UINT level);
    bool IsLocked(UINT face, UINT level) const { return Sub(face, level).locked; }
    bool AnyLocked() const;

    // Checks a rectangle or box against a level and the format's block alignment.
    bool ValidRegion(UINT level, const Region& region) const;

    // The system copy of a level (null in the default pool), rows RowPitch apart.
    const std::uint8_t* SystemCopy(UINT face, UINT level) const;
    // Writes a region of another storage's system copy into this storage (GL and system copy).
    void CopyFrom(const TextureStorage& source, UINT sourceFace, UINT sourceLevel, const Region& sourceRegion,
                  UINT face, UINT level, UINT x, UINT y, UINT z);
    // Reads a whole GL level into this storage's system copy of the same level.
    bool ReadGlInto(UINT face, UINT level, TextureStorage* target, UINT targetFace, UINT targetLevel) const;

    // Uploads system-copy changes not yet in GL and regenerates autogen mip levels; cheap when there
    // is nothing to do.
    void PrepareForSampling();
    // Marks every level as changed: AddDirtyRect, or a lock without D3DLOCK_NO_DIRTY_UPDATE later.
    void MarkDirty() { uploadPending_ = HasGl() && HasSystemCopy(); }
    // The dirty region of level 0 of a face, what UpdateTexture copies from this storage: all of it
    // at creation, grown by AddDirty and by locks without D3DLOCK_NO_DIRTY_UPDATE or
    // D3DLOCK_READONLY (texture_dirty.cpp). One box holds the union: Direct3D may widen the region.
    // AddDirty is false for a region outside level 0; null dirties the whole face.
    bool AddDirty(UINT face, const Region* region);
    // The dirty region scaled to a level, rounded outward to whole blocks; width 0 when clean.
    Region DirtyAt(UINT face, UINT level) const;
    void ClearDirty();

    // Level 0 changed on the GPU (rendering, copies): autogen levels need regenerating.
    void MarkMipsStale() { mipsStale_ = true; }
    void GenerateMips();
    void SetBaseLevel(UINT level);

  private:
    struct Subresource {
        std::vector<std::uint8_t> memory; // system copy or lock staging, whole level
        bool locked = false;
        DWORD lockFlags = 0;
        Region lockRegion;
    };

    explicit TextureStorage(const StorageDesc& desc) : desc_(desc) {}
    bool AllocateGl();
    UINT GlLevels() const;
    bool AllocateSystemCopies();

    Subresource& Sub(UINT face, UINT level) { return subresources_[face * desc_.levels + level]; }
    const Subresource& Sub(UINT face, UINT level) const { return subresources_[face * desc_.levels + level]; }
    std::size_t Offset(UINT level, const Region& region) const;

    // Uploads a region whose first byte is data; source rows are sourceWidth pixels wide and source
    // slices sourceHeight rows high, in Direct3D's layout.
    void Upload(UINT face, UINT level, const Region& region, const std::uint8_t* data, UINT sourceWidth,
                UINT sourceHeight);
    // Reads a region from GL to data, with the same meaning of the source sizes for the target.
    void Download(UINT face, UINT level, const Region& region, std::uint8_t* data, UINT targetWidth,
                  UINT targetHeight, std::size_t available) const;
    void UploadWhole(UINT face, UINT level);

    StorageDesc desc_;
    GLuint texture_ = 0;
    GLuint srgbView_ = 0;
    std::vector<Subresource> subresources_;
    Region dirty_[6]; // per face, at level 0; width 0 when clean
    bool uploadPending_ = false;
    bool mipsStale_ = false;
    // Conversion space of formats OpenGL cannot take as they are; kept to avoid reallocating.
    mutable std::vector<std::uint8_t> converted_;
};

} // namespace platform::device

#endif
