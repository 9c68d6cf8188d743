// Size, format and mip levels of a texture made from a file, for each way of asking.
#include "d3dx/texture_plan.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

using platform::d3dx::DeviceLimits;
using platform::d3dx::PlanTexture;
using platform::d3dx::TextureRequest;
using platform::image::Image;

namespace {

Image File(UINT width, UINT height, D3DFORMAT format = D3DFMT_X8R8G8B8, UINT levels = 1) {
    Image image;
    image.format = format;
    image.width = width;
    image.height = height;
    image.levels = levels;
    return image;
}

TEST(TexturePlan, DefaultRoundsUpToPowersOfTwoWithACompleteChain) {
    const auto shape =
        PlanTexture(File(300, 200), D3DFMT_R8G8B8,
                    TextureRequest{D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, D3DFMT_UNKNOWN},
                    DeviceLimits{});
    EXPECT_EQ(shape.width, 512u);
    EXPECT_EQ(shape.height, 256u);
    EXPECT_EQ(shape.depth, 1u);
    EXPECT_EQ(shape.levels, 10u);
    EXPECT_EQ(shape.format, D3DFMT_X8R8G8B8); // the decoded format, not the file's R8G8B8
}

TEST(TexturePlan, NonPow2AndFromFileKeepTheFilesSize) {
    DeviceLimits limits;
    auto shape = PlanTexture(
        File(300, 200, D3DFMT_X8R8G8B8, 3), D3DFMT_R8G8B8,
        TextureRequest{D3DX_DEFAULT_NONPOW2, D3DX_FROM_FILE, 1, D3DX_FROM_FILE, D3DFMT_FROM_FILE}, limits);
    EXPECT_EQ(shape.width, 300u);
    EXPECT_EQ(shape.height, 200u);
    EXPECT_EQ(shape.levels, 3u);
    EXPECT_EQ(shape.format, D3DFMT_R8G8B8);
    limits.pow2Only = true;
    shape = PlanTexture(File(300, 200), D3DFMT_R8G8B8,
                        TextureRequest{D3DX_DEFAULT_NONPOW2, 0, 1, 0, D3DFMT_UNKNOWN}, limits);
    EXPECT_EQ(shape.width, 512u);
    EXPECT_EQ(shape.height, 256u);
}

TEST(TexturePlan, ExplicitValuesAreKeptAndLevelsClampedToTheChain) {
    const auto shape = PlanTexture(File(300, 200), D3DFMT_R8G8B8,
                                   TextureRequest{64, 16, 1, 20, D3DFMT_R5G6B5}, DeviceLimits{});
    EXPECT_EQ(shape.width, 64u);
    EXPECT_EQ(shape.height, 16u);
    EXPECT_EQ(shape.levels, 7u);
    EXPECT_EQ(shape.format, D3DFMT_R5G6B5);
}

TEST(TexturePlan, UnsupportedFormatsFallBackAndSizesStayWithinTheDevice) {
    DeviceLimits limits;
    limits.maxWidth = limits.maxHeight = 256;
    limits.supports = [](D3DFORMAT format) { return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8; };
    auto shape = PlanTexture(File(1024, 100, D3DFMT_L8), D3DFMT_L8,
                             TextureRequest{D3DX_DEFAULT, D3DX_DEFAULT, 1, 1, D3DFMT_UNKNOWN}, limits);
    EXPECT_EQ(shape.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(shape.width, 256u);
    EXPECT_EQ(shape.height, 128u);
    shape =
        PlanTexture(File(4, 4, D3DFMT_DXT5), D3DFMT_DXT5, TextureRequest{0, 0, 1, 1, D3DFMT_UNKNOWN}, limits);
    EXPECT_EQ(shape.format, D3DFMT_A8R8G8B8);
}

} // namespace
