// What the probe's checks share: the device with its 64 x 64 render target, pixel read-back, quads
// drawn with pre-transformed vertices, and one printed line per result.
#ifndef VTR3_TOOLS_PROBE_PROBE_SUPPORT_H
#define VTR3_TOOLS_PROBE_PROBE_SUPPORT_H

#include <d3d9.h>

#include <string>

constexpr int kSize = 64;

struct Probe {
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    IDirect3DSurface9* target = nullptr; // kSize x kSize X8R8G8B8, bound as render target 0
    IDirect3DSurface9* depth = nullptr;  // the automatic D24S8 surface
};

struct ScreenVertex {
    float x, y, z, rhw;
    DWORD colour;
    float u, v;
};
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Back to the state every check starts from: the probe's target and depth surface, no lighting,
// depth, blending, scissor, texture or sRGB, identity transforms, diffuse colour only.
void ResetState(const Probe& probe);

// A quad over the rectangle [x0, x1) x [y0, y1) of pixels at depth z, texture coordinates 0..1.
void DrawScreenQuad(IDirect3DDevice9* device, float x0, float y0, float x1, float y1, float z, DWORD colour);

// A quad at depth z through the untransformed pipeline, corners at x, y = +-edge; in a scene.
void DrawWorldQuad(IDirect3DDevice9* device, float z, DWORD colour, float edge = 1.0f);
// A float render state's bits.
DWORD FloatBits(float value);
// The pixel (x, y) of a render target as 0xRRGGBB; 0xFFFFFFFF when it cannot be read.
DWORD ReadPixel(IDirect3DDevice9* device, IDirect3DSurface9* surface, int x, int y);

std::string Rgb(DWORD pixel);       // "r,g,b" in decimal
std::string Result(HRESULT result); // the Direct3D name, or the code in hex

void Print(const char* name, const std::string& result);

#endif
