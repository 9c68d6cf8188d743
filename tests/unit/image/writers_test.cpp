// The PNG and BMP writers produce files that read back texel for texel.
#include "image/codecs.h"

#include <gtest/gtest.h>

using platform::image::DecodeImage;
using platform::image::Image;

namespace {

const std::vector<std::uint8_t> kTexels = {1, 2, 3, 4, 50,  60, 70,  80,  200, 210, 220, 230,
                                           9, 8, 7, 6, 255, 0,  128, 255, 0,   0,   0,   0};

Image ReadBack(const std::vector<std::uint8_t>& file) {
    Image image;
    EXPECT_EQ(DecodeImage(file.data(), file.size(), &image, nullptr), D3D_OK);
    return image;
}

std::vector<std::uint8_t> Opaque(std::vector<std::uint8_t> texels) {
    for (std::size_t i = 3; i < texels.size(); i += 4)
        texels[i] = 255;
    return texels;
}

TEST(ImageWriters, PngWithAndWithoutAlphaReadsBack) {
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(platform::image::EncodePng(kTexels.data(), 3, 2, true, &file));
    Image image = ReadBack(file);
    EXPECT_EQ(image.format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.bytes, kTexels);

    ASSERT_TRUE(platform::image::EncodePng(kTexels.data(), 3, 2, false, &file));
    image = ReadBack(file);
    EXPECT_EQ(image.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(image.bytes, Opaque(kTexels));
}

TEST(ImageWriters, BmpTwentyFourAndThirtyTwoBitsReadBack) {
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(platform::image::EncodeBmp(kTexels.data(), 3, 2, false, &file));
    EXPECT_EQ(file.size(), 54u + 2 * 12); // rows of 9 bytes padded to 12
    Image image = ReadBack(file);
    EXPECT_EQ(image.bytes, Opaque(kTexels));

    ASSERT_TRUE(platform::image::EncodeBmp(kTexels.data(), 3, 2, true, &file));
    image = ReadBack(file);
    EXPECT_EQ(image.format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(image.bytes, kTexels);
}

} // namespace
