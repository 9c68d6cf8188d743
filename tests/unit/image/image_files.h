// Image files made by the tests: PNG and JPEG through libpng and libjpeg, BMP, TGA and DDS byte by byte.
#ifndef VTR3_TESTS_UNIT_IMAGE_IMAGE_FILES_H
#define VTR3_TESTS_UNIT_IMAGE_IMAGE_FILES_H

#include <d3d9.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace test_files {

using Bytes = std::vector<std::uint8_t>;

// `pixels` holds rows of `channels` samples of `bitDepth` bits (16-bit samples big-endian, as PNG
// stores them); a palette image passes its palette (RGB triples) and optional alpha entries.
struct PngSpec {
    std::uint32_t width = 1;
    std::uint32_t height = 1;
    int colourType = 6; // PNG_COLOR_TYPE_RGB_ALPHA
    int bitDepth = 8;
    bool interlaced = false;
    Bytes pixels;
    Bytes palette;
    Bytes paletteAlpha;
};
Bytes MakePng(const PngSpec& spec);

// A baseline JPEG of one colour (RGB) or grey level, at quality 100.
Bytes MakeJpeg(std::uint32_t width, std::uint32_t height, int components, const std::uint8_t sample[3]);

// Uncompressed BMP, bottom-up, from top-down B, G, R (24) or B, G, R, A (32) texels.
Bytes MakeBmp(std::uint32_t width, std::uint32_t height, int bits, const Bytes& topDownTexels);

// Uncompressed (type 2) or run-length (type 10) true-colour TGA from top-down B, G, R(, A) texels.
Bytes MakeTga(std::uint32_t width, std::uint32_t height, int bits, bool runLength,
              const Bytes& topDownTexels);

// A DDS header and data as written. Masks or a FourCC describe the format; caps2 flags a cube map
// (0xfe00) or a volume (0x200000).
struct DdsSpec {
    std::uint32_t width = 4, height = 4, depth = 0, mipCount = 0;
    std::uint32_t pfFlags = 0x41; // RGB | ALPHAPIXELS
    std::uint32_t fourCC = 0;
    std::uint32_t bitCount = 32;
    std::uint32_t masks[4] = {0xff0000, 0xff00, 0xff, 0xff000000};
    std::uint32_t caps2 = 0;
    Bytes data;
};
Bytes MakeDds(const DdsSpec& spec);

// Each value as four little-endian bytes.
inline void Put32(Bytes* out, std::initializer_list<std::uint32_t> values) {
    for (std::uint32_t v : values)
        for (int i = 0; i < 4; ++i)
            out->push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Put16(Bytes* out, std::uint32_t v) {
    out->push_back(static_cast<std::uint8_t>(v));
    out->push_back(static_cast<std::uint8_t>(v >> 8));
}

} // namespace test_files

#endif
