// The device's mirror of Direct3D 9 state: what the setters recorded, with Direct3D's documented
// defaults, and dirty bits that tell the prepare-draw step which groups of GL state to bring up to
// date. Setters only record and mark; nothing here calls GL.
#ifndef VTR3_PLATFORM_DEVICE_DEVICE_STATE_H
#define VTR3_PLATFORM_DEVICE_DEVICE_STATE_H

#include <d3d9.h>

#include <array>
#include <cstdint>
#include <vector>

namespace platform::device {

constexpr DWORD kRenderStateCount = D3DRS_BLENDOPALPHA + 1;
constexpr DWORD kTextureStageCount = 8;
constexpr DWORD kStageStateCount = D3DTSS_CONSTANT + 1;
constexpr DWORD kPixelSamplerCount = 16;
// Pixel samplers 0..15, then the displacement-map sampler and the four vertex samplers.
constexpr DWORD kSamplerSlotCount = kPixelSamplerCount + 1 + 4;
constexpr DWORD kSamplerStateCount = D3DSAMP_DMAPOFFSET + 1;
constexpr DWORD kClipPlaneCount = 6;
constexpr DWORD kMaxActiveLights = 8;
// Light indices are the caller's choice; this bounds the table they index.
constexpr DWORD kMaxLightIndex = 4096;
constexpr DWORD kWorldMatrixCount = 256;

// Groups of GL state the prepare-draw step applies when their bit is set.
enum StateGroup : std::uint32_t {
    kStateBlend = 1u << 0,
    kStateDepthStencil = 1u << 1,
    kStateRasterizer = 1u << 2,  // cull and fill mode, depth bias
    kStateOutputMasks = 1u << 3, // colour write mask, scissor
    kStateViewport = 1u << 4,
    kStateVertexInput = 1u << 5,     // FVF: attribute formats
    kStateVertexProgram = 1u << 6,   // state the fixed-function vertex program is keyed by
    kStatePixelProgram = 1u << 7,    // state the fixed-function pixel program is keyed by
    kStateVertexConstants = 1u << 8, // transforms, material, lights
    kStatePixelConstants = 1u << 9,  // texture factor, alpha reference, stage constants
    kStateClipPlanes = 1u << 10,
    kStateSamplers = 1u << 11,       // see DeviceState::dirtySamplers
    kStateTextures = 1u << 12,       // texture bindings
    kStateShaderPrograms = 1u << 13, // the effect framework's programs
    kStateAll = (1u << 14) - 1,
};

struct LightSlot {
    D3DLIGHT9 light;
    bool set = false;
    bool enabled = false;
};

struct DeviceState {
    std::array<DWORD, kRenderStateCount> renderStates{};
    std::array<std::array<DWORD, kStageStateCount>, kTextureStageCount> stageStates{};
    std::array<std::array<DWORD, kSamplerStateCount>, kSamplerSlotCount> samplerStates{};
    D3DMATRIX view{};
    D3DMATRIX projection{};
    std::array<D3DMATRIX, kTextureStageCount> textureTransforms{};
    std::array<D3DMATRIX, kWorldMatrixCount> world{};
    D3DMATERIAL9 material{};
    // Grows when a light index is first set (never on the draw path).
    std::vector<LightSlot> lights;
    std::array<std::array<float, 4>, kClipPlaneCount> clipPlanes{};
    DWORD fvf = 0;
    RECT scissorRect{};

    std::uint32_t dirty = kStateAll;
    std::uint32_t dirtySamplers = (1u << kSamplerSlotCount) - 1;

    // Direct3D 9's defaults for a device whose presentation asks for a depth buffer or not; the
    // scissor rectangle is the render target's size.
    void Reset(bool autoDepthStencil, UINT targetWidth, UINT targetHeight);
    unsigned EnabledLightCount() const;
};

// Maps D3DSAMP's sampler numbers (0..15, D3DDMAPSAMPLER, D3DVERTEXTEXTURESAMPLER0..3) to a slot;
// false for any other number.
bool SamplerSlot(DWORD sampler, DWORD* slot);
// Whether a render state is one Direct3D 9 defines.
bool IsRenderState(DWORD state);
bool IsStageState(DWORD type);
// The dirty groups a change of this render state touches.
std::uint32_t RenderStateDirtyBits(DWORD state);
// The float a state such as D3DRS_FOGSTART holds in its bits.
float AsFloat(DWORD bits);
std::uint32_t StageStateDirtyBits(DWORD type);

} // namespace platform::device

#endif
