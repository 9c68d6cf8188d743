// The forwarding test double: calls reach the wrapped device unless a test overrides them, and its own
// reference count decides when the wrapped device is released.
#include "device_fixture.h"
#include "forwarding_device.h"

namespace {

using ForwardingDeviceTest = DeviceFixture;

struct FailingCaps : ForwardingDevice {
    using ForwardingDevice::ForwardingDevice;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9*) override { return D3DERR_INVALIDCALL; }
};

struct CountingClears : ForwardingDevice {
    using ForwardingDevice::ForwardingDevice;
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                                    DWORD stencil) override {
        ++clears;
        return ForwardingDevice::Clear(count, rects, flags, color, z, stencil);
    }
    int clears = 0;
};

TEST_F(ForwardingDeviceTest, ForwardsCallsAndFailsTheOverriddenOne) {
    CreateDevice();
    IDirect3DDevice9* wrapper = new FailingCaps(device_);
    D3DCAPS9 caps;
    EXPECT_EQ(wrapper->GetDeviceCaps(&caps), D3DERR_INVALIDCALL);
    EXPECT_EQ(wrapper->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    ReadBack();
    EXPECT_EQ(At(3, 3), (Pixel{0x00, 0xFF, 0x00, 0xFF}));
    IDirect3DSurface9* target = nullptr;
    ASSERT_EQ(wrapper->GetRenderTarget(0, &target), D3D_OK);
    target->Release();
    // platform::ReadBackBuffer knows only the platform's devices.
    std::vector<std::uint8_t> pixels;
    EXPECT_FALSE(platform::ReadBackBuffer(wrapper, &pixels, nullptr, nullptr));
    EXPECT_EQ(wrapper->Release(), 0u);
}

TEST_F(ForwardingDeviceTest, RecordsCallsAndHoldsTheWrappedDevice) {
    CreateDevice();
    auto* counting = new CountingClears(device_);
    EXPECT_EQ(device_->Release(), 1u); // the wrapper's reference keeps it
    device_ = nullptr;

    EXPECT_EQ(counting->AddRef(), 2u);
    void* object = nullptr;
    ASSERT_EQ(counting->QueryInterface(IID_IDirect3DDevice9, &object), S_OK);
    EXPECT_EQ(object, static_cast<void*>(static_cast<IDirect3DDevice9*>(counting)));
    EXPECT_EQ(counting->Release(), 2u);
    EXPECT_EQ(counting->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(counting->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(counting->clears, 2);
    EXPECT_EQ(counting->Release(), 1u);
    // The last release frees the wrapper and the wrapped device (TearDown checks the live count).
    EXPECT_EQ(counting->Release(), 0u);
}

} // namespace
