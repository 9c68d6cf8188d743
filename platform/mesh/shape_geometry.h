// The geometry of D3DX's simple solids, centred on the origin, with positions and normals (the
// D3DFVF_XYZ | D3DFVF_NORMAL layout of D3DXCreateBox and D3DXCreateSphere) and triangle lists wound
// clockwise as seen from outside, Direct3D's front faces.
#ifndef VTR3_PLATFORM_MESH_SHAPE_GEOMETRY_H
#define VTR3_PLATFORM_MESH_SHAPE_GEOMETRY_H

#include <d3d9.h>

#include <vector>

namespace platform::mesh {

struct ShapeVertex {
    float x, y, z;
    float nx, ny, nz;
};

struct ShapeGeometry {
    std::vector<ShapeVertex> vertices;
    std::vector<DWORD> indices; // three per face
};

// A box of width (x), height (y) and depth (z): six faces of four vertices each with the face's normal,
// two triangles a face: 24 vertices, 12 faces. The faces come in the order -X, +X, -Y, +Y, -Z, +Z.
ShapeGeometry BuildBox(float width, float height, float depth);

// A sphere around the z axis: a vertex at each pole (+z first, -z last) and stacks - 1 rings of
// `slices` vertices between them, normals pointing outward: slices * (stacks - 1) + 2 vertices and
// 2 * slices * (stacks - 1) faces.
ShapeGeometry BuildSphere(float radius, UINT slices, UINT stacks);

} // namespace platform::mesh

#endif
