// D3DXCreate{,Cube,Volume}TextureFromFile{,Ex}A: decode the file, plan the texture from it and the
// request, build its levels and fill it through the device's public interface.
//
// A cube texture needs a file that holds a cube map (a DDS with all six faces); a 2D image asked for
// as a cube map is refused with D3DXERR_INVALIDDATA, as is a cube map asked for as a volume. A volume
// texture accepts a 2D image as a volume of depth 1, and a 2D texture takes the first face of a cube
// map or the first slice of a volume.
#include "d3dx/image_file.h"
#include "d3dx/texture_plan.h"
#include "d3dx/texture_upload.h"
#include "image/texture_image.h"

#include <d3dx9.h>

#include <cstring>
#include <exception>

namespace platform::d3dx {
namespace {

struct Request {
    D3DRESOURCETYPE type;
    TextureRequest texture;
    DWORD usage;
    D3DPOOL pool;
    image::LoadFilters filters;
};

// The part of a cube map or volume that a 2D texture shows: face 0, or slice 0 of each level.
image::Image FirstFaceOrSlice(const image::Image& file) {
    image::Image flat;
    image::Allocate(&flat, file.format, D3DRTYPE_TEXTURE, file.width, file.height, 1, 1, file.levels);
    for (UINT level = 0; level < file.levels; ++level)
        std::memcpy(flat.Data(0, level), file.Data(0, level), flat.LevelSize(level));
    return flat;
}

// D3DX_SKIP_DDS_MIP_LEVELS: the top bits of the mip filter drop the file's first levels.
image::Image SkipLevels(const image::Image& file, UINT skip) {
    if (skip == 0 || skip >= file.levels)
        return file;
    image::Image rest;
    image::Allocate(&rest, file.format, file.type, file.LevelWidth(skip), file.LevelHeight(skip),
                    file.LevelDepth(skip), file.faces, file.levels - skip);
    for (UINT face = 0; face < file.faces; ++face)
        for (UINT level = 0; level < rest.levels; ++level)
            std::memcpy(rest.Data(face, level), file.Data(face, level + skip), rest.LevelSize(level));
    return rest;
}

HRESULT Load(IDirect3DDevice9* device, const char* path, const Request& request, D3DXIMAGE_INFO* info,
             IDirect3DBaseTexture9** texture) {
    image::Image file;
    D3DXIMAGE_INFO fileInfo{};
    HRESULT result = LoadImageFile(path, &file, &fileInfo);
    if (FAILED(result))
        return result;
    if ((request.type == D3DRTYPE_CUBETEXTURE) != (file.type == D3DRTYPE_CUBETEXTURE) &&
        request.type != D3DRTYPE_TEXTURE)
        return D3DXERR_INVALIDDATA;
    if (request.type == D3DRTYPE_TEXTURE && file.type != D3DRTYPE_TEXTURE)
        file = FirstFaceOrSlice(file);
    else if (request.type == D3DRTYPE_VOLUMETEXTURE)
        file.type = D3DRTYPE_VOLUMETEXTURE; // a 2D image is a volume of depth 1
    const DWORD mipFilter = request.filters.mipFilter;
    if (mipFilter != D3DX_DEFAULT)
        file =
            SkipLevels(file, (mipFilter >> D3DX_SKIP_DDS_MIP_LEVELS_SHIFT) & D3DX_SKIP_DDS_MIP_LEVELS_MASK);

    const image::TextureShape shape = PlanTexture(file, fileInfo.Format, request.texture,
                                                  QueryDeviceLimits(device, request.type, request.usage));
    image::Image contents;
    result = image::BuildTextureImage(file, shape, request.filters, &contents);
    if (FAILED(result))
        return result;
    result = CreateTextureFromImage(device, contents, request.usage, request.pool, texture);
    if (SUCCEEDED(result) && info)
        *info = fileInfo;
    return result;
}

image::LoadFilters Filters(DWORD filter, DWORD mipFilter, D3DCOLOR colorKey) {
    return image::LoadFilters{filter == D3DX_DEFAULT ? DWORD{D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER}
                                                     : filter,
                              mipFilter == D3DX_DEFAULT ? DWORD{D3DX_FILTER_BOX} : mipFilter, colorKey};
}

template <typename Texture>
HRESULT LoadAs(IDirect3DDevice9* device, const char* path, const Request& request, D3DXIMAGE_INFO* info,
               Texture** out) {
    if (!out)
        return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (!device || !path)
        return D3DERR_INVALIDCALL;
    try {
        IDirect3DBaseTexture9* texture = nullptr;
        const HRESULT result = Load(device, path, request, info, &texture);
        if (SUCCEEDED(result))
            *out = static_cast<Texture*>(texture); // CreateTextureFromImage made the requested kind
        return result;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return D3DERR_INVALIDCALL;
    }
}

} // namespace
} // namespace platform::d3dx

