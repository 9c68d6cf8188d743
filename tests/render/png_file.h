// Reading and writing 8-bit RGBA PNG files through libpng, for the golden images.
#ifndef VTR3_TESTS_RENDER_PNG_FILE_H
#define VTR3_TESTS_RENDER_PNG_FILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace render_test {

struct RgbaImage {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<std::uint8_t> rgba; // row 0 first, 4 bytes a pixel
};

bool ReadPng(const std::string& path, RgbaImage* image);
bool WritePng(const std::string& path, const RgbaImage& image);

} // namespace render_test

#endif
