// The back buffer read into a render_test::Frame (golden_image.h), and its pixels as R, G, B.
#ifndef VTR3_TESTS_SUPPORT_FRAME_PIXELS_H
#define VTR3_TESTS_SUPPORT_FRAME_PIXELS_H

#include "golden_image.h"
#include "platform_control.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

namespace render_test {

using Rgb = std::array<int, 3>;

inline Frame ReadFrame(IDirect3DDevice9* device) {
    Frame frame;
    EXPECT_TRUE(platform::ReadBackBuffer(device, &frame.bgra, &frame.width, &frame.height));
    return frame;
}

inline Rgb At(const Frame& frame, unsigned x, unsigned y) {
    const size_t i = (size_t{y} * frame.width + x) * 4;
    return {frame.bgra[i + 2], frame.bgra[i + 1], frame.bgra[i]};
}

inline void ExpectNear(const Rgb& actual, const Rgb& expected, int tolerance, const std::string& what) {
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(actual[c], expected[c], tolerance) << what << ", channel " << c;
    }
}

} // namespace render_test

#endif
