// The image codecs and conversions, through the platform library's internal functions: PNG, JPEG,
// BMP, TGA and DDS files decode into Direct3D's byte layout and D3DXIMAGE_INFO names what the file
// stores; DXT blocks decode as Direct3D defines them; the BMP writer's rows read back; format
// conversion, resizing and the colour key work on exact texel bytes. Corrupt, truncated and oversized
// files are refused with D3DXERR_INVALIDDATA and leave no image behind (the sanitizer build checks
// that nothing leaks on the way out). RGBA PNG files and the box-filtered mip chain are checked
// through D3DX (d3dx_device_test.cpp).
#include "image_files.h"

#include "image/codecs.h"
#include "image/pixel_format.h"
#include "image/texture_image.h"

#include <d3dx9tex.h>
#include <gtest/gtest.h>

#include <numeric>
#include <tuple>
#include <utility>

using platform::image::Image;
using platform::image::LoadFilters;
using platform::image::TextureShape;
using test_files::Bytes;
using test_files::DdsSpec;

namespace {

struct Decoded {
    HRESULT result;
    Image image;
    D3DXIMAGE_INFO info;
};

// The file decoded into an image whose width a failed decode must reset.
Decoded Decode(const Bytes& file) {
    Decoded d{};
    d.image.width = 99;
    d.result = platform::image::DecodeImage(file.data(), file.size(), &d.image, &d.info);
    return d;
}

// The described DDS file written out and decoded.
Decoded DecodeDds(const DdsSpec& spec) {
    Decoded d = Decode(test_files::MakeDds(spec));
    EXPECT_EQ(d.result, D3D_OK);
    return d;
}

void ExpectRefused(const Bytes& file, const std::string& what) {
    const Decoded d = Decode(file);
    EXPECT_EQ(d.result, D3DXERR_INVALIDDATA) << what;
    EXPECT_TRUE(d.image.bytes.empty() && d.image.width == 0) << what;
}

// The bytes with the values written from the offset on.
Bytes Patched(Bytes bytes, std::size_t offset, const Bytes& values) {
    std::copy(values.begin(), values.end(), bytes.begin() + static_cast<long>(offset));
    return bytes;
}

Image Argb(UINT width, UINT height, const Bytes& bgra) {
    Image image;
    EXPECT_TRUE(platform::image::Allocate(&image, D3DFMT_A8R8G8B8, D3DRTYPE_TEXTURE, width, height, 1, 1, 1));
    image.bytes = bgra;
    return image;
}

Bytes Converted(const Image& image, D3DFORMAT format) {
    Image out;
    EXPECT_EQ(platform::image::ConvertImage(image, format, &out), D3D_OK);
    return out.bytes;
}

// The source built into a texture one texel high with the filter and colour key given.
Bytes Built(const Image& source, D3DFORMAT format, UINT width, DWORD filter, D3DCOLOR colourKey = 0) {
    Image built;
    EXPECT_EQ(platform::image::BuildTextureImage(source, TextureShape{format, width, 1, 1, 1},
                                                 LoadFilters{filter, D3DX_FILTER_NONE, colourKey}, &built),
              D3D_OK);
    return built.bytes;
}

TEST(PngDecoder, ColourTypesLoadInDirect3DsLayout) {
    struct Case {
        test_files::PngSpec spec; // width, height, colour type, bit depth, interlaced, pixels, palette, alpha
        D3DFORMAT format;
        Bytes bytes;
    };
    // RGB loads as opaque X8R8G8B8; grey as L8; grey-alpha as A8L8, L in the low byte; a 2-bit palette
    // with transparency (indices 0, 1, 2, 3) as A8R8G8B8; 16-bit samples keep their high byte, and
    // interlacing is undone.
    const Bytes sixteen = {10,   0x99, 11,   0x99, 12,   0x99, 13,   0x99, 14,
                           0x99, 15,   0x99, 16,   0x99, 17,   0x99, 18,   0x99};
    const Case cases[] = {
        {{2, 1, 2, 8, false, {1, 2, 3, 4, 5, 6}, {}, {}}, D3DFMT_X8R8G8B8, {3, 2, 1, 255, 6, 5, 4, 255}},
        {{3, 1, 0, 8, false, {0, 128, 255}, {}, {}}, D3DFMT_L8, {0, 128, 255}},
        {{2, 1, 4, 8, false, {7, 200, 9, 100}, {}, {}}, D3DFMT_A8L8, {7, 200, 9, 100}},
        {{4, 1, 3, 2, false, {0b00011011}, {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9}, {255, 128}},
         D3DFMT_A8R8G8B8,
         {0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 255, 9, 9, 9, 255}},
        {{3, 3, 0, 16, true, sixteen, {}, {}}, D3DFMT_L8, {10, 11, 12, 13, 14, 15, 16, 17, 18}},
    };
    for (const Case& c : cases) {
        const Decoded d = Decode(test_files::MakePng(c.spec));
        ASSERT_EQ(d.result, D3D_OK) << c.format;
        EXPECT_EQ(d.image.format, c.format);
        EXPECT_EQ(d.image.bytes, c.bytes) << c.format;
    }
    // The description names what the file stores.
    EXPECT_EQ(Decode(test_files::MakePng(cases[0].spec)).info.Format, D3DFMT_R8G8B8);
}

TEST(JpegDecoder, ColourBecomesX8R8G8B8AndGreyL8) {
    const std::uint8_t colour[3] = {200, 100, 50};
    Decoded d = Decode(test_files::MakeJpeg(16, 8, 3, colour));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.image.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d.info.ImageFileFormat, D3DXIFF_JPG);
    EXPECT_EQ(d.info.Width * 100 + d.info.Height, 1608u);
    ASSERT_EQ(d.image.bytes.size(), 16u * 8 * 4);
    const int expected[4] = {50, 100, 200, 255};
    for (std::size_t i = 0; i < d.image.bytes.size(); ++i)
        EXPECT_NEAR(d.image.bytes[i], expected[i % 4], 3) << i;
    const std::uint8_t grey[3] = {77, 0, 0};
    d = Decode(test_files::MakeJpeg(8, 8, 1, grey));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.image.format, D3DFMT_L8);
    for (std::uint8_t sample : d.image.bytes)
        EXPECT_NEAR(sample, 77, 1);
}

