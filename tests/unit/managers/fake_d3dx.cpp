#include "fake_d3dx.h"

#include <d3dx9.h>

namespace fake_d3dx {

std::vector<std::string>* g_calls = nullptr;
IDirect3DDevice9* g_device = nullptr;
HRESULT g_result = D3D_OK;
HRESULT g_effectResult = E_FAIL;
std::string g_compilerMessages;
std::string g_effectSource;

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

int g_liveBuffers = 0;

// Records the call; on success `create` makes a small texture of the loader's kind on g_device.
template <typename Interface, typename Create>
HRESULT Answer(const std::string& call, Interface** texture, Create create) {
    if (g_calls) {
        g_calls->push_back(call);
    }
    *texture = nullptr;
    return SUCCEEDED(g_result) ? create() : g_result;
}

// The compiler's message buffer: the text without a terminator, as a buffer need not have one.
class Buffer final : public ID3DXBuffer {
  public:
    explicit Buffer(const std::string& text) : text_(text) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG count = --references_;
        if (count == 0) {
            --g_liveBuffers;
            delete this;
        }
        return count;
    }
    LPVOID GetBufferPointer() override { return &text_[0]; }
    DWORD GetBufferSize() override { return static_cast<DWORD>(text_.size()); }

  private:
    std::string text_;
    ULONG references_ = 1;
};

} // namespace

int LiveBuffers() {
    return g_liveBuffers;
}

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
    if (!g_effectSource.empty()) {
        return D3DXCreateEffect(device, g_effectSource.data(), static_cast<UINT>(g_effectSource.size()),
                                defines, include, flags, pool, effect, messages);
    }
    *effect = nullptr;
    *messages = nullptr;
    if (!g_compilerMessages.empty()) {
        ++g_liveBuffers;
        *messages = new Buffer(g_compilerMessages);
    }
    return g_effectResult;
}
