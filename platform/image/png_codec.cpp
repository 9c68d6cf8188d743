// PNG through libpng. libpng reports errors by longjmp; the functions that call it with a jump buffer
// set hold no C++ objects, so the jump skips no destructor. Everything allocated lives in the callers.
#include "image/codecs.h"

#include "image/pixel_format.h"

#include <png.h>
#include <zlib.h>

#include <cstring>

namespace platform::image {
namespace {

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

[[noreturn]] void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->position)
        png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->position, length);
    reader->position += length;
}

struct ReadHandles {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadHandles() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct Header {
    png_uint_32 width;
    png_uint_32 height;
    int channels;
    D3DFORMAT fileFormat;
};

// Reads the header and sets the transforms that deliver Direct3D's byte order.
bool ReadHeader(png_structp png, png_infop info, MemoryReader* reader, Header* header) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, reader, ReadFromMemory);
    png_set_user_limits(png, kMaxDimension, kMaxDimension);
    png_read_info(png, info);
    const int type = png_get_color_type(png, info);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    header->fileFormat = (type & PNG_COLOR_MASK_COLOR) ? D3DFMT_X8R8G8B8 : D3DFMT_L8;
    if (type == PNG_COLOR_TYPE_RGB_ALPHA || type == PNG_COLOR_TYPE_GRAY_ALPHA || transparency)
        header->fileFormat = (type & PNG_COLOR_MASK_COLOR) ? D3DFMT_A8R8G8B8 : D3DFMT_A8L8;
    if (type == PNG_COLOR_TYPE_RGB && !transparency)
        header->fileFormat = D3DFMT_R8G8B8;
    png_set_strip_16(png);
    png_set_packing(png);
    png_set_expand(png); // palette to RGB, grey below 8 bits to 8 bits, tRNS to alpha
    if (type & PNG_COLOR_MASK_COLOR) {
        png_set_bgr(png);
        if (!(type & PNG_COLOR_MASK_ALPHA) && !transparency)
            png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    header->channels = png_get_channels(png, info);
    return png_get_rowbytes(png, info) != 0;
}

bool ReadRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

// After the transforms: grey, grey and alpha, or four bytes B, G, R and alpha or the 0xff filler.
D3DFORMAT DecodedFormat(int channels) {
    switch (channels) {
    case 1:
        return D3DFMT_L8;
    case 2:
        return D3DFMT_A8L8;
    case 4:
        return D3DFMT_A8R8G8B8;
    default:
        return D3DFMT_UNKNOWN;
    }
}

struct WriteHandles {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteHandles() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    try {
        file->insert(file->end(), data, data + length);
    } catch (...) {
        png_error(png, "out of memory");
    }
}
void FlushNothing(png_structp) {}

bool WriteRows(png_structp png, png_infop info, std::vector<std::uint8_t>* file, UINT width, UINT height,
               bool withAlpha, const PngCompression& compression, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, file, WriteToVector, FlushNothing);
    png_set_compression_level(png, compression.level);
    png_set_compression_strategy(png, compression.strategy);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, compression.filters);
    png_set_IHDR(png, info, width, height, 8, withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    if (!withAlpha)
        png_set_filler(png, 0, PNG_FILLER_AFTER); // drops the fourth byte of each texel
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

} // namespace

HRESULT DecodePng(const std::uint8_t* data, std::size_t size, Image* image, D3DFORMAT* fileFormat) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return D3DXERR_INVALIDDATA;
    ReadHandles handles;
    handles.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!handles.png)
        return E_OUTOFMEMORY;
    handles.info = png_create_info_struct(handles.png);
    if (!handles.info)
        return E_OUTOFMEMORY;
    MemoryReader reader{data, size, 0};
    Header header{};
    if (!ReadHeader(handles.png, handles.info, &reader, &header))
        return D3DXERR_INVALIDDATA;
    const D3DFORMAT format = DecodedFormat(header.channels);
    if (format == D3DFMT_UNKNOWN ||
        png_get_rowbytes(handles.png, handles.info) != FormatRowPitch(format, header.width))
        return D3DXERR_INVALIDDATA;
    Image decoded;
    if (!Allocate(&decoded, format, D3DRTYPE_TEXTURE, header.width, header.height, 1, 1, 1))
        return D3DXERR_INVALIDDATA;
    std::vector<png_bytep> rows(header.height);
    for (png_uint_32 y = 0; y < header.height; ++y)
        rows[y] = decoded.bytes.data() + y * decoded.RowPitch(0);
    if (!ReadRows(handles.png, handles.info, rows.data()))
        return D3DXERR_INVALIDDATA;
    if (format == D3DFMT_A8R8G8B8 && header.fileFormat != D3DFMT_A8R8G8B8)
        decoded.format = D3DFMT_X8R8G8B8;
    *image = std::move(decoded);
    *fileFormat = header.fileFormat;
    return D3D_OK;
}

const PngCompression kPngCompression{1, PNG_FILTER_NONE, Z_DEFAULT_STRATEGY};

bool EncodePng(const std::uint8_t* bgra, UINT width, UINT height, bool withAlpha,
               std::vector<std::uint8_t>* file, const PngCompression& compression) {
    WriteHandles handles;
    handles.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!handles.png)
        return false;
    handles.info = png_create_info_struct(handles.png);
    if (!handles.info)
        return false;
    std::vector<png_bytep> rows(height);
    for (UINT y = 0; y < height; ++y)
        rows[y] = const_cast<png_bytep>(bgra + std::size_t{y} * width * 4); // libpng only reads them
    file->clear();
    return WriteRows(handles.png, handles.info, file, width, height, withAlpha, compression, rows.data());
}

} // namespace platform::image
