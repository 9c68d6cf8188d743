// Without EGL's surfaceless platform there is no device: the calls that need OpenGL fail with
// D3DERR_NOTAVAILABLE, nothing crashes and nothing is left alive. A program of its own, because the
// platform looks for OpenGL once per process.
#include "platform_control.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(UnavailableTest, WithoutOpenGlDevicesAndCapsAreNotAvailable) {
    // libglvnd then finds no EGL vendor library at all.
    ASSERT_EQ(setenv("__EGL_VENDOR_LIBRARY_FILENAMES", "/nonexistent/egl_vendor.json", 1), 0);
    const std::size_t before = platform::LiveObjectCount();
    HWND window = platform::CreateStandInWindow(16, 16, "no gl");
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(direct3d, nullptr);

    D3DCAPS9 caps;
    EXPECT_EQ(direct3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3DERR_NOTAVAILABLE);
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(std::uintptr_t{0x1});
    EXPECT_EQ(
        direct3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device),
        D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
    // What needs no OpenGL still answers.
    EXPECT_EQ(direct3d->GetAdapterCount(), 1u);
    D3DADAPTER_IDENTIFIER9 identifier;
    EXPECT_EQ(direct3d->GetAdapterIdentifier(0, 0, &identifier), D3D_OK);

    EXPECT_EQ(direct3d->Release(), 0u);
    platform::DestroyStandInWindow(window);
    EXPECT_EQ(platform::LiveObjectCount(), before);
}

} // namespace
