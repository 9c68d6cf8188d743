// The BMP writer's 24-bit rows are padded to whole DWORDs and read back texel for texel. PNG and
// 32-bit BMP files are saved and read back through D3DX (d3dx_device_test.cpp).
#include "image/codecs.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageWriters, BmpTwentyFourBitRowsArePaddedAndReadBack) {
    const std::vector<std::uint8_t> texels = {1, 2, 3, 4, 50,  60, 70,  80,  200, 210, 220, 230,
                                              9, 8, 7, 6, 255, 0,  128, 255, 0,   0,   0,   0};
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(platform::image::EncodeBmp(texels.data(), 3, 2, false, &file));
    EXPECT_EQ(file.size(), 54u + 2 * 12); // rows of 9 bytes padded to 12
    platform::image::Image image;
    ASSERT_EQ(platform::image::DecodeImage(file.data(), file.size(), &image, nullptr), D3D_OK);
    std::vector<std::uint8_t> opaque = texels;
    for (std::size_t i = 3; i < opaque.size(); i += 4)
        opaque[i] = 255;
    EXPECT_EQ(image.bytes, opaque);
}

} // namespace
