// D3DXCreateTexture, D3DXCreateCubeTexture and D3DXCreateVolumeTexture: the device's own creation
// with D3DX's reading of the arguments (0 or D3DX_DEFAULT levels: a complete chain; D3DX_DEFAULT
// sizes: 256; D3DFMT_UNKNOWN: A8R8G8B8).
#include "image/image.h"

namespace {

UINT Size(UINT size) {
    return size == 0 || size == D3DX_DEFAULT ? 256 : size;
}
UINT Levels(UINT levels, UINT width, UINT height, UINT depth) {
    const UINT full = platform::image::FullMipCount(width, height, depth);
    return levels == 0 || levels == D3DX_DEFAULT || levels > full ? full : levels;
}
D3DFORMAT Format(D3DFORMAT format) {
    return format == D3DFMT_UNKNOWN ? D3DFMT_A8R8G8B8 : format;
}

} // namespace

extern "C" {

HRESULT WINAPI D3DXCreateTexture(LPDIRECT3DDEVICE9 pDevice, UINT Width, UINT Height, UINT MipLevels,
                                 DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, LPDIRECT3DTEXTURE9* ppTexture) {
    if (!ppTexture)
        return D3DERR_INVALIDCALL;
    *ppTexture = nullptr;
    if (!pDevice)
        return D3DERR_INVALIDCALL;
    const UINT width = Size(Width);
    const UINT height = Size(Height);
    return pDevice->CreateTexture(width, height, Levels(MipLevels, width, height, 1), Usage, ::Format(Format),
                                  Pool, ppTexture, nullptr);
}

HRESULT WINAPI D3DXCreateCubeTexture(LPDIRECT3DDEVICE9 pDevice, UINT Size, UINT MipLevels, DWORD Usage,
                                     D3DFORMAT Format, D3DPOOL Pool, LPDIRECT3DCUBETEXTURE9* ppCubeTexture) {
    if (!ppCubeTexture)
        return D3DERR_INVALIDCALL;
    *ppCubeTexture = nullptr;
    if (!pDevice)
        return D3DERR_INVALIDCALL;
    const UINT edge = ::Size(Size);
    return pDevice->CreateCubeTexture(edge, Levels(MipLevels, edge, edge, 1), Usage, ::Format(Format), Pool,
                                      ppCubeTexture, nullptr);
}

HRESULT WINAPI D3DXCreateVolumeTexture(LPDIRECT3DDEVICE9 pDevice, UINT Width, UINT Height, UINT Depth,
                                       UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                       LPDIRECT3DVOLUMETEXTURE9* ppVolumeTexture) {
    if (!ppVolumeTexture)
        return D3DERR_INVALIDCALL;
    *ppVolumeTexture = nullptr;
    if (!pDevice)
        return D3DERR_INVALIDCALL;
    const UINT width = Size(Width);
    const UINT height = Size(Height);
    const UINT depth = Size(Depth);
    return pDevice->CreateVolumeTexture(width, height, depth, Levels(MipLevels, width, height, depth), Usage,
                                        ::Format(Format), Pool, ppVolumeTexture, nullptr);
}

} // extern "C"
