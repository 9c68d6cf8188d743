// The box and sphere geometry: counts, extents, normals and clockwise winding seen from outside.
#include "mesh/shape_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

using platform::mesh::ShapeGeometry;

namespace {

// Every triangle is front-facing (clockwise on screen) for a viewer on the side its vertices' normals
// point to: (b - a) x (c - a) along the normal in Direct3D's left-handed space.
void ExpectOutwardWinding(const ShapeGeometry& g) {
    for (std::size_t i = 0; i < g.indices.size(); i += 3) {
        const auto& a = g.vertices[g.indices[i]];
        const auto& b = g.vertices[g.indices[i + 1]];
        const auto& c = g.vertices[g.indices[i + 2]];
        const float e1[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
        const float e2[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
        const float n[3] = {a.nx + b.nx + c.nx, a.ny + b.ny + c.ny, a.nz + b.nz + c.nz};
        const float cross[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                                e1[0] * e2[1] - e1[1] * e2[0]};
        EXPECT_GT(cross[0] * n[0] + cross[1] * n[1] + cross[2] * n[2], 0.0f) << "triangle " << i / 3;
    }
}

TEST(BoxGeometry, TwentyFourVerticesTwelveFacesOnTheRequestedExtents) {
    const ShapeGeometry g = platform::mesh::BuildBox(2.0f, 4.0f, 6.0f);
    ASSERT_EQ(g.vertices.size(), 24u);
    ASSERT_EQ(g.indices.size(), 36u);
    for (const auto& v : g.vertices) {
        EXPECT_TRUE(std::fabs(v.x) == 1 && std::fabs(v.y) == 2 && std::fabs(v.z) == 3);
        // The normal is the face's: a unit axis, and the vertex lies on that face.
        EXPECT_EQ(std::fabs(v.nx) + std::fabs(v.ny) + std::fabs(v.nz), 1.0f);
        EXPECT_GT(v.x * v.nx + v.y * v.ny + v.z * v.nz, 0.0f);
    }
    ExpectOutwardWinding(g);
}

TEST(SphereGeometry, PolesRingsAndOutwardNormals) {
    const ShapeGeometry g = platform::mesh::BuildSphere(2.0f, 8, 5);
    ASSERT_EQ(g.vertices.size(), 8u * 4 + 2);
    ASSERT_EQ(g.indices.size(), 3u * 2 * 8 * 4);
    EXPECT_FLOAT_EQ(g.vertices.front().z, 2.0f);
    EXPECT_FLOAT_EQ(g.vertices.back().z, -2.0f);
    for (const auto& v : g.vertices) {
        EXPECT_NEAR(v.nx * 2.0f, v.x, 1e-5f);
        EXPECT_NEAR(v.ny * 2.0f, v.y, 1e-5f);
        EXPECT_NEAR(v.nz * 2.0f, v.z, 1e-5f);
        EXPECT_NEAR(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 1.0f, 1e-5f);
    }
    ExpectOutwardWinding(g);
}

} // namespace
