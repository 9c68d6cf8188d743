// BMP and TGA through stb_image (Debian's libstb-dev), compiled here with only those two loaders and
// its functions static, so that the rest of stb stays out of the library and out of reach of files.
// This file is built with the third-party header's warnings relaxed.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>

#include "image/codecs.h"

#include <climits>

namespace platform::image {

static_assert(STBI_MAX_DIMENSIONS == kMaxDimension);

HRESULT DecodeBmpOrTga(const std::uint8_t* data, std::size_t size, bool tga, Image* image,
                       D3DFORMAT* fileFormat) {
    if (size > INT_MAX)
        return D3DXERR_INVALIDDATA;
    const int length = static_cast<int>(size);
    stbi__context context;
    stbi__start_mem(&context, data, length);
    int width = 0;
    int height = 0;
    int components = 0;
    const int known = tga ? stbi__tga_info(&context, &width, &height, &components)
                          : stbi__bmp_info(&context, &width, &height, &components);
    if (!known || width <= 0 || height <= 0 ||
        ImageByteSize(D3DFMT_A8R8G8B8, static_cast<UINT>(width), static_cast<UINT>(height), 1, 1, 1) == 0)
        return D3DXERR_INVALIDDATA;
    stbi_uc* rgba = stbi_load_from_memory(data, length, &width, &height, &components, 4);
    if (!rgba)
        return D3DXERR_INVALIDDATA;
    const bool alpha = components == 2 || components == 4;
    Image decoded;
    if (!Allocate(&decoded, alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8, D3DRTYPE_TEXTURE,
                  static_cast<UINT>(width), static_cast<UINT>(height), 1, 1, 1)) {
        stbi_image_free(rgba);
        return D3DXERR_INVALIDDATA;
    }
    for (std::size_t i = 0; i < decoded.bytes.size(); i += 4) {
        decoded.bytes[i + 0] = rgba[i + 2];
        decoded.bytes[i + 1] = rgba[i + 1];
        decoded.bytes[i + 2] = rgba[i + 0];
        decoded.bytes[i + 3] = alpha ? rgba[i + 3] : 0xff;
    }
    stbi_image_free(rgba);
    *fileFormat = alpha ? D3DFMT_A8R8G8B8 : (components == 1 ? D3DFMT_L8 : D3DFMT_R8G8B8);
    *image = std::move(decoded);
    return D3D_OK;
}

} // namespace platform::image
