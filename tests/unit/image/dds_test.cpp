// DDS files: 2D, cube and volume textures with mip chains, uncompressed and DXT, taken over in
// Direct3D's layout; DXT blocks decode as Direct3D defines them.
#include "image_files.h"

#include "image/codecs.h"
#include "image/texture_image.h"

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

using platform::image::DecodeImage;
using platform::image::Image;
using test_files::Bytes;
using test_files::DdsSpec;

namespace {

constexpr std::uint32_t kCubeAllFaces = 0xfe00;
constexpr std::uint32_t kVolume = 0x200000;

Bytes Sequence(std::size_t count) {
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

// The described file written out and decoded; the result is the decoder's.
HRESULT Decode(const DdsSpec& spec, Image* image, D3DXIMAGE_INFO* info) {
    const Bytes file = test_files::MakeDds(spec);
    return DecodeImage(file.data(), file.size(), image, info);
}

// The alpha bytes of the first `count` A8R8G8B8 texels.
Bytes Alphas(const Bytes& texels, std::size_t count) {
    Bytes alphas;
    for (std::size_t i = 0; i < count; ++i)
        alphas.push_back(texels[4 * i + 3]);
    return alphas;
}

TEST(DdsDecoder, TwoDimensionalMipChainKeepsItsBytesLevelByLevel) {
    DdsSpec spec;
    spec.width = 4;
    spec.height = 2;
    spec.mipCount = 3; // 4x2, 2x1, 1x1
    spec.data = Sequence((8 + 2 + 1) * 4);
    Image image;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(Decode(spec, &image, &info), D3D_OK);
    EXPECT_EQ(image.format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(info.MipLevels, 3u);
    EXPECT_EQ(info.ResourceType, D3DRTYPE_TEXTURE);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_DDS);
    EXPECT_EQ(image.Offset(0, 1), 32u);
    EXPECT_EQ(image.Offset(0, 2), 40u);
    EXPECT_EQ(image.bytes, spec.data);
}

TEST(DdsDecoder, MasksNameTheUncompressedFormats) {
    struct Case {
        std::uint32_t flags, bits, r, g, b, a;
        D3DFORMAT format;
    };
    const Case cases[] = {
        {0x40, 32, 0xff0000, 0xff00, 0xff, 0, D3DFMT_X8R8G8B8},
        {0x41, 32, 0xff, 0xff00, 0xff0000, 0xff000000, D3DFMT_A8B8G8R8},
        {0x40, 24, 0xff0000, 0xff00, 0xff, 0, D3DFMT_R8G8B8},
        {0x40, 16, 0xf800, 0x7e0, 0x1f, 0, D3DFMT_R5G6B5},
        {0x41, 16, 0x7c00, 0x3e0, 0x1f, 0x8000, D3DFMT_A1R5G5B5},
        {0x20000, 8, 0xff, 0, 0, 0, D3DFMT_L8},
        {0x20001, 16, 0xff, 0, 0, 0xff00, D3DFMT_A8L8},
        {0x2, 8, 0, 0, 0, 0xff, D3DFMT_A8},
        {0x80000, 16, 0xff, 0xff00, 0, 0, D3DFMT_V8U8},
    };
    for (const Case& c : cases) {
        DdsSpec spec;
        spec.pfFlags = c.flags;
        spec.bitCount = c.bits;
        std::tie(spec.masks[0], spec.masks[1], spec.masks[2], spec.masks[3]) = std::tie(c.r, c.g, c.b, c.a);
        spec.data = Bytes(16 * c.bits / 8);
        Image image;
        D3DXIMAGE_INFO info{};
        ASSERT_EQ(Decode(spec, &image, &info), D3D_OK) << c.format;
        EXPECT_EQ(image.format, c.format);
        EXPECT_EQ(info.Format, c.format);
    }
}

TEST(DdsDecoder, CubeMapHoldsSixFacesEachWithItsMips) {
    DdsSpec spec;
    spec.width = spec.height = 2;
    spec.mipCount = 2;
    spec.caps2 = 0x200 | kCubeAllFaces;
    spec.data = Sequence(6 * (4 + 1) * 4);
    Image image;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(Decode(spec, &image, &info), D3D_OK);
    EXPECT_EQ(info.ResourceType, D3DRTYPE_CUBETEXTURE);
    EXPECT_EQ(image.faces, 6u);
    EXPECT_EQ(image.Offset(1, 0), 20u);  // face +X ends after 16 + 4 bytes
    EXPECT_EQ(image.Offset(5, 1), 116u); // last face's 1x1 level
    EXPECT_EQ(image.Data(5, 1)[0], 116);
}

TEST(DdsDecoder, VolumeHoldsItsSlicesLevelByLevel) {
    DdsSpec spec;
    spec.width = spec.height = 2;
    spec.depth = 2;
    spec.mipCount = 2;
    spec.caps2 = kVolume;
    spec.data = Sequence((8 + 1) * 4);
    Image image;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(Decode(spec, &image, &info), D3D_OK);
    EXPECT_EQ(info.ResourceType, D3DRTYPE_VOLUMETEXTURE);
    EXPECT_EQ(info.Depth, 2u);
    EXPECT_EQ(image.SlicePitch(0), 16u);
    EXPECT_EQ(image.Offset(0, 1), 32u);
}

// One 4x4 block of each DXT kind, decoded to A8R8G8B8 texels.
Bytes DecodeBlock(D3DFORMAT format, const Bytes& block) {
    DdsSpec spec;
    spec.pfFlags = 0x4;
    spec.fourCC = static_cast<std::uint32_t>(format);
    spec.data = block;
    Image image;
    D3DXIMAGE_INFO info{};
    EXPECT_EQ(Decode(spec, &image, &info), D3D_OK);
    EXPECT_EQ(image.format, format);
    Image texels;
    EXPECT_EQ(platform::image::ConvertImage(image, D3DFMT_A8R8G8B8, &texels), D3D_OK);
    return texels.bytes;
}

TEST(DxtBlocks, Dxt1FourColourModeInterpolatesThirds) {
    // c0 = pure red (0xf800) > c1 = pure blue (0x001f); rows use indices 0, 1, 2, 3.
    const Bytes texels = DecodeBlock(D3DFMT_DXT1, {0x00, 0xf8, 0x1f, 0x00, 0xe4, 0xe4, 0xe4, 0xe4});
    ASSERT_EQ(texels.size(), 64u);
    const Bytes row = {0, 0, 255, 255, 255, 0, 0, 255, 85, 0, 170, 255, 170, 0, 85, 255};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(Bytes(texels.begin() + y * 16, texels.begin() + y * 16 + 16), row) << y;
}

TEST(DxtBlocks, Dxt1ThreeColourModeHasTransparentBlack) {
    // c0 = blue <= c1 = red: index 2 is the average, index 3 transparent black.
    const Bytes texels = DecodeBlock(D3DFMT_DXT1, {0x1f, 0x00, 0x00, 0xf8, 0xe4, 0xe4, 0xe4, 0xe4});
    const Bytes row = {255, 0, 0, 255, 0, 0, 255, 255, 128, 0, 128, 255, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 16), row);
}

TEST(DxtBlocks, Dxt3ExplicitAndDxt5InterpolatedAlpha) {
    // DXT3: alpha nibbles 0, 15, 5, 10 in the first row; colour all white.
    const Bytes dxt3 = {0xf0, 0xa5, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 0, 0, 0, 0};
    EXPECT_EQ(Alphas(DecodeBlock(D3DFMT_DXT3, dxt3), 4), (Bytes{0, 255, 85, 170}));
    // DXT5: a0 = 255 > a1 = 0, first texels use indices 0, 1, 2 (6/7 of a0), 7 (1/7 of a0).
    // Indices (3 bits each): 0, 1, 2, 7 -> bits 000 001 010 111 -> 0b111'010'001'000 = 0xe88.
    // The fifth texel uses index 0 again.
    const Bytes dxt5 = {255, 0, 0x88, 0x0e, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 0, 0, 0, 0};
    EXPECT_EQ(Alphas(DecodeBlock(D3DFMT_DXT5, dxt5), 5), (Bytes{255, 0, 219, 36, 255}));
}

TEST(DxtBlocks, EncodedSolidBlocksDecodeToTheSameColour) {
    Image source;
    ASSERT_TRUE(platform::image::Allocate(&source, D3DFMT_A8R8G8B8, D3DRTYPE_TEXTURE, 8, 4, 1, 1, 1));
    for (std::size_t i = 0; i < source.bytes.size(); i += 4) {
        // Two blocks of colours that 5:6:5 holds exactly: yellow, then blue.
        const bool left = (i / 4) % 8 < 4;
        source.bytes[i + 0] = left ? 0 : 255;
        source.bytes[i + 1] = left ? 255 : 0;
        source.bytes[i + 2] = left ? 255 : 0;
        source.bytes[i + 3] = 255;
    }
    for (D3DFORMAT format : {D3DFMT_DXT1, D3DFMT_DXT3, D3DFMT_DXT5}) {
        Image compressed;
        Image back;
        ASSERT_EQ(platform::image::ConvertImage(source, format, &compressed), D3D_OK);
        EXPECT_EQ(compressed.bytes.size(), format == D3DFMT_DXT1 ? 16u : 32u);
        ASSERT_EQ(platform::image::ConvertImage(compressed, D3DFMT_A8R8G8B8, &back), D3D_OK);
        EXPECT_EQ(back.bytes, source.bytes) << format;
    }
}

} // namespace
