// The libFuzzer entry point for the image loaders: decode whatever the bytes are, and when they make an
// image, run it through the paths a texture load takes (conversion, resizing, a full mip chain), small
// images only so that each input stays quick.
#include "image/codecs.h"
#include "image/texture_image.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::image;
    Image image;
    D3DXIMAGE_INFO info{};
    if (FAILED(DecodeImage(data, size, &image, &info)))
        return 0;
    if (image.bytes.size() > (std::size_t{1} << 20))
        return 0;
    Image converted;
    ConvertImage(image, D3DFMT_A8R8G8B8, &converted);
    const UINT width = image.width * 2 > 64 ? 64 : image.width * 2;
    const UINT height = image.height > 64 ? 64 : image.height;
    Image texture;
    BuildTextureImage(image,
                      TextureShape{D3DFMT_DXT5, width, height, image.depth > 8 ? 8 : image.depth,
                                   FullMipCount(width, height, image.depth > 8 ? 8 : image.depth)},
                      LoadFilters{D3DX_FILTER_LINEAR, D3DX_FILTER_BOX, 0xff000000}, &texture);
    return 0;
}
