// BMP files as Windows writes them: BITMAPFILEHEADER, BITMAPINFOHEADER (40 bytes), bottom-up rows of
// B, G, R (24 bits, rows padded to 4 bytes) or B, G, R, A (32 bits).
#include "image/codecs.h"

namespace platform::image {
namespace {

void Put16(std::vector<std::uint8_t>* out, std::uint32_t v) {
    out->push_back(static_cast<std::uint8_t>(v));
    out->push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>* out, std::uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

} // namespace

bool EncodeBmp(const std::uint8_t* bgra, UINT width, UINT height, bool withAlpha,
               std::vector<std::uint8_t>* file) {
    if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension)
        return false;
    const UINT bytesPerPixel = withAlpha ? 4 : 3;
    const std::size_t rowSize = (std::size_t{width} * bytesPerPixel + 3) & ~std::size_t{3};
    const std::size_t pixelBytes = rowSize * height;
    const std::uint32_t offset = 14 + 40;
    file->clear();
    file->reserve(offset + pixelBytes);
    file->push_back('B');
    file->push_back('M');
    Put32(file, static_cast<std::uint32_t>(offset + pixelBytes));
    Put32(file, 0);
    Put32(file, offset);
    Put32(file, 40);
    Put32(file, width);
    Put32(file, height); // positive: bottom-up
    Put16(file, 1);
    Put16(file, bytesPerPixel * 8);
    Put32(file, 0); // BI_RGB
    Put32(file, static_cast<std::uint32_t>(pixelBytes));
    Put32(file, 2835); // 72 dpi
    Put32(file, 2835);
    Put32(file, 0);
    Put32(file, 0);
    for (UINT row = height; row-- > 0;) {
        const std::uint8_t* texel = bgra + std::size_t{row} * width * 4;
        const std::size_t start = file->size();
        for (UINT x = 0; x < width; ++x, texel += 4)
            file->insert(file->end(), texel, texel + bytesPerPixel);
        file->resize(start + rowSize, 0);
    }
    return true;
}

} // namespace platform::image
