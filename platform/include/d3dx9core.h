// D3DX 9 core: the library version and ID3DXBuffer, the byte buffer that D3DX calls hand out.
#ifndef VTR3_PLATFORM_D3DX9CORE_H
#define VTR3_PLATFORM_D3DX9CORE_H

#include <d3d9.h>

// The platform library is built with hidden visibility: what this header declares is its API.
#pragma GCC visibility push(default)

#define D3DX_VERSION 0x0902
#define D3DX_SDK_VERSION 43

extern "C" const GUID IID_ID3DXBuffer;

struct ID3DXBuffer;
typedef struct ID3DXBuffer *LPD3DXBUFFER, *PD3DXBUFFER;

struct ID3DXBuffer : public IUnknown {
    virtual LPVOID GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

extern "C" {
BOOL WINAPI D3DXCheckVersion(UINT D3DSdkVersion, UINT D3DXSdkVersion);
}

#pragma GCC visibility pop

#endif
