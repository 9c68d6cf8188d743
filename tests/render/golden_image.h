// Golden-image comparison: a frame matches its PNG under goldens/ when no channel of any pixel
// differs by more than `tolerance`, except at most `allowedPixels` pixels. A failing comparison
// writes <name>.actual.png into the build tree's render-failures folder. With VTR3_UPDATE_GOLDENS=1
// the frame becomes the golden (tools/update-goldens.sh); VTR3_GOLDEN_DIR overrides where the goldens
// live.
#ifndef VTR3_TESTS_RENDER_GOLDEN_IMAGE_H
#define VTR3_TESTS_RENDER_GOLDEN_IMAGE_H

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace render_test {

// A frame as the platform reads back buffers: B, G, R, A bytes, row 0 at the top.
struct Frame {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<std::uint8_t> bgra;
};

::testing::AssertionResult MatchesGolden(const std::string& name, const Frame& frame, int tolerance,
                                         std::size_t allowedPixels);

} // namespace render_test

#endif
