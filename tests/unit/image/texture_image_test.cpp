// Format conversion, resizing and the colour key, on exact texel bytes. The box-filtered mip chain is
// checked through D3DX (d3dx_device_test.cpp).
#include "image/pixel_format.h"
#include "image/texture_image.h"

#include <d3dx9tex.h>
#include <gtest/gtest.h>

using platform::image::Image;
using platform::image::LoadFilters;
using platform::image::TextureShape;
using Bytes = std::vector<std::uint8_t>;

namespace {

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

TEST(Resize, PointDuplicatesLinearBlendsAndBoxAverages) {
    const Image source = Argb(2, 1, {0, 0, 0, 255, 200, 200, 200, 255});
    EXPECT_EQ(Built(source, D3DFMT_L8, 4, D3DX_FILTER_POINT), (Bytes{0, 0, 200, 200}));
    // Linear with texel centres: destination centres at 0.25, 0.75, 1.25, 1.75 source texels map to
    // -0.25 (clamped to 0), 0.25, 0.75, 1.25 (clamped to 1) -> 0, 50, 150, 200.
    EXPECT_EQ(Built(source, D3DFMT_L8, 4, D3DX_FILTER_LINEAR), (Bytes{0, 50, 150, 200}));
    const Image four = Argb(4, 1, {0, 0, 0, 255, 40, 40, 40, 255, 80, 80, 80, 255, 120, 120, 120, 255});
    // Each destination texel covers 4/3 source texels: (0 + 40/3) * 3/4 = 10, (40*2/3 + 80*2/3)*3/4 = 60,
    // 110.
    EXPECT_EQ(Built(four, D3DFMT_L8, 3, D3DX_FILTER_BOX), (Bytes{10, 60, 110}));
}

TEST(Resize, TheColourKeyMakesMatchingTexelsTransparentBlack) {
    const Image source = Argb(2, 1, {0xff, 0x00, 0xff, 0xff, 0x10, 0x20, 0x30, 0xff});
    EXPECT_EQ(Built(source, D3DFMT_A8R8G8B8, 2, D3DX_FILTER_NONE, 0xffff00ff),
              (Bytes{0, 0, 0, 0, 0x10, 0x20, 0x30, 0xff}));
}

TEST(ImageLimits, ShapesPastTheLimitsAreRefusedBeforeAllocation) {
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_A8R8G8B8, 16384, 16384, 1, 1, 1), 0u); // 1 GiB
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_A8R8G8B8, 16385, 1, 1, 1, 1), 0u);
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_A8R8G8B8, 4, 4, 1, 1, 4), 0u); // 4x4 has 3 levels
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_DXT1, 8192, 8192, 1, 1, 1), 32u << 20);
    EXPECT_EQ(platform::image::ImageByteSize(D3DFMT_DXT5, 1, 1, 1, 6, 1), 96u);
}

} // namespace
