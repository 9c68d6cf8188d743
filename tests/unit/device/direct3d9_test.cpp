// IDirect3D9: creation, the adapter, the format checks and the capabilities.
#include "device_fixture.h"

#include <cstring>

namespace {

using Direct3D9Test = DeviceFixture;

TEST(Direct3DCreate9Test, OnlyTheSdkVersionGetsAnObject) {
    const std::size_t before = platform::LiveObjectCount();
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION + 1), nullptr);
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(direct3d, nullptr);
    EXPECT_EQ(platform::LiveObjectCount(), before + 1);
    EXPECT_EQ(direct3d->Release(), 0u);
    EXPECT_EQ(platform::LiveObjectCount(), before);
}

TEST_F(Direct3D9Test, OneAdapterWithX8R8G8B8Modes) {
    EXPECT_EQ(direct3d_->GetAdapterCount(), 1u);
    D3DADAPTER_IDENTIFIER9 identifier;
    ASSERT_EQ(direct3d_->GetAdapterIdentifier(0, 0, &identifier), D3D_OK);
    EXPECT_GT(std::strlen(identifier.Description), 0u);
    EXPECT_EQ(direct3d_->GetAdapterIdentifier(1, 0, &identifier), D3DERR_INVALIDCALL);
    EXPECT_EQ(direct3d_->GetAdapterIdentifier(0, 0, nullptr), D3DERR_INVALIDCALL);

    const UINT count = direct3d_->GetAdapterModeCount(0, D3DFMT_X8R8G8B8);
    ASSERT_GT(count, 0u);
    EXPECT_EQ(direct3d_->GetAdapterModeCount(0, D3DFMT_R5G6B5), 0u);
    EXPECT_EQ(direct3d_->GetAdapterModeCount(1, D3DFMT_X8R8G8B8), 0u);
    D3DDISPLAYMODE mode{};
    bool has1024 = false;
    for (UINT i = 0; i < count; ++i) {
        ASSERT_EQ(direct3d_->EnumAdapterModes(0, D3DFMT_X8R8G8B8, i, &mode), D3D_OK);
        EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
        has1024 |= mode.Width == 1024 && mode.Height == 768;
    }
    EXPECT_TRUE(has1024);
    EXPECT_EQ(direct3d_->EnumAdapterModes(0, D3DFMT_X8R8G8B8, count, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(direct3d_->EnumAdapterModes(0, D3DFMT_R5G6B5, 0, &mode), D3DERR_NOTAVAILABLE);
    ASSERT_EQ(direct3d_->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_NE(direct3d_->GetAdapterMonitor(0), nullptr);
    EXPECT_EQ(direct3d_->GetAdapterMonitor(1), nullptr);
}

TEST_F(Direct3D9Test, FormatChecksSayWhatTheDeviceOffers) {
    const D3DFORMAT display = D3DFMT_X8R8G8B8;
    EXPECT_EQ(direct3d_->CheckDeviceType(0, D3DDEVTYPE_HAL, display, D3DFMT_A8R8G8B8, TRUE), D3D_OK);
    EXPECT_EQ(direct3d_->CheckDeviceType(0, D3DDEVTYPE_HAL, display, D3DFMT_R5G6B5, TRUE),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(direct3d_->CheckDeviceType(0, D3DDEVTYPE_REF, display, display, TRUE), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(direct3d_->CheckDeviceType(2, D3DDEVTYPE_HAL, display, display, TRUE), D3DERR_INVALIDCALL);

    auto check = [&](DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format) {
        return direct3d_->CheckDeviceFormat(0, D3DDEVTYPE_HAL, display, usage, type, format);
    };
    EXPECT_EQ(check(D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8), D3D_OK);
    EXPECT_EQ(check(D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_A16B16G16R16F), D3D_OK);
    EXPECT_EQ(check(0, D3DRTYPE_CUBETEXTURE, D3DFMT_DXT5), D3D_OK);
    EXPECT_EQ(check(0, D3DRTYPE_TEXTURE, D3DFMT_V8U8), D3D_OK);
    EXPECT_EQ(check(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D24S8), D3D_OK);
    EXPECT_EQ(check(D3DUSAGE_QUERY_VERTEXTEXTURE, D3DRTYPE_TEXTURE, D3DFMT_R32F), D3D_OK);
    EXPECT_EQ(check(0, D3DRTYPE_VERTEXBUFFER, D3DFMT_VERTEXDATA), D3D_OK);
    EXPECT_EQ(check(0, D3DRTYPE_INDEXBUFFER, D3DFMT_INDEX32), D3D_OK);
    EXPECT_EQ(check(D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_L8), D3DERR_NOTAVAILABLE);
    // Depth textures as the cards of the time sample them for shadow maps: 2D only, D32 never.
    EXPECT_EQ(check(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_TEXTURE, D3DFMT_D24S8), D3D_OK);
    EXPECT_EQ(check(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_CUBETEXTURE, D3DFMT_D24S8), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(check(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_TEXTURE, D3DFMT_D32), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(check(0, D3DRTYPE_TEXTURE, D3DFMT_D16), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(check(D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_R8G8B8), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(check(D3DUSAGE_RENDERTARGET, D3DRTYPE_VOLUMETEXTURE, D3DFMT_A8R8G8B8), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(check(0, D3DRTYPE_TEXTURE, D3DFMT_P8), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(check(D3DUSAGE_AUTOGENMIPMAP, D3DRTYPE_TEXTURE, D3DFMT_L8), D3DOK_NOAUTOGEN);
    EXPECT_EQ(check(0, static_cast<D3DRESOURCETYPE>(99), D3DFMT_A8R8G8B8), D3DERR_INVALIDCALL);

    EXPECT_EQ(direct3d_->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, display, D3DFMT_A8R8G8B8, D3DFMT_D16),
              D3D_OK);
    EXPECT_EQ(direct3d_->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, display, D3DFMT_D16, D3DFMT_D16),
              D3DERR_NOTAVAILABLE);

    DWORD levels = 99;
    EXPECT_EQ(direct3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE,
                                                    D3DMULTISAMPLE_NONE, &levels),
              D3D_OK);
    EXPECT_EQ(levels, 1u);
    EXPECT_EQ(direct3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE,
                                                    D3DMULTISAMPLE_4_SAMPLES, &levels),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(levels, 0u);
}

TEST_F(Direct3D9Test, CapsDescribeAShaderModel3DeviceAndMatchTheDevicesOwn) {
    D3DCAPS9 caps;
    ASSERT_EQ(direct3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(caps.VertexShaderVersion, DWORD{D3DVS_VERSION(3, 0)});
    EXPECT_EQ(caps.PixelShaderVersion, DWORD{D3DPS_VERSION(3, 0)});
    EXPECT_EQ(caps.MaxSimultaneousTextures, 8u);
    EXPECT_EQ(caps.MaxTextureBlendStages, 8u);
    EXPECT_EQ(caps.MaxUserClipPlanes, 6u);
    EXPECT_GE(caps.MaxTextureWidth, 4096u);
    EXPECT_EQ(caps.MaxTextureWidth, caps.MaxTextureHeight);
    EXPECT_GE(caps.MaxVertexShaderConst, 256u);
    EXPECT_GE(caps.NumSimultaneousRTs, 1u);
    EXPECT_TRUE(caps.TextureCaps & D3DPTEXTURECAPS_CUBEMAP);
    EXPECT_FALSE(caps.TextureCaps & D3DPTEXTURECAPS_POW2);
    EXPECT_TRUE(caps.RasterCaps & D3DPRASTERCAPS_SCISSORTEST);
    // Direct3D 9 takes BOTHSRCALPHA and BOTHINVSRCALPHA only as the source blend.
    EXPECT_TRUE(caps.SrcBlendCaps & D3DPBLENDCAPS_BOTHSRCALPHA);
    EXPECT_FALSE(caps.DestBlendCaps & (D3DPBLENDCAPS_BOTHSRCALPHA | D3DPBLENDCAPS_BOTHINVSRCALPHA));
    EXPECT_EQ(direct3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(direct3d_->GetDeviceCaps(1, D3DDEVTYPE_HAL, &caps), D3DERR_INVALIDCALL);

    CreateDevice();
    D3DCAPS9 deviceCaps;
    ASSERT_EQ(device_->GetDeviceCaps(&deviceCaps), D3D_OK);
    EXPECT_EQ(std::memcmp(&caps, &deviceCaps, sizeof(caps)), 0);
    EXPECT_EQ(device_->GetDeviceCaps(nullptr), D3DERR_INVALIDCALL);
}

TEST_F(Direct3D9Test, QueryInterfaceAndReferenceCounts) {
    void* object = nullptr;
    ASSERT_EQ(direct3d_->QueryInterface(IID_IDirect3D9, &object), S_OK);
    EXPECT_EQ(object, static_cast<void*>(direct3d_));
    EXPECT_EQ(direct3d_->Release(), 1u);
    EXPECT_EQ(direct3d_->QueryInterface(IID_IDirect3DDevice9, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(direct3d_->QueryInterface(IID_IDirect3D9, nullptr), E_POINTER);
    // The device holds its IDirect3D9, as on Windows, so the caller may release it first.
    CreateDevice();
    EXPECT_EQ(direct3d_->AddRef(), 3u);
    EXPECT_EQ(direct3d_->Release(), 2u);
}

} // namespace
