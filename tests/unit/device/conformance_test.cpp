// Answers Direct3D 9 fixes for the device: ValidateDevice, Clear over surfaces of other sizes than
// render target 0, StretchRect into off-screen plain surfaces, the refused raw shader interface, vertex
// declarations beside SetFVF, ProcessVertices, and BeginScene, EndScene and Present as Direct3D 9 documents
// them.
#include "../resources/resource_fixture.h"

namespace {

using ConformanceTest = ResourceFixture;
using SceneTest = ResourceFixture;

TEST_F(ConformanceTest, ValidateDeviceAnswersForTheStagesInUse) {
    struct Case {
        DWORD stage, state, value;
        HRESULT expected;
    };
    const Case cases[] = {
        {0, D3DTSS_COLOROP, D3DTOP_MODULATE, D3D_OK}, // the default state
        {0, D3DTSS_COLOROP, D3DTOP_BUMPENVMAP, D3DERR_UNSUPPORTEDCOLOROPERATION},
        {0, D3DTSS_ALPHAOP, D3DTOP_PREMODULATE, D3DERR_UNSUPPORTEDALPHAOPERATION},
        {2, D3DTSS_COLOROP, D3DTOP_BUMPENVMAP, D3D_OK}, // after stage 1's DISABLE: not in use
    };
    for (const Case& c : cases) {
        ASSERT_EQ(
            device_->SetTextureStageState(c.stage, static_cast<D3DTEXTURESTAGESTATETYPE>(c.state), c.value),
            D3D_OK);
        DWORD passes = 7;
        EXPECT_EQ(device_->ValidateDevice(&passes), c.expected) << c.value;
        EXPECT_EQ(passes, c.expected == D3D_OK ? 1u : 0u);
        ASSERT_EQ(device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE), D3D_OK);
        ASSERT_EQ(device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1), D3D_OK);
    }
    EXPECT_EQ(device_->ValidateDevice(nullptr), D3DERR_INVALIDCALL);
}

// Each surface is cleared as far as it reaches, not only where all of them overlap.
TEST_F(ConformanceTest, ClearReachesSurfacesOfOtherSizes) {
    IDirect3DSurface9* small = RenderTarget(16, 16, D3DFMT_X8R8G8B8);
    IDirect3DSurface9* smallDepth = nullptr;
    ASSERT_EQ(device_->CreateDepthStencilSurface(16, 16, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE,
                                                 &smallDepth, nullptr),
              D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(1, small), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(smallDepth), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699, 1.0f, 0), D3D_OK);
    ReadBack();
    EXPECT_EQ(Count(Pixel{0x99, 0x66, 0x33, 0xFF}), std::size_t{width_} * height_);
    const std::vector<std::uint8_t> bytes = TargetBytes(small, 64); // its last pixel: (15, 15)
    EXPECT_EQ(std::vector<int>(bytes.end() - 4, bytes.end() - 1), (std::vector<int>{0x99, 0x66, 0x33}));
    ASSERT_EQ(device_->SetRenderTarget(1, nullptr), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    smallDepth->Release();
    small->Release();
}

