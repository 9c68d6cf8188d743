#include "device/fixed_function/uniform_blocks.h"

#include "device/device_state.h"
#include "device/shader_interface.h"

#include <d3dx9math.h>

#include <cmath>
#include <cstring>

namespace platform::device {
namespace {

D3DXMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, static_cast<const D3DXMATRIX*>(&a), static_cast<const D3DXMATRIX*>(&b));
    return out;
}

Float4 FromColor(const D3DCOLORVALUE& c) {
    return Float4{c.r, c.g, c.b, c.a};
}

Float4 TransformPoint(const D3DVECTOR& v, const D3DMATRIX& m) {
    return Float4{v.x * m._11 + v.y * m._21 + v.z * m._31 + m._41,
                  v.x * m._12 + v.y * m._22 + v.z * m._32 + m._42,
                  v.x * m._13 + v.y * m._23 + v.z * m._33 + m._43, 1.0f};
}

Float4 TransformNormalised(const D3DVECTOR& v, const D3DMATRIX& m, float sign) {
    Float4 d{v.x * m._11 + v.y * m._21 + v.z * m._31, v.x * m._12 + v.y * m._22 + v.z * m._32,
             v.x * m._13 + v.y * m._23 + v.z * m._33, 0.0f};
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const float scale = length > 0.0f ? sign / length : 0.0f;
    return Float4{d.x * scale, d.y * scale, d.z * scale, 0.0f};
}

void FillLight(const D3DLIGHT9& light, const D3DMATRIX& view, FixedLight* out) {
    out->diffuse = FromColor(light.Diffuse);
    out->specular = FromColor(light.Specular);
    out->ambient = FromColor(light.Ambient);
    out->position = TransformPoint(light.Position, view);
    out->position.w = light.Range;
    // Directional lights shine along Direction; lighting wants the vector towards the light.
    const float sign = light.Type == D3DLIGHT_DIRECTIONAL ? -1.0f : 1.0f;
    out->direction = TransformNormalised(light.Direction, view, sign);
    out->attenuation = Float4{light.Attenuation0, light.Attenuation1, light.Attenuation2, light.Falloff};
    out->spot = Float4{std::cos(light.Theta * 0.5f), std::cos(light.Phi * 0.5f), 0.0f, 0.0f};
}

} // namespace

Float4 ColorFromArgb(DWORD argb) {
    return Float4{static_cast<float>((argb >> 16) & 0xFF) / 255.0f,
                  static_cast<float>((argb >> 8) & 0xFF) / 255.0f, static_cast<float>(argb & 0xFF) / 255.0f,
                  static_cast<float>(argb >> 24) / 255.0f};
}

void FillFixedVertexBlock(const DeviceState& state, const D3DVIEWPORT9& viewport, FixedVertexBlock* block) {
    const D3DXMATRIX worldView = Multiply(state.world[0], state.view);
    block->worldView = worldView;
    block->worldViewProjection = Multiply(worldView, state.projection);
    D3DXMATRIX inverse;
    if (!D3DXMatrixInverse(&inverse, nullptr, &worldView))
        D3DXMatrixIdentity(&inverse);
    D3DXMATRIX normalMatrix;
    D3DXMatrixTranspose(&normalMatrix, &inverse);
    // Row vectors: a normal n transforms as n x (worldView^-1)^T.
    block->normalMatrix = normalMatrix;
    for (unsigned stage = 0; stage < kFixedStages; ++stage)
        block->textureMatrix[stage] = state.textureTransforms[stage];

    const float width = viewport.Width ? static_cast<float>(viewport.Width) : 1.0f;
    const float height = viewport.Height ? static_cast<float>(viewport.Height) : 1.0f;
    block->viewport =
        Float4{static_cast<float>(viewport.X), static_cast<float>(viewport.Y), 2.0f / width, 2.0f / height};
    const float depthSpan = viewport.MaxZ - viewport.MinZ;
    block->depthRange = Float4{viewport.MinZ, depthSpan != 0.0f ? 1.0f / depthSpan : 0.0f, 0.0f, 0.0f};

    block->materialDiffuse = FromColor(state.material.Diffuse);
    block->materialAmbient = FromColor(state.material.Ambient);
    block->materialSpecular = FromColor(state.material.Specular);
    block->materialEmissive = FromColor(state.material.Emissive);
    block->materialPower = Float4{state.material.Power, 0.0f, 0.0f, 0.0f};
    block->globalAmbient = ColorFromArgb(state.renderStates[D3DRS_AMBIENT]);
    block->fog =
        Float4{AsFloat(state.renderStates[D3DRS_FOGSTART]), AsFloat(state.renderStates[D3DRS_FOGEND]),
               AsFloat(state.renderStates[D3DRS_FOGDENSITY]), 0.0f};
    unsigned count = 0;
    for (const LightSlot& slot : state.lights) {
        if (slot.enabled && count < kFixedLights)
            FillLight(slot.light, state.view, &block->lights[count++]);
    }
}

