#include "device/solid_block.h"

#include <cstring>

namespace platform::device {
namespace {

unsigned Scale(D3DCOLOR color, unsigned shift, unsigned top) {
    return (((color >> shift) & 0xFF) * top + 127) / 255;
}

// Both endpoints the colour in R5G6B5, so every index decodes to it; DXT1 with alpha below one half
// uses index 3 everywhere, transparent black when the endpoints are equal.
void ColorBlock(D3DCOLOR color, bool transparent, std::uint8_t* block) {
    const unsigned rgb565 = Scale(color, 16, 31) << 11 | Scale(color, 8, 63) << 5 | Scale(color, 0, 31);
    block[0] = block[2] = static_cast<std::uint8_t>(rgb565);
    block[1] = block[3] = static_cast<std::uint8_t>(rgb565 >> 8);
    std::memset(block + 4, transparent ? 0xFF : 0x00, 4);
}

} // namespace

unsigned SolidBlock(D3DFORMAT format, D3DCOLOR color, std::uint8_t block[16]) {
    const unsigned alpha = color >> 24;
    switch (format) {
    case D3DFMT_DXT1:
        ColorBlock(color, alpha < 0x80, block);
        return 8;
    case D3DFMT_DXT2:
    case D3DFMT_DXT3: // sixteen explicit 4-bit alphas
        std::memset(block, static_cast<int>(Scale(color, 24, 15) * 0x11), 8);
        ColorBlock(color, false, block + 8);
        return 16;
    case D3DFMT_DXT4:
    case D3DFMT_DXT5: // both alpha endpoints the alpha, every index 0
        block[0] = block[1] = static_cast<std::uint8_t>(alpha);
        std::memset(block + 2, 0, 6);
        ColorBlock(color, false, block + 8);
        return 16;
    default:
        return 0;
    }
}

} // namespace platform::device
