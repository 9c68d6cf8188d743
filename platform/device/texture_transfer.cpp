// Pixel transfers between Direct3D's memory layout and a storage's GL texture. Rows of the layout
// are RowPitch apart, which is what OpenGL computes from a row length in pixels at its (default)
// alignment of 4, so regions move without repacking; block formats move a row of blocks at a time.
#include "device/texture_storage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace platform::device {
namespace {

// Sets the (un)pack parameters that describe the Direct3D layout and restores GL's defaults after.
class PixelLayout {
  public:
    PixelLayout(bool pack, UINT rowLength, UINT imageHeight) : pack_(pack) {
        glPixelStorei(pack ? GL_PACK_ALIGNMENT : GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(pack ? GL_PACK_ROW_LENGTH : GL_UNPACK_ROW_LENGTH, static_cast<GLint>(rowLength));
        glPixelStorei(pack ? GL_PACK_IMAGE_HEIGHT : GL_UNPACK_IMAGE_HEIGHT, static_cast<GLint>(imageHeight));
    }
    ~PixelLayout() {
        glPixelStorei(pack_ ? GL_PACK_ROW_LENGTH : GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(pack_ ? GL_PACK_IMAGE_HEIGHT : GL_UNPACK_IMAGE_HEIGHT, 0);
    }
    PixelLayout(const PixelLayout&) = delete;
    PixelLayout& operator=(const PixelLayout&) = delete;

  private:
    bool pack_;
};

// Direct3D's CxV8U8 (U, V) as the RGBA8_SNORM texel (U, V, C, 1) the sampler returns.
void ExpandCxV8U8(const std::uint8_t* source, std::uint8_t* target) {
    const auto u = static_cast<std::int8_t>(source[0]);
    const auto v = static_cast<std::int8_t>(source[1]);
    const float fu = std::max(u / 127.0f, -1.0f);
    const float fv = std::max(v / 127.0f, -1.0f);
    const float c = std::sqrt(std::max(0.0f, 1.0f - fu * fu - fv * fv));
    target[0] = source[0];
    target[1] = source[1];
    target[2] = static_cast<std::uint8_t>(static_cast<std::int8_t>(std::lround(c * 127.0f)));
    target[3] = 127;
}

void ExpandCxV8U8Region(const Region& region, const std::uint8_t* data, std::size_t pitch, std::size_t slice,
                        std::uint8_t* target) {
    for (UINT z = 0; z < region.depth; ++z)
        for (UINT row = 0; row < region.height; ++row)
            for (UINT column = 0; column < region.width; ++column, target += 4)
                ExpandCxV8U8(data + z * slice + row * pitch + column * 2, target);
}

} // namespace

void TextureStorage::Upload(UINT face, UINT level, const Region& region, const std::uint8_t* data,
                            UINT sourceWidth, UINT sourceHeight) {
    const FormatInfo& format = Format();
    const auto x = static_cast<GLint>(region.x);
    const auto z = static_cast<GLint>(desc_.kind == StorageKind::kCube ? face : region.z);
    const auto width = static_cast<GLsizei>(region.width);
    const bool layered = desc_.kind != StorageKind::k2D;
    const auto glLevel = static_cast<GLint>(level);
    if (IsCompressed(format)) {
        const std::size_t pitch = RowPitch(format, sourceWidth);
        const auto rowBytes = static_cast<GLsizei>(RowPitch(format, region.width));
        for (UINT row = 0; row < PitchRows(format, region.height); ++row) {
            const UINT y = region.y + row * format.blockSize;
            const auto height =
                static_cast<GLsizei>(std::min(format.blockSize, region.y + region.height - y));
            const std::uint8_t* rowData = data + row * pitch;
            if (layered)
                glCompressedTextureSubImage3D(texture_, glLevel, x, static_cast<GLint>(y), z, width, height,
                                              1, format.internalFormat, rowBytes, rowData);
            else
                glCompressedTextureSubImage2D(texture_, glLevel, x, static_cast<GLint>(y), width, height,
                                              format.internalFormat, rowBytes, rowData);
        }
        return;
    }
    GLenum pixelFormat = format.pixelFormat;
    UINT rowLength = sourceWidth;
    UINT imageHeight = sourceHeight;
    if (format.conversion == FormatConversion::kCxV8U8) {
        const std::size_t pitch = RowPitch(format, sourceWidth);
        converted_.resize(std::size_t{region.width} * region.height * region.depth * 4);
        ExpandCxV8U8Region(region, data, pitch, pitch * sourceHeight, converted_.data());
        data = converted_.data();
        pixelFormat = GL_RGBA;
        rowLength = region.width;
        imageHeight = region.height;
    }
    const PixelLayout layout(false, rowLength, imageHeight);
    if (layered)
        glTextureSubImage3D(texture_, glLevel, x, static_cast<GLint>(region.y), z, width,
                            static_cast<GLsizei>(region.height), static_cast<GLsizei>(region.depth),
                            pixelFormat, format.pixelType, data);
    else
        glTextureSubImage2D(texture_, glLevel, x, static_cast<GLint>(region.y), width,
                            static_cast<GLsizei>(region.height), pixelFormat, format.pixelType, data);
}

void TextureStorage::Download(UINT face, UINT level, const Region& region, std::uint8_t* data,
                              UINT targetWidth, UINT targetHeight, std::size_t available) const {
    const FormatInfo& format = Format();
    const auto x = static_cast<GLint>(region.x);
    const auto z = static_cast<GLint>(desc_.kind == StorageKind::kCube ? face : region.z);
    const auto width = static_cast<GLsizei>(region.width);
    const auto glLevel = static_cast<GLint>(level);
    const std::size_t pitch = RowPitch(format, targetWidth);
    if (IsCompressed(format)) {
        for (UINT slice = 0; slice < region.depth; ++slice) {
            for (UINT row = 0; row < PitchRows(format, region.height); ++row) {
                const UINT y = region.y + row * format.blockSize;
                const auto height =
                    static_cast<GLsizei>(std::min(format.blockSize, region.y + region.height - y));
                const std::size_t offset = (slice * PitchRows(format, targetHeight) + row) * pitch;
                glGetCompressedTextureSubImage(texture_, glLevel, x, static_cast<GLint>(y), z + slice, width,
                                               height, 1, static_cast<GLsizei>(available - offset),
                                               data + offset);
            }
        }
        return;
    }
    if (format.conversion == FormatConversion::kCxV8U8) {
        // Back from (U, V, C, 1) to the two bytes the caller wrote.
        converted_.resize(std::size_t{region.width} * region.height * region.depth * 4);
        {
            const PixelLayout layout(true, 0, 0);
            glGetTextureSubImage(texture_, glLevel, x, static_cast<GLint>(region.y), z, width,
                                 static_cast<GLsizei>(region.height), static_cast<GLsizei>(region.depth),
                                 GL_RGBA, GL_BYTE, static_cast<GLsizei>(converted_.size()),
                                 converted_.data());
        }
        const std::uint8_t* texel = converted_.data();
        for (UINT slice = 0; slice < region.depth; ++slice) {
            for (UINT row = 0; row < region.height; ++row) {
                std::uint8_t* target = data + (std::size_t{slice} * targetHeight + row) * pitch;
                for (UINT column = 0; column < region.width; ++column, texel += 4) {
                    target[column * 2] = texel[0];
                    target[column * 2 + 1] = texel[1];
                }
            }
        }
        return;
    }
    const PixelLayout layout(true, targetWidth, targetHeight);
    glGetTextureSubImage(texture_, glLevel, x, static_cast<GLint>(region.y), z, width,
                         static_cast<GLsizei>(region.height), static_cast<GLsizei>(region.depth),
                         format.pixelFormat, format.pixelType,
                         static_cast<GLsizei>(std::min<std::size_t>(available, 0x7FFFFFFF)), data);
}

} // namespace platform::device
