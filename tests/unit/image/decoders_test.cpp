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

TEST(PngDecoder, RgbIsReportedAsR8G8B8AndLoadsOpaqueX8R8G8B8) {
    test_files::PngSpec spec;
    spec.width = 2;
    spec.colourType = 2;
    spec.pixels = {1, 2, 3, 4, 5, 6};
    const Decoded d = Decode(test_files::MakePng(spec));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.info.Format, D3DFMT_R8G8B8);
    EXPECT_EQ(d.image.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d.image.bytes, (Bytes{3, 2, 1, 255, 6, 5, 4, 255}));
}

TEST(PngDecoder, GreyAndGreyAlphaBecomeL8AndA8L8) {
    test_files::PngSpec grey;
    grey.width = 3;
    grey.colourType = 0;
    grey.pixels = {0, 128, 255};
    Decoded d = Decode(test_files::MakePng(grey));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.image.format, D3DFMT_L8);
    EXPECT_EQ(d.image.bytes, (Bytes{0, 128, 255}));

    test_files::PngSpec greyAlpha;
    greyAlpha.width = 2;
    greyAlpha.colourType = 4;
    greyAlpha.pixels = {7, 200, 9, 100};
    d = Decode(test_files::MakePng(greyAlpha));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.image.format, D3DFMT_A8L8);
    EXPECT_EQ(d.image.bytes, (Bytes{7, 200, 9, 100})); // L in the low byte, A in the high byte
}

TEST(PngDecoder, PaletteWithTransparencyExpandsToA8R8G8B8) {
    test_files::PngSpec spec;
    spec.width = 4;
    spec.colourType = 3;
    spec.bitDepth = 2;
    spec.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    spec.paletteAlpha = {255, 128};
    spec.pixels = {0b00011011}; // indices 0, 1, 2, 3
    const Decoded d = Decode(test_files::MakePng(spec));
    ASSERT_EQ(d.result, D3D_OK);
    EXPECT_EQ(d.image.format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(d.image.bytes, (Bytes{0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 255, 9, 9, 9, 255}));
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
    ASSERT_EQ(d.image.bytes.size(), 36u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(d.image.bytes[i * 4 + 0], i * 20 + 2);
        EXPECT_EQ(d.image.bytes[i * 4 + 1], i * 20 + 1);
        EXPECT_EQ(d.image.bytes[i * 4 + 2], i * 20 + 0);
        EXPECT_EQ(d.image.bytes[i * 4 + 3], 255);
    }
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