// Direct3D 9's table: between off-screen plain surfaces only an unstretched copy.
TEST_F(ConformanceTest, StretchRectBetweenPlainSurfacesDoesNotStretchAndCopiesWholeDepthSurfaces) {
    IDirect3DSurface9* a = PlainSurface(16, 16, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DSurface9* b = PlainSurface(16, 16, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    const RECT whole{0, 0, 16, 16}, half{0, 0, 8, 8}, shifted{8, 8, 16, 16};
    EXPECT_EQ(device_->StretchRect(a, nullptr, b, nullptr, D3DTEXF_NONE), D3D_OK);
    EXPECT_EQ(device_->StretchRect(a, &half, b, &shifted, D3DTEXF_NONE), D3D_OK);
    EXPECT_EQ(device_->StretchRect(a, &whole, b, &half, D3DTEXF_POINT), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->StretchRect(a, &half, b, &whole, D3DTEXF_LINEAR), D3DERR_INVALIDCALL);
    b->Release();
    a->Release();
    // Between depth surfaces only whole ones, named by null or by their full rectangle: a copy of
    // depth 0.25 reads 0.25.
    IDirect3DSurface9 *from = nullptr, *to = nullptr, *original = nullptr;
    for (IDirect3DSurface9** depth : {&from, &to})
        ASSERT_EQ(device_->CreateDepthStencilSurface(16, 16, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE,
                                                     depth, nullptr),
                  D3D_OK);
    ASSERT_EQ(device_->GetDepthStencilSurface(&original), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(from), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 0.25f, 0), D3D_OK);
    EXPECT_EQ(device_->StretchRect(from, &half, to, &half, D3DTEXF_NONE), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->StretchRect(from, &whole, to, nullptr, D3DTEXF_NONE), D3D_OK);
    EXPECT_EQ(device_->StretchRect(from, nullptr, to, &whole, D3DTEXF_POINT), D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(to), D3D_OK);
    std::vector<float> depth;
    ASSERT_TRUE(platform::ReadDepthStencil(device_, &depth, nullptr, nullptr, nullptr));
    EXPECT_FLOAT_EQ(depth[8 * 16 + 8], 0.25f);
    ASSERT_EQ(device_->SetDepthStencilSurface(original), D3D_OK);
    original->Release();
    from->Release();
    to->Release();
}

// Refused creations leave no object behind: bytecode of the other stage for shaders.
TEST_F(ConformanceTest, RawShaderInterfaceRefusesWithNullObjects) {
    const DWORD vertexTokens[] = {0xFFFF0200, 0x0000FFFF}; // ps_2_0, end
    const DWORD pixelTokens[] = {0xFFFE0200, 0x0000FFFF};  // vs_2_0, end
    auto* sentinel = reinterpret_cast<void*>(std::uintptr_t{0x1234});
    auto* vertexShader = static_cast<IDirect3DVertexShader9*>(sentinel);
    auto* pixelShader = static_cast<IDirect3DPixelShader9*>(sentinel);
    EXPECT_EQ(device_->CreateVertexShader(vertexTokens, &vertexShader), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreatePixelShader(pixelTokens, &pixelShader), D3DERR_INVALIDCALL);
    EXPECT_EQ(vertexShader, nullptr);
    EXPECT_EQ(pixelShader, nullptr);
}

// Elements after a FLOAT3 position at offset 0 that CreateVertexDeclaration refuses; then what
// GetFVF and GetVertexDeclaration answer as SetFVF and declarations replace each other (Wine's
// answers, tools/probe), and the references each holds.
TEST_F(ConformanceTest, VertexDeclarationsRefuseBadElementsAndReplaceTheFvf) {
    using Element = D3DVERTEXELEMENT9;
    const Element position{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, end = D3DDECL_END();
    const Element refused[] = {
        {0, 8, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},  // overlaps the position
        {0, 12, D3DDECLTYPE_UNUSED, 0, D3DDECLUSAGE_COLOR, 0},   // no type
        {0, 14, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0}, // offset not a multiple of 4
        {16, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_NORMAL, 0},  // stream 16
        {0, 12, D3DDECLTYPE_D3DCOLOR, 7, D3DDECLUSAGE_COLOR, 0}, // method
        {0, 12, D3DDECLTYPE_D3DCOLOR, 0, 14, 0},                 // usage
        {0, 12, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 16},
        {0xFF, 0, D3DDECLTYPE_FLOAT1, 0, 0, 0}, // an end of another type
    };
    IDirect3DVertexDeclaration9* declaration = nullptr;
    for (const Element& e : refused) {
        const Element elements[] = {position, e, end};
        EXPECT_EQ(device_->CreateVertexDeclaration(elements, &declaration), D3DERR_INVALIDCALL) << e.Offset;
    }
    std::vector<Element> long_(MAXD3DDECLLENGTH + 1, Element{0, 0, D3DDECLTYPE_FLOAT1, 0, 0, 0});
    for (WORD i = 0; i < long_.size(); ++i)
        long_[i].Offset = static_cast<WORD>(4 * i);
    EXPECT_EQ(device_->CreateVertexDeclaration(long_.data(), &declaration), D3DERR_INVALIDCALL); // no end
    EXPECT_EQ(device_->CreateVertexDeclaration(nullptr, &declaration), D3DERR_INVALIDCALL);
    long_.back() = end;
    ASSERT_EQ(device_->CreateVertexDeclaration(long_.data(), &declaration), D3D_OK);
    UINT count = 0;
    Element got[MAXD3DDECLLENGTH + 1];
    EXPECT_EQ(declaration->GetDeclaration(got, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(declaration->GetDeclaration(nullptr, &count), D3D_OK);
    EXPECT_EQ(count, MAXD3DDECLLENGTH + 1u);
    EXPECT_EQ(declaration->GetDeclaration(got, &count), D3D_OK);
    EXPECT_EQ(std::memcmp(got, long_.data(), sizeof got), 0);

    // Each step, then GetFVF and the elements (with the end) of GetVertexDeclaration's answer (0:
    // null), which stays alive while it is set.
    const auto expect = [&](DWORD fvf, UINT elements, int line) {
        DWORD gotFvf = 1;
        IDirect3DVertexDeclaration9* current = nullptr;
        EXPECT_EQ(device_->GetFVF(&gotFvf), D3D_OK);
        EXPECT_EQ(device_->GetVertexDeclaration(&current), D3D_OK);
        count = 0;
        if (current && current->GetDeclaration(nullptr, &count) == D3D_OK)
            current->Release();
        EXPECT_EQ(gotFvf, fvf) << line;
        EXPECT_EQ(count, elements) << line;
        return current;
    };
    EXPECT_EQ(expect(0, 0, __LINE__), nullptr);
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE), D3D_OK);
    EXPECT_EQ(expect(D3DFVF_XYZ | D3DFVF_DIFFUSE, 3, __LINE__),
              expect(D3DFVF_XYZ | D3DFVF_DIFFUSE, 3, __LINE__));
    ASSERT_EQ(device_->SetFVF(0), D3D_OK); // changes nothing
    expect(D3DFVF_XYZ | D3DFVF_DIFFUSE, 3, __LINE__);
    ASSERT_EQ(device_->SetVertexDeclaration(declaration), D3D_OK);
    EXPECT_EQ(declaration->AddRef(), 2u); // the binding's hold is the device's own
    declaration->Release();
    EXPECT_EQ(expect(0, MAXD3DDECLLENGTH + 1, __LINE__), declaration);
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZRHW), D3D_OK);
    IDirect3DVertexDeclaration9* implicit = expect(D3DFVF_XYZRHW, 2, __LINE__);
    ASSERT_NE(implicit, nullptr);
    implicit->AddRef();
    ASSERT_EQ(device_->SetVertexDeclaration(nullptr), D3D_OK);
    expect(0, 0, __LINE__);
    ASSERT_EQ(device_->SetVertexDeclaration(implicit), D3D_OK); // answers the FVF it stands for
    EXPECT_EQ(expect(D3DFVF_XYZRHW, 2, __LINE__), implicit);
    EXPECT_EQ(implicit->Release(), 0u);
    EXPECT_EQ(declaration->Release(), 0u);
}

