// Direct3D 9's default state and which GL state groups each Direct3D state feeds.
#include "device/device_state.h"

#include <cstring>

namespace platform::device {
namespace {

DWORD FloatBits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

D3DMATRIX Identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

struct RenderStateDefault {
    D3DRENDERSTATETYPE state;
    DWORD value;
};

// Every render state Direct3D 9 defines with its documented default (ZENABLE depends on the
// presentation and is set apart).
const RenderStateDefault kRenderStateDefaults[] = {
    {D3DRS_ZENABLE, D3DZB_FALSE},
    {D3DRS_FILLMODE, D3DFILL_SOLID},
    {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
    {D3DRS_ZWRITEENABLE, TRUE},
    {D3DRS_ALPHATESTENABLE, FALSE},
    {D3DRS_LASTPIXEL, TRUE},
    {D3DRS_SRCBLEND, D3DBLEND_ONE},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRS_ALPHAREF, 0},
    {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
    {D3DRS_DITHERENABLE, FALSE},
    {D3DRS_ALPHABLENDENABLE, FALSE},
    {D3DRS_FOGENABLE, FALSE},
    {D3DRS_SPECULARENABLE, FALSE},
    {D3DRS_FOGCOLOR, 0},
    {D3DRS_FOGTABLEMODE, D3DFOG_NONE},
    {D3DRS_FOGSTART, FloatBits(0.0f)},
    {D3DRS_FOGEND, FloatBits(1.0f)},
    {D3DRS_FOGDENSITY, FloatBits(1.0f)},
    {D3DRS_RANGEFOGENABLE, FALSE},
    {D3DRS_STENCILENABLE, FALSE},
    {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILFUNC, D3DCMP_ALWAYS},
    {D3DRS_STENCILREF, 0},
    {D3DRS_STENCILMASK, 0xFFFFFFFF},
    {D3DRS_STENCILWRITEMASK, 0xFFFFFFFF},
    {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
    {D3DRS_WRAP0, 0},
    {D3DRS_WRAP1, 0},
    {D3DRS_WRAP2, 0},
    {D3DRS_WRAP3, 0},
    {D3DRS_WRAP4, 0},
    {D3DRS_WRAP5, 0},
    {D3DRS_WRAP6, 0},
    {D3DRS_WRAP7, 0},
    {D3DRS_CLIPPING, TRUE},
    {D3DRS_LIGHTING, TRUE},
    {D3DRS_AMBIENT, 0},
    {D3DRS_FOGVERTEXMODE, D3DFOG_NONE},
    {D3DRS_COLORVERTEX, TRUE},
    {D3DRS_LOCALVIEWER, TRUE},
    {D3DRS_NORMALIZENORMALS, FALSE},
    {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
    {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
    {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
    {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
    {D3DRS_VERTEXBLEND, D3DVBF_DISABLE},
    {D3DRS_CLIPPLANEENABLE, 0},
    {D3DRS_POINTSIZE, FloatBits(1.0f)},
    {D3DRS_POINTSIZE_MIN, FloatBits(1.0f)},
    {D3DRS_POINTSPRITEENABLE, FALSE},
    {D3DRS_POINTSCALEENABLE, FALSE},
    {D3DRS_POINTSCALE_A, FloatBits(1.0f)},
    {D3DRS_POINTSCALE_B, FloatBits(0.0f)},
    {D3DRS_POINTSCALE_C, FloatBits(0.0f)},
    {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
    {D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF},
    {D3DRS_PATCHEDGESTYLE, D3DPATCHEDGE_DISCRETE},
    {D3DRS_DEBUGMONITORTOKEN, D3DDMT_ENABLE},
    {D3DRS_POINTSIZE_MAX, FloatBits(64.0f)},
    {D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE},
    {D3DRS_COLORWRITEENABLE, 0x0000000F},
    {D3DRS_TWEENFACTOR, FloatBits(0.0f)},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_POSITIONDEGREE, D3DDEGREE_CUBIC},
    {D3DRS_NORMALDEGREE, D3DDEGREE_LINEAR},
    {D3DRS_SCISSORTESTENABLE, FALSE},
    {D3DRS_SLOPESCALEDEPTHBIAS, 0},
    {D3DRS_ANTIALIASEDLINEENABLE, FALSE},
    {D3DRS_MINTESSELLATIONLEVEL, FloatBits(1.0f)},
    {D3DRS_MAXTESSELLATIONLEVEL, FloatBits(1.0f)},
    {D3DRS_ADAPTIVETESS_X, FloatBits(0.0f)},
    {D3DRS_ADAPTIVETESS_Y, FloatBits(0.0f)},
    {D3DRS_ADAPTIVETESS_Z, FloatBits(1.0f)},
    {D3DRS_ADAPTIVETESS_W, FloatBits(0.0f)},
    {D3DRS_ENABLEADAPTIVETESSELLATION, FALSE},
    {D3DRS_TWOSIDEDSTENCILMODE, FALSE},
    {D3DRS_CCW_STENCILFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_CCW_STENCILZFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_CCW_STENCILPASS, D3DSTENCILOP_KEEP},
    {D3DRS_CCW_STENCILFUNC, D3DCMP_ALWAYS},
    {D3DRS_COLORWRITEENABLE1, 0x0000000F},
    {D3DRS_COLORWRITEENABLE2, 0x0000000F},
    {D3DRS_COLORWRITEENABLE3, 0x0000000F},
    {D3DRS_BLENDFACTOR, 0xFFFFFFFF},
    {D3DRS_SRGBWRITEENABLE, FALSE},
    {D3DRS_DEPTHBIAS, 0},
    {D3DRS_WRAP8, 0},
    {D3DRS_WRAP9, 0},
    {D3DRS_WRAP10, 0},
    {D3DRS_WRAP11, 0},
    {D3DRS_WRAP12, 0},
    {D3DRS_WRAP13, 0},
    {D3DRS_WRAP14, 0},
    {D3DRS_WRAP15, 0},
    {D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
    {D3DRS_SRCBLENDALPHA, D3DBLEND_ONE},
    {D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO},
    {D3DRS_BLENDOPALPHA, D3DBLENDOP_ADD},
};

constexpr auto kDefinedRenderStates = []() {
    std::array<bool, kRenderStateCount> defined{};
    for (const RenderStateDefault& entry : kRenderStateDefaults)
        defined[entry.state] = true;
    return defined;
};

struct GroupOfState {
    D3DRENDERSTATETYPE state;
    std::uint32_t bits;
};

// Render states that reach GL; every other one is stored only (tessellation, patches, ...).
const GroupOfState kRenderStateGroups[] = {
    {D3DRS_ZENABLE, kStateDepthStencil},
    {D3DRS_ZWRITEENABLE, kStateDepthStencil},
    {D3DRS_ZFUNC, kStateDepthStencil},
    {D3DRS_STENCILENABLE, kStateDepthStencil},
    {D3DRS_STENCILFAIL, kStateDepthStencil},
    {D3DRS_STENCILZFAIL, kStateDepthStencil},
    {D3DRS_STENCILPASS, kStateDepthStencil},
    {D3DRS_STENCILFUNC, kStateDepthStencil},
    {D3DRS_STENCILREF, kStateDepthStencil},
    {D3DRS_STENCILMASK, kStateDepthStencil},
    {D3DRS_STENCILWRITEMASK, kStateDepthStencil},
    {D3DRS_TWOSIDEDSTENCILMODE, kStateDepthStencil},
    {D3DRS_CCW_STENCILFAIL, kStateDepthStencil},
    {D3DRS_CCW_STENCILZFAIL, kStateDepthStencil},
    {D3DRS_CCW_STENCILPASS, kStateDepthStencil},
    {D3DRS_CCW_STENCILFUNC, kStateDepthStencil},
    {D3DRS_FILLMODE, kStateRasterizer},
    {D3DRS_CULLMODE, kStateRasterizer},
    {D3DRS_DEPTHBIAS, kStateRasterizer},
    {D3DRS_SLOPESCALEDEPTHBIAS, kStateRasterizer},
    {D3DRS_SHADEMODE, kStateVertexProgram | kStatePixelProgram},
    {D3DRS_ALPHABLENDENABLE, kStateBlend},
    {D3DRS_SRCBLEND, kStateBlend},
    {D3DRS_DESTBLEND, kStateBlend},
    {D3DRS_BLENDOP, kStateBlend},
    {D3DRS_SEPARATEALPHABLENDENABLE, kStateBlend},
    {D3DRS_SRCBLENDALPHA, kStateBlend},
    {D3DRS_DESTBLENDALPHA, kStateBlend},
    {D3DRS_BLENDOPALPHA, kStateBlend},
    {D3DRS_BLENDFACTOR, kStateBlend},
    {D3DRS_COLORWRITEENABLE, kStateOutputMasks},
    {D3DRS_SCISSORTESTENABLE, kStateOutputMasks},
    // The fixed-function pixel program is generated per alpha function; effects read it as a constant.
    {D3DRS_ALPHATESTENABLE, kStatePixelProgram | kStatePixelConstants},
    {D3DRS_ALPHAFUNC, kStatePixelProgram | kStatePixelConstants},
    {D3DRS_ALPHAREF, kStatePixelConstants},
    {D3DRS_TEXTUREFACTOR, kStatePixelConstants},
    {D3DRS_SPECULARENABLE, kStateVertexProgram | kStatePixelProgram},
    {D3DRS_LIGHTING, kStateVertexProgram},
    {D3DRS_AMBIENT, kStateVertexConstants},
    {D3DRS_COLORVERTEX, kStateVertexProgram},
    {D3DRS_LOCALVIEWER, kStateVertexProgram},
    {D3DRS_NORMALIZENORMALS, kStateVertexProgram},
    {D3DRS_DIFFUSEMATERIALSOURCE, kStateVertexProgram},
    {D3DRS_SPECULARMATERIALSOURCE, kStateVertexProgram},
    {D3DRS_AMBIENTMATERIALSOURCE, kStateVertexProgram},
    {D3DRS_EMISSIVEMATERIALSOURCE, kStateVertexProgram},
    {D3DRS_CLIPPLANEENABLE, kStateClipPlanes},
    // Fog: the vertex program is generated per vertex mode; both stages read the parameters.
    {D3DRS_FOGENABLE, kStateVertexProgram | kStatePixelConstants},
    {D3DRS_FOGTABLEMODE, kStateVertexProgram | kStatePixelConstants},
    {D3DRS_FOGVERTEXMODE, kStateVertexProgram},
    {D3DRS_RANGEFOGENABLE, kStateVertexProgram},
    {D3DRS_FOGCOLOR, kStatePixelConstants},
    {D3DRS_FOGSTART, kStateVertexConstants | kStatePixelConstants},
    {D3DRS_FOGEND, kStateVertexConstants | kStatePixelConstants},
    {D3DRS_FOGDENSITY, kStateVertexConstants | kStatePixelConstants},
};

} // namespace

void DeviceState::Reset(bool autoDepthStencil, UINT targetWidth, UINT targetHeight) {
    renderStates.fill(0);
    for (const RenderStateDefault& entry : kRenderStateDefaults)
        renderStates[entry.state] = entry.value;
    renderStates[D3DRS_ZENABLE] = autoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;

    for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
        std::array<DWORD, kStageStateCount>& s = stageStates[stage];
        s.fill(0);
        s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        s[D3DTSS_TEXCOORDINDEX] = stage;
        s[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
        s[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        s[D3DTSS_RESULTARG] = D3DTA_CURRENT;
    }
    for (std::array<DWORD, kSamplerStateCount>& s : samplerStates) {
        s.fill(0);
        s[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        s[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        s[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        s[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        s[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        s[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        s[D3DSAMP_MAXANISOTROPY] = 1;
    }
    view = projection = Identity();
    textureTransforms.fill(Identity());
    world.fill(Identity());
    material = D3DMATERIAL9{};
    lights.clear();
    for (std::array<float, 4>& plane : clipPlanes)
        plane.fill(0.0f);
    fvf = 0;
    scissorRect = RECT{0, 0, static_cast<LONG>(targetWidth), static_cast<LONG>(targetHeight)};
    dirty = kStateAll;
    dirtySamplers = (1u << kSamplerSlotCount) - 1;
}

unsigned DeviceState::EnabledLightCount() const {
    unsigned count = 0;
    for (const LightSlot& slot : lights)
        count += slot.enabled;
    return count;
}

bool SamplerSlot(DWORD sampler, DWORD* slot) {
    if (sampler < kPixelSamplerCount) {
        *slot = sampler;
        return true;
    }
    if (sampler >= D3DDMAPSAMPLER && sampler <= D3DVERTEXTEXTURESAMPLER3) {
        *slot = kPixelSamplerCount + (sampler - D3DDMAPSAMPLER);
        return true;
    }
    return false;
}

bool IsRenderState(DWORD state) {
    static const std::array<bool, kRenderStateCount> defined = kDefinedRenderStates();
    return state < kRenderStateCount && defined[state];
}

bool IsStageState(DWORD type) {
    return (type >= D3DTSS_COLOROP && type <= D3DTSS_TEXCOORDINDEX) ||
           (type >= D3DTSS_BUMPENVLSCALE && type <= D3DTSS_TEXTURETRANSFORMFLAGS) ||
           (type >= D3DTSS_COLORARG0 && type <= D3DTSS_RESULTARG) || type == D3DTSS_CONSTANT;
}

float AsFloat(DWORD bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t RenderStateDirtyBits(DWORD state) {
    for (const GroupOfState& entry : kRenderStateGroups)
        if (entry.state == state)
            return entry.bits;
    return 0;
}

std::uint32_t StageStateDirtyBits(DWORD type) {
    switch (type) {
    case D3DTSS_TEXCOORDINDEX:
    case D3DTSS_TEXTURETRANSFORMFLAGS:
        return kStateVertexProgram | kStatePixelProgram;
    case D3DTSS_CONSTANT:
    case D3DTSS_BUMPENVMAT00:
    case D3DTSS_BUMPENVMAT01:
    case D3DTSS_BUMPENVMAT10:
    case D3DTSS_BUMPENVMAT11:
    case D3DTSS_BUMPENVLSCALE:
    case D3DTSS_BUMPENVLOFFSET:
        return kStatePixelConstants;
    default:
        return kStatePixelProgram;
    }
}

} // namespace platform::device
