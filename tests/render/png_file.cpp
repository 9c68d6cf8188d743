#include "png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace render_test {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

bool ReadPng(const std::string& path, RgbaImage* image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return false;
    png.format = PNG_FORMAT_RGBA;
    image->width = png.width;
    image->height = png.height;
    image->rgba.assign(PNG_IMAGE_SIZE(png), 0);
    const bool ok = png_image_finish_read(&png, nullptr, image->rgba.data(), 0, nullptr) != 0;
    png_image_free(&png);
    return ok;
}

bool WritePng(const std::string& path, const RgbaImage& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_RGBA;
    const bool ok = png_image_write_to_file(&png, path.c_str(), 0, image.rgba.data(), 0, nullptr) != 0;
    png_image_free(&png);
    return ok;
}

} // namespace render_test
