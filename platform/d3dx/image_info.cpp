// D3DXGetImageInfoFromFileA: what the file holds, as the texture loaders see it.
#include "d3dx/image_file.h"

#include <exception>

extern "C" HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR pSrcFile, D3DXIMAGE_INFO* pSrcInfo) {
    if (!pSrcFile || !pSrcInfo)
        return D3DERR_INVALIDCALL;
    try {
        platform::image::Image image;
        return platform::d3dx::LoadImageFile(pSrcFile, &image, pSrcInfo);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return D3DERR_INVALIDCALL;
    }
}
