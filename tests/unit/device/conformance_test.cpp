// Answers Direct3D 9 fixes for the device: ValidateDevice, Clear over surfaces of other sizes than
// render target 0, StretchRect into off-screen plain surfaces, the refused raw shader interface, and
// BeginScene, EndScene and Present as Direct3D 9 documents them.
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
TEST_F(ConformanceTest, StretchRectBetweenPlainSurfacesDoesNotStretch) {
    IDirect3DSurface9* a = PlainSurface(16, 16, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    IDirect3DSurface9* b = PlainSurface(16, 16, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
    const RECT whole{0, 0, 16, 16}, half{0, 0, 8, 8}, shifted{8, 8, 16, 16};
    EXPECT_EQ(device_->StretchRect(a, nullptr, b, nullptr, D3DTEXF_NONE), D3D_OK);
    EXPECT_EQ(device_->StretchRect(a, &half, b, &shifted, D3DTEXF_NONE), D3D_OK);
    EXPECT_EQ(device_->StretchRect(a, &whole, b, &half, D3DTEXF_POINT), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->StretchRect(a, &half, b, &whole, D3DTEXF_LINEAR), D3DERR_INVALIDCALL);
    b->Release();
    a->Release();
}

// Refused creations leave no object behind: bytecode of the other stage for shaders.
TEST_F(ConformanceTest, RawShaderInterfaceRefusesWithNullObjects) {
    const DWORD vertexTokens[] = {0xFFFF0200, 0x0000FFFF}; // ps_2_0, end
    const DWORD pixelTokens[] = {0xFFFE0200, 0x0000FFFF};  // vs_2_0, end
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    auto* sentinel = reinterpret_cast<void*>(std::uintptr_t{0x1234});
    auto* vertexShader = static_cast<IDirect3DVertexShader9*>(sentinel);
    auto* pixelShader = static_cast<IDirect3DPixelShader9*>(sentinel);
    auto* declaration = static_cast<IDirect3DVertexDeclaration9*>(sentinel);
    EXPECT_EQ(device_->CreateVertexShader(vertexTokens, &vertexShader), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreatePixelShader(pixelTokens, &pixelShader), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateVertexDeclaration(elements, &declaration), D3DERR_INVALIDCALL);
    EXPECT_EQ(vertexShader, nullptr);
    EXPECT_EQ(pixelShader, nullptr);
    EXPECT_EQ(declaration, nullptr);
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