TEST(BmpAndTgaDecoders, RowsComeOutTopDownWhateverTheFileOrder) {
    // 3x2, 24 bits: bottom-up rows of 9 bytes padded to 12.
    const Bytes texels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    Decoded d = Decode(test_files::MakeBmp(3, 2, 24, texels));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.info.ImageFileFormat, D3DXIFF_BMP);
    EXPECT_EQ(d.info.Format, D3DFMT_R8G8B8);
    EXPECT_EQ(d.image.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d.image.bytes, (Bytes{1,  2,  3,  255, 4,  5,  6,  255, 7,  8,  9,  255,
                                    10, 11, 12, 255, 13, 14, 15, 255, 16, 17, 18, 255}));
    // Uncompressed and run-length TGA decode alike.
    const Bytes withAlpha = {1, 2, 3, 40, 5, 6, 7, 80};
    for (bool runLength : {false, true}) {
        d = Decode(test_files::MakeTga(2, 1, 32, runLength, withAlpha));
        ASSERT_EQ(d.result, D3D_OK) << runLength;
        EXPECT_EQ(d.info.ImageFileFormat, D3DXIFF_TGA);
        EXPECT_EQ(d.image.format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(d.image.bytes, withAlpha);
    }
}

TEST(ImageWriters, BmpTwentyFourBitRowsArePaddedAndReadBack) {
    const Bytes texels = {1, 2, 3, 4, 50,  60, 70,  80,  200, 210, 220, 230,
                          9, 8, 7, 6, 255, 0,  128, 255, 0,   0,   0,   0};
    Bytes file;
    ASSERT_TRUE(platform::image::EncodeBmp(texels.data(), 3, 2, false, &file));
    EXPECT_EQ(file.size(), 54u + 2 * 12); // rows of 9 bytes padded to 12
    Bytes opaque = texels;
    for (std::size_t i = 3; i < opaque.size(); i += 4)
        opaque[i] = 255;
    EXPECT_EQ(Decode(file).image.bytes, opaque);
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
        const Decoded d = DecodeDds(spec);
        EXPECT_EQ(d.info.ResourceType, c.type);
        EXPECT_EQ(d.info.MipLevels, spec.mipCount);
        EXPECT_EQ(d.info.ImageFileFormat, D3DXIFF_DDS);
        EXPECT_EQ(d.image.format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(d.image.faces, c.type == D3DRTYPE_CUBETEXTURE ? 6u : 1u);
        EXPECT_EQ(d.image.Offset(c.face, c.level), c.offset) << c.type;
        EXPECT_EQ(d.image.bytes, spec.data);
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
        const Decoded d = DecodeDds(spec);
        EXPECT_EQ(d.image.format, c.format);
        EXPECT_EQ(d.info.Format, c.format);
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
        const Decoded d = DecodeDds(spec);
        EXPECT_EQ(d.image.format, c.format);
        Image texels;
        ASSERT_EQ(platform::image::ConvertImage(d.image, D3DFMT_A8R8G8B8, &texels), D3D_OK);
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

TEST(FormatConversion, FromA8R8G8B8IntoTheCommonFormats) {
    const Image texel = Argb(1, 1, {0x00, 0x80, 0xff, 0x40}); // B, G, R, A
    EXPECT_EQ(Converted(texel, D3DFMT_X8R8G8B8), (Bytes{0x00, 0x80, 0xff, 0xff}));
    EXPECT_EQ(Converted(texel, D3DFMT_R8G8B8), (Bytes{0x00, 0x80, 0xff}));
    EXPECT_EQ(Converted(texel, D3DFMT_A8B8G8R8), (Bytes{0xff, 0x80, 0x00, 0x40}));
    // R5G6B5: r 31, g round(0.502 * 63) = 32, b 0 -> 0xfc00 | 0x0400 = 0xfc00 + (32 << 5).
    EXPECT_EQ(Converted(texel, D3DFMT_R5G6B5), (Bytes{0x00, 0xfc}));
    EXPECT_EQ(Converted(texel, D3DFMT_A8), (Bytes{0x40}));
    // A8L8: luminance 0.2125 * 1 + 0.7154 * 0.502 = 0.5716 -> 146.
    EXPECT_EQ(Converted(texel, D3DFMT_A8L8), (Bytes{146, 0x40}));
    // Half floats of 1.0, 0.50196, 0.0, 0.25098 in R, G, B, A order.
    const Bytes half = Converted(texel, D3DFMT_A16B16G16R16F);
    ASSERT_EQ(half.size(), 8u);
    EXPECT_EQ(half[0] | half[1] << 8, 0x3c00);
    EXPECT_EQ(half[4] | half[5] << 8, 0x0000);
    for (float value : {0.0f, -2.5f, 0.333251953125f, 65504.0f, 6.103515625e-05f})
        EXPECT_EQ(platform::image::HalfToFloat(platform::image::FloatToHalf(value)), value) << value;
    EXPECT_EQ(platform::image::FloatToHalf(1e6f), 0x7c00);
    // Signed formats are copied but not converted.
    Image bump;
    ASSERT_TRUE(platform::image::Allocate(&bump, D3DFMT_V8U8, D3DRTYPE_TEXTURE, 2, 1, 1, 1, 1));
    bump.bytes = {0x81, 0x7f, 0x00, 0x01};
    EXPECT_EQ(Converted(bump, D3DFMT_V8U8), bump.bytes);
    Image out;
    EXPECT_EQ(platform::image::ConvertImage(bump, D3DFMT_A8R8G8B8, &out), D3DERR_NOTAVAILABLE);
}

TEST(Resize, PointDuplicatesLinearBlendsBoxAveragesAndTheColourKeyClears) {
    const Image source = Argb(2, 1, {0, 0, 0, 255, 200, 200, 200, 255});
    EXPECT_EQ(Built(source, D3DFMT_L8, 4, D3DX_FILTER_POINT), (Bytes{0, 0, 200, 200}));
    // Linear with texel centres: destination centres at 0.25, 0.75, 1.25, 1.75 source texels map to
    // -0.25 (clamped to 0), 0.25, 0.75, 1.25 (clamped to 1) -> 0, 50, 150, 200.
    EXPECT_EQ(Built(source, D3DFMT_L8, 4, D3DX_FILTER_LINEAR), (Bytes{0, 50, 150, 200}));
    const Image four = Argb(4, 1, {0, 0, 0, 255, 40, 40, 40, 255, 80, 80, 80, 255, 120, 120, 120, 255});
    // Each destination texel covers 4/3 source texels: (0 + 40/3) * 3/4 = 10, (40*2/3 + 80*2/3)*3/4 = 60,
    // 110.
    EXPECT_EQ(Built(four, D3DFMT_L8, 3, D3DX_FILTER_BOX), (Bytes{10, 60, 110}));
    // The colour key makes matching texels transparent black.
    const Image keyed = Argb(2, 1, {0xff, 0x00, 0xff, 0xff, 0x10, 0x20, 0x30, 0xff});
    EXPECT_EQ(Built(keyed, D3DFMT_A8R8G8B8, 2, D3DX_FILTER_NONE, 0xffff00ff),
              (Bytes{0, 0, 0, 0, 0x10, 0x20, 0x30, 0xff}));
}

TEST(ImageLimits, ShapesPastTheLimitsAreRefusedBeforeAllocation) {
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_A8R8G8B8, 16384, 16384, 1, 1, 1), 0u); // 1 GiB
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_A8R8G8B8, 16385, 1, 1, 1, 1), 0u);
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_A8R8G8B8, 4, 4, 1, 1, 4), 0u); // 4x4 has 3 levels
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_DXT1, 8192, 8192, 1, 1, 1), 32u << 20);
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_DXT5, 1, 1, 1, 6, 1), 96u);
}

