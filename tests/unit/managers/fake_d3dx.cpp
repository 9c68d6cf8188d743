#include "fake_d3dx.h"

#include <d3dx9.h>

#include <string.h>

namespace fake_d3dx {

std::vector<std::string>* g_calls = nullptr;
IDirect3DDevice9* g_device = nullptr;
HRESULT g_result = D3D_OK;
HRESULT g_effectResult = E_FAIL;
std::string g_compilerMessages;
std::map<std::string, std::string> g_effectSources;

namespace {

std::string Number(UINT value) {
    return value == D3DX_DEFAULT ? "DEFAULT" : std::to_string(value);
}

// The arguments every loader shares, after the size.
std::string Common(UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
                   D3DCOLOR key, const void* info, const void* palette) {
    return Number(levels) + ", " + std::to_string(usage) + ", " + std::to_string(format) + ", " +
           (pool == D3DPOOL_MANAGED ? "MANAGED" : std::to_string(pool)) + ", " + Number(filter) + ", " +
           Number(mipFilter) + ", " + std::to_string(key) + ", " + (info ? "info" : "NULL") + ", " +
           (palette ? "palette" : "NULL") + ")";
}

// Records the call; on success `create` makes a small texture of the loader's kind on g_device.
template <typename Interface, typename Create>
HRESULT Answer(const std::string& call, Interface** texture, Create create) {
    if (g_calls) {
        g_calls->push_back(call);
    }
    *texture = nullptr;
    return SUCCEEDED(g_result) ? create() : g_result;
}

} // namespace
} // namespace fake_d3dx

using namespace fake_d3dx;

HRESULT WINAPI D3DXCreateTextureFromFileExA(LPDIRECT3DDEVICE9, LPCSTR path, UINT width, UINT height,
                                            UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            DWORD filter, DWORD mipFilter, D3DCOLOR key, D3DXIMAGE_INFO* info,
                                            PALETTEENTRY* palette, LPDIRECT3DTEXTURE9* texture) {
    return Answer(
        "D3DXCreateTextureFromFileExA(" + std::string(path) + ", " + Number(width) + ", " + Number(height) +
            ", " + Common(levels, usage, format, pool, filter, mipFilter, key, info, palette),
        texture, [&] {
            return g_device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture, nullptr);
        });
}

HRESULT WINAPI D3DXCreateCubeTextureFromFileExA(LPDIRECT3DDEVICE9, LPCSTR path, UINT size, UINT levels,
                                                DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                                DWORD mipFilter, D3DCOLOR key, D3DXIMAGE_INFO* info,
                                                PALETTEENTRY* palette, LPDIRECT3DCUBETEXTURE9* texture) {
    return Answer("D3DXCreateCubeTextureFromFileExA(" + std::string(path) + ", " + Number(size) + ", " +
                      Common(levels, usage, format, pool, filter, mipFilter, key, info, palette),
                  texture, [&] {
                      return g_device->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture,
                                                         nullptr);
                  });
}

HRESULT WINAPI D3DXCreateVolumeTextureFromFileExA(LPDIRECT3DDEVICE9, LPCSTR path, UINT width, UINT height,
                                                  UINT depth, UINT levels, DWORD usage, D3DFORMAT format,
                                                  D3DPOOL pool, DWORD filter, DWORD mipFilter, D3DCOLOR key,
                                                  D3DXIMAGE_INFO* info, PALETTEENTRY* palette,
                                                  LPDIRECT3DVOLUMETEXTURE9* texture) {
    return Answer("D3DXCreateVolumeTextureFromFileExA(" + std::string(path) + ", " + Number(width) + ", " +
                      Number(height) + ", " + Number(depth) + ", " +
                      Common(levels, usage, format, pool, filter, mipFilter, key, info, palette),
                  texture, [&] {
                      return g_device->CreateVolumeTexture(4, 4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                                           texture, nullptr);
                  });
}

HRESULT WINAPI D3DXCreateEffectFromFileA(LPDIRECT3DDEVICE9 device, LPCSTR path, CONST D3DXMACRO* defines,
                                         LPD3DXINCLUDE include, DWORD flags, LPD3DXEFFECTPOOL pool,
                                         LPD3DXEFFECT* effect, LPD3DXBUFFER* messages) {
    if (g_calls) {
        g_calls->push_back("D3DXCreateEffectFromFileA(" + std::string(path) + ", " +
                           (defines ? "defines" : "NULL") + ", " + (include ? "include" : "NULL") + ", " +
                           std::to_string(flags) + ", " + (pool ? "pool" : "NULL") + ")");
    }
    const auto source = g_effectSources.find(path);
    if (source != g_effectSources.end()) {
        return D3DXCreateEffect(device, source->second.data(), static_cast<UINT>(source->second.size()),
                                defines, include, flags, pool, effect, messages);
    }
    *effect = nullptr;
    *messages = nullptr;
    // The text without a terminator, as a buffer need not have one.
    if (!g_compilerMessages.empty() &&
        SUCCEEDED(D3DXCreateBuffer(static_cast<DWORD>(g_compilerMessages.size()), messages))) {
        memcpy((*messages)->GetBufferPointer(), g_compilerMessages.data(), g_compilerMessages.size());
    }
    return g_effectResult;
}
