// D3DXAssembleShader and its file form: shader assembly to bytecode in a buffer, or D3DXERR_INVALIDDATA
// with the first error as "file(line,col): error X5xxx: message" in the error buffer.
#include "device/shader_bytecode/assembler.h"
#include "fx/diagnostics.h"
#include "fx/effect_source.h"
#include "fx/fx_buffer.h"

#include <algorithm>
#include <cstring>

namespace platform::fx {
namespace {

HRESULT AssembleText(const std::string& file, const char* text, std::size_t length, LPD3DXBUFFER* ppShader,
                     LPD3DXBUFFER* ppErrors) {
    std::vector<DWORD> tokens;
    device::bytecode::AssemblyError error;
    if (!device::bytecode::Assemble(text, length, &tokens, &error)) {
        Diagnostics diagnostics;
        diagnostics.Error(file, error.line, error.column, error.code, error.message);
        if (ppErrors)
            *ppErrors = CreateTextBuffer(diagnostics.Text());
        return D3DXERR_INVALIDDATA;
    }
    const std::size_t bytes = tokens.size() * sizeof(DWORD);
    Buffer* buffer = new Buffer(bytes);
    buffer->AddRef();
    std::memcpy(buffer->GetBufferPointer(), tokens.data(), bytes);
    *ppShader = buffer;
    return D3D_OK;
}

void Clear(LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrors) {
    if (ppShader)
        *ppShader = nullptr;
    if (ppErrors)
        *ppErrors = nullptr;
}

} // namespace
} // namespace platform::fx

// Macros and includes are not expanded: assembly text is taken as written.
extern "C" HRESULT WINAPI D3DXAssembleShader(LPCSTR pSrcData, UINT SrcDataLen, CONST D3DXMACRO*,
                                             LPD3DXINCLUDE, DWORD, LPD3DXBUFFER* ppShader,
                                             LPD3DXBUFFER* ppErrorMsgs) {
    platform::fx::Clear(ppShader, ppErrorMsgs);
    if (!pSrcData || !ppShader)
        return D3DERR_INVALIDCALL;
    try {
        return platform::fx::AssembleText("", pSrcData, SrcDataLen, ppShader, ppErrorMsgs);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT WINAPI D3DXAssembleShaderFromFileA(LPCSTR pSrcFile, CONST D3DXMACRO*, LPD3DXINCLUDE, DWORD,
                                                      LPD3DXBUFFER* ppShader, LPD3DXBUFFER* ppErrorMsgs) {
    using namespace platform::fx;
    Clear(ppShader, ppErrorMsgs);
    if (!pSrcFile || !ppShader)
        return D3DERR_INVALIDCALL;
    try {
        std::string path = pSrcFile, text, failure;
        std::replace(path.begin(), path.end(), '\\', '/'); // Windows paths open here too
        if (!ReadSourceFile(path, pSrcFile, &text, &failure)) {
            Diagnostics diagnostics;
            diagnostics.Error(pSrcFile, 1, 1, code::kIncludeFailed, failure);
            if (ppErrorMsgs)
                *ppErrorMsgs = CreateTextBuffer(diagnostics.Text());
            return D3DXERR_INVALIDDATA;
        }
        return AssembleText(pSrcFile, text.data(), text.size(), ppShader, ppErrorMsgs);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}
