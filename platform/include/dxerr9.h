// The DirectX 9 error texts: the symbolic name and the English description of a result code.
#ifndef VTR3_PLATFORM_DXERR9_H
#define VTR3_PLATFORM_DXERR9_H

#include <windows.h>

// The platform library is built with hidden visibility: what this header declares is its API.
#pragma GCC visibility push(default)

extern "C" {
// "Unknown" for a result the table does not know.
const char* WINAPI DXGetErrorString9A(HRESULT hr);
// "n/a" for a result the table does not know.
const char* WINAPI DXGetErrorDescription9A(HRESULT hr);
}

#define DXGetErrorString9 DXGetErrorString9A
#define DXGetErrorDescription9 DXGetErrorDescription9A

#pragma GCC visibility pop

#endif
