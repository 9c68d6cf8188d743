// The in-memory image every loader produces and every writer consumes: one format, the size of the
// top level, its faces and mip levels, and the texel bytes exactly as Direct3D 9 lays them out in a
// lock (A8R8G8B8 is B, G, R, A in memory; DXT formats are 4x4 blocks), rows tightly packed.
//
// Subresources follow one another face by face, and within a face level by level; a volume level
// holds its depth slices one after another.
#ifndef VTR3_PLATFORM_IMAGE_IMAGE_H
#define VTR3_PLATFORM_IMAGE_IMAGE_H

#include <d3dx9.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::image {

// Limits of what the loaders accept. Larger images, or images whose texels would take more memory,
// are refused as D3DXERR_INVALIDDATA before anything of their size is allocated.
constexpr UINT kMaxDimension = 16384;
constexpr UINT kMaxDepth = 2048;
constexpr std::size_t kMaxImageBytes = std::size_t{256} << 20;

struct Image {
    D3DFORMAT format = D3DFMT_UNKNOWN;
    D3DRESOURCETYPE type = D3DRTYPE_TEXTURE; // TEXTURE, CUBETEXTURE or VOLUMETEXTURE
    UINT width = 0;
    UINT height = 0;
    UINT depth = 1;
    UINT faces = 1; // 6 for a cube map, in Direct3D's face order
    UINT levels = 1;
    std::vector<std::uint8_t> bytes;

    UINT LevelWidth(UINT level) const { return Shrink(width, level); }
    UINT LevelHeight(UINT level) const { return Shrink(height, level); }
    UINT LevelDepth(UINT level) const { return Shrink(depth, level); }

    std::size_t RowPitch(UINT level) const;
    std::size_t RowCount(UINT level) const; // rows of texels, or of blocks
    std::size_t SlicePitch(UINT level) const { return RowPitch(level) * RowCount(level); }
    std::size_t LevelSize(UINT level) const { return SlicePitch(level) * LevelDepth(level); }
    std::size_t FaceSize() const;
    std::size_t Offset(UINT face, UINT level) const;
    std::uint8_t* Data(UINT face, UINT level) { return bytes.data() + Offset(face, level); }
    const std::uint8_t* Data(UINT face, UINT level) const { return bytes.data() + Offset(face, level); }

    static UINT Shrink(UINT size, UINT level) {
        const UINT shifted = level >= 32 ? 0 : size >> level;
        return shifted ? shifted : 1;
    }
};

// The number of levels of a complete mip chain down to 1x1(x1).
UINT FullMipCount(UINT width, UINT height, UINT depth = 1);

// The bytes an image of this shape takes, or 0 when the format is unknown, a size is zero or the total
// passes kMaxImageBytes.
std::size_t ImageByteSize(D3DFORMAT format, UINT width, UINT height, UINT depth, UINT faces, UINT levels);

// Sets the shape and allocates zeroed bytes; false (and nothing allocated) when ImageByteSize refuses.
bool Allocate(Image* image, D3DFORMAT format, D3DRESOURCETYPE type, UINT width, UINT height, UINT depth,
              UINT faces, UINT levels);

} // namespace platform::image

#endif
