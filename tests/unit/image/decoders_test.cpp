// PNG, JPEG, BMP and TGA files decode into Direct3D's byte layout, and D3DXIMAGE_INFO names what the
// file stores. An RGBA PNG's bytes and description are checked through D3DX (d3dx_device_test.cpp).
#include "image_files.h"

#include "image/codecs.h"

#include <gtest/gtest.h>

#include <cstdlib>

using platform::image::DecodeImage;
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
    d.result = DecodeImage(file.data(), file.size(), &d.image, &d.info);
    return d;
}

TEST(PngDecoder, ColourTypesLoadInDirect3DsLayout) {
    struct Case {
        test_files::PngSpec spec; // width, height, colour type, bit depth, interlaced, pixels, palette, alpha
        D3DFORMAT format;
        Bytes bytes;
    };
    // RGB loads as opaque X8R8G8B8; grey as L8; grey-alpha as A8L8, L in the low byte; a 2-bit palette
    // with transparency (indices 0, 1, 2, 3) as A8R8G8B8.
    const Case cases[] = {
        {{2, 1, 2, 8, false, {1, 2, 3, 4, 5, 6}, {}, {}}, D3DFMT_X8R8G8B8, {3, 2, 1, 255, 6, 5, 4, 255}},
        {{3, 1, 0, 8, false, {0, 128, 255}, {}, {}}, D3DFMT_L8, {0, 128, 255}},
        {{2, 1, 4, 8, false, {7, 200, 9, 100}, {}, {}}, D3DFMT_A8L8, {7, 200, 9, 100}},
        {{4, 1, 3, 2, false, {0b00011011}, {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9}, {255, 128}},
         D3DFMT_A8R8G8B8,
         {0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 255, 9, 9, 9, 255}},
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

TEST(PngDecoder, SixteenBitSamplesKeepTheirHighByteAndInterlacingIsUndone) {
    test_files::PngSpec spec;
    spec.width = 3;
    spec.height = 3;
    spec.colourType = 2;
    spec.bitDepth = 16;
    spec.interlaced = true;
    for (int i = 0; i < 9; ++i)
        for (int c = 0; c < 3; ++c)
            spec.pixels.insert(spec.pixels.end(), {static_cast<std::uint8_t>(i * 20 + c), 0x99});
    const Decoded d = Decode(test_files::MakePng(spec));
    ASSERT_EQ(d.result, D3D_OK);
    Bytes expected;
    for (int i = 0; i < 9; ++i)
        expected.insert(expected.end(),
                        {static_cast<std::uint8_t>(i * 20 + 2), static_cast<std::uint8_t>(i * 20 + 1),
                         static_cast<std::uint8_t>(i * 20), 255});
    EXPECT_EQ(d.image.bytes, expected);
}

TEST(JpegDecoder, ColourBecomesX8R8G8B8AndGreyL8) {
    const std::uint8_t colour[3] = {200, 100, 50};
    Decoded d = Decode(test_files::MakeJpeg(16, 8, 3, colour));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.image.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d.info.ImageFileFormat, D3DXIFF_JPG);
    EXPECT_EQ(d.info.Width, 16u);
    EXPECT_EQ(d.info.Height, 8u);
    ASSERT_EQ(d.image.bytes.size(), 16u * 8 * 4);
    for (std::size_t i = 0; i < d.image.bytes.size(); i += 4) {
        EXPECT_NEAR(d.image.bytes[i + 0], 50, 3);
        EXPECT_NEAR(d.image.bytes[i + 1], 100, 3);
        EXPECT_NEAR(d.image.bytes[i + 2], 200, 3);
        EXPECT_EQ(d.image.bytes[i + 3], 255);
    }
    const std::uint8_t grey[3] = {77, 0, 0};
    d = Decode(test_files::MakeJpeg(8, 8, 1, grey));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.image.format, D3DFMT_L8);
    for (std::uint8_t sample : d.image.bytes)
        EXPECT_NEAR(sample, 77, 1);
}

TEST(BmpDecoder, BottomUpRowsWithPaddingComeOutTopDown) {
    // 3x2, 24 bits: rows of 9 bytes padded to 12.
    const Bytes texels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const Decoded d = Decode(test_files::MakeBmp(3, 2, 24, texels));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.info.ImageFileFormat, D3DXIFF_BMP);
    EXPECT_EQ(d.info.Format, D3DFMT_R8G8B8);
    EXPECT_EQ(d.image.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d.image.bytes, (Bytes{1,  2,  3,  255, 4,  5,  6,  255, 7,  8,  9,  255,
                                    10, 11, 12, 255, 13, 14, 15, 255, 16, 17, 18, 255}));
}

TEST(TgaDecoder, UncompressedAndRunLengthFilesDecodeAlike) {
    const Bytes texels = {1, 2, 3, 40, 5, 6, 7, 80};
    for (bool runLength : {false, true}) {
        const Decoded d = Decode(test_files::MakeTga(2, 1, 32, runLength, texels));
        ASSERT_EQ(d.result, D3D_OK) << runLength;
        EXPECT_EQ(d.info.ImageFileFormat, D3DXIFF_TGA);
        EXPECT_EQ(d.image.format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(d.image.bytes, texels);
    }
}

} // namespace
