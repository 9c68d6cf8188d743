// DDS files: the 128-byte header ("DDS " and DDS_HEADER with its DDS_PIXELFORMAT) followed by the
// texel data, face by face, level by level, in Direct3D's layout already. The header is checked
// against the file before anything of its size is allocated: a header that promises more data than
// the file holds, a mip count past the full chain or a partial cube map is refused.
#include "image/codecs.h"

#include "image/pixel_format.h"

#include <cstring>
#include <iterator>

namespace platform::image {
namespace {

constexpr std::uint32_t kHeaderSize = 124;
constexpr std::uint32_t kPixelFormatSize = 32;

constexpr std::uint32_t DDSD_MIPMAPCOUNT = 0x20000;
constexpr std::uint32_t DDSD_DEPTH = 0x800000;
constexpr std::uint32_t DDPF_ALPHAPIXELS = 0x1;
constexpr std::uint32_t DDPF_ALPHA = 0x2;
constexpr std::uint32_t DDPF_FOURCC = 0x4;
constexpr std::uint32_t DDPF_RGB = 0x40;
constexpr std::uint32_t DDPF_LUMINANCE = 0x20000;
constexpr std::uint32_t DDPF_BUMPDUDV = 0x80000;
constexpr std::uint32_t DDSCAPS2_CUBEMAP = 0x200;
constexpr std::uint32_t DDSCAPS2_CUBEMAP_ALLFACES = 0xfc00;
constexpr std::uint32_t DDSCAPS2_VOLUME = 0x200000;

struct PixelFormat {
    std::uint32_t flags, fourCC, bitCount, r, g, b, a;
};

struct MaskedFormat {
    D3DFORMAT format;
    std::uint32_t flags; // the one of RGB, LUMINANCE, ALPHA, BUMPDUDV it needs
    std::uint32_t bitCount, r, g, b, a;
};

// The uncompressed formats by bit count and channel masks, as DDS writers describe them.
constexpr MaskedFormat kMaskedFormats[] = {
    {D3DFMT_A8R8G8B8, DDPF_RGB, 32, 0xff0000, 0xff00, 0xff, 0xff000000},
    {D3DFMT_X8R8G8B8, DDPF_RGB, 32, 0xff0000, 0xff00, 0xff, 0},
    {D3DFMT_A8B8G8R8, DDPF_RGB, 32, 0xff, 0xff00, 0xff0000, 0xff000000},
    {D3DFMT_X8B8G8R8, DDPF_RGB, 32, 0xff, 0xff00, 0xff0000, 0},
    {D3DFMT_A2R10G10B10, DDPF_RGB, 32, 0x3ff00000, 0xffc00, 0x3ff, 0xc0000000},
    {D3DFMT_A2B10G10R10, DDPF_RGB, 32, 0x3ff, 0xffc00, 0x3ff00000, 0xc0000000},
    {D3DFMT_G16R16, DDPF_RGB, 32, 0xffff, 0xffff0000, 0, 0},
    {D3DFMT_R8G8B8, DDPF_RGB, 24, 0xff0000, 0xff00, 0xff, 0},
    {D3DFMT_R5G6B5, DDPF_RGB, 16, 0xf800, 0x7e0, 0x1f, 0},
    {D3DFMT_A1R5G5B5, DDPF_RGB, 16, 0x7c00, 0x3e0, 0x1f, 0x8000},
    {D3DFMT_X1R5G5B5, DDPF_RGB, 16, 0x7c00, 0x3e0, 0x1f, 0},
    {D3DFMT_A4R4G4B4, DDPF_RGB, 16, 0xf00, 0xf0, 0xf, 0xf000},
    {D3DFMT_X4R4G4B4, DDPF_RGB, 16, 0xf00, 0xf0, 0xf, 0},
    {D3DFMT_A8R3G3B2, DDPF_RGB, 16, 0xe0, 0x1c, 0x3, 0xff00},
    {D3DFMT_R3G3B2, DDPF_RGB, 8, 0xe0, 0x1c, 0x3, 0},
    {D3DFMT_L8, DDPF_LUMINANCE, 8, 0xff, 0, 0, 0},
    {D3DFMT_L16, DDPF_LUMINANCE, 16, 0xffff, 0, 0, 0},
    {D3DFMT_A8L8, DDPF_LUMINANCE, 16, 0xff, 0, 0, 0xff00},
    {D3DFMT_A4L4, DDPF_LUMINANCE, 8, 0xf, 0, 0, 0xf0},
    {D3DFMT_A8, DDPF_ALPHA, 8, 0, 0, 0, 0xff},
    {D3DFMT_V8U8, DDPF_BUMPDUDV, 16, 0xff, 0xff00, 0, 0},
    {D3DFMT_Q8W8V8U8, DDPF_BUMPDUDV, 32, 0xff, 0xff00, 0xff0000, 0xff000000},
    {D3DFMT_V16U16, DDPF_BUMPDUDV, 32, 0xffff, 0xffff0000, 0, 0},
};

// FourCC codes: the DXT ones, and Direct3D format numbers that writers store there for the formats
// masks cannot describe (float formats, A16B16G16R16).
constexpr D3DFORMAT kFourCCFormats[] = {
    D3DFMT_DXT1,   D3DFMT_DXT2,          D3DFMT_DXT3,         D3DFMT_DXT4,    D3DFMT_DXT5,
    D3DFMT_R16F,   D3DFMT_G16R16F,       D3DFMT_R32F,         D3DFMT_G32R32F, D3DFMT_A16B16G16R16F,
    D3DFMT_CxV8U8, D3DFMT_A32B32G32R32F, D3DFMT_A16B16G16R16,
};

std::uint32_t Load32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

D3DFORMAT FormatOf(const PixelFormat& pf) {
    if (pf.flags & DDPF_FOURCC) {
        for (D3DFORMAT format : kFourCCFormats)
            if (static_cast<std::uint32_t>(format) == pf.fourCC)
                return format;
        return D3DFMT_UNKNOWN;
    }
    const std::uint32_t kind = pf.flags & (DDPF_RGB | DDPF_LUMINANCE | DDPF_ALPHA | DDPF_BUMPDUDV);
    const std::uint32_t alpha = (pf.flags & (DDPF_ALPHAPIXELS | DDPF_ALPHA)) ? pf.a : 0;
    for (const MaskedFormat& m : kMaskedFormats)
        if (m.flags == kind && m.bitCount == pf.bitCount && m.r == pf.r && m.g == pf.g && m.b == pf.b &&
            m.a == alpha)
            return m.format;
    return D3DFMT_UNKNOWN;
}

} // namespace

HRESULT DecodeDds(const std::uint8_t* data, std::size_t size, Image* image, D3DFORMAT* fileFormat) {
    if (size < 4 + kHeaderSize || std::memcmp(data, "DDS ", 4) != 0)
        return D3DXERR_INVALIDDATA;
    const std::uint8_t* h = data + 4;
    if (Load32(h) != kHeaderSize || Load32(h + 72) != kPixelFormatSize)
        return D3DXERR_INVALIDDATA;
    const std::uint32_t flags = Load32(h + 4);
    const UINT height = Load32(h + 8);
    const UINT width = Load32(h + 12);
    const UINT depth = (flags & DDSD_DEPTH) ? Load32(h + 20) : 1;
    const UINT mips = (flags & DDSD_MIPMAPCOUNT) ? Load32(h + 24) : 1;
    const PixelFormat pf{Load32(h + 76), Load32(h + 80), Load32(h + 84), Load32(h + 88),
                         Load32(h + 92), Load32(h + 96), Load32(h + 100)};
    const std::uint32_t caps2 = Load32(h + 108);

    const D3DFORMAT format = FormatOf(pf);
    D3DRESOURCETYPE type = D3DRTYPE_TEXTURE;
    UINT faces = 1;
    if (caps2 & DDSCAPS2_CUBEMAP) {
        if ((caps2 & DDSCAPS2_CUBEMAP_ALLFACES) != DDSCAPS2_CUBEMAP_ALLFACES)
            return D3DXERR_INVALIDDATA; // cube maps with missing faces are not supported
        type = D3DRTYPE_CUBETEXTURE;
        faces = 6;
    } else if (caps2 & DDSCAPS2_VOLUME) {
        type = D3DRTYPE_VOLUMETEXTURE;
    }
    if (type != D3DRTYPE_VOLUMETEXTURE && depth > 1)
        return D3DXERR_INVALIDDATA;
    if (type == D3DRTYPE_CUBETEXTURE && width != height)
        return D3DXERR_INVALIDDATA;
    const UINT levels = mips == 0 ? 1 : mips;
    const std::size_t bytes = ImageByteSize(format, width, height, depth == 0 ? 1 : depth, faces, levels);
    if (bytes == 0 || bytes > size - 4 - kHeaderSize)
        return D3DXERR_INVALIDDATA;
    Image decoded;
    if (!Allocate(&decoded, format, type, width, height, depth == 0 ? 1 : depth, faces, levels))
        return D3DXERR_INVALIDDATA;
    std::memcpy(decoded.bytes.data(), data + 4 + kHeaderSize, bytes);
    *image = std::move(decoded);
    *fileFormat = format;
    return D3D_OK;
}

} // namespace platform::image
