// Chooses the decoder by the file's content, as D3DX does, not by its name: PNG, JPEG, BMP and DDS by
// their signatures; TGA, which has none, last.
#include "image/codecs.h"

#include <cstring>

namespace platform::image {
namespace {

bool StartsWith(const std::uint8_t* data, std::size_t size, const char* magic, std::size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

} // namespace

HRESULT DecodeImage(const std::uint8_t* data, std::size_t size, Image* image, D3DXIMAGE_INFO* info) {
    *image = Image{};
    if (!data || size == 0)
        return D3DXERR_INVALIDDATA;
    D3DFORMAT fileFormat = D3DFMT_UNKNOWN;
    D3DXIMAGE_FILEFORMAT kind;
    HRESULT result;
    if (StartsWith(data, size, "\x89PNG", 4)) {
        kind = D3DXIFF_PNG;
        result = DecodePng(data, size, image, &fileFormat);
    } else if (StartsWith(data, size, "\xff\xd8\xff", 3)) {
        kind = D3DXIFF_JPG;
        result = DecodeJpeg(data, size, image, &fileFormat);
    } else if (StartsWith(data, size, "DDS ", 4)) {
        kind = D3DXIFF_DDS;
        result = DecodeDds(data, size, image, &fileFormat);
    } else if (StartsWith(data, size, "BM", 2)) {
        kind = D3DXIFF_BMP;
        result = DecodeBmpOrTga(data, size, false, image, &fileFormat);
    } else {
        kind = D3DXIFF_TGA;
        result = DecodeBmpOrTga(data, size, true, image, &fileFormat);
    }
    if (FAILED(result)) {
        *image = Image{};
        return result;
    }
    if (info) {
        info->Width = image->width;
        info->Height = image->height;
        info->Depth = image->depth;
        info->MipLevels = image->levels;
        info->Format = fileFormat;
        info->ResourceType = image->type;
        info->ImageFileFormat = kind;
    }
    return D3D_OK;
}

} // namespace platform::image
