// The state names a pass or a sampler_state block may assign, and the named constants their values
// take (case-insensitive, as the effect compiler reads them).
#ifndef VTR3_PLATFORM_FX_EFFECT_STATES_H
#define VTR3_PLATFORM_FX_EFFECT_STATES_H

#include <d3d9.h>

#include <string>

namespace platform::fx {

enum class StateKind {
    Render,
    Sampler,
    Stage,
    Texture,
    SamplerObject,
    VertexShader,
    PixelShader,
    Transform,
    Light,       // a field of light [n] (id: LightField), set through GetLight/SetLight
    LightEnable, // LightEnable[n]
    Material,    // a field of the material (id: MaterialField)
    // Float constant registers from [n] on (id: ShaderConstantId)
    ShaderConstant
};

// A ShaderConstant state's id: bit 0 the pixel stage, the bits above it the registers it writes at
// most (0: as many as its parameter fills).
constexpr DWORD ShaderConstantId(bool pixel, DWORD registers) {
    return (registers << 1) | (pixel ? 1u : 0u);
}

enum LightField : DWORD {
    kLightType,
    kLightDiffuse,
    kLightSpecular,
    kLightAmbient,
    kLightPosition,
    kLightDirection,
    kLightRange,
    kLightFalloff,
    kLightAttenuation0,
    kLightAttenuation1,
    kLightAttenuation2,
    kLightTheta,
    kLightPhi
};
enum MaterialField : DWORD {
    kMaterialDiffuse,
    kMaterialAmbient,
    kMaterialSpecular,
    kMaterialEmissive,
    kMaterialPower
};

enum class ValueType {
    Bool,
    Dword,
    Float,
    Color,
    Compare,
    Blend,
    BlendOp,
    Cull,
    Fill,
    Shade,
    StencilOp,
    Fog,
    ZBuffer,
    MaterialSource,
    ColorWrite,
    TextureOp,
    TextureArg,
    Address,
    Filter,
    TextureTransformFlags,
    VertexBlend,
    Wrap,
    LightType,
    Vector, // up to four floats: a colour or a position
    Object
};

struct StateInfo {
    const char* name;
    StateKind kind;
    DWORD id; // D3DRENDERSTATETYPE, D3DSAMPLERSTATETYPE, D3DTEXTURESTAGESTATETYPE or D3DTRANSFORMSTATETYPE
    ValueType type;
};

// Null when the name is no state (inSampler: the states of a sampler_state block).
const StateInfo* FindState(const std::string& name, bool inSampler);

// A literal or named value (names may be joined with '|'). False with a message when the value does
// not fit the state.
bool ResolveNamedValue(ValueType type, const std::string& names, DWORD* value, std::string* error);
DWORD NumberToState(ValueType type, float number);

} // namespace platform::fx

#endif
