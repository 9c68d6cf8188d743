// Copies an image into a texture through the texture's own locks, level by level (and face by face),
// honouring the pitches the lock reports. A texture in D3DPOOL_DEFAULT that cannot be locked is
// filled through a D3DPOOL_SYSTEMMEM twin and IDirect3DDevice9::UpdateTexture, as D3DX does.
#ifndef VTR3_PLATFORM_D3DX_TEXTURE_UPLOAD_H
#define VTR3_PLATFORM_D3DX_TEXTURE_UPLOAD_H

#include "image/image.h"

namespace platform::d3dx {

// Creates the texture that the image describes (its type, size, format and levels) and fills it.
HRESULT CreateTextureFromImage(IDirect3DDevice9* device, const image::Image& image, DWORD usage, D3DPOOL pool,
                               IDirect3DBaseTexture9** texture);

// Reads a surface's texels (through GetRenderTargetData when it cannot be locked) into a 2D image of
// the surface's format, cut to `rect` when given.
HRESULT ReadSurface(IDirect3DSurface9* surface, const RECT* rect, image::Image* out);

} // namespace platform::d3dx

#endif
