// The Direct3D 9 formats the device supports, what each may be used for and how it is stored in
// OpenGL. One table answers IDirect3D9::CheckDeviceFormat and every resource creation, so the two
// cannot disagree.
#ifndef VTR3_PLATFORM_DEVICE_FORMAT_TABLE_H
#define VTR3_PLATFORM_DEVICE_FORMAT_TABLE_H

#include "device/gl_api.h"

#include <d3d9.h>

#include <cstddef>

namespace platform::device {

// What a format may be used for.
enum FormatUse : unsigned {
    kUseTexture = 1u << 0,
    kUseCubeTexture = 1u << 1,
    kUseVolumeTexture = 1u << 2,
    kUseRenderTarget = 1u << 3,
    kUseDepthStencil = 1u << 4,
    kUseFilter = 1u << 5,
    kUseBlend = 1u << 6,
    kUseVertexTexture = 1u << 7,
    kUseAutoGenMipmap = 1u << 8,
    kUseSrgb = 1u << 9,
    kUseBumpMap = 1u << 10,
    kUseDisplay = 1u << 11, // display modes and back buffers
};

// Formats whose Direct3D memory layout OpenGL cannot take as it is; the storage converts on upload
// and read-back.
enum class FormatConversion {
    kNone,
    kCxV8U8, // U, V signed bytes; stored as RGBA8_SNORM with the derived C = sqrt(1 - U^2 - V^2)
};

struct FormatInfo {
    D3DFORMAT format;
    unsigned uses;
    GLenum internalFormat;
    // Upload and read-back of Direct3D's memory layout; 0 for block-compressed formats.
    GLenum pixelFormat;
    GLenum pixelType;
    // Bytes of one pixel, or of one 4x4 block when blockSize is 4.
    unsigned bytesPerBlock;
    unsigned blockSize;
    // Sampling swizzle (GL_TEXTURE_SWIZZLE_RGBA) for formats OpenGL has no direct equivalent of.
    GLint swizzle[4];
    FormatConversion conversion;
};

// Null for a format the device does not support.
const FormatInfo* FindFormat(D3DFORMAT format);

inline bool IsDepthFormat(const FormatInfo& info) {
    return (info.uses & kUseDepthStencil) != 0;
}
bool HasStencil(D3DFORMAT format);
inline bool IsCompressed(const FormatInfo& info) {
    return info.blockSize > 1;
}

// Bytes from one row of pixels (of 4x4 blocks for DXT) to the next, as a lock reports it: rows are
// DWORD-aligned, which is also OpenGL's default (un)pack alignment.
UINT RowPitch(const FormatInfo& info, UINT width);
// Rows of pixels (of blocks) in an image of the given height.
UINT PitchRows(const FormatInfo& info, UINT height);
// The size of one mip level in bytes.
std::size_t ImageSize(const FormatInfo& info, UINT width, UINT height, UINT depth);

// Whether a format may be used as the resource type with the usage, as IDirect3D9::CheckDeviceFormat
// answers: D3D_OK, D3DOK_NOAUTOGEN, D3DERR_NOTAVAILABLE, or D3DERR_INVALIDCALL for a resource type
// that has no format.
HRESULT CheckFormatUse(D3DFORMAT format, D3DRESOURCETYPE type, DWORD usage);

} // namespace platform::device

#endif
