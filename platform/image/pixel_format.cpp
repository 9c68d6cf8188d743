#include "image/pixel_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iterator>

namespace platform::image {
namespace {

// How a texel's bits hold its channels. Packed: unsigned normalised channels at bit offsets
// (bits 0 = channel absent). Luminance: one grey channel in "red" and an optional alpha. Half and
// Float: `channels` floats in R, G, B, A order. Missing colour channels read as 1, as Direct3D
// samples them; a missing alpha reads as 1.
enum class Kind { Packed, Luminance, Half, Float, Block, CopyOnly };

struct Channel {
    UINT shift;
    UINT bits;
};

struct Layout {
    D3DFORMAT format;
    Kind kind;
    UINT bytes; // per texel, or per block
    Channel r, g, b, a;
    UINT channels; // Half and Float only
};

constexpr Channel kNone{0, 0};

constexpr Layout kLayouts[] = {
    {D3DFMT_A8R8G8B8, Kind::Packed, 4, {16, 8}, {8, 8}, {0, 8}, {24, 8}, 0},
    {D3DFMT_X8R8G8B8, Kind::Packed, 4, {16, 8}, {8, 8}, {0, 8}, kNone, 0},
    {D3DFMT_R8G8B8, Kind::Packed, 3, {16, 8}, {8, 8}, {0, 8}, kNone, 0},
    {D3DFMT_A8B8G8R8, Kind::Packed, 4, {0, 8}, {8, 8}, {16, 8}, {24, 8}, 0},
    {D3DFMT_X8B8G8R8, Kind::Packed, 4, {0, 8}, {8, 8}, {16, 8}, kNone, 0},
    {D3DFMT_R5G6B5, Kind::Packed, 2, {11, 5}, {5, 6}, {0, 5}, kNone, 0},
    {D3DFMT_X1R5G5B5, Kind::Packed, 2, {10, 5}, {5, 5}, {0, 5}, kNone, 0},
    {D3DFMT_A1R5G5B5, Kind::Packed, 2, {10, 5}, {5, 5}, {0, 5}, {15, 1}, 0},
    {D3DFMT_A4R4G4B4, Kind::Packed, 2, {8, 4}, {4, 4}, {0, 4}, {12, 4}, 0},
    {D3DFMT_X4R4G4B4, Kind::Packed, 2, {8, 4}, {4, 4}, {0, 4}, kNone, 0},
    {D3DFMT_R3G3B2, Kind::Packed, 1, {5, 3}, {2, 3}, {0, 2}, kNone, 0},
    {D3DFMT_A8R3G3B2, Kind::Packed, 2, {5, 3}, {2, 3}, {0, 2}, {8, 8}, 0},
    {D3DFMT_A2R10G10B10, Kind::Packed, 4, {20, 10}, {10, 10}, {0, 10}, {30, 2}, 0},
    {D3DFMT_A2B10G10R10, Kind::Packed, 4, {0, 10}, {10, 10}, {20, 10}, {30, 2}, 0},
    {D3DFMT_G16R16, Kind::Packed, 4, {0, 16}, {16, 16}, kNone, kNone, 0},
    {D3DFMT_A16B16G16R16, Kind::Packed, 8, {0, 16}, {16, 16}, {32, 16}, {48, 16}, 0},
    {D3DFMT_A8, Kind::Packed, 1, kNone, kNone, kNone, {0, 8}, 0},
    {D3DFMT_L8, Kind::Luminance, 1, {0, 8}, kNone, kNone, kNone, 0},
    {D3DFMT_A8L8, Kind::Luminance, 2, {0, 8}, kNone, kNone, {8, 8}, 0},
    {D3DFMT_A4L4, Kind::Luminance, 1, {0, 4}, kNone, kNone, {4, 4}, 0},
    {D3DFMT_L16, Kind::Luminance, 2, {0, 16}, kNone, kNone, kNone, 0},
    {D3DFMT_R16F, Kind::Half, 2, kNone, kNone, kNone, kNone, 1},
    {D3DFMT_G16R16F, Kind::Half, 4, kNone, kNone, kNone, kNone, 2},
    {D3DFMT_A16B16G16R16F, Kind::Half, 8, kNone, kNone, kNone, kNone, 4},
    {D3DFMT_R32F, Kind::Float, 4, kNone, kNone, kNone, kNone, 1},
    {D3DFMT_G32R32F, Kind::Float, 8, kNone, kNone, kNone, kNone, 2},
    {D3DFMT_A32B32G32R32F, Kind::Float, 16, kNone, kNone, kNone, kNone, 4},
    {D3DFMT_DXT1, Kind::Block, 8, kNone, kNone, kNone, kNone, 0},
    {D3DFMT_DXT2, Kind::Block, 16, kNone, kNone, kNone, kNone, 0},
    {D3DFMT_DXT3, Kind::Block, 16, kNone, kNone, kNone, kNone, 0},
    {D3DFMT_DXT4, Kind::Block, 16, kNone, kNone, kNone, kNone, 0},
    {D3DFMT_DXT5, Kind::Block, 16, kNone, kNone, kNone, kNone, 0},
    {D3DFMT_V8U8, Kind::CopyOnly, 2, kNone, kNone, kNone, kNone, 0},
    {D3DFMT_CxV8U8, Kind::CopyOnly, 2, kNone, kNone, kNone, kNone, 0},
    {D3DFMT_Q8W8V8U8, Kind::CopyOnly, 4, kNone, kNone, kNone, kNone, 0},
    {D3DFMT_V16U16, Kind::CopyOnly, 4, kNone, kNone, kNone, kNone, 0},
    {D3DFMT_X8L8V8U8, Kind::CopyOnly, 4, kNone, kNone, kNone, kNone, 0},
};

FormatInfo MakeInfo(const Layout& layout) {
    const bool block = layout.kind == Kind::Block;
    const bool alpha = layout.a.bits != 0 || (layout.kind == Kind::Half && layout.channels == 4) ||
                       (layout.kind == Kind::Float && layout.channels == 4) || block;
    return FormatInfo{layout.format, layout.bytes, block ? 4u : 1u, alpha, layout.kind != Kind::CopyOnly};
}

const Layout* FindLayout(D3DFORMAT format) {
    for (const Layout& layout : kLayouts)
        if (layout.format == format)
            return &layout;
    return nullptr;
}

// The public description of each layout, made once.
const std::array<FormatInfo, std::size(kLayouts)>& InfoTable() {
    static const auto table = [] {
        std::array<FormatInfo, std::size(kLayouts)> infos{};
        for (std::size_t i = 0; i < infos.size(); ++i)
            infos[i] = MakeInfo(kLayouts[i]);
        return infos;
    }();
    return table;
}

std::uint64_t LoadBits(const std::uint8_t* p, UINT bytes) {
    std::uint64_t value = 0;
    for (UINT i = 0; i < bytes; ++i)
        value |= std::uint64_t{p[i]} << (8 * i);
    return value;
}

void StoreBits(std::uint64_t value, UINT bytes, std::uint8_t* p) {
    for (UINT i = 0; i < bytes; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

float Unpack(std::uint64_t bits, Channel c, float absent) {
    if (c.bits == 0)
        return absent;
    const std::uint64_t max = (std::uint64_t{1} << c.bits) - 1;
    return static_cast<float>((bits >> c.shift) & max) / static_cast<float>(max);
}

std::uint64_t Pack(float value, Channel c) {
    if (c.bits == 0)
        return 0;
    const std::uint64_t max = (std::uint64_t{1} << c.bits) - 1;
    const float clamped = std::clamp(std::isnan(value) ? 0.0f : value, 0.0f, 1.0f);
    return static_cast<std::uint64_t>(std::lround(clamped * static_cast<float>(max))) << c.shift;
}

// The bits of a texel that no channel uses (the X of X8R8G8B8) are written as ones.
std::uint64_t UnusedBits(const Layout& l) {
    std::uint64_t used = 0;
    for (Channel c : {l.r, l.g, l.b, l.a})
        if (c.bits)
            used |= ((std::uint64_t{1} << c.bits) - 1) << c.shift;
    const std::uint64_t all = l.bytes >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * l.bytes)) - 1;
    return all & ~used;
}

float Luminance(const Color& c) {
    return 0.2125f * c.r + 0.7154f * c.g + 0.0721f * c.b;
}

Color ReadTexel(const Layout& l, const std::uint8_t* p) {
    Color c;
    switch (l.kind) {
    case Kind::Packed: {
        const std::uint64_t bits = LoadBits(p, l.bytes);
        const bool colour = l.r.bits || l.g.bits || l.b.bits;
        // A8 samples as black with alpha; a format without blue or green reads those as 1.
        c.r = Unpack(bits, l.r, colour ? 1.0f : 0.0f);
        c.g = Unpack(bits, l.g, colour ? 1.0f : 0.0f);
        c.b = Unpack(bits, l.b, colour ? 1.0f : 0.0f);
        c.a = Unpack(bits, l.a, 1.0f);
        break;
    }
    case Kind::Luminance: {
        const std::uint64_t bits = LoadBits(p, l.bytes);
        c.r = c.g = c.b = Unpack(bits, l.r, 0.0f);
        c.a = Unpack(bits, l.a, 1.0f);
        break;
    }
    case Kind::Half:
    case Kind::Float: {
        float v[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        const UINT channels = std::min<UINT>(l.channels, 4);
        for (UINT i = 0; i < channels; ++i) {
            if (l.kind == Kind::Half) {
                v[i] = HalfToFloat(static_cast<std::uint16_t>(LoadBits(p + 2 * i, 2)));
            } else {
                std::memcpy(&v[i], p + 4 * i, 4);
            }
        }
        c = Color{v[0], v[1], v[2], v[3]};
        break;
    }
    case Kind::Block:
    case Kind::CopyOnly:
        break;
    }
    return c;
}

void WriteTexel(const Layout& l, const Color& c, std::uint8_t* p) {
    switch (l.kind) {
    case Kind::Packed:
        StoreBits(Pack(c.r, l.r) | Pack(c.g, l.g) | Pack(c.b, l.b) | Pack(c.a, l.a) | UnusedBits(l), l.bytes,
                  p);
        break;
    case Kind::Luminance:
        StoreBits(Pack(Luminance(c), l.r) | Pack(c.a, l.a), l.bytes, p);
        break;
    case Kind::Half:
    case Kind::Float: {
        const float v[4] = {c.r, c.g, c.b, c.a};
        for (UINT i = 0; i < l.channels; ++i) {
            if (l.kind == Kind::Half)
                StoreBits(FloatToHalf(v[i]), 2, p + 2 * i);
            else
                std::memcpy(p + 4 * i, &v[i], 4);
        }
        break;
    }
    case Kind::Block:
    case Kind::CopyOnly:
        break;
    }
}

} // namespace

const FormatInfo* FindFormat(D3DFORMAT format) {
    for (const FormatInfo& info : InfoTable())
        if (info.format == format)
            return &info;
    return nullptr;
}

std::size_t FormatRowPitch(D3DFORMAT format, UINT width) {
    const FormatInfo* info = FindFormat(format);
    if (!info)
        return 0;
    const std::size_t blocks = (std::size_t{width} + info->blockSize - 1) / info->blockSize;
    return std::max<std::size_t>(blocks, 1) * info->blockBytes;
}

std::size_t FormatRowCount(D3DFORMAT format, UINT height) {
    const FormatInfo* info = FindFormat(format);
    if (!info)
        return 0;
    return std::max<std::size_t>((std::size_t{height} + info->blockSize - 1) / info->blockSize, 1);
}

bool IsBlockCompressed(D3DFORMAT format) {
    const FormatInfo* info = FindFormat(format);
    return info && info->blockSize == 4;
}

bool IsConvertible(D3DFORMAT format) {
    const FormatInfo* info = FindFormat(format);
    return info && info->convertible;
}

bool DecodeSlice(D3DFORMAT format, const std::uint8_t* source, UINT width, UINT height, Color* out) {
    const Layout* l = FindLayout(format);
    if (!l || l->kind == Kind::CopyOnly)
        return false;
    const std::size_t pitch = FormatRowPitch(format, width);
    if (l->kind != Kind::Block) {
        for (UINT y = 0; y < height; ++y)
            for (UINT x = 0; x < width; ++x)
                out[std::size_t{y} * width + x] =
                    ReadTexel(*l, source + y * pitch + std::size_t{x} * l->bytes);
        return true;
    }
    Color texels[16];
    for (UINT by = 0; by < height; by += 4) {
        for (UINT bx = 0; bx < width; bx += 4) {
            DecodeDxtBlock(format, source + (by / 4) * pitch + std::size_t{bx / 4} * l->bytes, texels);
            for (UINT y = by; y < std::min(by + 4, height); ++y)
                for (UINT x = bx; x < std::min(bx + 4, width); ++x)
                    out[std::size_t{y} * width + x] = texels[(y - by) * 4 + (x - bx)];
        }
    }
    return true;
}

bool EncodeSlice(D3DFORMAT format, const Color* source, UINT width, UINT height, std::uint8_t* out) {
    const Layout* l = FindLayout(format);
    if (!l || l->kind == Kind::CopyOnly)
        return false;
    const std::size_t pitch = FormatRowPitch(format, width);
    if (l->kind != Kind::Block) {
        for (UINT y = 0; y < height; ++y)
            for (UINT x = 0; x < width; ++x)
                WriteTexel(*l, source[std::size_t{y} * width + x],
                           out + y * pitch + std::size_t{x} * l->bytes);
        return true;
    }
    Color texels[16];
    for (UINT by = 0; by < height; by += 4) {
        for (UINT bx = 0; bx < width; bx += 4) {
            // A block past the edge repeats the edge texels.
            for (UINT i = 0; i < 16; ++i) {
                const UINT x = std::min(bx + i % 4, width - 1);
                const UINT y = std::min(by + i / 4, height - 1);
                texels[i] = source[std::size_t{y} * width + x];
            }
            EncodeDxtBlock(format, texels, out + (by / 4) * pitch + std::size_t{bx / 4} * l->bytes);
        }
    }
    return true;
}

float HalfToFloat(std::uint16_t half) {
    const int sign = half >> 15;
    const int exponent = (half >> 10) & 0x1f;
    const int mantissa = half & 0x3ff;
    float value;
    if (exponent == 0)
        value = std::ldexp(static_cast<float>(mantissa), -24);
    else if (exponent == 31)
        value = mantissa ? NAN : INFINITY;
    else
        value = std::ldexp(static_cast<float>(mantissa | 0x400), exponent - 25);
    return sign ? -value : value;
}

std::uint16_t FloatToHalf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    const std::uint16_t sign = static_cast<std::uint16_t>((bits >> 16) & 0x8000);
    if (std::isnan(value))
        return static_cast<std::uint16_t>(sign | 0x7e00);
    const float magnitude = std::fabs(value);
    if (magnitude >= 65520.0f)
        return static_cast<std::uint16_t>(sign | 0x7c00);
    if (magnitude < 6.103515625e-05f) // subnormal halves: steps of 2^-24
        return static_cast<std::uint16_t>(sign | std::lround(magnitude * 16777216.0f));
    int exponent;
    const float fraction = std::frexp(magnitude, &exponent); // magnitude = fraction * 2^exponent
    long mantissa = std::lround((fraction * 2.0f - 1.0f) * 1024.0f);
    int biased = exponent - 1 + 15;
    if (mantissa == 1024) {
        mantissa = 0;
        ++biased;
    }
    return static_cast<std::uint16_t>(sign | (biased << 10) | mantissa);
}

} // namespace platform::image
