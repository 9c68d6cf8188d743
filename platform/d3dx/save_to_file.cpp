// D3DXSaveSurfaceToFileA and D3DXSaveTextureToFileA for PNG and BMP (D3DXIFF_DIB is a BMP too). The
// texels are read through the surface's lock (or GetRenderTargetData), converted to A8R8G8B8 and
// written with alpha when the surface's format has alpha. A texture saves its top level; cube and volume
// textures, and the other file formats, are not offered and answer D3DERR_NOTAVAILABLE. WritePngFile
// writes texels the caller already holds, without a surface.
#include "com/com_ref.h"
#include "d3dx/image_file.h"
#include "d3dx/texture_upload.h"
#include "image/codecs.h"
#include "image/pixel_format.h"
#include "image/texture_image.h"
#include "platform_control.h"

#include <d3dx9.h>

#include <exception>

namespace platform::d3dx {
namespace {

// Encodes 32-bit B, G, R, A texels as a PNG or BMP file and writes it.
HRESULT WriteImageFile(const char* path, D3DXIMAGE_FILEFORMAT format, const std::uint8_t* bgra, UINT width,
                       UINT height, bool alpha) {
    std::vector<std::uint8_t> file;
    const bool encoded = format == D3DXIFF_PNG ? image::EncodePng(bgra, width, height, alpha, &file)
                                               : image::EncodeBmp(bgra, width, height, alpha, &file);
    if (!encoded)
        return E_FAIL;
    return WriteFileBytes(path, file);
}

HRESULT SaveSurface(const char* path, D3DXIMAGE_FILEFORMAT format, IDirect3DSurface9* surface,
                    const RECT* rect) {
    if (format != D3DXIFF_PNG && format != D3DXIFF_BMP && format != D3DXIFF_DIB)
        return D3DERR_NOTAVAILABLE;
    image::Image read;
    HRESULT result = ReadSurface(surface, rect, &read);
    if (FAILED(result))
        return result;
    const image::FormatInfo* info = image::FindFormat(read.format);
    const bool alpha = info && info->alpha;
    // Surfaces of 32-bit B, G, R, A (or X) texels are written as they are: the writers drop the fourth
    // byte of an image without alpha. Other formats go through the general conversion.
    image::Image converted;
    if (read.format != D3DFMT_A8R8G8B8 && read.format != D3DFMT_X8R8G8B8) {
        result = image::ConvertImage(read, D3DFMT_A8R8G8B8, &converted);
        if (FAILED(result))
            return result;
    }
    const image::Image& texels = converted.bytes.empty() ? read : converted;
    return WriteImageFile(path, format, texels.bytes.data(), texels.width, texels.height, alpha);
}

template <typename Call> HRESULT Guarded(Call call) {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return D3DERR_INVALIDCALL;
    }
}

} // namespace
} // namespace platform::d3dx

HRESULT platform::WritePngFile(const char* path, const std::uint8_t* bgra, UINT width, UINT height,
                               bool withAlpha) {
    if (!path || !bgra)
        return D3DERR_INVALIDCALL;
    return d3dx::Guarded(
        [&] { return d3dx::WriteImageFile(path, D3DXIFF_PNG, bgra, width, height, withAlpha); });
}

extern "C" {

HRESULT WINAPI D3DXSaveSurfaceToFileA(LPCSTR pDestFile, D3DXIMAGE_FILEFORMAT DestFormat,
                                      LPDIRECT3DSURFACE9 pSrcSurface, CONST PALETTEENTRY*,
                                      CONST RECT* pSrcRect) {
    if (!pDestFile || !pSrcSurface)
        return D3DERR_INVALIDCALL;
    return platform::d3dx::Guarded(
        [&] { return platform::d3dx::SaveSurface(pDestFile, DestFormat, pSrcSurface, pSrcRect); });
}

HRESULT WINAPI D3DXSaveTextureToFileA(LPCSTR pDestFile, D3DXIMAGE_FILEFORMAT DestFormat,
                                      LPDIRECT3DBASETEXTURE9 pSrcTexture, CONST PALETTEENTRY*) {
    if (!pDestFile || !pSrcTexture)
        return D3DERR_INVALIDCALL;
    return platform::d3dx::Guarded([&]() -> HRESULT {
        IDirect3DTexture9* texture = nullptr;
        if (FAILED(pSrcTexture->QueryInterface(IID_IDirect3DTexture9, reinterpret_cast<void**>(&texture))))
            return D3DERR_NOTAVAILABLE;
        const platform::com::Ref<IDirect3DTexture9> textureRef(texture);
        texture->Release();
        IDirect3DSurface9* surface = nullptr;
        HRESULT result = texture->GetSurfaceLevel(0, &surface);
        if (FAILED(result))
            return result;
        const platform::com::Ref<IDirect3DSurface9> surfaceRef(surface);
        surface->Release();
        return platform::d3dx::SaveSurface(pDestFile, DestFormat, surface, nullptr);
    });
}

} // extern "C"
