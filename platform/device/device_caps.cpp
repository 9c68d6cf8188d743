#include "device/device_caps.h"

#include "platform_control.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cstring>

namespace platform {
namespace {
std::atomic<bool> shaderModel2{false};
}

void SetShaderModel2Caps(bool enabled) {
    shaderModel2 = enabled;
}

namespace device {
namespace {

// A card of shader model 2: vs_2_0 and ps_2_0 with their minimum limits, no 3.0 instruction slots.
void LimitToShaderModel2(D3DCAPS9* caps) {
    caps->VertexShaderVersion = D3DVS_VERSION(2, 0);
    caps->PixelShaderVersion = D3DPS_VERSION(2, 0);
    caps->VS20Caps.Caps = 0;
    caps->VS20Caps.DynamicFlowControlDepth = 0;
    caps->VS20Caps.NumTemps = 12;
    caps->VS20Caps.StaticFlowControlDepth = 1;
    caps->PS20Caps.Caps = 0;
    caps->PS20Caps.DynamicFlowControlDepth = 0;
    caps->PS20Caps.NumTemps = 12;
    caps->PS20Caps.StaticFlowControlDepth = 0;
    caps->PS20Caps.NumInstructionSlots = 96;
    caps->MaxVertexShader30InstructionSlots = 0;
    caps->MaxPixelShader30InstructionSlots = 0;
    caps->VertexTextureFilterCaps = 0;
}

constexpr DWORD kAllCompares = D3DPCMPCAPS_NEVER | D3DPCMPCAPS_LESS | D3DPCMPCAPS_EQUAL |
                               D3DPCMPCAPS_LESSEQUAL | D3DPCMPCAPS_GREATER | D3DPCMPCAPS_NOTEQUAL |
                               D3DPCMPCAPS_GREATEREQUAL | D3DPCMPCAPS_ALWAYS;

constexpr DWORD kBlends = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE | D3DPBLENDCAPS_SRCCOLOR |
                          D3DPBLENDCAPS_INVSRCCOLOR | D3DPBLENDCAPS_SRCALPHA | D3DPBLENDCAPS_INVSRCALPHA |
                          D3DPBLENDCAPS_DESTALPHA | D3DPBLENDCAPS_INVDESTALPHA | D3DPBLENDCAPS_DESTCOLOR |
                          D3DPBLENDCAPS_INVDESTCOLOR | D3DPBLENDCAPS_SRCALPHASAT | D3DPBLENDCAPS_BLENDFACTOR;

// BOTHSRCALPHA and BOTHINVSRCALPHA set both factors from D3DRS_SRCBLEND; Direct3D 9 allows them only
// as the source blend.
constexpr DWORD kSourceBlends = kBlends | D3DPBLENDCAPS_BOTHSRCALPHA | D3DPBLENDCAPS_BOTHINVSRCALPHA;

// Not claimed: anisotropic filtering, whose GL results (llvmpipe's) stray far from the linear ones
// even where the footprint is isotropic, so no worked-out pixel can check it.
constexpr DWORD kFilters = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                           D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MIPFLINEAR |
                           D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;

constexpr DWORD kPointLinear = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                               D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;

// GL_MIRROR_CLAMP_TO_EDGE (core since 4.4) is MIRRORONCE.
constexpr DWORD kAddressing = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP |
                              D3DPTADDRESSCAPS_BORDER | D3DPTADDRESSCAPS_INDEPENDENTUV |
                              D3DPTADDRESSCAPS_MIRRORONCE;

// PREMODULATE and the bump-mapping operations are not generated (such a stage passes its first
// argument on), so they are not claimed.
constexpr DWORD kTextureOps =
    D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 | D3DTEXOPCAPS_MODULATE |
    D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_MODULATE4X | D3DTEXOPCAPS_ADD | D3DTEXOPCAPS_ADDSIGNED |
    D3DTEXOPCAPS_ADDSIGNED2X | D3DTEXOPCAPS_SUBTRACT | D3DTEXOPCAPS_ADDSMOOTH |
    D3DTEXOPCAPS_BLENDDIFFUSEALPHA | D3DTEXOPCAPS_BLENDTEXTUREALPHA | D3DTEXOPCAPS_BLENDFACTORALPHA |
    D3DTEXOPCAPS_BLENDTEXTUREALPHAPM | D3DTEXOPCAPS_BLENDCURRENTALPHA | D3DTEXOPCAPS_MODULATEALPHA_ADDCOLOR |
    D3DTEXOPCAPS_MODULATECOLOR_ADDALPHA | D3DTEXOPCAPS_MODULATEINVALPHA_ADDCOLOR |
    D3DTEXOPCAPS_MODULATEINVCOLOR_ADDALPHA | D3DTEXOPCAPS_DOTPRODUCT3 | D3DTEXOPCAPS_MULTIPLYADD |
    D3DTEXOPCAPS_LERP;

constexpr DWORD kStencilOps = D3DSTENCILCAPS_KEEP | D3DSTENCILCAPS_ZERO | D3DSTENCILCAPS_REPLACE |
                              D3DSTENCILCAPS_INCRSAT | D3DSTENCILCAPS_DECRSAT | D3DSTENCILCAPS_INVERT |
                              D3DSTENCILCAPS_INCR | D3DSTENCILCAPS_DECR | D3DSTENCILCAPS_TWOSIDED;

constexpr DWORD kDeclTypes = D3DDTCAPS_UBYTE4 | D3DDTCAPS_UBYTE4N | D3DDTCAPS_SHORT2N | D3DDTCAPS_SHORT4N |
                             D3DDTCAPS_USHORT2N | D3DDTCAPS_USHORT4N | D3DDTCAPS_FLOAT16_2 |
                             D3DDTCAPS_FLOAT16_4;

DWORD AtLeastOne(int value) {
    return static_cast<DWORD>(std::max(value, 1));
}

void FillPipelineCaps(D3DCAPS9* caps) {
    // Every bit claimed here is drawn by a render test (tests/render/caps_coverage_test.cpp). Not
    // claimed: INDEPENDENTWRITEMASKS (D3DRS_COLORWRITEENABLE applies to every render target;
    // COLORWRITEENABLE1 to 3 are only stored), point sprites and sizes, and features no test draws:
    // the MRT bits, DITHER. Pre-transformed vertices reach GL's clipping through the viewport
    // (CLIPTLVERTS).
    caps->PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW |
                              D3DPMISCCAPS_CLIPTLVERTS | D3DPMISCCAPS_CULLCCW |
                              D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_TSSARGTEMP | D3DPMISCCAPS_BLENDOP |
                              D3DPMISCCAPS_PERSTAGECONSTANT | D3DPMISCCAPS_SEPARATEALPHABLEND;
    caps->RasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_MIPMAPLODBIAS | D3DPRASTERCAPS_COLORPERSPECTIVE |
                       D3DPRASTERCAPS_SCISSORTEST | D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS |
                       D3DPRASTERCAPS_DEPTHBIAS | D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGTABLE |
                       D3DPRASTERCAPS_FOGRANGE | D3DPRASTERCAPS_ZFOG | D3DPRASTERCAPS_WFOG;
    caps->ZCmpCaps = kAllCompares;
    caps->AlphaCmpCaps = kAllCompares;
    caps->SrcBlendCaps = kSourceBlends;
    caps->DestBlendCaps = kBlends;
    caps->ShadeCaps =
        D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARGOURAUDRGB | D3DPSHADECAPS_ALPHAGOURAUDBLEND;
    caps->LineCaps = D3DLINECAPS_ZTEST | D3DLINECAPS_BLEND | D3DLINECAPS_ALPHACMP;
    caps->StencilCaps = kStencilOps;
}

void FillTextureCaps(const GlLimits& limits, D3DCAPS9* caps) {
    // OpenGL 4.5 has no power-of-two restrictions, so neither POW2 nor NONPOW2CONDITIONAL is set.
    // PROJECTED texture coordinates are not drawn by a test, so not claimed.
    caps->TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_CUBEMAP |
                        D3DPTEXTURECAPS_VOLUMEMAP | D3DPTEXTURECAPS_MIPMAP | D3DPTEXTURECAPS_MIPVOLUMEMAP |
                        D3DPTEXTURECAPS_MIPCUBEMAP;
    caps->TextureFilterCaps = kFilters;
    caps->CubeTextureFilterCaps = kFilters;
    caps->VolumeTextureFilterCaps = kFilters;
    caps->TextureAddressCaps = kAddressing;
    caps->VolumeTextureAddressCaps = kAddressing;
    caps->MaxTextureWidth = AtLeastOne(std::min(limits.maxTextureSize, limits.maxRenderbufferSize));
    caps->MaxTextureHeight = caps->MaxTextureWidth;
    caps->MaxVolumeExtent = AtLeastOne(limits.max3DTextureSize);
    caps->MaxTextureRepeat = 8192;
    caps->MaxTextureAspectRatio = caps->MaxTextureWidth;
    caps->MaxAnisotropy = 1;
    caps->TextureOpCaps = kTextureOps;
    caps->MaxTextureBlendStages = kTextureStages;
    caps->MaxSimultaneousTextures = kTextureStages;
    caps->StretchRectFilterCaps = kPointLinear;
    caps->VertexTextureFilterCaps = kPointLinear;
}

void FillVertexCaps(const GlLimits& limits, D3DCAPS9* caps) {
    caps->MaxVertexW = 1e10f;
    // Clipping happens in clip space, so the guard band is as wide as Direct3D allows to report.
    caps->GuardBandLeft = -32768.0f;
    caps->GuardBandTop = -32768.0f;
    caps->GuardBandRight = 32767.0f;
    caps->GuardBandBottom = 32767.0f;
    caps->ExtentsAdjust = 0.0f;
    // Point sizes are not applied (every point is one pixel): no PSIZE, MaxPointSize 1.
    caps->FVFCaps = kTextureStages;
    // Texture coordinate generation and material sources are not drawn by a test, so not claimed.
    caps->VertexProcessingCaps =
        D3DVTXPCAPS_DIRECTIONALLIGHTS | D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER;
    caps->MaxActiveLights = 8;
    caps->MaxUserClipPlanes = std::min<DWORD>(kUserClipPlanes, static_cast<DWORD>(limits.maxClipDistances));
    // Fixed-function vertex blending is not offered.
    caps->MaxVertexBlendMatrices = 0;
    caps->MaxVertexBlendMatrixIndex = 0;
    caps->MaxPointSize = 1.0f;
    caps->MaxPrimitiveCount = 0x00FFFFFF;
    caps->MaxVertexIndex = 0x00FFFFFF;
    caps->MaxStreams = std::min<DWORD>(16, AtLeastOne(limits.maxVertexAttribs));
    caps->MaxStreamStride = 508;
    caps->DeclTypes = kDeclTypes;
}

void FillShaderCaps(const GlLimits& limits, D3DCAPS9* caps) {
    caps->VertexShaderVersion = D3DVS_VERSION(3, 0);
    caps->MaxVertexShaderConst = kVertexShaderConstants;
    caps->PixelShaderVersion = D3DPS_VERSION(3, 0);
    caps->PixelShader1xMaxValue = FLT_MAX;
    caps->NumSimultaneousRTs = std::min<DWORD>(4, AtLeastOne(limits.maxDrawBuffers));
    caps->VS20Caps.Caps = D3DVS20CAPS_PREDICATION;
    caps->VS20Caps.DynamicFlowControlDepth = D3DVS20_MAX_DYNAMICFLOWCONTROLDEPTH;
    caps->VS20Caps.NumTemps = D3DVS20_MAX_NUMTEMPS;
    caps->VS20Caps.StaticFlowControlDepth = D3DVS20_MAX_STATICFLOWCONTROLDEPTH;
    caps->PS20Caps.Caps = D3DPS20CAPS_ARBITRARYSWIZZLE | D3DPS20CAPS_GRADIENTINSTRUCTIONS |
                          D3DPS20CAPS_PREDICATION | D3DPS20CAPS_NODEPENDENTREADLIMIT |
                          D3DPS20CAPS_NOTEXINSTRUCTIONLIMIT;
    caps->PS20Caps.DynamicFlowControlDepth = D3DPS20_MAX_DYNAMICFLOWCONTROLDEPTH;
    caps->PS20Caps.NumTemps = D3DPS20_MAX_NUMTEMPS;
    caps->PS20Caps.StaticFlowControlDepth = D3DPS20_MAX_STATICFLOWCONTROLDEPTH;
    caps->PS20Caps.NumInstructionSlots = D3DPS20_MAX_NUMINSTRUCTIONSLOTS;
    caps->MaxVShaderInstructionsExecuted = 65535;
    caps->MaxPShaderInstructionsExecuted = 65535;
    caps->MaxVertexShader30InstructionSlots = D3DMAX30SHADERINSTRUCTIONS;
    caps->MaxPixelShader30InstructionSlots = D3DMAX30SHADERINSTRUCTIONS;
}

} // namespace

bool TextureOpClaimed(DWORD op) {
    // D3DTEXOPCAPS_* of operation n is bit n - 1.
    return op >= D3DTOP_DISABLE && op <= D3DTOP_LERP && (kTextureOps & (1u << (op - 1))) != 0;
}

void FillDeviceCaps(const GlLimits& limits, D3DCAPS9* caps) {
    std::memset(caps, 0, sizeof(*caps));
    caps->DeviceType = D3DDEVTYPE_HAL;
    caps->AdapterOrdinal = 0;
    caps->Caps2 = D3DCAPS2_DYNAMICTEXTURES | D3DCAPS2_CANAUTOGENMIPMAP;
    caps->Caps3 =
        D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD | D3DCAPS3_COPY_TO_VIDMEM | D3DCAPS3_COPY_TO_SYSTEMMEM;
    caps->PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    caps->DevCaps =
        D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_EXECUTEVIDEOMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY |
        D3DDEVCAPS_TLVERTEXVIDEOMEMORY | D3DDEVCAPS_TEXTUREVIDEOMEMORY | D3DDEVCAPS_DRAWPRIMTLVERTEX |
        D3DDEVCAPS_CANRENDERAFTERFLIP | D3DDEVCAPS_DRAWPRIMITIVES2 | D3DDEVCAPS_DRAWPRIMITIVES2EX |
        D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_PUREDEVICE;
    // Declarations whose elements share an offset are refused: no VERTEXELEMENTSCANSHARESTREAMOFFSET.
    caps->DevCaps2 = D3DDEVCAPS2_STREAMOFFSET | D3DDEVCAPS2_CAN_STRETCHRECT_FROM_TEXTURES;
    caps->MasterAdapterOrdinal = 0;
    caps->AdapterOrdinalInGroup = 0;
    caps->NumberOfAdaptersInGroup = 1;
    FillPipelineCaps(caps);
    FillTextureCaps(limits, caps);
    FillVertexCaps(limits, caps);
    FillShaderCaps(limits, caps);
    if (shaderModel2)
        LimitToShaderModel2(caps);
}

} // namespace device
} // namespace platform
