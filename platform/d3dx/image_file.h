// Reading an image file named by a Windows path (path_resolver.h) into an image.
#ifndef VTR3_PLATFORM_D3DX_IMAGE_FILE_H
#define VTR3_PLATFORM_D3DX_IMAGE_FILE_H

#include "image/image.h"

namespace platform::d3dx {

// D3DXERR_INVALIDDATA for a file that cannot be opened or read, as D3DX answers for a missing file.
HRESULT LoadImageFile(const char* path, image::Image* image, D3DXIMAGE_INFO* info);

// Writes the bytes to the (resolved) path; D3DERR_INVALIDCALL when the file cannot be written.
HRESULT WriteFileBytes(const char* path, const std::vector<std::uint8_t>& bytes);

} // namespace platform::d3dx

#endif
