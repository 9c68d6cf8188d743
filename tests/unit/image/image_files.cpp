#include "image_files.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace test_files {
namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void Flush(png_structp) {}

} // namespace

Bytes MakePng(const PngSpec& spec) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed to write the test image");
    }
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < spec.palette.size(); i += 3)
        palette.push_back(png_color{spec.palette[i], spec.palette[i + 1], spec.palette[i + 2]});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!spec.paletteAlpha.empty())
        png_set_tRNS(png, info, spec.paletteAlpha.data(), static_cast<int>(spec.paletteAlpha.size()),
                     nullptr);
    png_write_info(png, info);
    const std::size_t rowBytes = spec.pixels.size() / spec.height;
    std::vector<png_bytep> rows;
    for (std::uint32_t y = 0; y < spec.height; ++y)
        rows.push_back(const_cast<png_bytep>(spec.pixels.data() + y * rowBytes));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes MakeJpeg(std::uint32_t width, std::uint32_t height, int components, const std::uint8_t sample[3]) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t{width} * components);
    for (std::size_t i = 0; i < row.size(); ++i)
        row[i] = sample[i % components];
    while (info.next_scanline < height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

Bytes MakeBmp(std::uint32_t width, std::uint32_t height, int bits, const Bytes& topDownTexels) {
    const std::uint32_t bytes = static_cast<std::uint32_t>(bits / 8);
    const std::uint32_t rowSize = (width * bytes + 3) & ~3u;
    Bytes out{'B', 'M'};
    Put32(&out, {54 + rowSize * height, 0, 54, 40, width, height});
    Put16(&out, 1);
    Put16(&out, static_cast<std::uint32_t>(bits));
    Put32(&out, {0, rowSize * height, 0, 0, 0, 0});
    for (std::uint32_t row = height; row-- > 0;) {
        const std::size_t start = out.size();
        out.insert(out.end(), topDownTexels.begin() + row * width * bytes,
                   topDownTexels.begin() + (row + 1) * width * bytes);
        out.resize(start + rowSize, 0);
    }
    return out;
}

Bytes MakeTga(std::uint32_t width, std::uint32_t height, int bits, bool runLength,
              const Bytes& topDownTexels) {
    Bytes out{0, 0, static_cast<std::uint8_t>(runLength ? 10 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(&out, width);
    Put16(&out, height);
    out.push_back(static_cast<std::uint8_t>(bits));
    out.push_back(static_cast<std::uint8_t>(0x20 | (bits == 32 ? 8 : 0))); // top-down, alpha bits
    const std::size_t bytes = static_cast<std::size_t>(bits / 8);
    for (std::size_t i = 0; i < topDownTexels.size(); i += bytes) {
        if (runLength)
            out.push_back(0); // a raw packet of one texel
        out.insert(out.end(), topDownTexels.begin() + i, topDownTexels.begin() + i + bytes);
    }
    return out;
}

Bytes MakeDds(const DdsSpec& spec) {
    Bytes out{'D', 'D', 'S', ' '};
    std::uint32_t flags = 0x1 | 0x2 | 0x4 | 0x1000; // CAPS, HEIGHT, WIDTH, PIXELFORMAT
    if (spec.mipCount)
        flags |= 0x20000;
    if (spec.depth)
        flags |= 0x800000;
    Put32(&out, {124, flags, spec.height, spec.width, 0, spec.depth, spec.mipCount});
    out.resize(out.size() + 11 * 4, 0); // reserved
    Put32(&out, {32, spec.pfFlags, spec.fourCC, spec.bitCount});
    Put32(&out, {spec.masks[0], spec.masks[1], spec.masks[2], spec.masks[3]});
    Put32(&out, {0x1000, spec.caps2, 0, 0, 0}); // DDSCAPS_TEXTURE, the second caps, reserved
    out.insert(out.end(), spec.data.begin(), spec.data.end());
    return out;
}

} // namespace test_files
