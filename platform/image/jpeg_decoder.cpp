// JPEG through libjpeg (libjpeg-turbo). Its error manager leaves by longjmp to the one function that
// set the jump; that function holds no C++ objects. A file that makes libjpeg warn (a truncated scan,
// a bad marker it skipped) is refused as corrupt rather than shown half grey.
#include "image/codecs.h"

#include <cstdio> // jpeglib.h needs FILE
#include <csetjmp>

#include <jpeglib.h>

namespace platform::image {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
void OnMessage(j_common_ptr) {}

struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    bool created = false;
    ~Decompressor() {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

// Header: size and the colour space to deliver (grey as L8, colour as B, G, R, 0xff).
bool ReadHeader(Decompressor* d, const std::uint8_t* data, std::size_t size) {
    if (setjmp(d->errors.jump))
        return false;
    jpeg_create_decompress(&d->info);
    d->created = true;
    // A progressive file keeps every coefficient of the image; a lying header must not make libjpeg
    // reserve gigabytes. Past this, libjpeg fails (it has no backing store) and the file is refused.
    d->info.mem->max_memory_to_use = 2 * static_cast<long>(kMaxImageBytes);
    jpeg_mem_src(&d->info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d->info, TRUE);
    if (d->info.jpeg_color_space == JCS_CMYK || d->info.jpeg_color_space == JCS_YCCK)
        return false;
    const bool grey = d->info.num_components == 1;
    d->info.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    if (d->info.image_width > kMaxDimension || d->info.image_height > kMaxDimension)
        return false;
    jpeg_calc_output_dimensions(&d->info);
    return d->info.output_width == d->info.image_width && d->info.output_height == d->info.image_height &&
           d->info.output_components == (grey ? 1 : 4);
}

bool ReadScanlines(Decompressor* d, std::uint8_t* pixels, std::size_t pitch) {
    if (setjmp(d->errors.jump))
        return false;
    jpeg_start_decompress(&d->info);
    while (d->info.output_scanline < d->info.output_height) {
        JSAMPROW row = pixels + d->info.output_scanline * pitch;
        jpeg_read_scanlines(&d->info, &row, 1);
    }
    jpeg_finish_decompress(&d->info);
    return d->errors.base.num_warnings == 0;
}

} // namespace

HRESULT DecodeJpeg(const std::uint8_t* data, std::size_t size, Image* image, D3DFORMAT* fileFormat) {
    if (size < 3 || data[0] != 0xff || data[1] != 0xd8 || data[2] != 0xff)
        return D3DXERR_INVALIDDATA;
    Decompressor d;
    d.info.err = jpeg_std_error(&d.errors.base);
    d.errors.base.error_exit = OnError;
    d.errors.base.output_message = OnMessage;
    if (!ReadHeader(&d, data, size))
        return D3DXERR_INVALIDDATA;
    const D3DFORMAT format = d.info.out_color_space == JCS_GRAYSCALE ? D3DFMT_L8 : D3DFMT_X8R8G8B8;
    Image decoded;
    if (!Allocate(&decoded, format, D3DRTYPE_TEXTURE, d.info.image_width, d.info.image_height, 1, 1, 1))
        return D3DXERR_INVALIDDATA;
    if (!ReadScanlines(&d, decoded.bytes.data(), decoded.RowPitch(0)))
        return D3DXERR_INVALIDDATA;
    *image = std::move(decoded);
    *fileFormat = format;
    return D3D_OK;
}

} // namespace platform::image
