// The dirty region of a texture, by Direct3D 9's rules for UpdateTexture: recorded at level 0 as
// one box per face, scaled down the mip chain with fractions rounded outward.
#include "device/texture_storage.h"

#include <algorithm>

namespace platform::device {
namespace {

// [start, start + size) of level 0 at `level`, widened to whole blocks and cut to the level.
void Scale(UINT start, UINT size, UINT level, UINT block, UINT limit, UINT* outStart, UINT* outSize) {
    const UINT first = (start >> level) / block * block;
    const UINT end = (((start + size + (1u << level) - 1) >> level) + block - 1) / block * block;
    *outStart = first;
    *outSize = std::min(end, limit) - first;
}

Region Union(const Region& a, const Region& b) {
    if (a.width == 0)
        return b;
    const UINT x = std::min(a.x, b.x), y = std::min(a.y, b.y), z = std::min(a.z, b.z);
    return Region{x,
                  y,
                  z,
                  std::max(a.x + a.width, b.x + b.width) - x,
                  std::max(a.y + a.height, b.y + b.height) - y,
                  std::max(a.z + a.depth, b.z + b.depth) - z};
}

} // namespace

bool TextureStorage::AddDirty(UINT face, const Region* region) {
    const Region whole = LevelRegion(0);
    if (face >= Faces())
        return false;
    if (!region) {
        dirty_[face] = whole;
        return true;
    }
    if (std::uint64_t{region->x} + region->width > whole.width ||
        std::uint64_t{region->y} + region->height > whole.height ||
        std::uint64_t{region->z} + region->depth > whole.depth)
        return false;
    dirty_[face] = Union(dirty_[face], *region);
    return true;
}

Region TextureStorage::DirtyAt(UINT face, UINT level) const {
    const Region& dirty = dirty_[face];
    if (dirty.width == 0)
        return Region{};
    const Region whole = LevelRegion(level);
    const UINT block = Format().blockSize;
    Region scaled;
    Scale(dirty.x, dirty.width, level, block, whole.width, &scaled.x, &scaled.width);
    Scale(dirty.y, dirty.height, level, block, whole.height, &scaled.y, &scaled.height);
    Scale(dirty.z, dirty.depth, level, 1, whole.depth, &scaled.z, &scaled.depth);
    return scaled;
}

void TextureStorage::ClearDirty() {
    for (Region& dirty : dirty_)
        dirty = Region{};
}

} // namespace platform::device
