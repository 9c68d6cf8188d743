#include "fx/effect_states.h"

#include <cstring>
#include <strings.h>

namespace platform::fx {
namespace {

// clang-format off
const StateInfo kPassStates[] = {
    {"ZEnable", StateKind::Render, D3DRS_ZENABLE, ValueType::ZBuffer},
    {"FillMode", StateKind::Render, D3DRS_FILLMODE, ValueType::Fill},
    {"ShadeMode", StateKind::Render, D3DRS_SHADEMODE, ValueType::Shade},
    {"ZWriteEnable", StateKind::Render, D3DRS_ZWRITEENABLE, ValueType::Bool},
    {"AlphaTestEnable", StateKind::Render, D3DRS_ALPHATESTENABLE, ValueType::Bool},
    {"LastPixel", StateKind::Render, D3DRS_LASTPIXEL, ValueType::Bool},
    {"SrcBlend", StateKind::Render, D3DRS_SRCBLEND, ValueType::Blend},
    {"DestBlend", StateKind::Render, D3DRS_DESTBLEND, ValueType::Blend},
    {"CullMode", StateKind::Render, D3DRS_CULLMODE, ValueType::Cull},
    {"ZFunc", StateKind::Render, D3DRS_ZFUNC, ValueType::Compare},
    {"AlphaRef", StateKind::Render, D3DRS_ALPHAREF, ValueType::Dword},
    {"AlphaFunc", StateKind::Render, D3DRS_ALPHAFUNC, ValueType::Compare},
    {"DitherEnable", StateKind::Render, D3DRS_DITHERENABLE, ValueType::Bool},
    {"AlphaBlendEnable", StateKind::Render, D3DRS_ALPHABLENDENABLE, ValueType::Bool},
    {"FogEnable", StateKind::Render, D3DRS_FOGENABLE, ValueType::Bool},
    {"SpecularEnable", StateKind::Render, D3DRS_SPECULARENABLE, ValueType::Bool},
    {"FogColor", StateKind::Render, D3DRS_FOGCOLOR, ValueType::Color},
    {"FogTableMode", StateKind::Render, D3DRS_FOGTABLEMODE, ValueType::Fog},
    {"FogStart", StateKind::Render, D3DRS_FOGSTART, ValueType::Float},
    {"FogEnd", StateKind::Render, D3DRS_FOGEND, ValueType::Float},
    {"FogDensity", StateKind::Render, D3DRS_FOGDENSITY, ValueType::Float},
    {"RangeFogEnable", StateKind::Render, D3DRS_RANGEFOGENABLE, ValueType::Bool},
    {"StencilEnable", StateKind::Render, D3DRS_STENCILENABLE, ValueType::Bool},
    {"StencilFail", StateKind::Render, D3DRS_STENCILFAIL, ValueType::StencilOp},
    {"StencilZFail", StateKind::Render, D3DRS_STENCILZFAIL, ValueType::StencilOp},
    {"StencilPass", StateKind::Render, D3DRS_STENCILPASS, ValueType::StencilOp},
    {"StencilFunc", StateKind::Render, D3DRS_STENCILFUNC, ValueType::Compare},
    {"StencilRef", StateKind::Render, D3DRS_STENCILREF, ValueType::Dword},
    {"StencilMask", StateKind::Render, D3DRS_STENCILMASK, ValueType::Dword},
    {"StencilWriteMask", StateKind::Render, D3DRS_STENCILWRITEMASK, ValueType::Dword},
    {"TextureFactor", StateKind::Render, D3DRS_TEXTUREFACTOR, ValueType::Color},
    {"Wrap0", StateKind::Render, D3DRS_WRAP0, ValueType::Wrap},
    {"Wrap1", StateKind::Render, D3DRS_WRAP1, ValueType::Wrap},
    {"Wrap2", StateKind::Render, D3DRS_WRAP2, ValueType::Wrap},
    {"Wrap3", StateKind::Render, D3DRS_WRAP3, ValueType::Wrap},
    {"Clipping", StateKind::Render, D3DRS_CLIPPING, ValueType::Bool},
    {"Lighting", StateKind::Render, D3DRS_LIGHTING, ValueType::Bool},
    {"Ambient", StateKind::Render, D3DRS_AMBIENT, ValueType::Color},
    {"FogVertexMode", StateKind::Render, D3DRS_FOGVERTEXMODE, ValueType::Fog},
    {"ColorVertex", StateKind::Render, D3DRS_COLORVERTEX, ValueType::Bool},
    {"LocalViewer", StateKind::Render, D3DRS_LOCALVIEWER, ValueType::Bool},
    {"NormalizeNormals", StateKind::Render, D3DRS_NORMALIZENORMALS, ValueType::Bool},
    {"DiffuseMaterialSource", StateKind::Render, D3DRS_DIFFUSEMATERIALSOURCE, ValueType::MaterialSource},
    {"SpecularMaterialSource", StateKind::Render, D3DRS_SPECULARMATERIALSOURCE, ValueType::MaterialSource},
    {"AmbientMaterialSource", StateKind::Render, D3DRS_AMBIENTMATERIALSOURCE, ValueType::MaterialSource},
    {"EmissiveMaterialSource", StateKind::Render, D3DRS_EMISSIVEMATERIALSOURCE, ValueType::MaterialSource},
    {"VertexBlend", StateKind::Render, D3DRS_VERTEXBLEND, ValueType::VertexBlend},
    {"ClipPlaneEnable", StateKind::Render, D3DRS_CLIPPLANEENABLE, ValueType::Dword},
    {"PointSize", StateKind::Render, D3DRS_POINTSIZE, ValueType::Float},
    {"PointSize_Min", StateKind::Render, D3DRS_POINTSIZE_MIN, ValueType::Float},
    {"PointSpriteEnable", StateKind::Render, D3DRS_POINTSPRITEENABLE, ValueType::Bool},
    {"PointScaleEnable", StateKind::Render, D3DRS_POINTSCALEENABLE, ValueType::Bool},
    {"PointScale_A", StateKind::Render, D3DRS_POINTSCALE_A, ValueType::Float},
    {"PointScale_B", StateKind::Render, D3DRS_POINTSCALE_B, ValueType::Float},
    {"PointScale_C", StateKind::Render, D3DRS_POINTSCALE_C, ValueType::Float},
    {"MultiSampleAntialias", StateKind::Render, D3DRS_MULTISAMPLEANTIALIAS, ValueType::Bool},
    {"MultiSampleMask", StateKind::Render, D3DRS_MULTISAMPLEMASK, ValueType::Dword},
    {"PointSize_Max", StateKind::Render, D3DRS_POINTSIZE_MAX, ValueType::Float},
    {"IndexedVertexBlendEnable", StateKind::Render, D3DRS_INDEXEDVERTEXBLENDENABLE, ValueType::Bool},
    {"ColorWriteEnable", StateKind::Render, D3DRS_COLORWRITEENABLE, ValueType::ColorWrite},
    {"TweenFactor", StateKind::Render, D3DRS_TWEENFACTOR, ValueType::Float},
    {"BlendOp", StateKind::Render, D3DRS_BLENDOP, ValueType::BlendOp},
    {"ScissorTestEnable", StateKind::Render, D3DRS_SCISSORTESTENABLE, ValueType::Bool},
    {"SlopeScaleDepthBias", StateKind::Render, D3DRS_SLOPESCALEDEPTHBIAS, ValueType::Float},
    {"AntialiasedLineEnable", StateKind::Render, D3DRS_ANTIALIASEDLINEENABLE, ValueType::Bool},
    {"TwoSidedStencilMode", StateKind::Render, D3DRS_TWOSIDEDSTENCILMODE, ValueType::Bool},
    {"CCW_StencilFail", StateKind::Render, D3DRS_CCW_STENCILFAIL, ValueType::StencilOp},
    {"CCW_StencilZFail", StateKind::Render, D3DRS_CCW_STENCILZFAIL, ValueType::StencilOp},
    {"CCW_StencilPass", StateKind::Render, D3DRS_CCW_STENCILPASS, ValueType::StencilOp},
    {"CCW_StencilFunc", StateKind::Render, D3DRS_CCW_STENCILFUNC, ValueType::Compare},
    {"ColorWriteEnable1", StateKind::Render, D3DRS_COLORWRITEENABLE1, ValueType::ColorWrite},
    {"ColorWriteEnable2", StateKind::Render, D3DRS_COLORWRITEENABLE2, ValueType::ColorWrite},
    {"ColorWriteEnable3", StateKind::Render, D3DRS_COLORWRITEENABLE3, ValueType::ColorWrite},
    {"BlendFactor", StateKind::Render, D3DRS_BLENDFACTOR, ValueType::Color},
    {"SRGBWriteEnable", StateKind::Render, D3DRS_SRGBWRITEENABLE, ValueType::Bool},
    {"DepthBias", StateKind::Render, D3DRS_DEPTHBIAS, ValueType::Float},
    {"SeparateAlphaBlendEnable", StateKind::Render, D3DRS_SEPARATEALPHABLENDENABLE, ValueType::Bool},
    {"SrcBlendAlpha", StateKind::Render, D3DRS_SRCBLENDALPHA, ValueType::Blend},
    {"DestBlendAlpha", StateKind::Render, D3DRS_DESTBLENDALPHA, ValueType::Blend},
    {"BlendOpAlpha", StateKind::Render, D3DRS_BLENDOPALPHA, ValueType::BlendOp},
    {"ColorOp", StateKind::Stage, D3DTSS_COLOROP, ValueType::TextureOp},
    {"ColorArg0", StateKind::Stage, D3DTSS_COLORARG0, ValueType::TextureArg},
    {"ColorArg1", StateKind::Stage, D3DTSS_COLORARG1, ValueType::TextureArg},
    {"ColorArg2", StateKind::Stage, D3DTSS_COLORARG2, ValueType::TextureArg},
    {"AlphaOp", StateKind::Stage, D3DTSS_ALPHAOP, ValueType::TextureOp},
    {"AlphaArg0", StateKind::Stage, D3DTSS_ALPHAARG0, ValueType::TextureArg},
    {"AlphaArg1", StateKind::Stage, D3DTSS_ALPHAARG1, ValueType::TextureArg},
    {"AlphaArg2", StateKind::Stage, D3DTSS_ALPHAARG2, ValueType::TextureArg},
    {"ResultArg", StateKind::Stage, D3DTSS_RESULTARG, ValueType::TextureArg},
    {"TexCoordIndex", StateKind::Stage, D3DTSS_TEXCOORDINDEX, ValueType::Dword},
    {"TextureTransformFlags", StateKind::Stage, D3DTSS_TEXTURETRANSFORMFLAGS, ValueType::TextureTransformFlags},
    {"BumpEnvMat00", StateKind::Stage, D3DTSS_BUMPENVMAT00, ValueType::Float},
    {"BumpEnvMat01", StateKind::Stage, D3DTSS_BUMPENVMAT01, ValueType::Float},
    {"BumpEnvMat10", StateKind::Stage, D3DTSS_BUMPENVMAT10, ValueType::Float},
    {"BumpEnvMat11", StateKind::Stage, D3DTSS_BUMPENVMAT11, ValueType::Float},
    {"BumpEnvLScale", StateKind::Stage, D3DTSS_BUMPENVLSCALE, ValueType::Float},
    {"BumpEnvLOffset", StateKind::Stage, D3DTSS_BUMPENVLOFFSET, ValueType::Float},
    {"Texture", StateKind::Texture, 0, ValueType::Object},
    {"Sampler", StateKind::SamplerObject, 0, ValueType::Object},
    {"VertexShader", StateKind::VertexShader, 0, ValueType::Object},
    {"PixelShader", StateKind::PixelShader, 0, ValueType::Object},
    {"VertexShaderConstant", StateKind::ShaderConstant, ShaderConstantId(false, 0), ValueType::Object},
    {"VertexShaderConstantF", StateKind::ShaderConstant, ShaderConstantId(false, 0), ValueType::Object},
    {"VertexShaderConstant1", StateKind::ShaderConstant, ShaderConstantId(false, 1), ValueType::Object},
    {"VertexShaderConstant2", StateKind::ShaderConstant, ShaderConstantId(false, 2), ValueType::Object},
    {"VertexShaderConstant3", StateKind::ShaderConstant, ShaderConstantId(false, 3), ValueType::Object},
    {"VertexShaderConstant4", StateKind::ShaderConstant, ShaderConstantId(false, 4), ValueType::Object},
    {"PixelShaderConstant", StateKind::ShaderConstant, ShaderConstantId(true, 0), ValueType::Object},
    {"PixelShaderConstantF", StateKind::ShaderConstant, ShaderConstantId(true, 0), ValueType::Object},
    {"PixelShaderConstant1", StateKind::ShaderConstant, ShaderConstantId(true, 1), ValueType::Object},
    {"PixelShaderConstant2", StateKind::ShaderConstant, ShaderConstantId(true, 2), ValueType::Object},
    {"PixelShaderConstant3", StateKind::ShaderConstant, ShaderConstantId(true, 3), ValueType::Object},
    {"PixelShaderConstant4", StateKind::ShaderConstant, ShaderConstantId(true, 4), ValueType::Object},
    {"WorldTransform", StateKind::Transform, D3DTS_WORLD, ValueType::Object},
    {"ViewTransform", StateKind::Transform, D3DTS_VIEW, ValueType::Object},
    {"ProjectionTransform", StateKind::Transform, D3DTS_PROJECTION, ValueType::Object},
    {"TextureTransform", StateKind::Transform, D3DTS_TEXTURE0, ValueType::Object},
    {"LightEnable", StateKind::LightEnable, 0, ValueType::Bool},
    {"LightType", StateKind::Light, kLightType, ValueType::LightType},
    {"LightDiffuse", StateKind::Light, kLightDiffuse, ValueType::Vector},
    {"LightSpecular", StateKind::Light, kLightSpecular, ValueType::Vector},
    {"LightAmbient", StateKind::Light, kLightAmbient, ValueType::Vector},
    {"LightPosition", StateKind::Light, kLightPosition, ValueType::Vector},
    {"LightDirection", StateKind::Light, kLightDirection, ValueType::Vector},
    {"LightRange", StateKind::Light, kLightRange, ValueType::Float},
    {"LightFalloff", StateKind::Light, kLightFalloff, ValueType::Float},
    {"LightAttenuation0", StateKind::Light, kLightAttenuation0, ValueType::Float},
    {"LightAttenuation1", StateKind::Light, kLightAttenuation1, ValueType::Float},
    {"LightAttenuation2", StateKind::Light, kLightAttenuation2, ValueType::Float},
    {"LightTheta", StateKind::Light, kLightTheta, ValueType::Float},
    {"LightPhi", StateKind::Light, kLightPhi, ValueType::Float},
    {"MaterialDiffuse", StateKind::Material, kMaterialDiffuse, ValueType::Vector},
    {"MaterialAmbient", StateKind::Material, kMaterialAmbient, ValueType::Vector},
    {"MaterialSpecular", StateKind::Material, kMaterialSpecular, ValueType::Vector},
    {"MaterialEmissive", StateKind::Material, kMaterialEmissive, ValueType::Vector},
    {"MaterialPower", StateKind::Material, kMaterialPower, ValueType::Float},
};

const StateInfo kSamplerStates[] = {
    {"Texture", StateKind::Texture, 0, ValueType::Object},
    {"AddressU", StateKind::Sampler, D3DSAMP_ADDRESSU, ValueType::Address},
    {"AddressV", StateKind::Sampler, D3DSAMP_ADDRESSV, ValueType::Address},
    {"AddressW", StateKind::Sampler, D3DSAMP_ADDRESSW, ValueType::Address},
    {"BorderColor", StateKind::Sampler, D3DSAMP_BORDERCOLOR, ValueType::Color},
    {"MagFilter", StateKind::Sampler, D3DSAMP_MAGFILTER, ValueType::Filter},
    {"MinFilter", StateKind::Sampler, D3DSAMP_MINFILTER, ValueType::Filter},
    {"MipFilter", StateKind::Sampler, D3DSAMP_MIPFILTER, ValueType::Filter},
    {"MipMapLodBias", StateKind::Sampler, D3DSAMP_MIPMAPLODBIAS, ValueType::Float},
    {"MaxMipLevel", StateKind::Sampler, D3DSAMP_MAXMIPLEVEL, ValueType::Dword},
    {"MaxAnisotropy", StateKind::Sampler, D3DSAMP_MAXANISOTROPY, ValueType::Dword},
    {"SRGBTexture", StateKind::Sampler, D3DSAMP_SRGBTEXTURE, ValueType::Bool},
    {"ElementIndex", StateKind::Sampler, D3DSAMP_ELEMENTINDEX, ValueType::Dword},
};

struct Named {
    const char* name;
    DWORD value;
};

const Named kBool[] = {{"true", 1}, {"false", 0}};
const Named kCompare[] = {{"Never", 1}, {"Less", 2}, {"Equal", 3}, {"LessEqual", 4}, {"Greater", 5},
                          {"NotEqual", 6}, {"GreaterEqual", 7}, {"Always", 8}};
const Named kBlend[] = {{"Zero", 1}, {"One", 2}, {"SrcColor", 3}, {"InvSrcColor", 4}, {"SrcAlpha", 5},
                        {"InvSrcAlpha", 6}, {"DestAlpha", 7}, {"InvDestAlpha", 8}, {"DestColor", 9},
                        {"InvDestColor", 10}, {"SrcAlphaSat", 11}, {"BothSrcAlpha", 12},
                        {"BothInvSrcAlpha", 13}, {"BlendFactor", 14}, {"InvBlendFactor", 15}};
const Named kBlendOp[] = {{"Add", 1}, {"Subtract", 2}, {"RevSubtract", 3}, {"Min", 4}, {"Max", 5}};
const Named kCull[] = {{"None", 1}, {"CW", 2}, {"CCW", 3}};
const Named kFill[] = {{"Point", 1}, {"Wireframe", 2}, {"Solid", 3}};
const Named kShade[] = {{"Flat", 1}, {"Gouraud", 2}, {"Phong", 3}};
const Named kStencilOp[] = {{"Keep", 1}, {"Zero", 2}, {"Replace", 3}, {"IncrSat", 4}, {"DecrSat", 5},
                            {"Invert", 6}, {"Incr", 7}, {"Decr", 8}};
const Named kFog[] = {{"None", 0}, {"Exp", 1}, {"Exp2", 2}, {"Linear", 3}};
const Named kZBuffer[] = {{"false", 0}, {"true", 1}, {"UseW", 2}};
const Named kMaterialSource[] = {{"Material", 0}, {"Color1", 1}, {"Color2", 2}};
const Named kColorWrite[] = {{"Red", 1}, {"Green", 2}, {"Blue", 4}, {"Alpha", 8}};
const Named kTextureOp[] = {{"Disable", 1}, {"SelectArg1", 2}, {"SelectArg2", 3}, {"Modulate", 4},
                            {"Modulate2x", 5}, {"Modulate4x", 6}, {"Add", 7}, {"AddSigned", 8},
                            {"AddSigned2x", 9}, {"Subtract", 10}, {"AddSmooth", 11},
                            {"BlendDiffuseAlpha", 12}, {"BlendTextureAlpha", 13}, {"BlendFactorAlpha", 14},
                            {"BlendTextureAlphaPM", 15}, {"BlendCurrentAlpha", 16}, {"PreModulate", 17},
                            {"ModulateAlpha_AddColor", 18}, {"ModulateColor_AddAlpha", 19},
                            {"ModulateInvAlpha_AddColor", 20}, {"ModulateInvColor_AddAlpha", 21},
                            {"BumpEnvMap", 22}, {"BumpEnvMapLuminance", 23}, {"DotProduct3", 24},
                            {"MultiplyAdd", 25}, {"Lerp", 26}};
const Named kTextureArg[] = {{"Diffuse", 0}, {"Current", 1}, {"Texture", 2}, {"TFactor", 3},
                             {"Specular", 4}, {"Temp", 5}, {"Constant", 6}, {"Complement", 0x10},
                             {"AlphaReplicate", 0x20}};
const Named kAddress[] = {{"Wrap", 1}, {"Mirror", 2}, {"Clamp", 3}, {"Border", 4}, {"MirrorOnce", 5}};
const Named kFilter[] = {{"None", 0}, {"Point", 1}, {"Linear", 2}, {"Anisotropic", 3},
                         {"PyramidalQuad", 6}, {"GaussianQuad", 7}};
const Named kTextureTransformFlags[] = {{"Disable", 0}, {"Count1", 1}, {"Count2", 2}, {"Count3", 3},
                                        {"Count4", 4}, {"Projected", 256}};
const Named kVertexBlend[] = {{"Disable", 0}, {"1Weights", 1}, {"2Weights", 2}, {"3Weights", 3},
                              {"Tweening", 255}, {"0Weights", 256}};
const Named kLightType[] = {{"Point", D3DLIGHT_POINT}, {"Spot", D3DLIGHT_SPOT}, {"Directional", D3DLIGHT_DIRECTIONAL}};
const Named kWrap[] = {{"U", 1}, {"V", 2}, {"W", 4}, {"Coord0", 1}, {"Coord1", 2}, {"Coord2", 4}, {"Coord3", 8}};
// clang-format on

struct Table {
    const Named* names;
    std::size_t count;
};

template <std::size_t N> Table Of(const Named (&names)[N]) {
    return Table{names, N};
}

Table TableFor(ValueType type) {
    switch (type) {
    case ValueType::Bool:
        return Of(kBool);
    case ValueType::LightType:
        return Of(kLightType);
    case ValueType::Compare:
        return Of(kCompare);
    case ValueType::Blend:
        return Of(kBlend);
    case ValueType::BlendOp:
        return Of(kBlendOp);
    case ValueType::Cull:
        return Of(kCull);
    case ValueType::Fill:
        return Of(kFill);
    case ValueType::Shade:
        return Of(kShade);
    case ValueType::StencilOp:
        return Of(kStencilOp);
    case ValueType::Fog:
        return Of(kFog);
    case ValueType::ZBuffer:
        return Of(kZBuffer);
    case ValueType::MaterialSource:
        return Of(kMaterialSource);
    case ValueType::ColorWrite:
        return Of(kColorWrite);
    case ValueType::TextureOp:
        return Of(kTextureOp);
    case ValueType::TextureArg:
        return Of(kTextureArg);
    case ValueType::Address:
        return Of(kAddress);
    case ValueType::Filter:
        return Of(kFilter);
    case ValueType::TextureTransformFlags:
        return Of(kTextureTransformFlags);
    case ValueType::VertexBlend:
        return Of(kVertexBlend);
    case ValueType::Wrap:
        return Of(kWrap);
    default:
        return Of(kBool);
    }
}

std::string Trim(const std::string& text) {
    const std::size_t b = text.find_first_not_of(" \t\r\n");
    const std::size_t e = text.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
}

} // namespace

const StateInfo* FindState(const std::string& name, bool inSampler) {
    const StateInfo* begin = inSampler ? kSamplerStates : kPassStates;
    const std::size_t count = inSampler ? std::size(kSamplerStates) : std::size(kPassStates);
    for (std::size_t i = 0; i < count; ++i) {
        if (strcasecmp(begin[i].name, name.c_str()) == 0)
            return &begin[i];
    }
    // Sampler states may also be written in a pass with an index: MinFilter[0] = Linear.
    if (!inSampler) {
        const StateInfo* sampler = FindState(name, true);
        if (sampler && sampler->kind == StateKind::Sampler)
            return sampler;
    }
    return nullptr;
}

DWORD NumberToState(ValueType type, float number) {
    if (type == ValueType::Float) {
        DWORD bits = 0;
        std::memcpy(&bits, &number, sizeof(bits));
        return bits;
    }
    if (number < 0.0f)
        return static_cast<DWORD>(static_cast<long long>(number));
    return number >= 4294967295.0f ? 0xFFFFFFFFu : static_cast<DWORD>(number);
}

bool ResolveNamedValue(ValueType type, const std::string& names, DWORD* value, std::string* error) {
    *value = 0;
    const Table table = TableFor(type);
    const bool plainType = type == ValueType::Dword || type == ValueType::Float || type == ValueType::Color ||
                           type == ValueType::Object;
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t bar = names.find('|', start);
        if (bar == std::string::npos)
            bar = names.size();
        const std::string name = Trim(names.substr(start, bar - start));
        bool found = false;
        for (std::size_t i = 0; !plainType && i < table.count; ++i) {
            if (strcasecmp(table.names[i].name, name.c_str()) == 0) {
                *value |= table.names[i].value;
                found = true;
                break;
            }
        }
        if (!found && (type == ValueType::Dword || type == ValueType::Color) &&
            (strcasecmp(name.c_str(), "true") == 0 || strcasecmp(name.c_str(), "false") == 0)) {
            *value |= strcasecmp(name.c_str(), "true") == 0 ? 1u : 0u;
            found = true;
        }
        if (!found) {
            *error = "invalid state value '" + name + "'";
            return false;
        }
        start = bar + 1;
    }
    return true;
}

} // namespace platform::fx
