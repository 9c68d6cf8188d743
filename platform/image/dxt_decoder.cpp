// Decoding of DXT1/2/3/4/5 blocks as Direct3D 9 defines them: two 5:6:5 end-point colours and 2-bit
// indices; DXT1 switches to three colours and transparent black when the first end point is not
// greater than the second; DXT2/3 carry explicit 4-bit alpha, DXT4/5 interpolated alpha.
#include "image/pixel_format.h"

namespace platform::image {
namespace {

std::uint32_t Load32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

Color From565(std::uint32_t v) {
    return Color{static_cast<float>((v >> 11) & 31) / 31.0f, static_cast<float>((v >> 5) & 63) / 63.0f,
                 static_cast<float>(v & 31) / 31.0f, 1.0f};
}

Color Mix(const Color& a, const Color& b, float wa, float wb, float total) {
    return Color{(a.r * wa + b.r * wb) / total, (a.g * wa + b.g * wb) / total, (a.b * wa + b.b * wb) / total,
                 1.0f};
}

void DecodeColours(const std::uint8_t* block, bool allowThreeColour, Color* texels) {
    const std::uint32_t c0 = block[0] | block[1] << 8;
    const std::uint32_t c1 = block[2] | block[3] << 8;
    Color palette[4] = {From565(c0), From565(c1), {}, {}};
    if (c0 > c1 || !allowThreeColour) {
        palette[2] = Mix(palette[0], palette[1], 2, 1, 3);
        palette[3] = Mix(palette[0], palette[1], 1, 2, 3);
    } else {
        palette[2] = Mix(palette[0], palette[1], 1, 1, 2);
        palette[3] = Color{0, 0, 0, 0};
    }
    const std::uint32_t indices = Load32(block + 4);
    for (int i = 0; i < 16; ++i)
        texels[i] = palette[(indices >> (2 * i)) & 3];
}

void DecodeExplicitAlpha(const std::uint8_t* block, Color* texels) {
    for (int i = 0; i < 16; ++i)
        texels[i].a = static_cast<float>((block[i / 2] >> (4 * (i % 2))) & 15) / 15.0f;
}

void DecodeInterpolatedAlpha(const std::uint8_t* block, Color* texels) {
    const float a0 = block[0];
    const float a1 = block[1];
    float alpha[8] = {a0, a1};
    if (block[0] > block[1]) {
        for (int i = 2; i < 8; ++i)
            alpha[i] = ((8 - i) * a0 + (i - 1) * a1) / 7.0f;
    } else {
        for (int i = 2; i < 6; ++i)
            alpha[i] = ((6 - i) * a0 + (i - 1) * a1) / 5.0f;
        alpha[6] = 0.0f;
        alpha[7] = 255.0f;
    }
    std::uint64_t indices = 0;
    for (int i = 0; i < 6; ++i)
        indices |= std::uint64_t{block[2 + i]} << (8 * i);
    for (int i = 0; i < 16; ++i)
        texels[i].a = alpha[(indices >> (3 * i)) & 7] / 255.0f;
}

} // namespace

void DecodeDxtBlock(D3DFORMAT format, const std::uint8_t* block, Color* texels) {
    switch (format) {
    case D3DFMT_DXT1:
        DecodeColours(block, true, texels);
        break;
    case D3DFMT_DXT2:
    case D3DFMT_DXT3:
        DecodeColours(block + 8, false, texels);
        DecodeExplicitAlpha(block, texels);
        break;
    default:
        DecodeColours(block + 8, false, texels);
        DecodeInterpolatedAlpha(block, texels);
        break;
    }
}

} // namespace platform::image
