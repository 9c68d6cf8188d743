// D3DX's parts apart from the device: the size, format and mip levels of a texture made from a file
// for each way of asking; Windows paths opening on Linux (backslashes separate, and names that do not
// exist as written are matched component by component without regard to case); the box and sphere
// geometry (counts, extents, normals and clockwise winding seen from outside); vertex formats as
// declarations and back.
#include "scoped_directory.h"

#include "d3dx/path_resolver.h"
#include "d3dx/texture_plan.h"
#include "device/vertex_input.h"
#include "mesh/shape_geometry.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <tuple>

using platform::d3dx::DeviceLimits;
using platform::d3dx::PlanTexture;
using platform::d3dx::ResolvePath;
using platform::d3dx::ResolvePathForWriting;
using platform::d3dx::TextureRequest;
using platform::image::Image;
using platform::mesh::ShapeGeometry;

namespace {

TEST(TexturePlan, SizesLevelsAndFormatsFollowTheRequestTheFileAndTheDevice) {
    DeviceLimits small; // a 256-texel device that takes only the 32-bit RGB formats
    small.maxWidth = small.maxHeight = 256;
    small.supports = [](D3DFORMAT format) { return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8; };
    DeviceLimits pow2Only;
    pow2Only.pow2Only = true;
    constexpr UINT kDefault = D3DX_DEFAULT, kNonPow2 = D3DX_DEFAULT_NONPOW2, kFromFile = D3DX_FROM_FILE;
    struct Case {
        UINT width, height, levels; // the file's
        D3DFORMAT decoded;          // the file's bytes as decoded (the file itself stores R8G8B8)
        TextureRequest request;
        DeviceLimits limits;
        UINT expectedWidth, expectedHeight, expectedLevels;
        D3DFORMAT expectedFormat;
    };
    constexpr D3DFORMAT kX8 = D3DFMT_X8R8G8B8, kAny = D3DFMT_UNKNOWN, kFile = D3DFMT_FROM_FILE;
    const Case cases[] = {
        // Defaults round up to powers of two with a whole chain, in the decoded format.
        {300, 200, 1, kX8, {kDefault, kDefault, kDefault, kDefault, kAny}, {}, 512, 256, 10, kX8},
        // Non-power-of-two and from-file keep the file's; a power-of-two device rounds up.
        {300, 200, 3, kX8, {kNonPow2, kFromFile, 1, kFromFile, kFile}, {}, 300, 200, 3, D3DFMT_R8G8B8},
        {300, 200, 1, kX8, {kNonPow2, 0, 1, 0, kAny}, pow2Only, 512, 256, 10, kX8},
        // Explicit values stay, the levels clamped to the chain.
        {300, 200, 1, kX8, {64, 16, 1, 20, D3DFMT_R5G6B5}, {}, 64, 16, 7, D3DFMT_R5G6B5},
        // Formats the device lacks fall back; the size stays within the device.
        {1024, 100, 1, D3DFMT_L8, {kDefault, kDefault, 1, 1, kAny}, small, 256, 128, 1, kX8},
        {4, 4, 1, D3DFMT_DXT5, {0, 0, 1, 1, kAny}, small, 4, 4, 1, D3DFMT_A8R8G8B8},
    };
    for (const Case& c : cases) {
        Image file;
        file.format = c.decoded;
        file.width = c.width;
        file.height = c.height;
        file.levels = c.levels;
        const auto shape =
            PlanTexture(file, c.decoded == kX8 ? D3DFMT_R8G8B8 : c.decoded, c.request, c.limits);
        EXPECT_EQ(std::make_tuple(shape.width, shape.height, shape.depth, shape.levels, shape.format),
                  std::make_tuple(c.expectedWidth, c.expectedHeight, 1u, c.expectedLevels, c.expectedFormat))
            << c.width << "x" << c.height << " from " << c.decoded;
    }
}

TEST(PathResolver, BackslashesAndWrongCaseFindTheFileExactNamesWinAndTiesGoToTheFirst) {
    ScopedDirectory directory;
    std::filesystem::create_directories("Content/Textures");
    for (const char* name :
         {"Content/Textures/Stone.PNG", "Content/Textures/stone.png", "Content/Textures/STONE.png"})
        std::ofstream(name) << "x";
    EXPECT_EQ(ResolvePath("Content\\Textures\\Stone.PNG"), "Content/Textures/Stone.PNG");
    EXPECT_EQ(ResolvePath("Content/Textures/stone.png"), "Content/Textures/stone.png");
    // "STONE.png" < "Stone.PNG" < "stone.png" in byte order.
    EXPECT_EQ(ResolvePath("content\\TEXTURES\\Stone.Png"), "Content/Textures/STONE.png");
    EXPECT_EQ(ResolvePath(".\\content\\textures\\..\\Textures\\STONE.png"),
              "./Content/Textures/../Textures/STONE.png");
    const std::string absolute = (directory.path() / "CONTENT\\textures\\Stone.PNG").string();
    EXPECT_EQ(ResolvePath(absolute.c_str()), (directory.path() / "Content/Textures/Stone.PNG").string());
    // Missing names come back with slashes; new files go into the matching directory.
    EXPECT_EQ(ResolvePath("Content\\Missing\\Stone.PNG"), "Content/Missing/Stone.PNG");
    EXPECT_EQ(ResolvePath(""), "");
    EXPECT_EQ(ResolvePathForWriting("content\\textures\\Shot.png"), "Content/Textures/Shot.png");
    EXPECT_EQ(ResolvePathForWriting("content\\textures\\stone.PNG"), "Content/Textures/STONE.png");
    EXPECT_EQ(ResolvePathForWriting("shot.bmp"), "shot.bmp");
}

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

namespace {

using Element = D3DVERTEXELEMENT9;
constexpr Element At(WORD offset, BYTE type, BYTE usage, BYTE index = 0) {
    return Element{0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index};
}

// Direct3D 9's table of equivalents, both ways, element by element, with the vertex sizes.
TEST(VertexFormats, FormatsAndDeclarationsMapBothWays) {
    struct Case {
        DWORD fvf;
        std::vector<Element> elements;
        UINT size;
    };
    const Element xyz = At(0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION);
    const Case cases[] = {
        {D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2 |
             D3DFVF_TEXCOORDSIZE3(1),
         {xyz, At(12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL),
          At(24, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR),
          At(28, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1),
          At(32, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD),
          At(40, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_TEXCOORD, 1)},
         52},
        {D3DFVF_XYZRHW | D3DFVF_PSIZE | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE1(0),
         {At(0, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITIONT), At(16, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE),
          At(20, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_TEXCOORD)},
         24},
        {D3DFVF_XYZW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE4(0),
         {At(0, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITION),
          At(16, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_TEXCOORD)},
         32},
        {D3DFVF_XYZB1, {xyz, At(12, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_BLENDWEIGHT)}, 16},
        {D3DFVF_XYZB3 | D3DFVF_LASTBETA_UBYTE4,
         {xyz, At(12, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_BLENDWEIGHT),
          At(20, D3DDECLTYPE_UBYTE4, D3DDECLUSAGE_BLENDINDICES)},
         24},
        {D3DFVF_XYZB5 | D3DFVF_LASTBETA_D3DCOLOR,
         {xyz, At(12, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_BLENDWEIGHT),
          At(28, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_BLENDINDICES)},
         32},
        {0, {}, 0},
    };
    for (const Case& c : cases) {
        std::vector<Element> expected = c.elements;
        expected.push_back(D3DDECL_END());
        Element got[MAX_FVF_DECL_SIZE];
        DWORD fvf = 1;
        ASSERT_EQ(D3DXDeclaratorFromFVF(c.fvf, got), D3D_OK) << std::hex << c.fvf;
        EXPECT_EQ(std::memcmp(got, expected.data(), expected.size() * sizeof(Element)), 0)
            << std::hex << c.fvf;
        EXPECT_EQ(D3DXGetFVFVertexSize(c.fvf), c.size) << std::hex << c.fvf;
        EXPECT_EQ(D3DXGetDeclVertexSize(expected.data(), 0), c.size) << std::hex << c.fvf;
        EXPECT_EQ(D3DXGetDeclLength(expected.data()), c.elements.size());
        EXPECT_EQ(D3DXFVFFromDeclarator(expected.data(), &fvf), D3D_OK) << std::hex << c.fvf;
        EXPECT_EQ(fvf, c.fvf);
    }
    Element got[MAX_FVF_DECL_SIZE];
    for (DWORD fvf : {DWORD{D3DFVF_XYZB5}, DWORD{0x2000}, DWORD{9u << D3DFVF_TEXCOUNT_SHIFT}})
        EXPECT_EQ(D3DXDeclaratorFromFVF(fvf, got), D3DXERR_INVALIDMESH) << std::hex << fvf;
    EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZB5), 32u); // no declaration, but a size
    // No format has these: out of order, a gap, stream 1, set 1 without set 0, a float colour, NORMAL1.
    const Element end = D3DDECL_END(), colour = At(12, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR);
    const Element refused[][3] = {
        {At(0, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR), At(4, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION),
         end},
        {At(4, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION), end, end},
        {xyz, {1, 0, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0}, end},
        {xyz, At(12, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 1), end},
        {xyz, At(12, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_COLOR), end},
        {xyz, At(12, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 1), end},
    };
    DWORD fvf = 0;
    for (const auto& elements : refused)
        EXPECT_EQ(D3DXFVFFromDeclarator(elements, &fvf), D3DERR_INVALIDCALL) << elements[1].Usage;
    const Element twoStreams[] = {xyz, {1, 4, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0}, colour, end};
    EXPECT_EQ(D3DXGetDeclVertexSize(twoStreams, 0), 16u);
    EXPECT_EQ(D3DXGetDeclVertexSize(twoStreams, 1), 8u);
}