TEST(HostileFiles, EveryKindOfLieIsRefused) {
    test_files::PngSpec spec;
    spec.width = spec.height = 8;
    spec.pixels.assign(8 * 8 * 4, 0x5a);
    const Bytes png = test_files::MakePng(spec);
    for (std::size_t size = 0; size < png.size() - 12; ++size) // the last 12 bytes are IEND
        ExpectRefused(Bytes(png.begin(), png.begin() + static_cast<long>(size)), "truncated PNG");
    const std::uint8_t colour[3] = {10, 20, 30};
    const Bytes jpeg = test_files::MakeJpeg(16, 16, 3, colour);
    const Bytes bmp = test_files::MakeBmp(2, 2, 24, Bytes(12, 7));
    test_files::DdsSpec dds;
    dds.data = Bytes(64);
    const auto ddsWith = [&dds](auto change) {
        test_files::DdsSpec changed = dds;
        change(&changed);
        return test_files::MakeDds(changed);
    };
    const std::pair<Bytes, const char*> cases[] = {
        {{0x89, 'P', 'N', 'G'}, "PNG signature only"},
        {{0xff, 0xd8, 0xff}, "JPEG start only"},
        {{'D', 'D', 'S', ' ', 124, 0}, "DDS magic only"},
        {Patched(png, png.size() - 20, {static_cast<std::uint8_t>(png[png.size() - 20] ^ 0xff)}),
         "damaged IDAT"},
        {Patched(png, 16, {0x00, 0x10}), "PNG 1048576 texels wide, past the limit"},
        {Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2)), "half a JPEG"},
        {Patched(jpeg, 2, {0xff, 0x01, 0xff, 0x99}), "JPEG whose marker after SOI is TEM"},
        {{0xff, 0xd8, 0xff, 0xd9}, "JPEG that ends at once"},
        {ddsWith([](test_files::DdsSpec* s) { s->width = s->height = 1024; }), "DDS promising more data"},
        {ddsWith([](test_files::DdsSpec* s) { s->mipCount = 40; }), "DDS with more mips than the chain"},
        {ddsWith([](test_files::DdsSpec* s) { s->caps2 = 0x200 | 0x400; }), "cube map with one face"},
        {ddsWith([](test_files::DdsSpec* s) { s->width = s->height = 0x40000000; }), "DDS past every limit"},
        {ddsWith([](test_files::DdsSpec* s) { s->pfFlags = 0x4, s->fourCC = 0x31545844 + 1; }),
         "unknown FourCC"},
        {Patched(test_files::MakeDds(dds), 4, {100}), "DDS header size not 124"},
        {Patched(bmp, 18, {0x00, 0x00, 0x10}), "BMP 1048576 wide"},
        {Bytes(bmp.begin(), bmp.begin() + 30), "BMP cut inside its header"},
        {Patched(test_files::MakeTga(2, 2, 24, false, Bytes(12, 7)), 2, {77}), "TGA of an unknown type"},
    };
    for (const auto& c : cases)
        ExpectRefused(c.first, c.second);
    Image image;
    EXPECT_EQ(platform::image::DecodeImage(nullptr, 0, &image, nullptr), D3DXERR_INVALIDDATA);
}

} // namespace
