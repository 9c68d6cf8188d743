// The device and its GL context across threads: the context's current state as EGL reports it, the
// device lock of D3DCREATE_MULTITHREADED, and the EGL platform a run draws through.
#include "device_fixture.h"

#include <EGL/egl.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

class DeviceThreads : public DeviceFixture {
  protected:
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
    };

    // A clockwise XYZRHW quad over the left half of the back buffer.
    HRESULT DrawLeftHalf(D3DCOLOR colour) {
        const float w = kWindowWidth / 2.0f;
        const float h = kWindowHeight;
        const Vertex quad[4] = {{0, 0, 0.5f, 1, colour},
                                {w, 0, 0.5f, 1, colour},
                                {0, h, 0.5f, 1, colour},
                                {w, h, 0.5f, 1, colour}};
        if (FAILED(device_->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE)) || FAILED(device_->BeginScene()))
            return E_FAIL;
        const HRESULT drawn = device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
        return FAILED(device_->EndScene()) ? E_FAIL : drawn;
    }

    static Pixel Bgra(D3DCOLOR c) {
        return Pixel{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                     static_cast<std::uint8_t>(c >> 16), 0xff};
    }
};

TEST_F(DeviceThreads, TheDeviceMakesItsContextCurrentAgainAfterOtherCodeReleasedIt) {
    CreateDevice();
    // The engine or another library leaves the thread without a context.
    ASSERT_TRUE(eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT));
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff204080, 1.0f, 0), D3D_OK);
    ReadBack();
    EXPECT_EQ(Count(Bgra(0xff204080)), std::size_t{kWindowWidth} * kWindowHeight);
    // Draws trust the thread's last answer; the next frame's BeginScene asks again.
    ASSERT_TRUE(eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT));
    ASSERT_EQ(DrawLeftHalf(0xff402010), D3D_OK);
    ReadBack();
    EXPECT_EQ(Count(Bgra(0xff402010)), std::size_t{kWindowWidth} / 2 * kWindowHeight);
    // Run a second time by CTest with VTR3_EGL_PLATFORM=device: the run says which platform it draws
    // through.
    const char* forced = std::getenv("VTR3_EGL_PLATFORM");
    EXPECT_EQ(platform::EglPlatform(), forced ? forced : "surfaceless");
}

TEST_F(DeviceThreads, TwoThreadsHammeringAMultithreadedDeviceEachSeeTheirOwnResults) {
    D3DPRESENT_PARAMETERS pp = Parameters();
    ASSERT_EQ(Create(&pp, &device_, D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED), D3D_OK);
    constexpr int kRounds = 30;
    std::atomic<int> drawFailures{0};
    std::atomic<int> stateFailures{0};
    // One thread draws and reads its pixels back; the other sets and reads state the drawing does not
    // use, and makes, fills and reads back surfaces of its own, which also needs the GL context.
    std::thread drawing([&] {
        for (int i = 0; i < kRounds; ++i) {
            const D3DCOLOR background = 0xff000000 | (i * 8u);
            const D3DCOLOR quad = 0xff000000 | ((i * 8u) << 16);
            if (device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0) !=
                    D3D_OK ||
                DrawLeftHalf(quad) != D3D_OK ||
                !platform::ReadBackBuffer(device_, &pixels_, &width_, &height_)) {
                ++drawFailures;
                continue;
            }
            drawFailures += At(4, 4) != Bgra(quad) || At(width_ - 4, height_ - 4) != Bgra(background);
        }
    });
    std::thread state([&] {
        for (int i = 0; i < kRounds; ++i) {
            D3DMATRIX m{};
            m._11 = static_cast<float>(i);
            m._44 = 1.0f;
            D3DMATRIX back{};
            device_->SetTransform(D3DTS_WORLDMATRIX(200), &m);
            device_->GetTransform(D3DTS_WORLDMATRIX(200), &back);
            stateFailures += back._11 != m._11;
            IDirect3DSurface9* surface = nullptr;
            if (device_->CreateOffscreenPlainSurface(8, 8, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &surface,
                                                     nullptr) != D3D_OK) {
                ++stateFailures;
                continue;
            }
            const D3DCOLOR fill = 0xff000000 | (i * 8u) << 8;
            D3DLOCKED_RECT locked{};
            if (device_->ColorFill(surface, nullptr, fill) != D3D_OK ||
                surface->LockRect(&locked, nullptr, D3DLOCK_READONLY) != D3D_OK) {
                ++stateFailures;
            } else {
                stateFailures += *static_cast<const D3DCOLOR*>(locked.pBits) != fill;
                surface->UnlockRect();
            }
            surface->Release();
        }
    });
    drawing.join();
    state.join();
    EXPECT_EQ(drawFailures.load(), 0);
    EXPECT_EQ(stateFailures.load(), 0);
}

} // namespace
