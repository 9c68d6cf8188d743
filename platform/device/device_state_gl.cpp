#include "device/device_state_gl.h"

#include <algorithm>
#include <cstring>

namespace platform::device {
namespace {

template <typename T, std::size_t N> GLenum Lookup(const T (&table)[N], DWORD value) {
    // Values outside the enumeration take the table's first entry, its neutral choice.
    return value < N ? table[value] : table[0];
}

// Index: D3DCMP_*; 0 is no value Direct3D defines.
constexpr GLenum kCompare[] = {GL_ALWAYS,  GL_NEVER,    GL_LESS,   GL_EQUAL, GL_LEQUAL,
                               GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
static_assert(sizeof kCompare / sizeof kCompare[0] == D3DCMP_ALWAYS + 1);

// Index: D3DBLEND_*. BOTHSRCALPHA and BOTHINVSRCALPHA also decide the destination (BlendStateOf).
constexpr GLenum kBlendFactor[] = {GL_ONE,
                                   GL_ZERO,
                                   GL_ONE,
                                   GL_SRC_COLOR,
                                   GL_ONE_MINUS_SRC_COLOR,
                                   GL_SRC_ALPHA,
                                   GL_ONE_MINUS_SRC_ALPHA,
                                   GL_DST_ALPHA,
                                   GL_ONE_MINUS_DST_ALPHA,
                                   GL_DST_COLOR,
                                   GL_ONE_MINUS_DST_COLOR,
                                   GL_SRC_ALPHA_SATURATE,
                                   GL_SRC_ALPHA,
                                   GL_ONE_MINUS_SRC_ALPHA,
                                   GL_CONSTANT_COLOR,
                                   GL_ONE_MINUS_CONSTANT_COLOR,
                                   GL_SRC1_COLOR,
                                   GL_ONE_MINUS_SRC1_COLOR};
static_assert(sizeof kBlendFactor / sizeof kBlendFactor[0] == D3DBLEND_INVSRCCOLOR2 + 1);

// Index: D3DBLENDOP_*.
constexpr GLenum kBlendOp[] = {GL_FUNC_ADD, GL_FUNC_ADD, GL_FUNC_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT,
                               GL_MIN,      GL_MAX};
static_assert(sizeof kBlendOp / sizeof kBlendOp[0] == D3DBLENDOP_MAX + 1);

// Index: D3DSTENCILOP_*.
constexpr GLenum kStencilOp[] = {GL_KEEP, GL_KEEP,   GL_ZERO,      GL_REPLACE,  GL_INCR,
                                 GL_DECR, GL_INVERT, GL_INCR_WRAP, GL_DECR_WRAP};
static_assert(sizeof kStencilOp / sizeof kStencilOp[0] == D3DSTENCILOP_DECR + 1);

// Index: D3DTADDRESS_*.
constexpr GLenum kAddress[] = {GL_REPEAT,        GL_REPEAT,          GL_MIRRORED_REPEAT,
                               GL_CLAMP_TO_EDGE, GL_CLAMP_TO_BORDER, GL_MIRROR_CLAMP_TO_EDGE};
static_assert(sizeof kAddress / sizeof kAddress[0] == D3DTADDRESS_MIRRORONCE + 1);

// Index: D3DFILL_*.
constexpr GLenum kFill[] = {GL_FILL, GL_POINT, GL_LINE, GL_FILL};
static_assert(sizeof kFill / sizeof kFill[0] == D3DFILL_SOLID + 1);

void BlendFactors(DWORD source, DWORD dest, GLenum* glSource, GLenum* glDest) {
    *glSource = Lookup(kBlendFactor, source);
    *glDest = Lookup(kBlendFactor, dest);
    if (source == D3DBLEND_BOTHSRCALPHA) {
        *glSource = GL_SRC_ALPHA;
        *glDest = GL_ONE_MINUS_SRC_ALPHA;
    } else if (source == D3DBLEND_BOTHINVSRCALPHA) {
        *glSource = GL_ONE_MINUS_SRC_ALPHA;
        *glDest = GL_SRC_ALPHA;
    }
}

GlStencilFace StencilFace(const DeviceState& state, D3DRENDERSTATETYPE func, D3DRENDERSTATETYPE fail,
                          D3DRENDERSTATETYPE depthFail, D3DRENDERSTATETYPE pass) {
    const auto& rs = state.renderStates;
    GlStencilFace face;
    face.func = Lookup(kCompare, rs[func]);
    face.reference = static_cast<GLint>(rs[D3DRS_STENCILREF] & 0xFF);
    face.readMask = rs[D3DRS_STENCILMASK];
    face.fail = Lookup(kStencilOp, rs[fail]);
    face.depthFail = Lookup(kStencilOp, rs[depthFail]);
    face.pass = Lookup(kStencilOp, rs[pass]);
    return face;
}

GLenum MinFilter(DWORD min, DWORD mip) {
    const bool linear = min != D3DTEXF_POINT;
    switch (mip) {
    case D3DTEXF_NONE:
        return linear ? GL_LINEAR : GL_NEAREST;
    case D3DTEXF_POINT:
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    default:
        return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    }
}

} // namespace

GlBlendState BlendStateOf(const DeviceState& state) {
    const auto& rs = state.renderStates;
    GlBlendState blend;
    blend.enabled = rs[D3DRS_ALPHABLENDENABLE] != 0;
    BlendFactors(rs[D3DRS_SRCBLEND], rs[D3DRS_DESTBLEND], &blend.sourceColor, &blend.destColor);
    blend.equationColor = Lookup(kBlendOp, rs[D3DRS_BLENDOP]);
    if (rs[D3DRS_SEPARATEALPHABLENDENABLE]) {
        BlendFactors(rs[D3DRS_SRCBLENDALPHA], rs[D3DRS_DESTBLENDALPHA], &blend.sourceAlpha, &blend.destAlpha);
        blend.equationAlpha = Lookup(kBlendOp, rs[D3DRS_BLENDOPALPHA]);
    } else {
        blend.sourceAlpha = blend.sourceColor;
        blend.destAlpha = blend.destColor;
        blend.equationAlpha = blend.equationColor;
    }
    const DWORD factor = rs[D3DRS_BLENDFACTOR];
    blend.constant = {static_cast<float>((factor >> 16) & 0xFF) / 255.0f,
                      static_cast<float>((factor >> 8) & 0xFF) / 255.0f,
                      static_cast<float>(factor & 0xFF) / 255.0f, static_cast<float>(factor >> 24) / 255.0f};
    return blend;
}

GlDepthStencilState DepthStencilStateOf(const DeviceState& state, bool hasDepthStencil) {
    const auto& rs = state.renderStates;
    GlDepthStencilState ds;
    // GL writes no depth while its test is off, as Direct3D with D3DRS_ZENABLE off.
    ds.depthTest = hasDepthStencil && rs[D3DRS_ZENABLE] != D3DZB_FALSE;
    ds.depthFunc = Lookup(kCompare, rs[D3DRS_ZFUNC]);
    ds.stencilTest = hasDepthStencil && rs[D3DRS_STENCILENABLE] != 0;
    // GL's front faces are Direct3D's clockwise triangles; the CCW_ states are for the others.
    ds.front =
        StencilFace(state, D3DRS_STENCILFUNC, D3DRS_STENCILFAIL, D3DRS_STENCILZFAIL, D3DRS_STENCILPASS);
    ds.back = rs[D3DRS_TWOSIDEDSTENCILMODE] ? StencilFace(state, D3DRS_CCW_STENCILFUNC, D3DRS_CCW_STENCILFAIL,
                                                          D3DRS_CCW_STENCILZFAIL, D3DRS_CCW_STENCILPASS)
                                            : ds.front;
    return ds;
}

GlRasterState RasterStateOf(const DeviceState& state) {
    const auto& rs = state.renderStates;
    GlRasterState raster;
    raster.cull = rs[D3DRS_CULLMODE] == D3DCULL_CW || rs[D3DRS_CULLMODE] == D3DCULL_CCW;
    // Direct3D's counter-clockwise triangles are GL's clockwise ones: the back faces.
    raster.cullFace = rs[D3DRS_CULLMODE] == D3DCULL_CW ? GL_FRONT : GL_BACK;
    raster.polygonMode = Lookup(kFill, rs[D3DRS_FILLMODE]);
    // The slope term is the same in both APIs: times the largest depth slope per pixel. Direct3D's
    // constant bias is in depth units of 0..1 for every format, which GL's units (a resolvable step
    // the implementation chooses per format) cannot say: the vertex stage adds it (DepthBiasOf).
    raster.offsetFactor = AsFloat(rs[D3DRS_SLOPESCALEDEPTHBIAS]);
    return raster;
}

float DepthBiasOf(const DeviceState& state, const D3DVIEWPORT9& viewport) {
    return AsFloat(state.renderStates[D3DRS_DEPTHBIAS]) / (FarDepthOf(viewport) - viewport.MinZ);
}

float FarDepthOf(const D3DVIEWPORT9& viewport) {
    return std::max(viewport.MaxZ, viewport.MinZ + 0.001f);
}

void ColorMaskOf(const DeviceState& state, bool mask[4]) {
    const DWORD bits = state.renderStates[D3DRS_COLORWRITEENABLE];
    mask[0] = (bits & D3DCOLORWRITEENABLE_RED) != 0;
    mask[1] = (bits & D3DCOLORWRITEENABLE_GREEN) != 0;
    mask[2] = (bits & D3DCOLORWRITEENABLE_BLUE) != 0;
    mask[3] = (bits & D3DCOLORWRITEENABLE_ALPHA) != 0;
}

void ApplySamplerState(const std::array<DWORD, kSamplerStateCount>& s, GLuint sampler) {
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S,
                        static_cast<GLint>(Lookup(kAddress, s[D3DSAMP_ADDRESSU])));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T,
                        static_cast<GLint>(Lookup(kAddress, s[D3DSAMP_ADDRESSV])));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R,
                        static_cast<GLint>(Lookup(kAddress, s[D3DSAMP_ADDRESSW])));
    const DWORD border = s[D3DSAMP_BORDERCOLOR];
    const float borderColor[4] = {
        static_cast<float>((border >> 16) & 0xFF) / 255.0f, static_cast<float>((border >> 8) & 0xFF) / 255.0f,
        static_cast<float>(border & 0xFF) / 255.0f, static_cast<float>(border >> 24) / 255.0f};
    glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, borderColor);
    const DWORD mag = s[D3DSAMP_MAGFILTER];
    const DWORD min = s[D3DSAMP_MINFILTER];
    const bool magPoint = mag == D3DTEXF_POINT || mag == D3DTEXF_NONE;
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, magPoint ? GL_NEAREST : GL_LINEAR);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER,
                        static_cast<GLint>(MinFilter(min == D3DTEXF_NONE ? DWORD{D3DTEXF_POINT} : min,
                                                     s[D3DSAMP_MIPFILTER])));
    const bool anisotropic = mag == D3DTEXF_ANISOTROPIC || min == D3DTEXF_ANISOTROPIC;
    const float anisotropy =
        anisotropic ? static_cast<float>(std::clamp<DWORD>(s[D3DSAMP_MAXANISOTROPY], 1, 16)) : 1.0f;
    glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY, anisotropy);
    glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, AsFloat(s[D3DSAMP_MIPMAPLODBIAS]));
    // D3DSAMP_MAXMIPLEVEL names the largest level sampled: level 0 is the largest.
    glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, static_cast<float>(s[D3DSAMP_MAXMIPLEVEL]));
}

} // namespace platform::device
