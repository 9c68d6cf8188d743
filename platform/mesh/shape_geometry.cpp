#include "mesh/shape_geometry.h"

#include <array>
#include <cmath>
#include <utility>

namespace platform::mesh {
namespace {

// Orders a triangle's last two corners so that it is clockwise seen from the side `outward` points to:
// with Direct3D's left-handed axes that is (b - a) x (c - a) pointing outward.
void AddTriangle(ShapeGeometry* g, DWORD a, DWORD b, DWORD c, const float outward[3]) {
    const ShapeVertex& va = g->vertices[a];
    const ShapeVertex& vb = g->vertices[b];
    const ShapeVertex& vc = g->vertices[c];
    const float e1[3] = {vb.x - va.x, vb.y - va.y, vb.z - va.z};
    const float e2[3] = {vc.x - va.x, vc.y - va.y, vc.z - va.z};
    const float cross[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                            e1[0] * e2[1] - e1[1] * e2[0]};
    if (cross[0] * outward[0] + cross[1] * outward[1] + cross[2] * outward[2] < 0)
        std::swap(b, c);
    g->indices.insert(g->indices.end(), {a, b, c});
}

// The shapes are wound on their unit form, where no triangle is degenerate, and scaled afterwards.
void Scale(ShapeGeometry* g, float sx, float sy, float sz) {
    for (ShapeVertex& v : g->vertices) {
        v.x *= sx;
        v.y *= sy;
        v.z *= sz;
    }
}

} // namespace

ShapeGeometry BuildBox(float width, float height, float depth) {
    ShapeGeometry g;
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign = -1; sign <= 1; sign += 2) {
            const int u = (axis + 1) % 3;
            const int v = (axis + 2) % 3;
            float normal[3] = {0, 0, 0};
            normal[axis] = static_cast<float>(sign);
            const DWORD first = static_cast<DWORD>(g.vertices.size());
            // Corners around the face: (-u,-v), (+u,-v), (+u,+v), (-u,+v).
            const int corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            for (const auto& corner : corners) {
                float p[3];
                p[axis] = static_cast<float>(sign);
                p[u] = static_cast<float>(corner[0]);
                p[v] = static_cast<float>(corner[1]);
                g.vertices.push_back(ShapeVertex{p[0], p[1], p[2], normal[0], normal[1], normal[2]});
            }
            AddTriangle(&g, first, first + 1, first + 2, normal);
            AddTriangle(&g, first, first + 2, first + 3, normal);
        }
    }
    Scale(&g, width / 2, height / 2, depth / 2);
    return g;
}

ShapeGeometry BuildSphere(float radius, UINT slices, UINT stacks) {
    ShapeGeometry g;
    const double pi = std::acos(-1.0);
    g.vertices.push_back(ShapeVertex{0, 0, 1, 0, 0, 1});
    for (UINT stack = 1; stack < stacks; ++stack) {
        const double phi = pi * stack / stacks;
        for (UINT slice = 0; slice < slices; ++slice) {
            const double theta = 2 * pi * slice / slices;
            const float nx = static_cast<float>(std::sin(phi) * std::cos(theta));
            const float ny = static_cast<float>(std::sin(phi) * std::sin(theta));
            const float nz = static_cast<float>(std::cos(phi));
            g.vertices.push_back(ShapeVertex{nx, ny, nz, nx, ny, nz});
        }
    }
    g.vertices.push_back(ShapeVertex{0, 0, -1, 0, 0, -1});
    const DWORD bottom = static_cast<DWORD>(g.vertices.size() - 1);
    auto ring = [slices](UINT stack, UINT slice) { return 1 + (stack - 1) * slices + slice % slices; };
    // Outward is the direction from the centre, the sum of the corners' normals.
    auto outward = [&g](DWORD a, DWORD b, DWORD c) {
        const ShapeVertex* v[3] = {&g.vertices[a], &g.vertices[b], &g.vertices[c]};
        return std::array<float, 3>{v[0]->nx + v[1]->nx + v[2]->nx, v[0]->ny + v[1]->ny + v[2]->ny,
                                    v[0]->nz + v[1]->nz + v[2]->nz};
    };
    auto add = [&](DWORD a, DWORD b, DWORD c) {
        const std::array<float, 3> out = outward(a, b, c);
        AddTriangle(&g, a, b, c, out.data());
    };
    for (UINT slice = 0; slice < slices; ++slice)
        add(0, ring(1, slice), ring(1, slice + 1));
    for (UINT stack = 1; stack + 1 < stacks; ++stack) {
        for (UINT slice = 0; slice < slices; ++slice) {
            add(ring(stack, slice), ring(stack + 1, slice), ring(stack + 1, slice + 1));
            add(ring(stack, slice), ring(stack + 1, slice + 1), ring(stack, slice + 1));
        }
    }
    for (UINT slice = 0; slice < slices; ++slice)
        add(bottom, ring(stacks - 1, slice + 1), ring(stacks - 1, slice));
    Scale(&g, radius, radius, radius);
    return g;
}

} // namespace platform::mesh
