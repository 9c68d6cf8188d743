// The texel formats the image code knows: their byte layout (texels or 4x4 blocks), and conversion of
// a 2D slice between a format and RGBA floats, the common ground of every format conversion, resize
// and mip level.
#ifndef VTR3_PLATFORM_IMAGE_PIXEL_FORMAT_H
#define VTR3_PLATFORM_IMAGE_PIXEL_FORMAT_H

#include <d3d9.h>

#include <cstddef>
#include <cstdint>

namespace platform::image {

struct Color {
    float r = 0, g = 0, b = 0, a = 0;
};

struct FormatInfo {
    D3DFORMAT format;
    UINT blockBytes;  // bytes of one texel, or of one 4x4 block
    UINT blockSize;   // 1, or 4 for block-compressed formats
    bool alpha;       // the format stores alpha
    bool convertible; // DecodeSlice and EncodeSlice handle it (signed formats are copied only)
};

// Null for a format the image code does not handle.
const FormatInfo* FindFormat(D3DFORMAT format);

std::size_t FormatRowPitch(D3DFORMAT format, UINT width);
std::size_t FormatRowCount(D3DFORMAT format, UINT height);
bool IsBlockCompressed(D3DFORMAT format);
bool IsConvertible(D3DFORMAT format);

// A w x h slice with rows of FormatRowPitch bytes to and from w * h colours, row by row. False for a
// format that is not convertible.
bool DecodeSlice(D3DFORMAT format, const std::uint8_t* source, UINT width, UINT height, Color* out);
bool EncodeSlice(D3DFORMAT format, const Color* source, UINT width, UINT height, std::uint8_t* out);

// The DXT block codecs behind DecodeSlice and EncodeSlice: 16 colours of a 4x4 block in row order.
void DecodeDxtBlock(D3DFORMAT format, const std::uint8_t* block, Color* texels);
void EncodeDxtBlock(D3DFORMAT format, const Color* texels, std::uint8_t* block);

float HalfToFloat(std::uint16_t half);
std::uint16_t FloatToHalf(float value);

} // namespace platform::image

#endif
