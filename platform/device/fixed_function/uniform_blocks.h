// The uniform blocks of the generated fixed-function programs, laid out as std140 so that one
// buffer upload carries them. Matrices stay in Direct3D's row-major order; the GLSL side declares
// them row_major and multiplies row vectors (v * M), as Direct3D does.
#ifndef VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_UNIFORM_BLOCKS_H
#define VTR3_PLATFORM_DEVICE_FIXED_FUNCTION_UNIFORM_BLOCKS_H

#include "device/fixed_function/program_keys.h"

#include <d3d9types.h>

namespace platform::device {

// Binding points, apart from the low ones an effect's own blocks would take. Effects' pixel shaders
// read the pixel block too (kFixedPixelBlockGlsl in shader_interface.h names binding 15).
constexpr unsigned kFixedVertexBlockBinding = 14;
constexpr unsigned kFixedPixelBlockBinding = 15;

struct alignas(16) Float4 {
    float x, y, z, w;
};

struct FixedLight {
    Float4 diffuse;
    Float4 specular;
    Float4 ambient;
    Float4 position;    // view space; w is the range
    Float4 direction;   // view space, normalised; towards the light for directional lights
    Float4 attenuation; // attenuation 0, 1, 2 and spot falloff
    Float4 spot;        // cos(theta / 2), cos(phi / 2)
};

struct FixedVertexBlock {
    D3DMATRIX worldViewProjection;
    D3DMATRIX worldView;
    D3DMATRIX normalMatrix; // inverse transpose of worldView
    D3DMATRIX textureMatrix[kFixedStages];
    Float4 viewport;   // x, y, 2 / width, 2 / height: screen-space vertices to clip space
    Float4 depthRange; // min z, 1 / (max z - min z)
    Float4 materialDiffuse;
    Float4 materialAmbient;
    Float4 materialSpecular;
    Float4 materialEmissive;
    Float4 materialPower;
    Float4 globalAmbient;
    FixedLight lights[kFixedLights];
    Float4 fog; // start, end, density
};

struct FixedPixelBlock {
    Float4 textureFactor;
    Float4 alphaReference; // x: D3DRS_ALPHAREF, 0 to 255; y: the alpha test's D3DCMP, 0 when off
    Float4 stageConstant[kFixedStages];
    Float4 fogColor; // a: 1 when table fog reads the eye distance (kFogGlsl in shader_interface.h)
    Float4 fog;      // mode, start, end, density
    // Per stage, for texbem, texbeml and bem: D3DTSS_BUMPENVMAT00, 01, 10 and 11; and
    // D3DTSS_BUMPENVLSCALE and LOFFSET in x and y.
    Float4 bumpMatrix[kFixedStages];
    Float4 bumpLuminance[kFixedStages];
};

static_assert(sizeof(D3DMATRIX) == 64);
static_assert(sizeof(FixedLight) == 7 * 16);

struct DeviceState;

// Fills the blocks from the state; the viewport gives the screen-space mapping.
void FillFixedVertexBlock(const DeviceState& state, const D3DVIEWPORT9& viewport, FixedVertexBlock* block);
void FillFixedPixelBlock(const DeviceState& state, FixedPixelBlock* block);

// D3DCOLOR (A8R8G8B8) as red, green, blue, alpha from 0 to 1.
Float4 ColorFromArgb(DWORD argb);
// The clip-space plane of a world-space one: plane x inverse-transpose of (view x projection).
void ClipSpacePlanes(const DeviceState& state, float planes[][4]);

} // namespace platform::device

#endif
