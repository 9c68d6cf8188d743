#include "device/format_table.h"

#include <cstdint>
#include <utility>

namespace platform::device {
namespace {

// S3TC is an extension in OpenGL 4.5, so glcorearb.h does not name it.
constexpr GLenum kCompressedRgbaDxt1 = 0x83F1;
constexpr GLenum kCompressedRgbaDxt3 = 0x83F2;
constexpr GLenum kCompressedRgbaDxt5 = 0x83F3;

constexpr unsigned kColorTarget = kUseTexture | kUseCubeTexture | kUseVolumeTexture | kUseRenderTarget |
                                  kUseFilter | kUseBlend | kUseAutoGenMipmap;
constexpr unsigned kColorTexture = kUseTexture | kUseCubeTexture | kUseVolumeTexture | kUseFilter;
// OpenGL's S3TC formats exist for 2D images (and cube faces) only, so DXT volumes are refused.
constexpr unsigned kBlockTexture = kUseTexture | kUseCubeTexture | kUseFilter;
constexpr unsigned kFloatTarget = kColorTarget | kUseVertexTexture;
// A Direct3D 9 card of the shader model 3 generation filters 16-bit floats but not 32-bit ones; GL
// blends into both.
constexpr unsigned kFloat32Target = (kColorTarget | kUseVertexTexture) & ~kUseFilter;
// Depth formats such a card samples as 2D textures (shadow maps); D32 is a depth buffer only.
constexpr unsigned kDepthTexture = kUseDepthStencil | kUseTexture | kUseFilter;

constexpr GLint kRgba[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
constexpr GLint kAlphaOnly[4] = {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED};
constexpr GLint kLuminance[4] = {GL_RED, GL_RED, GL_RED, GL_ONE};
constexpr GLint kLuminanceAlpha[4] = {GL_RED, GL_RED, GL_RED, GL_GREEN};
// Direct3D samples the missing channels of two-channel formats as 1.
constexpr GLint kTwoChannels[4] = {GL_RED, GL_GREEN, GL_ONE, GL_ONE};
constexpr GLint kOneChannel[4] = {GL_RED, GL_ONE, GL_ONE, GL_ONE};
constexpr GLint kRgbOne[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ONE};

#define VTR3_SWIZZLE(s)                                                                                      \
    { s[0], s[1], s[2], s[3] }
constexpr FormatConversion kAsIs = FormatConversion::kNone;

// Direct3D's packed formats name channels from the most significant bit; on a little-endian machine
// A8R8G8B8 is the bytes B, G, R, A in memory, which is OpenGL's GL_BGRA with unsigned bytes.
const FormatInfo kFormats[] = {
    // No Direct3D 9 card renders to 24-bit RGB; it is a texture format only.
    {D3DFMT_R8G8B8, kColorTexture, GL_RGB8, GL_BGR, GL_UNSIGNED_BYTE, 3, 1, VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_A8R8G8B8, kColorTarget | kUseSrgb | kUseDisplay, GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    // OpenGL's RGB8 keeps the unused byte out of blending and reads it back as 255.
    {D3DFMT_X8R8G8B8, kColorTarget | kUseSrgb | kUseDisplay, GL_RGB8, GL_BGRA, GL_UNSIGNED_BYTE, 4, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_A8B8G8R8, kColorTarget, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, 4, 1, VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_X8B8G8R8, kColorTarget, GL_RGB8, GL_RGBA, GL_UNSIGNED_BYTE, 4, 1, VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_R5G6B5, kColorTarget, GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, 1, VTR3_SWIZZLE(kRgba),
     kAsIs},
    {D3DFMT_X1R5G5B5, kColorTarget, GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_A1R5G5B5, kColorTarget, GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_A4R4G4B4, kColorTexture, GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, 2, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_A2R10G10B10, kColorTarget, GL_RGB10_A2, GL_BGRA, GL_UNSIGNED_INT_2_10_10_10_REV, 4, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_A2B10G10R10, kColorTarget, GL_RGB10_A2, GL_RGBA, GL_UNSIGNED_INT_2_10_10_10_REV, 4, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_G16R16, kColorTarget, GL_RG16, GL_RG, GL_UNSIGNED_SHORT, 4, 1, VTR3_SWIZZLE(kTwoChannels), kAsIs},
    {D3DFMT_A16B16G16R16, kColorTarget, GL_RGBA16, GL_RGBA, GL_UNSIGNED_SHORT, 8, 1, VTR3_SWIZZLE(kRgba),
     kAsIs},
    {D3DFMT_A8, kColorTexture, GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, 1, VTR3_SWIZZLE(kAlphaOnly), kAsIs},
    {D3DFMT_L8, kColorTexture, GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, 1, VTR3_SWIZZLE(kLuminance), kAsIs},
    {D3DFMT_A8L8, kColorTexture, GL_RG8, GL_RG, GL_UNSIGNED_BYTE, 2, 1, VTR3_SWIZZLE(kLuminanceAlpha), kAsIs},
    {D3DFMT_L16, kColorTexture, GL_R16, GL_RED, GL_UNSIGNED_SHORT, 2, 1, VTR3_SWIZZLE(kLuminance), kAsIs},
    {D3DFMT_V8U8, kColorTexture | kUseBumpMap, GL_RG8_SNORM, GL_RG, GL_BYTE, 2, 1, VTR3_SWIZZLE(kTwoChannels),
     kAsIs},
    // Sampled as (U, V, C, 1) with C derived from U and V, which OpenGL cannot do in a swizzle.
    {D3DFMT_CxV8U8, kColorTexture, GL_RGBA8_SNORM, GL_RGBA, GL_BYTE, 2, 1, VTR3_SWIZZLE(kRgbOne),
     FormatConversion::kCxV8U8},
    {D3DFMT_Q8W8V8U8, kColorTexture | kUseBumpMap, GL_RGBA8_SNORM, GL_RGBA, GL_BYTE, 4, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_V16U16, kColorTexture | kUseBumpMap, GL_RG16_SNORM, GL_RG, GL_SHORT, 4, 1,
     VTR3_SWIZZLE(kTwoChannels), kAsIs},
    {D3DFMT_R16F, kFloatTarget, GL_R16F, GL_RED, GL_HALF_FLOAT, 2, 1, VTR3_SWIZZLE(kOneChannel), kAsIs},
    {D3DFMT_G16R16F, kFloatTarget, GL_RG16F, GL_RG, GL_HALF_FLOAT, 4, 1, VTR3_SWIZZLE(kTwoChannels), kAsIs},
    {D3DFMT_A16B16G16R16F, kFloatTarget, GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, 8, 1, VTR3_SWIZZLE(kRgba),
     kAsIs},
    {D3DFMT_R32F, kFloat32Target, GL_R32F, GL_RED, GL_FLOAT, 4, 1, VTR3_SWIZZLE(kOneChannel), kAsIs},
    {D3DFMT_G32R32F, kFloat32Target, GL_RG32F, GL_RG, GL_FLOAT, 8, 1, VTR3_SWIZZLE(kTwoChannels), kAsIs},
    {D3DFMT_A32B32G32R32F, kFloat32Target, GL_RGBA32F, GL_RGBA, GL_FLOAT, 16, 1, VTR3_SWIZZLE(kRgba), kAsIs},
    // DXT2 and DXT4 differ from DXT3 and DXT5 only in premultiplied alpha, which the sampler ignores.
    {D3DFMT_DXT1, kBlockTexture, kCompressedRgbaDxt1, 0, 0, 8, 4, VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_DXT2, kBlockTexture, kCompressedRgbaDxt3, 0, 0, 16, 4, VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_DXT3, kBlockTexture, kCompressedRgbaDxt3, 0, 0, 16, 4, VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_DXT4, kBlockTexture, kCompressedRgbaDxt5, 0, 0, 16, 4, VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_DXT5, kBlockTexture, kCompressedRgbaDxt5, 0, 0, 16, 4, VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_D16, kDepthTexture, GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, 2, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_D24X8, kDepthTexture, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, 4, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_D24S8, kDepthTexture, GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, 4, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
    {D3DFMT_D32, kUseDepthStencil, GL_DEPTH_COMPONENT32, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, 4, 1,
     VTR3_SWIZZLE(kRgba), kAsIs},
};

#undef VTR3_SWIZZLE

} // namespace

const FormatInfo* FindFormat(D3DFORMAT format) {
    for (const FormatInfo& info : kFormats)
        if (info.format == format)
            return &info;
    return nullptr;
}

bool HasStencil(D3DFORMAT format) {
    return format == D3DFMT_D24S8;
}

UINT RowPitch(const FormatInfo& info, UINT width) {
    const std::uint64_t units = (std::uint64_t{width} + info.blockSize - 1) / info.blockSize;
    return static_cast<UINT>((units * info.bytesPerBlock + 3) & ~std::uint64_t{3});
}

UINT PitchRows(const FormatInfo& info, UINT height) {
    return (height + info.blockSize - 1) / info.blockSize;
}

std::size_t ImageSize(const FormatInfo& info, UINT width, UINT height, UINT depth) {
    return std::size_t{RowPitch(info, width)} * PitchRows(info, height) * depth;
}

namespace {

// The uses a resource type with a usage asks of a format.
unsigned RequiredUses(D3DRESOURCETYPE type, DWORD usage) {
    unsigned uses = 0;
    if (type == D3DRTYPE_TEXTURE)
        uses |= kUseTexture;
    else if (type == D3DRTYPE_CUBETEXTURE)
        uses |= kUseCubeTexture;
    else if (type == D3DRTYPE_VOLUMETEXTURE)
        uses |= kUseVolumeTexture;
    const std::pair<DWORD, unsigned> flags[] = {
        {D3DUSAGE_RENDERTARGET, kUseRenderTarget},
        {D3DUSAGE_DEPTHSTENCIL, kUseDepthStencil},
        {D3DUSAGE_QUERY_FILTER, kUseFilter},
        {D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING, kUseBlend},
        {D3DUSAGE_QUERY_VERTEXTEXTURE, kUseVertexTexture},
        {D3DUSAGE_QUERY_SRGBREAD | D3DUSAGE_QUERY_SRGBWRITE, kUseSrgb},
        {D3DUSAGE_QUERY_LEGACYBUMPMAP, kUseBumpMap},
    };
    for (const auto& [flag, use] : flags)
        if (usage & flag)
            uses |= use;
    return uses;
}

} // namespace

HRESULT CheckFormatUse(D3DFORMAT format, D3DRESOURCETYPE type, DWORD usage) {
    if (type < D3DRTYPE_SURFACE || type > D3DRTYPE_CUBETEXTURE)
        return D3DERR_INVALIDCALL;
    const FormatInfo* info = FindFormat(format);
    if (!info || (usage & D3DUSAGE_DMAP))
        return D3DERR_NOTAVAILABLE;
    // Volumes are never render targets or depth buffers in Direct3D 9.
    if ((type == D3DRTYPE_VOLUME || type == D3DRTYPE_VOLUMETEXTURE) &&
        (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)))
        return D3DERR_NOTAVAILABLE;
    // A depth format is a depth buffer, never a plain image to lock or to render colour into.
    if (IsDepthFormat(*info) && !(usage & D3DUSAGE_DEPTHSTENCIL))
        return D3DERR_NOTAVAILABLE;
    const unsigned required = RequiredUses(type, usage & ~DWORD(D3DUSAGE_AUTOGENMIPMAP));
    if ((info->uses & required) != required)
        return D3DERR_NOTAVAILABLE;
    // Direct3D answers a format that works but cannot generate its mipmaps with a success code.
    if ((usage & D3DUSAGE_AUTOGENMIPMAP) && !(info->uses & kUseAutoGenMipmap))
        return D3DOK_NOAUTOGEN;
    return D3D_OK;
}

} // namespace platform::device
