// D3DXCreateEffect and its file forms: build the effect, hand back the compiler's messages (errors on
// failure, warnings on success) and the effect. Compile faults are D3DXERR_INVALIDDATA.
#include "fx/effect.h"
#include "fx/fx_buffer.h"

namespace platform::fx {
namespace {

HRESULT CreateFromSource(IDirect3DDevice9* device, const SourceInput& input, DWORD flags,
                         ID3DXEffectPool* pool, LPD3DXEFFECT* ppEffect, LPD3DXBUFFER* ppErrors) {
    Diagnostics diagnostics;
    BuiltEffect built;
    const bool ok = BuildEffect(input, &built, &diagnostics);
    const std::string text = diagnostics.Text();
    if (ppErrors && !text.empty())
        *ppErrors = CreateTextBuffer(text);
    if (!ok)
        return D3DXERR_INVALIDDATA;
    Effect* effect = nullptr;
    const HRESULT result = Effect::Create(device, std::move(built), &effect, pool, flags);
    if (FAILED(result))
        return result;
    if (ppEffect)
        *ppEffect = effect;
    else
        effect->Release(); // compiled only to check it, as D3DX allows
    return D3D_OK;
}

// Windows paths (VTR3Content\file.fx) open here too.
std::string PortablePath(const char* path) {
    std::string out = path;
    for (char& c : out) {
        if (c == '\\')
            c = '/';
    }
    return out;
}

HRESULT CreateFromFile(IDirect3DDevice9* device, LPCSTR pSrcFile, const D3DXMACRO* pDefines,
                       LPD3DXINCLUDE pInclude, DWORD flags, ID3DXEffectPool* pool, LPD3DXEFFECT* ppEffect,
                       LPD3DXBUFFER* ppErrors) {
    if (ppEffect)
        *ppEffect = nullptr;
    if (ppErrors)
        *ppErrors = nullptr;
    if (!device || !pSrcFile)
        return D3DERR_INVALIDCALL;
    try {
        SourceInput input;
        input.name = pSrcFile;
        input.defines = pDefines;
        input.include = pInclude;
        const std::string path = PortablePath(pSrcFile);
        const std::size_t slash = path.find_last_of('/');
        input.directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        std::string failure;
        if (!ReadSourceFile(path, pSrcFile, &input.text, &failure)) {
            Diagnostics diagnostics;
            diagnostics.Error(pSrcFile, 1, 1, code::kIncludeFailed, failure);
            if (ppErrors)
                *ppErrors = CreateTextBuffer(diagnostics.Text());
            return D3DXERR_INVALIDDATA;
        }
        return CreateFromSource(device, input, flags, pool, ppEffect, ppErrors);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CreateFromMemory(IDirect3DDevice9* device, LPCVOID pSrcData, UINT SrcDataLen,
                         const D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD flags,
                         ID3DXEffectPool* pool, LPD3DXEFFECT* ppEffect, LPD3DXBUFFER* ppErrors) {
    if (ppEffect)
        *ppEffect = nullptr;
    if (ppErrors)
        *ppErrors = nullptr;
    if (!device || !pSrcData)
        return D3DERR_INVALIDCALL;
    try {
        SourceInput input;
        input.name = "memory";
        input.defines = pDefines;
        input.include = pInclude;
        input.text.assign(static_cast<const char*>(pSrcData), SrcDataLen);
        return CreateFromSource(device, input, flags, pool, ppEffect, ppErrors);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

} // namespace
} // namespace platform::fx

extern "C" {

HRESULT WINAPI D3DXCreateEffectFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                         CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD Flags,
                                         LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                         LPD3DXBUFFER* ppCompilationErrors) {
    return platform::fx::CreateFromFile(pDevice, pSrcFile, pDefines, pInclude, Flags, pPool, ppEffect,
                                        ppCompilationErrors);
}

HRESULT WINAPI D3DXCreateEffectFromFileExA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile,
                                           CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, LPCSTR,
                                           DWORD Flags, LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                           LPD3DXBUFFER* ppCompilationErrors) {
    return platform::fx::CreateFromFile(pDevice, pSrcFile, pDefines, pInclude, Flags, pPool, ppEffect,
                                        ppCompilationErrors);
}

HRESULT WINAPI D3DXCreateEffect(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData, UINT SrcDataLen,
                                CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, DWORD Flags,
                                LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                LPD3DXBUFFER* ppCompilationErrors) {
    return platform::fx::CreateFromMemory(pDevice, pSrcData, SrcDataLen, pDefines, pInclude, Flags, pPool,
                                          ppEffect, ppCompilationErrors);
}

HRESULT WINAPI D3DXCreateEffectEx(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData, UINT SrcDataLen,
                                  CONST D3DXMACRO* pDefines, LPD3DXINCLUDE pInclude, LPCSTR, DWORD Flags,
                                  LPD3DXEFFECTPOOL pPool, LPD3DXEFFECT* ppEffect,
                                  LPD3DXBUFFER* ppCompilationErrors) {
    return platform::fx::CreateFromMemory(pDevice, pSrcData, SrcDataLen, pDefines, pInclude, Flags, pPool,
                                          ppEffect, ppCompilationErrors);
}

} // extern "C"