// A draw may not read past a buffer's end through the part of a vertex its format reads: neither an
// FVF wider than the stride nor an element far into the vertex; a user-pointer draw's stride must
// hold the vertex. A declaration that skips stream 0 draws with stream 0 unbound.
TEST_F(ConformanceTest, DrawsReadNoFurtherThanTheirBuffers) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(48, 0, 0, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device_->CreateIndexBuffer(6, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
    ASSERT_EQ(device_->SetIndices(indices), D3D_OK);
    const D3DVERTEXELEMENT9 far[] = {{0, 36, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    const D3DVERTEXELEMENT9 second[] = {{1, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                        D3DDECL_END()};
    IDirect3DVertexDeclaration9 *farDeclaration = nullptr, *secondDeclaration = nullptr;
    ASSERT_EQ(device_->CreateVertexDeclaration(far, &farDeclaration), D3D_OK);
    ASSERT_EQ(device_->CreateVertexDeclaration(second, &secondDeclaration), D3D_OK);
    const float vertices[12] = {};
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    // XYZB1 is 16 bytes: three fill the buffer.
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 0, 16), D3D_OK);
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZB1), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    // Three vertices of 12 bytes: XYZ fits, XYZ | DIFFUSE (16 bytes) reads 4 past the last one.
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 12, 12), D3D_OK);
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZ), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, vertices, 12), D3DERR_INVALIDCALL);
    EXPECT_EQ(
        device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 1, vertices, D3DFMT_INDEX16, vertices, 12),
        D3DERR_INVALIDCALL);
    // Stride 4 from offset 0: the element at 36 ends at 48 for the first vertex only.
    ASSERT_EQ(device_->SetVertexDeclaration(farDeclaration), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 0, 4), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_POINTLIST, 0, 1), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_POINTLIST, 0, 2), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->SetVertexDeclaration(secondDeclaration), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, nullptr, 0, 0), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(1, buffer, 0, 12), D3D_OK);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(1, nullptr, 0, 0), D3D_OK);
    ASSERT_EQ(device_->SetIndices(nullptr), D3D_OK);
    ASSERT_EQ(device_->SetVertexDeclaration(nullptr), D3D_OK);
    for (IUnknown* object :
         std::initializer_list<IUnknown*>{farDeclaration, secondDeclaration, indices, buffer})
        EXPECT_EQ(object->Release(), 0u);
}

