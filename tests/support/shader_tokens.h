// Hand-assembled Direct3D 9 shader bytecode for the tests: parameter tokens from register types and
// numbers, and a builder that appends instructions (with their length from 2.0 on).
#ifndef VTR3_TESTS_RENDER_SHADER_TOKENS_H
#define VTR3_TESTS_RENDER_SHADER_TOKENS_H

#include <d3d9.h>

#include <initializer_list>
#include <vector>

namespace shader_tokens {

constexpr DWORD Swz(DWORD x, DWORD y, DWORD z, DWORD w) {
    return (x | y << 2 | z << 4 | w << 6) << D3DSP_SWIZZLE_SHIFT;
}
constexpr DWORD kX = Swz(0, 0, 0, 0), kY = Swz(1, 1, 1, 1), kZ = Swz(2, 2, 2, 2), kW = Swz(3, 3, 3, 3);
constexpr DWORD kXYZW = D3DSP_NOSWIZZLE;

constexpr DWORD Reg(DWORD type, DWORD n) {
    return 0x80000000u | ((type << D3DSP_REGTYPE_SHIFT) & D3DSP_REGTYPE_MASK) |
           ((type << D3DSP_REGTYPE_SHIFT2) & D3DSP_REGTYPE_MASK2) | n;
}
constexpr DWORD Dst(DWORD type, DWORD n, DWORD mask = D3DSP_WRITEMASK_ALL, DWORD modifiers = 0) {
    return Reg(type, n) | mask | modifiers;
}
constexpr DWORD Src(DWORD type, DWORD n, DWORD swizzle = kXYZW, DWORD modifier = 0) {
    return Reg(type, n) | swizzle | modifier;
}
constexpr DWORD R(DWORD n, DWORD mask = D3DSP_WRITEMASK_ALL) {
    return Dst(D3DSPR_TEMP, n, mask);
}
constexpr DWORD Rs(DWORD n, DWORD swizzle = kXYZW) {
    return Src(D3DSPR_TEMP, n, swizzle);
}
constexpr DWORD C(DWORD n, DWORD swizzle = kXYZW, DWORD modifier = 0) {
    return Src(D3DSPR_CONST, n, swizzle, modifier);
}
// dcl's first parameter: usage and index, and a sampler's texture type.
constexpr DWORD Usage(DWORD usage, DWORD index = 0) {
    return 0x80000000u | usage | index << 16;
}

inline DWORD Bits(float f) {
    DWORD d;
    static_assert(sizeof d == sizeof f);
    __builtin_memcpy(&d, &f, sizeof d);
    return d;
}

struct Code {
    std::vector<DWORD> tokens;
    explicit Code(DWORD version) : tokens{version} {}
    Code& Op(DWORD opcode, std::initializer_list<DWORD> params) {
        const bool lengths = D3DSHADER_VERSION_MAJOR(tokens[0]) >= 2;
        tokens.push_back(opcode |
                         (lengths ? static_cast<DWORD>(params.size()) << D3DSI_INSTLENGTH_SHIFT : 0));
        tokens.insert(tokens.end(), params);
        return *this;
    }
    Code& Def(DWORD n, float x, float y, float z, float w) {
        return Op(D3DSIO_DEF, {Dst(D3DSPR_CONST, n), Bits(x), Bits(y), Bits(z), Bits(w)});
    }
    Code& Append(const std::vector<DWORD>& more) {
        tokens.insert(tokens.end(), more.begin(), more.end());
        return *this;
    }
    std::vector<DWORD> End() const {
        std::vector<DWORD> all = tokens;
        all.push_back(D3DVS_END());
        return all;
    }
};

} // namespace shader_tokens

#endif
