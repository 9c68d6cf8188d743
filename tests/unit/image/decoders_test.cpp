// PNG, JPEG, BMP and TGA files decode into Direct3D's byte layout, and D3DXIMAGE_INFO names what the
// file stores; the BMP writer's 24-bit rows read back. RGBA PNG files are checked through D3DX
// (d3dx_device_test.cpp).
#include "image_files.h"

#include "image/codecs.h"

#include <gtest/gtest.h>

using platform::image::Image;
using test_files::Bytes;

namespace {

struct Decoded {
    HRESULT result;
    Image image;
    D3DXIMAGE_INFO info;
};

Decoded Decode(const Bytes& file) {
    Decoded d{};
    d.result = platform::image::DecodeImage(file.data(), file.size(), &d.image, &d.info);
    return d;
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

} // namespace
