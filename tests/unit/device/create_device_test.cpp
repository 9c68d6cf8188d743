// IDirect3D9::CreateDevice: what it completes, what it refuses, and that refusals leak nothing.
#include "device_fixture.h"

#include <tuple>

namespace {

using CreateDeviceTest = DeviceFixture;

TEST_F(CreateDeviceTest, TakesTheWindowSizeAndCompletesTheParameters) {
    D3DPRESENT_PARAMETERS pp = Parameters();
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    ASSERT_EQ(Create(&pp, &device_), D3D_OK);
    EXPECT_EQ(std::make_tuple(pp.BackBufferWidth, pp.BackBufferHeight, pp.BackBufferFormat,
                              pp.BackBufferCount, pp.hDeviceWindow),
              std::make_tuple(UINT{kWindowWidth}, UINT{kWindowHeight}, D3DFMT_X8R8G8B8, 1u, window_));

    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(backBuffer->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(std::make_tuple(desc.Width, desc.Height, desc.Format, desc.Usage, desc.Type),
              std::make_tuple(UINT{kWindowWidth}, UINT{kWindowHeight}, D3DFMT_X8R8G8B8,
                              DWORD{D3DUSAGE_RENDERTARGET}, D3DRTYPE_SURFACE));
    backBuffer->Release();
}

TEST_F(CreateDeviceTest, ExplicitSizeAndEveryAutomaticDepthFormat) {
    for (D3DFORMAT format : {D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D32}) {
        D3DPRESENT_PARAMETERS pp = Parameters();
        pp.BackBufferWidth = 32;
        pp.BackBufferHeight = 16;
        pp.AutoDepthStencilFormat = format;
        IDirect3DDevice9* device = nullptr;
        ASSERT_EQ(Create(&pp, &device), D3D_OK) << format;
        IDirect3DSurface9* depth = nullptr;
        ASSERT_EQ(device->GetDepthStencilSurface(&depth), D3D_OK);
        D3DSURFACE_DESC desc{};
        ASSERT_EQ(depth->GetDesc(&desc), D3D_OK);
        EXPECT_EQ(std::make_tuple(desc.Format, desc.Width, desc.Height, desc.Usage),
                  std::make_tuple(format, 32u, 16u, DWORD{D3DUSAGE_DEPTHSTENCIL}));
        EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 0.5f, 0), D3D_OK);
        depth->Release();
        EXPECT_EQ(device->Release(), 0u);
    }
}

TEST_F(CreateDeviceTest, RefusesBadArgumentsAndClearsTheOutPointer) {
    struct Case {
        const char* what;
        void (*change)(D3DPRESENT_PARAMETERS*);
    };
    const Case cases[] = {
        {"back buffer format", [](D3DPRESENT_PARAMETERS* pp) { pp->BackBufferFormat = D3DFMT_R5G6B5; }},
        {"depth format", [](D3DPRESENT_PARAMETERS* pp) { pp->AutoDepthStencilFormat = D3DFMT_A8R8G8B8; }},
        {"unknown depth format",
         [](D3DPRESENT_PARAMETERS* pp) { pp->AutoDepthStencilFormat = D3DFMT_UNKNOWN; }},
        {"multisampling", [](D3DPRESENT_PARAMETERS* pp) { pp->MultiSampleType = D3DMULTISAMPLE_4_SAMPLES; }},
        {"swap effect", [](D3DPRESENT_PARAMETERS* pp) { pp->SwapEffect = static_cast<D3DSWAPEFFECT>(0); }},
        {"back buffer count", [](D3DPRESENT_PARAMETERS* pp) { pp->BackBufferCount = 4; }},
        {"unknown device window",
         [](D3DPRESENT_PARAMETERS* pp) { pp->hDeviceWindow = reinterpret_cast<HWND>(std::uintptr_t{0x7}); }},
        {"huge back buffer", [](D3DPRESENT_PARAMETERS* pp) { pp->BackBufferWidth = 1u << 30; }},
        {"full screen without a size", [](D3DPRESENT_PARAMETERS* pp) { pp->Windowed = FALSE; }},
    };
    for (const Case& c : cases) {
        D3DPRESENT_PARAMETERS pp = Parameters();
        c.change(&pp);
        IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(std::uintptr_t{0x1});
        EXPECT_EQ(Create(&pp, &device), D3DERR_INVALIDCALL) << c.what;
        EXPECT_EQ(device, nullptr) << c.what;
    }

    D3DPRESENT_PARAMETERS pp = Parameters();
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(Create(nullptr, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(&pp, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(&pp, &device, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(&pp, &device, D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING),
              D3DERR_INVALIDCALL);
    const auto create = [&](UINT adapter, D3DDEVTYPE type, HWND window) {
        return direct3d_->CreateDevice(adapter, type, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                       &device);
    };
    EXPECT_EQ(create(1, D3DDEVTYPE_HAL, window_), D3DERR_INVALIDCALL);
    EXPECT_EQ(create(0, D3DDEVTYPE_REF, window_), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(create(0, D3DDEVTYPE_HAL, nullptr), D3DERR_INVALIDCALL);
    HWND destroyed = platform::CreateStandInWindow(8, 8, "gone");
    platform::DestroyStandInWindow(destroyed);
    EXPECT_EQ(create(0, D3DDEVTYPE_HAL, destroyed), D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
    // A refused call leaves the caller's parameters as they were.
    EXPECT_EQ(pp.BackBufferWidth, 0u);
}

TEST_F(CreateDeviceTest, DeviceWindowMayStandInForTheFocusWindow) {
    D3DPRESENT_PARAMETERS pp = Parameters();
    pp.hDeviceWindow = window_;
    ASSERT_EQ(direct3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp,
                                      &device_),
              D3D_OK);
    EXPECT_TRUE(device_->GetSoftwareVertexProcessing());
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(device_->GetDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(device_->GetDisplayMode(1, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    // Methods not offered yet fail honestly.
    IDirect3DSwapChain9* swapChain = reinterpret_cast<IDirect3DSwapChain9*>(std::uintptr_t{0x1});
    EXPECT_EQ(device_->GetSwapChain(0, &swapChain), D3DERR_INVALIDCALL);
    EXPECT_EQ(swapChain, nullptr);
    EXPECT_EQ(device_->SetNPatchMode(1.0f), D3DERR_INVALIDCALL);
}

} // namespace
