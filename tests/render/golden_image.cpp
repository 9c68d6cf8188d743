#include "golden_image.h"

#include "png_file.h"

#include <cstdlib>
#include <filesystem>

namespace render_test {
namespace {

std::string GoldenDirectory() {
    const char* overridden = std::getenv("VTR3_GOLDEN_DIR");
    return overridden && *overridden ? overridden : VTR3_GOLDEN_DIR;
}

RgbaImage ToRgba(const Frame& frame) {
    RgbaImage image{frame.width, frame.height, frame.bgra};
    for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4)
        std::swap(image.rgba[i], image.rgba[i + 2]);
    return image;
}

void WriteFailure(const std::string& name, const RgbaImage& actual) {
    std::filesystem::create_directories(VTR3_FAILURE_DIR);
    WritePng(std::string(VTR3_FAILURE_DIR) + "/" + name + ".actual.png", actual);
}

} // namespace

::testing::AssertionResult MatchesGolden(const std::string& name, const Frame& frame, int tolerance,
                                         std::size_t allowedPixels) {
    const RgbaImage actual = ToRgba(frame);
    const std::string path = GoldenDirectory() + "/" + name + ".png";
    const char* update = std::getenv("VTR3_UPDATE_GOLDENS");
    if (update && std::string(update) == "1") {
        if (!WritePng(path, actual))
            return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess();
    }
    RgbaImage golden;
    if (!ReadPng(path, &golden)) {
        WriteFailure(name, actual);
        return ::testing::AssertionFailure() << "no golden " << path << " (tools/update-goldens.sh makes it)";
    }
    if (golden.width != actual.width || golden.height != actual.height) {
        WriteFailure(name, actual);
        return ::testing::AssertionFailure() << name << ": golden is " << golden.width << "x" << golden.height
                                             << ", frame " << actual.width << "x" << actual.height;
    }
    std::size_t differing = 0;
    int worst = 0;
    for (std::size_t i = 0; i < actual.rgba.size(); i += 4) {
        int pixelWorst = 0;
        for (int c = 0; c < 4; ++c)
            pixelWorst = std::max(pixelWorst, std::abs(actual.rgba[i + c] - golden.rgba[i + c]));
        worst = std::max(worst, pixelWorst);
        differing += pixelWorst > tolerance;
    }
    if (differing <= allowedPixels)
        return ::testing::AssertionSuccess();
    WriteFailure(name, actual);
    return ::testing::AssertionFailure()
           << name << ": " << differing << " pixels differ by more than " << tolerance << " (allowed "
           << allowedPixels << ", worst " << worst << "); see " << VTR3_FAILURE_DIR;
}

} // namespace render_test
