// The image file codecs. Decoders read a whole file held in memory into an Image and name the format
// the file stores, as D3DXIMAGE_INFO reports it; they answer D3DXERR_INVALIDDATA for anything they
// cannot read (corrupt, truncated, unsupported, or past the limits of image.h) and leave the image
// empty then. Writers take a 2D slice of 32-bit B, G, R, A texels.
#ifndef VTR3_PLATFORM_IMAGE_CODECS_H
#define VTR3_PLATFORM_IMAGE_CODECS_H

#include "image/image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::image {

HRESULT DecodeImage(const std::uint8_t* data, std::size_t size, Image* image, D3DXIMAGE_INFO* info);

HRESULT DecodePng(const std::uint8_t* data, std::size_t size, Image* image, D3DFORMAT* fileFormat);
HRESULT DecodeJpeg(const std::uint8_t* data, std::size_t size, Image* image, D3DFORMAT* fileFormat);
// BMP and TGA through stb_image.
HRESULT DecodeBmpOrTga(const std::uint8_t* data, std::size_t size, bool tga, Image* image,
                       D3DFORMAT* fileFormat);
HRESULT DecodeDds(const std::uint8_t* data, std::size_t size, Image* image, D3DFORMAT* fileFormat);

// How a PNG file's rows are compressed: a zlib level (0-9) and libpng's PNG_FILTER_* flags, the
// filters the encoder may choose from row by row.
struct PngCompression {
    int level;
    int filters;
    int strategy; // zlib's Z_DEFAULT_STRATEGY, Z_RLE, ...
};
// Rendered frames and saved surfaces: zlib level 1 without row filters encodes the demo's frame about
// five times as fast as libpng's default (level 6, every filter), for a file about a third larger;
// the row filters cost more at level 1 and gain less, the RLE and Huffman-only strategies are slower
// and make files four times as large (bench/png_bench.cpp compares the choices).
extern const PngCompression kPngCompression;

// The file's bytes, or false when the encoder fails. withAlpha writes the fourth byte of each texel;
// otherwise the image is stored opaque.
bool EncodePng(const std::uint8_t* bgra, UINT width, UINT height, bool withAlpha,
               std::vector<std::uint8_t>* file, const PngCompression& compression = kPngCompression);
bool EncodeBmp(const std::uint8_t* bgra, UINT width, UINT height, bool withAlpha,
               std::vector<std::uint8_t>* file);

} // namespace platform::image

#endif
