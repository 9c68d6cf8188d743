// The engine's back buffer and the plug-in's texture surfaces as PNG files, and Direct3D results as
// text for the runner's messages.
#ifndef VTR3_HOST_BACK_BUFFER_H
#define VTR3_HOST_BACK_BUFFER_H

#include <windows.h>
#include <d3d9.h>

#include <string>

namespace host {

// Writes the device's back buffer through D3DX; the result of the first step that failed.
HRESULT SaveBackBufferPng(IDirect3DDevice9* device, const std::string& path);
// Writes a render target of the device or a lockable surface; the result of the first step that failed.
HRESULT SaveSurfacePng(IDirect3DDevice9* device, IDirect3DSurface9* surface, const std::string& path);

// "D3DERR_INVALIDCALL (0x8876086c)".
std::string ResultText(HRESULT result);
// "frame 2 could not be written to PATH: D3DERR_INVALIDCALL (0x8876086c)".
std::string FrameWriteFailure(int frame, const std::string& path, HRESULT result);

} // namespace host

#endif
