#include "device/fixed_function/program_keys.h"

#include "device/device_state.h"

#include <cstring>

namespace platform::device {
namespace {

std::size_t HashBytes(const void* data, std::size_t size) {
    // FNV-1a: the keys are a few dozen bytes; this is plenty for a cache of a handful of programs.
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

std::uint8_t Byte(DWORD value) {
    return static_cast<std::uint8_t>(value);
}

// Where a material colour comes from: a vertex colour only with D3DRS_COLORVERTEX and only if
// the vertex has that colour, otherwise the material.
std::uint8_t MaterialSource(const DeviceState& state, D3DRENDERSTATETYPE which, const FvfLayout& layout) {
    const DWORD source = state.renderStates[which];
    if (!state.renderStates[D3DRS_COLORVERTEX])
        return D3DMCS_MATERIAL;
    if (source == D3DMCS_COLOR1 && layout.diffuse)
        return D3DMCS_COLOR1;
    if (source == D3DMCS_COLOR2 && layout.specular)
        return D3DMCS_COLOR2;
    return D3DMCS_MATERIAL;
}

LightKind KindOf(D3DLIGHTTYPE type) {
    switch (type) {
    case D3DLIGHT_POINT:
        return LightKind::kPoint;
    case D3DLIGHT_SPOT:
        return LightKind::kSpot;
    case D3DLIGHT_DIRECTIONAL:
        return LightKind::kDirectional;
    default:
        return LightKind::kNone;
    }
}

bool UsesTexture(std::uint8_t op, const std::uint8_t args[3]) {
    if (op == D3DTOP_BLENDTEXTUREALPHA || op == D3DTOP_BLENDTEXTUREALPHAPM)
        return true;
    for (int i = 0; i < 3; ++i)
        if ((args[i] & D3DTA_SELECTMASK) == D3DTA_TEXTURE)
            return true;
    return false;
}

} // namespace

bool VertexProgramKey::operator==(const VertexProgramKey& other) const {
    return std::memcmp(this, &other, sizeof *this) == 0;
}

bool PixelProgramKey::operator==(const PixelProgramKey& other) const {
    return std::memcmp(this, &other, sizeof *this) == 0;
}

std::size_t ProgramKeyHash::operator()(const VertexProgramKey& key) const {
    return HashBytes(&key, sizeof key);
}

std::size_t ProgramKeyHash::operator()(const PixelProgramKey& key) const {
    return HashBytes(&key, sizeof key);
}

void BuildVertexProgramKey(const DeviceState& state, const FvfLayout& layout, VertexProgramKey* key) {
    std::memset(key, 0, sizeof *key);
    key->position = layout.position;
    key->normal = layout.normal;
    key->diffuse = layout.diffuse;
    key->specular = layout.specular;
    key->texCoordCount = layout.texCoordCount;
    std::memcpy(key->texCoordSize, layout.texCoordSize, sizeof key->texCoordSize);
    key->flatShading = state.renderStates[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
    key->specularEnable = state.renderStates[D3DRS_SPECULARENABLE] != 0;

    // Screen-space vertices skip transformation and lighting.
    const bool transformed = layout.position == PositionKind::kXyz || layout.position == PositionKind::kXyzw;
    if (transformed && state.renderStates[D3DRS_LIGHTING]) {
        key->lighting = 1;
        for (const LightSlot& slot : state.lights) {
            if (slot.enabled && key->lightCount < kFixedLights)
                key->lights[key->lightCount++] = KindOf(slot.light.Type);
        }
        key->diffuseSource = MaterialSource(state, D3DRS_DIFFUSEMATERIALSOURCE, layout);
        key->ambientSource = MaterialSource(state, D3DRS_AMBIENTMATERIALSOURCE, layout);
        key->specularSource = MaterialSource(state, D3DRS_SPECULARMATERIALSOURCE, layout);
        key->emissiveSource = MaterialSource(state, D3DRS_EMISSIVEMATERIALSOURCE, layout);
        key->normalizeNormals = state.renderStates[D3DRS_NORMALIZENORMALS] != 0;
        key->localViewer = state.renderStates[D3DRS_LOCALVIEWER] != 0;
    }
    const auto& rs = state.renderStates;
    if (transformed && rs[D3DRS_FOGENABLE] && rs[D3DRS_FOGTABLEMODE] == D3DFOG_NONE &&
        rs[D3DRS_FOGVERTEXMODE] <= D3DFOG_LINEAR) {
        key->fogMode = Byte(rs[D3DRS_FOGVERTEXMODE]);
        key->rangeFog = key->fogMode != D3DFOG_NONE && rs[D3DRS_RANGEFOGENABLE] != 0;
    }
    for (unsigned stage = 0; stage < kFixedStages; ++stage) {
        const DWORD index = state.stageStates[stage][D3DTSS_TEXCOORDINDEX];
        key->texSet[stage] = Byte(index & 7u);
        key->texGen[stage] = transformed ? Byte(index >> 16) : 0;
        const DWORD flags = state.stageStates[stage][D3DTSS_TEXTURETRANSFORMFLAGS];
        key->texTransformCount[stage] = transformed ? Byte(flags & 7u) : 0;
    }
}

void BuildPixelProgramKey(const DeviceState& state, const StageTextureKind textures[kFixedStages],
                          PixelProgramKey* key) {
    std::memset(key, 0, sizeof *key);
    for (unsigned stage = 0; stage < kFixedStages; ++stage) {
        const std::array<DWORD, kStageStateCount>& s = state.stageStates[stage];
        if (s[D3DTSS_COLOROP] == D3DTOP_DISABLE || s[D3DTSS_COLOROP] > D3DTOP_LERP)
            break; // this stage and every later one are off
        const std::uint8_t colorArgs[3] = {Byte(s[D3DTSS_COLORARG0]), Byte(s[D3DTSS_COLORARG1]),
                                           Byte(s[D3DTSS_COLORARG2])};
        // A stage whose colour reads a texture that is not set ends the cascade there, as Direct3D
        // documents: untextured geometry with the default stages shows its diffuse colour and alpha.
        if (textures[stage] == StageTextureKind::kNone && UsesTexture(Byte(s[D3DTSS_COLOROP]), colorArgs))
            break;
        StageKey& k = key->stages[stage];
        k.colorOp = Byte(s[D3DTSS_COLOROP]);
        k.colorArg[0] = Byte(s[D3DTSS_COLORARG0]);
        k.colorArg[1] = Byte(s[D3DTSS_COLORARG1]);
        k.colorArg[2] = Byte(s[D3DTSS_COLORARG2]);
        k.alphaOp = s[D3DTSS_ALPHAOP] > D3DTOP_LERP ? Byte(D3DTOP_DISABLE) : Byte(s[D3DTSS_ALPHAOP]);
        k.alphaArg[0] = Byte(s[D3DTSS_ALPHAARG0]);
        k.alphaArg[1] = Byte(s[D3DTSS_ALPHAARG1]);
        k.alphaArg[2] = Byte(s[D3DTSS_ALPHAARG2]);
        k.resultArg = Byte(s[D3DTSS_RESULTARG]) == D3DTA_TEMP ? Byte(D3DTA_TEMP) : Byte(D3DTA_CURRENT);
        const bool sampled = UsesTexture(k.colorOp, k.colorArg) ||
                             (k.alphaOp != D3DTOP_DISABLE && UsesTexture(k.alphaOp, k.alphaArg));
        k.texture = sampled ? textures[stage] : StageTextureKind::kNone;
        k.projected = (s[D3DTSS_TEXTURETRANSFORMFLAGS] & D3DTTFF_PROJECTED) != 0;
    }
    if (state.renderStates[D3DRS_ALPHATESTENABLE]) {
        const DWORD func = state.renderStates[D3DRS_ALPHAFUNC];
        key->alphaTestFunc = func >= D3DCMP_NEVER && func <= D3DCMP_ALWAYS ? Byte(func) : Byte(D3DCMP_ALWAYS);
    }
    key->specularAdd = state.renderStates[D3DRS_SPECULARENABLE] != 0;
    key->flatShading = state.renderStates[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
}

} // namespace platform::device