// ProcessVertices under a world that moves x by 0.5, from XYZW into vertices 1 to 3 of an XYZRHW
// buffer: (0, 0, 0.5) lands at (1.5 * 32, 24) of the 64 x 48 viewport, (-0.5, 0.5, 0.25) at (32, 12);
// (2, 0, 0.5) lies outside the view volume and stays in projection space, (2.5, 0, 0.5, 1).
// D3DPV_DONOTCOPYDATA writes vertex 0's position only.
TEST_F(ConformanceTest, ProcessVerticesTransformsToTheViewport) {
    struct Vertex {
        float x, y, z, w;
        D3DCOLOR colour;
        float u, v;
    };
    const DWORD fvf = D3DFVF_DIFFUSE | D3DFVF_TEX1;
    const Vertex in[3] = {{0, 0, 0.5f, 1, 0xFF112233, 0.25f, 0.75f},
                          {-0.5f, 0.5f, 0.25f, 1, 0xFF445566, 1, 2},
                          {2, 0, 0.5f, 1, 0xFF778899, 3, 4}};
    const Vertex expected[5] = {{48, 24, 0.5f, 1, 0, 0, 0},
                                {48, 24, 0.5f, 1, 0xFF112233, 0.25f, 0.75f},
                                {32, 12, 0.25f, 1, 0xFF445566, 1, 2},
                                {2.5f, 0, 0.5f, 1, 0xFF778899, 3, 4},
                                {}};
    IDirect3DVertexBuffer9 *source = nullptr, *target = nullptr, *formatless = nullptr;
    for (auto [buffer, format] :
         {std::pair{&source, DWORD{0}}, {&target, D3DFVF_XYZRHW | fvf}, {&formatless, DWORD{0}}})
        ASSERT_EQ(device_->CreateVertexBuffer(sizeof expected, 0, format, D3DPOOL_SYSTEMMEM, buffer, nullptr),
                  D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(source->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, in, sizeof in);
    ASSERT_EQ(source->Unlock(), D3D_OK);
    const D3DMATRIX world{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.5f, 0, 0, 1};
    ASSERT_EQ(device_->SetTransform(D3DTS_WORLD, &world), D3D_OK);
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZW | fvf), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, source, 0, sizeof(Vertex)), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
    EXPECT_EQ(device_->ProcessVertices(0, 1, 3, formatless, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->ProcessVertices(0, 3, 3, target, nullptr, 0), D3DERR_INVALIDCALL); // past the end
    EXPECT_EQ(device_->ProcessVertices(3, 1, 3, target, nullptr, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->ProcessVertices(0, 1, 3, target, nullptr, 0), D3D_OK);
    ASSERT_EQ(device_->ProcessVertices(0, 0, 1, target, nullptr, D3DPV_DONOTCOPYDATA), D3D_OK);
    ASSERT_EQ(target->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(std::memcmp(static_cast<const Vertex*>(data) + i, &expected[i], sizeof(Vertex)), 0) << i;
    ASSERT_EQ(target->Unlock(), D3D_OK);
    for (IDirect3DVertexBuffer9* buffer : {formatless, target, source})
        buffer->Release(); // the device lets go of the stream when it closes
}

// ProcessVertices lights as the draws do: a directional light with a highlight and a point light
// attenuated to a half, on a vertex facing both, one facing neither, and one off the camera's axis
// beyond the point light's range, whose highlight the local viewer (on by default) turns from 0.4 to
// 0.4 cos(22.5 degrees). The material's ambient is 1, its specular 0.4, the diffuse the vertex's 0x80.
TEST_F(ConformanceTest, ProcessVerticesLightsTheVertices) {
    struct In {
        float x, y, z, nx, ny, nz;
        D3DCOLOR colour;
    };
    struct Out {
        float x, y, z, rhw;
        D3DCOLOR diffuse, specular;
    };
    const In in[3] = {
        {0, 0, 0, 0, 0, -1, 0xFF808080}, {0, 0, 0, 1, 0, 0, 0xFF808080}, {20, 0, 20, 0, 0, -1, 0xFF808080}};
    const D3DCOLOR expected[3][2] = {
        {0xFF808040, 0xFF666666}, {0xFF400000, 0xFF000000}, {0xFF804040, 0xFF5E5E5E}};
    IDirect3DVertexBuffer9 *source = nullptr, *target = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(sizeof in, 0, 0, D3DPOOL_SYSTEMMEM, &source, nullptr), D3D_OK);
    ASSERT_EQ(device_->CreateVertexBuffer(3 * sizeof(Out), 0,
                                          D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR, D3DPOOL_SYSTEMMEM,
                                          &target, nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(source->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, in, sizeof in);
    ASSERT_EQ(source->Unlock(), D3D_OK);
    D3DLIGHT9 directional{}, point{};
    directional.Type = D3DLIGHT_DIRECTIONAL;
    directional.Diffuse = {0.5f, 0.5f, 0.5f, 1};
    directional.Specular = {1, 1, 1, 1};
    directional.Ambient = {0.25f, 0, 0, 1};
    directional.Direction = {0, 0, 1};
    point.Type = D3DLIGHT_POINT;
    point.Diffuse = {0, 1, 0, 1};
    point.Position = {0, 0, -2};
    point.Range = 10;
    point.Attenuation0 = 2;
    D3DMATERIAL9 material{};
    material.Ambient = {1, 1, 1, 1};
    material.Specular = {0.4f, 0.4f, 0.4f, 1};
    material.Power = 1;
    ASSERT_EQ(device_->SetMaterial(&material), D3D_OK);
    for (DWORD i = 0; i < 2; ++i) {
        ASSERT_EQ(device_->SetLight(i, i == 0 ? &directional : &point), D3D_OK);
        ASSERT_EQ(device_->LightEnable(i, TRUE), D3D_OK);
    }
    ASSERT_EQ(device_->SetRenderState(D3DRS_SPECULARENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device_->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, source, 0, sizeof(In)), D3D_OK);
    ASSERT_EQ(device_->ProcessVertices(0, 0, 3, target, nullptr, D3DPV_DONOTCOPYDATA), D3D_OK);
    ASSERT_EQ(target->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(static_cast<const Out*>(data)[i].diffuse, expected[i][0]) << i;
        EXPECT_EQ(static_cast<const Out*>(data)[i].specular, expected[i][1]) << i;
    }
    ASSERT_EQ(target->Unlock(), D3D_OK);
    target->Release();
    source->Release();
}

TEST_F(SceneTest, ScenesDoNotNestAndPresentFailsInsideOneKeepingThePixels) {
    EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
    // Several scenes between two presents are legal.
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(device_->Present(nullptr, nullptr, reinterpret_cast<HWND>(std::uintptr_t{0x3}), nullptr),
              D3DERR_INVALIDCALL);
    ReadBack();
    EXPECT_EQ(At(0, 0), (Pixel{0xFF, 0x00, 0x00, 0xFF}));
}

} // namespace
