// Turns a decoded file into the contents of a texture: the requested format, size and number of mip
// levels, the colour key applied, the top level resized with the image filter and every further
// level built from the one above with the mip filter. Levels the file already holds at the right size
// are taken from the file, bytes unchanged when the format matches too (a DDS's own DXT blocks).
#ifndef VTR3_PLATFORM_IMAGE_TEXTURE_IMAGE_H
#define VTR3_PLATFORM_IMAGE_TEXTURE_IMAGE_H

#include "image/image.h"

namespace platform::image {

struct TextureShape {
    D3DFORMAT format;
    UINT width, height, depth, levels;
};

struct LoadFilters {
    DWORD filter;      // D3DX_FILTER_* for the top level
    DWORD mipFilter;   // D3DX_FILTER_* for the levels below; NONE leaves them transparent black
    D3DCOLOR colorKey; // 0: none; else texels of this A8R8G8B8 value become transparent black
};

// D3DERR_NOTAVAILABLE when the formats cannot be converted, D3DXERR_INVALIDDATA past the size limits.
HRESULT BuildTextureImage(const Image& source, const TextureShape& shape, const LoadFilters& filters,
                          Image* out);

// The whole image in another format, every face, level and slice (for saving and for tests).
HRESULT ConvertImage(const Image& source, D3DFORMAT format, Image* out);

} // namespace platform::image

#endif