using platform::d3dx::LoadAs;
using platform::d3dx::Request;

extern "C" {

HRESULT WINAPI D3DXCreateTextureFromFileExA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile, UINT Width,
                                            UINT Height, UINT MipLevels, DWORD Usage, D3DFORMAT Format,
                                            D3DPOOL Pool, DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                            D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY*,
                                            LPDIRECT3DTEXTURE9* ppTexture) {
    const Request request{D3DRTYPE_TEXTURE,
                          {Width, Height, 1, MipLevels, Format},
                          Usage,
                          Pool,
                          platform::d3dx::Filters(Filter, MipFilter, ColorKey)};
    return LoadAs(pDevice, pSrcFile, request, pSrcInfo, ppTexture);
}

HRESULT WINAPI D3DXCreateCubeTextureFromFileExA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile, UINT Size,
                                                UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                                DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                                D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY*,
                                                LPDIRECT3DCUBETEXTURE9* ppCubeTexture) {
    const Request request{D3DRTYPE_CUBETEXTURE,
                          {Size, Size, 1, MipLevels, Format},
                          Usage,
                          Pool,
                          platform::d3dx::Filters(Filter, MipFilter, ColorKey)};
    return LoadAs(pDevice, pSrcFile, request, pSrcInfo, ppCubeTexture);
}

HRESULT WINAPI D3DXCreateVolumeTextureFromFileExA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile, UINT Width,
                                                  UINT Height, UINT Depth, UINT MipLevels, DWORD Usage,
                                                  D3DFORMAT Format, D3DPOOL Pool, DWORD Filter,
                                                  DWORD MipFilter, D3DCOLOR ColorKey,
                                                  D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY*,
                                                  LPDIRECT3DVOLUMETEXTURE9* ppVolumeTexture) {
    const Request request{D3DRTYPE_VOLUMETEXTURE,
                          {Width, Height, Depth, MipLevels, Format},
                          Usage,
                          Pool,
                          platform::d3dx::Filters(Filter, MipFilter, ColorKey)};
    return LoadAs(pDevice, pSrcFile, request, pSrcInfo, ppVolumeTexture);
}

HRESULT WINAPI D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                          LPDIRECT3DTEXTURE9* ppTexture) {
    return D3DXCreateTextureFromFileExA(pDevice, pSrcFile, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                        D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                        nullptr, nullptr, ppTexture);
}

HRESULT WINAPI D3DXCreateCubeTextureFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                              LPDIRECT3DCUBETEXTURE9* ppCubeTexture) {
    return D3DXCreateCubeTextureFromFileExA(pDevice, pSrcFile, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                            D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                            ppCubeTexture);
}

HRESULT WINAPI D3DXCreateVolumeTextureFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                                LPDIRECT3DVOLUMETEXTURE9* ppVolumeTexture) {
    return D3DXCreateVolumeTextureFromFileExA(pDevice, pSrcFile, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                              D3DX_DEFAULT, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                              D3DX_DEFAULT, 0, nullptr, nullptr, ppVolumeTexture);
}

} // extern "C"
