// What the stand-in engine (and the tests) control of the platform beyond the Direct3D 9 API:
// its headless windows, the clock behind GetTickCount, the device's capability profile, the
// back buffer's pixels and the count of live objects. The plug-in never includes this header.
#ifndef VTR3_PLATFORM_CONTROL_H
#define VTR3_PLATFORM_CONTROL_H

#include <windows.h>
#include <d3d9.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The platform library is built with hidden visibility: what this header declares is its API.
#pragma GCC visibility push(default)

namespace platform {

// A headless stand-in for an application window: a size and a title. The handle is valid for
// SetWindowTextA, MessageBoxA and IDirect3D9::CreateDevice until DestroyStandInWindow.
HWND CreateStandInWindow(int width, int height, const char* title);
void DestroyStandInWindow(HWND window);
// The title last set (SetWindowTextA or creation); empty for an unknown handle.
std::string GetStandInWindowTitle(HWND window);
bool GetStandInWindowSize(HWND window, int* width, int* height);

// GetTickCount reads this clock: real milliseconds by default, or a value the engine sets so that
// frames are reproducible.
void SetTickCount(DWORD milliseconds);
void UseRealTickCount();

// Messages that MessageBoxA showed (it writes them to standard error and returns IDOK).
std::size_t MessageBoxCount();
std::string LastMessageBoxText();

// Devices created after SetShaderModel2Caps(true) report the capabilities of a shader-model-2 card
// (vertex and pixel shader 2.0 and their limits), so that technique fallback can be tried; false
// returns to the full profile (shader model 3.0).
void SetShaderModel2Caps(bool enabled);

// The EGL platform that the devices draw through: "surfaceless" (Mesa's EGL_MESA_platform_surfaceless)
// or "device" (EGL_EXT_platform_device), chosen once for the process, the first where both work unless
// VTR3_EGL_PLATFORM names one. Opens EGL if no device has yet; empty when neither platform works.
std::string EglPlatform();

// Objects of the platform (devices, resources, effects, ...) that are alive now.
std::size_t LiveObjectCount();

// The back buffer of a device created by this platform, row 0 at the top, 4 bytes a pixel in
// Direct3D's A8R8G8B8 memory order (B, G, R, A). False when the device is not the platform's.
bool ReadBackBuffer(IDirect3DDevice9* device, std::vector<std::uint8_t>* pixels, UINT* width, UINT* height);

// The depth-stencil surface bound to a device created by this platform, row 0 at the top: depth as
// 0..1 floats, stencil as bytes (zeros for a format without stencil); either vector may be null.
// False when the device is not the platform's or has no depth-stencil surface bound.
bool ReadDepthStencil(IDirect3DDevice9* device, std::vector<float>* depth, std::vector<std::uint8_t>* stencil,
                      UINT* width, UINT* height);

// Writes rows of 4-byte B, G, R, A texels (row 0 at the top, tightly packed) to `path` as a PNG file,
// with alpha or opaque, in the bytes D3DXSaveSurfaceToFileA writes for such a surface. It touches no
// device, so any thread may call it; D3D_OK, or D3DERR_INVALIDCALL when the file cannot be written.
HRESULT WritePngFile(const char* path, const std::uint8_t* bgra, UINT width, UINT height, bool withAlpha);

} // namespace platform

#pragma GCC visibility pop

#endif