// Each declaration type as GL reads it, value by value, and its size as D3DXGetDeclVertexSize counts it.
TEST(VertexFormats, DeclarationTypesReadAsTheirGlFormats) {
    using platform::device::DeclTypeFormat;
    const DeclTypeFormat formats[] = {
        {4, 1, GL_FLOAT, false},
        {8, 2, GL_FLOAT, false},
        {12, 3, GL_FLOAT, false},
        {16, 4, GL_FLOAT, false},
        {4, GL_BGRA, GL_UNSIGNED_BYTE, true}, // D3DCOLOR
        {4, 4, GL_UNSIGNED_BYTE, false},
        {4, 2, GL_SHORT, false},
        {8, 4, GL_SHORT, false},
        {4, 4, GL_UNSIGNED_BYTE, true},
        {4, 2, GL_SHORT, true},
        {8, 4, GL_SHORT, true},
        {4, 2, GL_UNSIGNED_SHORT, true},
        {8, 4, GL_UNSIGNED_SHORT, true},
        {4, 4, GL_UNSIGNED_INT_2_10_10_10_REV, false}, // UDEC3
        {4, 4, GL_INT_2_10_10_10_REV, true},           // DEC3N
        {4, 2, GL_HALF_FLOAT, false},
        {8, 4, GL_HALF_FLOAT, false},
    };
    static_assert(sizeof formats / sizeof formats[0] == D3DDECLTYPE_UNUSED);
    for (BYTE type = 0; type <= D3DDECLTYPE_UNUSED; ++type) {
        DeclTypeFormat got{};
        const Element elements[] = {At(0, type, D3DDECLUSAGE_TEXCOORD), D3DDECL_END()};
        ASSERT_EQ(platform::device::DeclTypeFormatOf(type, &got), type < D3DDECLTYPE_UNUSED) << int{type};
        if (type == D3DDECLTYPE_UNUSED)
            break;
        const DeclTypeFormat& f = formats[type];
        EXPECT_EQ(std::tie(got.bytes, got.size, got.type, got.normalised),
                  std::tie(f.bytes, f.size, f.type, f.normalised))
            << int{type};
        EXPECT_EQ(D3DXGetDeclVertexSize(elements, 0), f.bytes) << int{type};
    }
}

} // namespace
