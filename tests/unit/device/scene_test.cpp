// BeginScene, EndScene and Present as Direct3D 9 documents them.
#include "device_fixture.h"

namespace {

using SceneTest = DeviceFixture;

TEST_F(SceneTest, ScenesDoNotNest) {
    CreateDevice();
    EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
    // Several scenes between two presents are legal.
    EXPECT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->EndScene(), D3D_OK);
}

TEST_F(SceneTest, PresentFailsInsideASceneAndKeepsThePixels) {
    CreateDevice();
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