void FillFixedPixelBlock(const DeviceState& state, FixedPixelBlock* block) {
    block->textureFactor = ColorFromArgb(state.renderStates[D3DRS_TEXTUREFACTOR]);
    const auto& rs = state.renderStates;
    // An effect's pixel shader compares with the function given here; an unknown one passes all.
    DWORD func = 0;
    if (rs[D3DRS_ALPHATESTENABLE]) {
        func = rs[D3DRS_ALPHAFUNC];
        if (func < D3DCMP_NEVER || func > D3DCMP_ALWAYS)
            func = D3DCMP_ALWAYS;
    }
    block->alphaReference =
        Float4{static_cast<float>(rs[D3DRS_ALPHAREF] & 0xFF), static_cast<float>(func), 0.0f, 0.0f};
    for (unsigned stage = 0; stage < kFixedStages; ++stage) {
        const auto& ss = state.stageStates[stage];
        block->stageConstant[stage] = ColorFromArgb(ss[D3DTSS_CONSTANT]);
        block->bumpMatrix[stage] = Float4{AsFloat(ss[D3DTSS_BUMPENVMAT00]), AsFloat(ss[D3DTSS_BUMPENVMAT01]),
                                          AsFloat(ss[D3DTSS_BUMPENVMAT10]), AsFloat(ss[D3DTSS_BUMPENVMAT11])};
        block->bumpLuminance[stage] =
            Float4{AsFloat(ss[D3DTSS_BUMPENVLSCALE]), AsFloat(ss[D3DTSS_BUMPENVLOFFSET]), 0.0f, 0.0f};
    }

    // Table fog takes over from vertex fog; without either, the vertex stage's factor is the
    // specular alpha (or a vertex shader's FOG output).
    float mode = 0.0f;
    if (rs[D3DRS_FOGENABLE]) {
        const DWORD table = rs[D3DRS_FOGTABLEMODE] <= D3DFOG_LINEAR ? rs[D3DRS_FOGTABLEMODE] : 0;
        mode = static_cast<float>(kFogModeVertex + static_cast<int>(table));
    }
    // Eye distance for a perspective projection, depth for an affine one (Direct3D's w-fog rule).
    const D3DMATRIX& p = state.projection;
    const bool affine = p._14 == 0.0f && p._24 == 0.0f && p._34 == 0.0f && p._44 == 1.0f;
    block->fogColor = ColorFromArgb(rs[D3DRS_FOGCOLOR]);
    block->fogColor.w = affine ? 0.0f : 1.0f;
    block->fog =
        Float4{mode, AsFloat(rs[D3DRS_FOGSTART]), AsFloat(rs[D3DRS_FOGEND]), AsFloat(rs[D3DRS_FOGDENSITY])};
}

void ClipSpacePlanes(const DeviceState& state, float planes[][4]) {
    const D3DXMATRIX viewProjection = Multiply(state.view, state.projection);
    D3DXMATRIX inverse;
    if (!D3DXMatrixInverse(&inverse, nullptr, &viewProjection))
        D3DXMatrixIdentity(&inverse);
    D3DXMATRIX inverseTranspose;
    D3DXMatrixTranspose(&inverseTranspose, &inverse);
    for (DWORD i = 0; i < kClipPlaneCount; ++i) {
        const D3DXPLANE world(state.clipPlanes[i][0], state.clipPlanes[i][1], state.clipPlanes[i][2],
                              state.clipPlanes[i][3]);
        D3DXPLANE clip;
        D3DXPlaneTransform(&clip, &world, &inverseTranspose);
        planes[i][0] = clip.a;
        planes[i][1] = clip.b;
        planes[i][2] = clip.c;
        planes[i][3] = clip.d;
    }
}

} // namespace platform::device
