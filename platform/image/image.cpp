#include "image/image.h"

#include "image/pixel_format.h"

namespace platform::image {

std::size_t Image::RowPitch(UINT level) const {
    return FormatRowPitch(format, LevelWidth(level));
}

std::size_t Image::RowCount(UINT level) const {
    return FormatRowCount(format, LevelHeight(level));
}

std::size_t Image::FaceSize() const {
    std::size_t size = 0;
    for (UINT level = 0; level < levels; ++level)
        size += LevelSize(level);
    return size;
}

std::size_t Image::Offset(UINT face, UINT level) const {
    std::size_t offset = FaceSize() * face;
    for (UINT l = 0; l < level; ++l)
        offset += LevelSize(l);
    return offset;
}

UINT FullMipCount(UINT width, UINT height, UINT depth) {
    UINT largest = width > height ? width : height;
    largest = largest > depth ? largest : depth;
    UINT count = 1;
    while (largest > 1) {
        largest >>= 1;
        ++count;
    }
    return count;
}

std::size_t ImageByteSize(D3DFORMAT format, UINT width, UINT height, UINT depth, UINT faces, UINT levels) {
    if (!FindFormat(format) || width == 0 || height == 0 || depth == 0 || faces == 0 || levels == 0)
        return 0;
    if (width > kMaxDimension || height > kMaxDimension || depth > kMaxDepth || faces > 6 ||
        levels > FullMipCount(width, height, depth))
        return 0;
    // Each factor is bounded above, so the products fit in 64 bits.
    std::uint64_t face = 0;
    for (UINT level = 0; level < levels; ++level)
        face += std::uint64_t{FormatRowPitch(format, Image::Shrink(width, level))} *
                FormatRowCount(format, Image::Shrink(height, level)) * Image::Shrink(depth, level);
    const std::uint64_t total = face * faces;
    return total > kMaxImageBytes ? 0 : static_cast<std::size_t>(total);
}

bool Allocate(Image* image, D3DFORMAT format, D3DRESOURCETYPE type, UINT width, UINT height, UINT depth,
              UINT faces, UINT levels) {
    const std::size_t size = ImageByteSize(format, width, height, depth, faces, levels);
    if (size == 0)
        return false;
    image->format = format;
    image->type = type;
    image->width = width;
    image->height = height;
    image->depth = depth;
    image->faces = faces;
    image->levels = levels;
    image->bytes.assign(size, 0);
    return true;
}

} // namespace platform::image
