// The GL-level contract between the device's drawing path and the programs that draw: the
// fixed-function programs the device generates and the shaders the effect framework compiles.
// Both sides bind vertex inputs, varyings and fragment outputs by these fixed locations, so a
// fixed-function vertex stage can feed an effect's pixel shader and the other way round
// (separable programs in one program pipeline).
#ifndef VTR3_PLATFORM_DEVICE_SHADER_INTERFACE_H
#define VTR3_PLATFORM_DEVICE_SHADER_INTERFACE_H

namespace platform::device {

// Vertex attribute locations by Direct3D vertex semantic (usage and usage index). POSITIONT
// (pre-transformed XYZRHW) shares POSITION's location.
enum VertexAttributeLocation : int {
    kAttributePosition = 0,
    kAttributeBlendWeight = 1,
    kAttributeBlendIndices = 2,
    kAttributeNormal = 3,
    kAttributeColor0 = 4,
    kAttributeColor1 = 5,
    kAttributeTangent = 6,
    kAttributeBinormal = 7,
    kAttributeTexCoord0 = 8, // TEXCOORD n is at kAttributeTexCoord0 + n, n from 0 to 7
    kAttributeCount = 16,
};

// Varyings from the vertex to the pixel stage, every one a vec4 (components a vertex stage does not
// write read as 0, 0, 0, 1 in that order, as in Direct3D 9).
enum VaryingLocation : int {
    kVaryingColor0 = 0,    // COLOR0 (diffuse), clamped to 0..1 for shader models below 3
    kVaryingColor1 = 1,    // COLOR1 (specular)
    kVaryingTexCoord0 = 2, // TEXCOORD n is at kVaryingTexCoord0 + n, n from 0 to 7
    kVaryingFog = 10,
    kVaryingCount = 11,
};

// Fragment outputs: COLOR n is output location n.

// Texture stage / sampler register n is texture unit n; sampler uniforms are set to their unit.
constexpr int kMaxSamplers = 16;
// Vertex texture sampler n (D3DVERTEXTEXTURESAMPLER0 + n, s n of vs_3_0) is texture unit 17 + n,
// after the pixel samplers and the displacement-map sampler.
constexpr int kVertexSamplerUnit0 = 17;
constexpr int kVertexSamplers = 4;

// Every vertex stage ends through this GLSL function with its clip-space position (as Direct3D
// computes it: row vectors, depth 0..1). It writes the user clip distances and turns the position
// into GL's conventions (the y flip and the half-pixel shift that make pixel centres fall at
// integer coordinates as in Direct3D 9). The device sets the two uniforms on the bound vertex
// program before each draw that needs them. The device's drawing code owns this snippet and may
// refine it; the function's name and the two uniforms are what the effect framework relies on.
// The uniforms sit at fixed explicit locations, so the device sets them on any program without
// looking their locations up; the program's own uniforms are placed around them by the linker.
constexpr int kPositionFixupLocation = 1016;
constexpr int kClipPlanesLocation = 1017; // six locations, one per plane
constexpr const char* kVertexEpilogueGlsl = R"(
layout(location = 1016) uniform vec4 vtr3_PositionFixup;  // x, y, z: added to the flipped position, times w
layout(location = 1017) uniform vec4 vtr3_ClipPlanes[6];  // clip-space planes; disabled ones are 0
out gl_PerVertex {
    vec4 gl_Position;
    float gl_PointSize;
    float gl_ClipDistance[6];
};
void vtr3_EmitPosition(vec4 clipPosition) {
    for (int i = 0; i < 6; ++i) {
        gl_ClipDistance[i] = dot(clipPosition, vtr3_ClipPlanes[i]);
    }
    vec4 p = clipPosition;
    p.y = -p.y;
    p.xyz += vtr3_PositionFixup.xyz * p.w;
    gl_Position = p;
}
)";

// The fixed-function pixel block (uniform_blocks.h), which the device keeps bound at binding 15 for
// every draw, and Direct3D's alpha test, which is output-merger state outside any pixel shader: the
// fixed-function pixel programs and the effect framework's pixel shaders both end with
// vtr3_AlphaPasses on the alpha of COLOR0. alphaReference.x is D3DRS_ALPHAREF (0 to 255),
// alphaReference.y the D3DCMP function in force (0 while the test is off). The alpha is compared as
// the 8-bit value that is written.
constexpr const char* kFixedPixelBlockGlsl = R"(
layout(std140, binding = 15) uniform Vtr3FixedPixel {
    vec4 textureFactor;
    vec4 alphaReference;
    vec4 stageConstant[8];
    vec4 fogColor;
    vec4 fog;
    vec4 bumpMatrix[8];    // D3DTSS_BUMPENVMAT00, 01, 10, 11 of each stage
    vec4 bumpLuminance[8]; // D3DTSS_BUMPENVLSCALE, LOFFSET
} vtr3_ff;
)";
constexpr const char* kAlphaTestGlsl = R"(
bool vtr3_AlphaPasses(float alpha, int func) {
    float a = floor(clamp(alpha, 0.0, 1.0) * 255.0 + 0.5);
    float reference = vtr3_ff.alphaReference.x;
    switch (func) {
    case 1: return false;
    case 2: return a < reference;
    case 3: return a == reference;
    case 4: return a <= reference;
    case 5: return a > reference;
    case 6: return a != reference;
    case 7: return a >= reference;
    default: return true;
    }
}
)";

// Direct3D's fog, applied after the pixel stage below shader model 3 (fixed-function programs and
// the effect framework's ps_1_x and ps_2_x shaders): the colour is blended towards the fog colour
// by a factor from 1 (clear) to 0 (all fog); alpha is left alone. fog.x is the mode: 0 none,
// kFogModeVertex the factor the vertex stage wrote to the FOG varying, kFogModeVertex + D3DFOG_EXP,
// _EXP2 or _LINEAR table fog computed here; fog.y to w are the start, end and density. fogColor.a
// is 1 when table fog reads the eye distance (1 / w) rather than the depth z.
constexpr int kFogModeVertex = 1;
// The factor of D3DFOG_EXP, _EXP2 or _LINEAR at distance d; `fog` holds the start, end and density.
// Both stages compute it: the vertex stage for vertex fog, the pixel stage for table fog.
constexpr const char* kFogFactorGlsl = R"(
float vtr3_FogFactor(int mode, float d, vec3 fog) {
    float density = fog.z * d;
    float range = fog.y - fog.x;
    float f = mode == 1 ? exp(-density)
            : mode == 2 ? exp(-density * density)
            : range != 0.0 ? (fog.y - d) / range
            : d < fog.y ? 1.0 : 0.0;
    return clamp(f, 0.0, 1.0);
}
)";
constexpr const char* kFogGlsl = R"(
vec3 vtr3_Fogged(vec3 color, float vertexFactor) {
    int mode = int(vtr3_ff.fog.x);
    if (mode == 0) {
        return color;
    }
    float f = clamp(vertexFactor, 0.0, 1.0);
    if (mode > 1) {
        float d = vtr3_ff.fogColor.a > 0.5 ? 1.0 / gl_FragCoord.w : gl_FragCoord.z;
        f = vtr3_FogFactor(mode - 1, d, vtr3_ff.fog.yzw);
    }
    return mix(vtr3_ff.fogColor.rgb, color, f);
}
)";

} // namespace platform::device

#endif
