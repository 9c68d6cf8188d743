// DDS files: 2D, cube and volume textures with mip chains, uncompressed and DXT, taken over in
// Direct3D's layout; DXT blocks decode as Direct3D defines them.
#include "image_files.h"

#include "image/codecs.h"
#include "image/texture_image.h"

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

using platform::image::Image;
using test_files::Bytes;
using test_files::DdsSpec;

namespace {

// The described file written out and decoded.
Image Decode(const DdsSpec& spec, D3DXIMAGE_INFO* info) {
    const Bytes file = test_files::MakeDds(spec);
    Image image;
    EXPECT_EQ(platform::image::DecodeImage(file.data(), file.size(), &image, info), D3D_OK);
    return image;
}

TEST(DdsDecoder, MipChainsOfTexturesCubesAndVolumesKeepTheirBytesInDirect3DsOrder) {
    struct Case {
        std::uint32_t width, height, depth, caps2;
        std::size_t bytes;
        D3DRESOURCETYPE type;
        UINT face, level;   // a subresource
        std::size_t offset; // and where it starts
    };
    const Case cases[] = {
        {4, 2, 0, 0, (8 + 2 + 1) * 4, D3DRTYPE_TEXTURE, 0, 2, 40},                   // 4x2, 2x1, 1x1
        {2, 2, 0, 0x200 | 0xfe00, 6 * (4 + 1) * 4, D3DRTYPE_CUBETEXTURE, 5, 1, 116}, // face by face
        {2, 2, 2, 0x200000, (8 + 1) * 4, D3DRTYPE_VOLUMETEXTURE, 0, 1, 32},          // two 2x2 slices, 1x1
    };
    for (const Case& c : cases) {
        DdsSpec spec;
        std::tie(spec.width, spec.height, spec.depth, spec.caps2) =
            std::tie(c.width, c.height, c.depth, c.caps2);
        spec.mipCount = c.type == D3DRTYPE_TEXTURE ? 3 : 2;
        spec.data.resize(c.bytes);
        std::iota(spec.data.begin(), spec.data.end(), std::uint8_t{0});
        D3DXIMAGE_INFO info{};
        const Image image = Decode(spec, &info);
        EXPECT_EQ(info.ResourceType, c.type);
        EXPECT_EQ(info.MipLevels, spec.mipCount);
        EXPECT_EQ(info.ImageFileFormat, D3DXIFF_DDS);
        EXPECT_EQ(image.format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(image.faces, c.type == D3DRTYPE_CUBETEXTURE ? 6u : 1u);
        EXPECT_EQ(image.Offset(c.face, c.level), c.offset) << c.type;
        EXPECT_EQ(image.bytes, spec.data);
    }
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
        D3DXIMAGE_INFO info{};
        EXPECT_EQ(Decode(spec, &info).format, c.format);
        EXPECT_EQ(info.Format, c.format);
    }
}

TEST(DxtBlocks, EachKindDecodesAsDirect3DDefinesIt) {
    const struct {
        D3DFORMAT format;
        Bytes block, firstTexels; // B, G, R, A of the first texels
    } cases[] = {
        // c0 = red (0xf800) > c1 = blue (0x001f): indices 0, 1, 2, 3 are red, blue and the thirds.
        {D3DFMT_DXT1,
         {0x00, 0xf8, 0x1f, 0x00, 0xe4, 0xe4, 0xe4, 0xe4},
         {0, 0, 255, 255, 255, 0, 0, 255, 85, 0, 170, 255, 170, 0, 85, 255}},
        // c0 = blue <= c1 = red: index 2 is the average, index 3 transparent black.
        {D3DFMT_DXT1,
         {0x1f, 0x00, 0x00, 0xf8, 0xe4, 0xe4, 0xe4, 0xe4},
         {255, 0, 0, 255, 0, 0, 255, 255, 128, 0, 128, 255, 0, 0, 0, 0}},
        // DXT3: alpha nibbles 0, 15, 5, 10; colour white.
        {D3DFMT_DXT3,
         {0xf0, 0xa5, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 0, 0, 0, 0},
         {255, 255, 255, 0, 255, 255, 255, 255, 255, 255, 255, 85, 255, 255, 255, 170}},
        // DXT5: a0 = 255 > a1 = 0; indices 0, 1, 2 (6/7 of a0), 7 (1/7 of a0) = bits 0xe88.
        {D3DFMT_DXT5,
         {255, 0, 0x88, 0x0e, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 0, 0, 0, 0},
         {255, 255, 255, 255, 255, 255, 255, 0, 255, 255, 255, 219, 255, 255, 255, 36}},
    };
    for (const auto& c : cases) {
        DdsSpec spec;
        spec.pfFlags = 0x4;
        spec.fourCC = static_cast<std::uint32_t>(c.format);
        spec.data = c.block;
        D3DXIMAGE_INFO info{};
        const Image image = Decode(spec, &info);
        EXPECT_EQ(image.format, c.format);
        Image texels;
        ASSERT_EQ(platform::image::ConvertImage(image, D3DFMT_A8R8G8B8, &texels), D3D_OK);
        EXPECT_EQ(Bytes(texels.bytes.begin(), texels.bytes.begin() + 16), c.firstTexels) << c.format;
    }
}

TEST(DxtBlocks, EncodedSolidBlocksDecodeToTheSameColour) {
    Image source;
    ASSERT_TRUE(platform::image::Allocate(&source, D3DFMT_A8R8G8B8, D3DRTYPE_TEXTURE, 8, 4, 1, 1, 1));
    for (std::size_t i = 0; i < source.bytes.size(); i += 4) {
        // Two blocks of colours that 5:6:5 holds exactly: yellow, then blue.
        const bool left = (i / 4) % 8 < 4;
        const std::uint8_t texel[4] = {std::uint8_t(left ? 0 : 255), std::uint8_t(left ? 255 : 0),
                                       std::uint8_t(left ? 255 : 0), 255};
        std::copy(texel, texel + 4, source.bytes.begin() + static_cast<long>(i));
    }
    for (D3DFORMAT format : {D3DFMT_DXT1, D3DFMT_DXT3, D3DFMT_DXT5}) {
        Image compressed, back;
        ASSERT_EQ(platform::image::ConvertImage(source, format, &compressed), D3D_OK);
        EXPECT_EQ(compressed.bytes.size(), format == D3DFMT_DXT1 ? 16u : 32u);
        ASSERT_EQ(platform::image::ConvertImage(compressed, D3DFMT_A8R8G8B8, &back), D3D_OK);
        EXPECT_EQ(back.bytes, source.bytes) << format;
    }
}

} // namespace
