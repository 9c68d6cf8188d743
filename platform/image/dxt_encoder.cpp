// Encoding of DXT blocks through stb_dxt (Debian's libstb-dev), compiled here with its functions
// static so that its symbols stay inside this file. DXT1 is written opaque; DXT2/3 get explicit 4-bit
// alpha beside stb's colour block.
#include <cstring> // stb_dxt uses memcpy without including it

#define STB_DXT_STATIC
#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>

#include "image/pixel_format.h"

#include <algorithm>
#include <cmath>

namespace platform::image {
namespace {

unsigned char ToByte(float value) {
    return static_cast<unsigned char>(
        std::lround(std::clamp(std::isnan(value) ? 0.0f : value, 0.0f, 1.0f) * 255.0f));
}

} // namespace

void EncodeDxtBlock(D3DFORMAT format, const Color* texels, std::uint8_t* block) {
    unsigned char rgba[64];
    for (int i = 0; i < 16; ++i) {
        rgba[4 * i + 0] = ToByte(texels[i].r);
        rgba[4 * i + 1] = ToByte(texels[i].g);
        rgba[4 * i + 2] = ToByte(texels[i].b);
        rgba[4 * i + 3] = ToByte(texels[i].a);
    }
    if (format == D3DFMT_DXT1) {
        stb_compress_dxt_block(block, rgba, 0, STB_DXT_HIGHQUAL);
    } else if (format == D3DFMT_DXT2 || format == D3DFMT_DXT3) {
        for (int i = 0; i < 8; ++i) {
            const int low = (rgba[8 * i + 3] * 15 + 127) / 255;
            const int high = (rgba[8 * i + 7] * 15 + 127) / 255;
            block[i] = static_cast<std::uint8_t>(low | high << 4);
        }
        stb_compress_dxt_block(block + 8, rgba, 0, STB_DXT_HIGHQUAL);
    } else {
        stb_compress_dxt_block(block, rgba, 1, STB_DXT_HIGHQUAL);
    }
}

} // namespace platform::image
