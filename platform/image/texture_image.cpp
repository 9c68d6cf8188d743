#include "image/texture_image.h"

#include "image/pixel_format.h"
#include "image/resample.h"

#include <cmath>
#include <cstring>

namespace platform::image {
namespace {

Extent LevelExtent(const Image& image, UINT level) {
    return Extent{image.LevelWidth(level), image.LevelHeight(level), image.LevelDepth(level)};
}

bool SameExtent(Extent a, Extent b) {
    return a.width == b.width && a.height == b.height && a.depth == b.depth;
}

std::vector<Color> DecodeLevel(const Image& image, UINT face, UINT level) {
    const Extent e = LevelExtent(image, level);
    const std::size_t sliceTexels = std::size_t{e.width} * e.height;
    std::vector<Color> colours(sliceTexels * e.depth);
    for (UINT z = 0; z < e.depth; ++z)
        DecodeSlice(image.format, image.Data(face, level) + z * image.SlicePitch(level), e.width, e.height,
                    colours.data() + z * sliceTexels);
    return colours;
}

void EncodeLevel(const std::vector<Color>& colours, UINT face, UINT level, Image* image) {
    const Extent e = LevelExtent(*image, level);
    const std::size_t sliceTexels = std::size_t{e.width} * e.height;
    for (UINT z = 0; z < e.depth; ++z)
        EncodeSlice(image->format, colours.data() + z * sliceTexels, e.width, e.height,
                    image->Data(face, level) + z * image->SlicePitch(level));
}

std::uint8_t Byte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255.0f));
}

void ApplyColorKey(std::vector<Color>* colours, D3DCOLOR key) {
    if (key == 0)
        return;
    for (Color& c : *colours) {
        const D3DCOLOR value =
            D3DCOLOR{Byte(c.a)} << 24 | D3DCOLOR{Byte(c.r)} << 16 | D3DCOLOR{Byte(c.g)} << 8 | Byte(c.b);
        if (value == key)
            c = Color{};
    }
}

} // namespace

HRESULT BuildTextureImage(const Image& source, const TextureShape& shape, const LoadFilters& filters,
                          Image* out) {
    Image result;
    if (!Allocate(&result, shape.format, source.type, shape.width, shape.height, shape.depth, source.faces,
                  shape.levels))
        return D3DXERR_INVALIDDATA;
    const bool convertible = IsConvertible(source.format) && IsConvertible(shape.format);
    const Filter mipFilter = FilterFromD3DX(filters.mipFilter);
    for (UINT face = 0; face < result.faces; ++face) {
        std::vector<Color> above;
        for (UINT level = 0; level < result.levels; ++level) {
            const Extent want = LevelExtent(result, level);
            const bool fromFile = level < source.levels && SameExtent(LevelExtent(source, level), want);
            if (fromFile && source.format == shape.format && filters.colorKey == 0) {
                std::memcpy(result.Data(face, level), source.Data(face, level), result.LevelSize(level));
                above.clear();
                continue;
            }
            if (!convertible)
                return D3DERR_NOTAVAILABLE;
            if (fromFile || level == 0) {
                above = DecodeLevel(source, face, fromFile ? level : 0);
                ApplyColorKey(&above, filters.colorKey);
                if (!fromFile)
                    above = Resample(above, LevelExtent(source, 0), want, FilterFromD3DX(filters.filter));
            } else if (mipFilter == Filter::None) {
                continue; // the level stays as allocated: transparent black
            } else {
                if (above.empty())
                    above = DecodeLevel(result, face, level - 1);
                above = Resample(above, LevelExtent(result, level - 1), want, mipFilter);
            }
            EncodeLevel(above, face, level, &result);
        }
    }
    *out = std::move(result);
    return D3D_OK;
}

HRESULT ConvertImage(const Image& source, D3DFORMAT format, Image* out) {
    return BuildTextureImage(source,
                             TextureShape{format, source.width, source.height, source.depth, source.levels},
                             LoadFilters{D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0}, out);
}

} // namespace platform::image
