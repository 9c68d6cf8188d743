// Size, format and mip levels of a texture made from a file, for each way of asking.
#include "d3dx/texture_plan.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <tuple>

using platform::d3dx::DeviceLimits;
using platform::d3dx::PlanTexture;
using platform::d3dx::TextureRequest;
using platform::image::Image;

namespace {

TEST(TexturePlan, SizesLevelsAndFormatsFollowTheRequestTheFileAndTheDevice) {
    DeviceLimits small; // a 256-texel device that takes only the 32-bit RGB formats
    small.maxWidth = small.maxHeight = 256;
    small.supports = [](D3DFORMAT format) { return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8; };
    DeviceLimits pow2Only;
    pow2Only.pow2Only = true;
    constexpr UINT kDefault = D3DX_DEFAULT, kNonPow2 = D3DX_DEFAULT_NONPOW2, kFromFile = D3DX_FROM_FILE;
    struct Case {
        UINT width, height, levels; // the file's
        D3DFORMAT decoded;          // the file's bytes as decoded (the file itself stores R8G8B8)
        TextureRequest request;
        DeviceLimits limits;
        UINT expectedWidth, expectedHeight, expectedLevels;
        D3DFORMAT expectedFormat;
    };
    constexpr D3DFORMAT kX8 = D3DFMT_X8R8G8B8, kAny = D3DFMT_UNKNOWN, kFile = D3DFMT_FROM_FILE;
    const Case cases[] = {
        // Defaults round up to powers of two with a whole chain, in the decoded format.
        {300, 200, 1, kX8, {kDefault, kDefault, kDefault, kDefault, kAny}, {}, 512, 256, 10, kX8},
        // Non-power-of-two and from-file keep the file's; a power-of-two device rounds up.
        {300, 200, 3, kX8, {kNonPow2, kFromFile, 1, kFromFile, kFile}, {}, 300, 200, 3, D3DFMT_R8G8B8},
        {300, 200, 1, kX8, {kNonPow2, 0, 1, 0, kAny}, pow2Only, 512, 256, 10, kX8},
        // Explicit values stay, the levels clamped to the chain.
        {300, 200, 1, kX8, {64, 16, 1, 20, D3DFMT_R5G6B5}, {}, 64, 16, 7, D3DFMT_R5G6B5},
        // Formats the device lacks fall back; the size stays within the device.
        {1024, 100, 1, D3DFMT_L8, {kDefault, kDefault, 1, 1, kAny}, small, 256, 128, 1, kX8},
        {4, 4, 1, D3DFMT_DXT5, {0, 0, 1, 1, kAny}, small, 4, 4, 1, D3DFMT_A8R8G8B8},
    };
    for (const Case& c : cases) {
        Image file;
        file.format = c.decoded;
        file.width = c.width;
        file.height = c.height;
        file.levels = c.levels;
        const auto shape =
            PlanTexture(file, c.decoded == kX8 ? D3DFMT_R8G8B8 : c.decoded, c.request, c.limits);
        EXPECT_EQ(std::make_tuple(shape.width, shape.height, shape.depth, shape.levels, shape.format),
                  std::make_tuple(c.expectedWidth, c.expectedHeight, 1u, c.expectedLevels, c.expectedFormat))
            << c.width << "x" << c.height << " from " << c.decoded;
    }
}

} // namespace
