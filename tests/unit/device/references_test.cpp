// Reference counts as COM defines them: getters add one, children keep their device alive, the
// device's own holds never show, and everything is gone after the last release.
#include "../resources/resource_fixture.h"

namespace {

using ReferencesTest = ResourceFixture;

TEST_F(ReferencesTest, GettersAddOneReferenceEachAndStrayReleasesAreRefused) {
    EXPECT_EQ(CountOf(device_), 1u);

    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device_->GetRenderTarget(0, &target), D3D_OK);
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    ASSERT_EQ(device_->GetDepthStencilSurface(&depth), D3D_OK);
    // Render target 0 is the back buffer: one object, two references from the caller.
    EXPECT_EQ(target, backBuffer);
    EXPECT_EQ(CountOf(target), 2u);
    EXPECT_EQ(CountOf(depth), 1u);
    // Each surface the caller holds a reference on holds the device once, however many references.
    EXPECT_EQ(CountOf(device_), 3u);

    EXPECT_EQ(target->Release(), 1u);
    EXPECT_EQ(CountOf(device_), 3u);
    EXPECT_EQ(backBuffer->Release(), 0u);
    EXPECT_EQ(CountOf(device_), 2u);
    // The device still holds the back buffer privately, so a stray release finds it alive.
    EXPECT_EQ(backBuffer->Release(), 0u);
    EXPECT_EQ(CountOf(device_), 2u);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    ReadBack();
    EXPECT_EQ(At(0, 0), (Pixel{0x00, 0xFF, 0x00, 0xFF}));
    EXPECT_EQ(depth->Release(), 0u);
    EXPECT_EQ(CountOf(device_), 1u);

    IDirect3D9* direct3d = nullptr;
    ASSERT_EQ(device_->GetDirect3D(&direct3d), D3D_OK);
    EXPECT_EQ(direct3d, direct3d_);
    // The fixture's reference, the device's and this one.
    EXPECT_EQ(direct3d->Release(), 2u);
}

TEST_F(ReferencesTest, ASurfaceKeepsItsDeviceAlive) {
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device_->GetDepthStencilSurface(&depth), D3D_OK);
    EXPECT_EQ(device_->Release(), 1u);
    device_ = nullptr;

    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(depth->GetDevice(&device), D3D_OK);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device->Release(), 1u);
    // The last reference on the surface takes the device with it (TearDown checks the live count).
    EXPECT_EQ(depth->Release(), 0u);
}

TEST_F(ReferencesTest, NoDepthSurfaceMeansNotFound) {
    device_->Release();
    D3DPRESENT_PARAMETERS pp = Parameters();
    pp.EnableAutoDepthStencil = FALSE;
    CreateDevice(pp);
    IDirect3DSurface9* depth = reinterpret_cast<IDirect3DSurface9*>(std::uintptr_t{0x1});
    EXPECT_EQ(device_->GetDepthStencilSurface(&depth), D3DERR_NOTFOUND);
    EXPECT_EQ(depth, nullptr);
    IDirect3DSurface9* target = reinterpret_cast<IDirect3DSurface9*>(std::uintptr_t{0x1});
    EXPECT_EQ(device_->GetRenderTarget(1, &target), D3DERR_NOTFOUND);
    EXPECT_EQ(target, nullptr);
    EXPECT_EQ(device_->GetRenderTarget(4, &target), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetBackBuffer(0, 1, D3DBACKBUFFER_TYPE_MONO, &target), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetRenderTarget(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->GetDirect3D(nullptr), D3DERR_INVALIDCALL);
}

TEST_F(ReferencesTest, QueryInterfaceAndPrivateDataHoldReferencesAsComDoes) {
    void* object = reinterpret_cast<void*>(std::uintptr_t{0x1});
    EXPECT_EQ(device_->QueryInterface(IID_IDirect3DTexture9, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(device_->QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, static_cast<void*>(device_));
    static_cast<IUnknown*>(object)->Release();

    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device_->GetDepthStencilSurface(&depth), D3D_OK);
    ASSERT_EQ(depth->QueryInterface(IID_IDirect3DResource9, &object), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(object)->Release(), 1u);
    EXPECT_EQ(depth->GetType(), D3DRTYPE_SURFACE);
    ASSERT_EQ(depth->GetContainer(IID_IDirect3DDevice9, &object), D3D_OK);
    EXPECT_EQ(object, static_cast<void*>(device_));
    static_cast<IUnknown*>(object)->Release();

    // Private data holds interfaces by reference.
    const GUID key{0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    const GUID other{0x87654321, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

    const std::uint32_t value = 0xC0FFEE;
    ASSERT_EQ(depth->SetPrivateData(key, &value, sizeof(value), 0), D3D_OK);
    std::uint32_t read = 0;
    DWORD size = 2;
    EXPECT_EQ(depth->GetPrivateData(key, &read, &size), D3DERR_MOREDATA);
    EXPECT_EQ(size, sizeof(value));
    ASSERT_EQ(depth->GetPrivateData(key, &read, &size), D3D_OK);
    EXPECT_EQ(read, value);
    EXPECT_EQ(depth->GetPrivateData(other, &read, &size), D3DERR_NOTFOUND);

    IUnknown* held = direct3d_;
    ASSERT_EQ(depth->SetPrivateData(other, &held, sizeof(held), D3DSPD_IUNKNOWN), D3D_OK);
    EXPECT_EQ(CountOf(direct3d_), 3u);
    EXPECT_EQ(depth->FreePrivateData(other), D3D_OK);
    EXPECT_EQ(CountOf(direct3d_), 2u);
    EXPECT_EQ(depth->FreePrivateData(other), D3DERR_NOTFOUND);
    // Data still set when the surface goes is released with it.
    ASSERT_EQ(depth->SetPrivateData(other, &held, sizeof(held), D3DSPD_IUNKNOWN), D3D_OK);
    depth->Release();
    device_->Release();
    device_ = nullptr;
    EXPECT_EQ(CountOf(direct3d_), 1u);
}

} // namespace
