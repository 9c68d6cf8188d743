// The plug-in loaded by the stand-in engine (plugin_fixture.h) with a back buffer of the working
// size, 1024 x 768, unless told otherwise, and frames drawn through all its render events.
#ifndef VTR3_TESTS_E2E_POST_POST_FIXTURE_H
#define VTR3_TESTS_E2E_POST_POST_FIXTURE_H

#include "frame_pixels.h"
#include "plugin_fixture.h"
#include "stand_in_device.h"

#include <initializer_list>

class PostTest : public PluginTest {
  protected:
    explicit PostTest(UINT width = 1024, UINT height = 768) {
        EXPECT_EQ(ResetBackBuffer(width, height), D3D_OK);
    }
    ~PostTest() override {
        if (plugin_) {
            DeInitialize();
        }
    }

    HRESULT ResetBackBuffer(UINT width, UINT height) {
        D3DPRESENT_PARAMETERS pp = StandInDevice::Parameters();
        pp.BackBufferWidth = width;
        pp.BackBufferHeight = height;
        return engine_.device()->Reset(&pp);
    }

    // Starts the plug-in with view 1, "camera", post-processed by these steps.
    void PostProcess(std::initializer_list<int> steps) {
        EXPECT_EQ(Initialize(), 0);
        Call("VTR3ViewRegister", Var(1), Text("camera"));
        Call("VTR3ViewSetPostProcessing", Var(1), Var(1));
        int index = 0;
        for (int step : steps) {
            Call("VTR3ViewSetPostProcessingEffect", Var(1), Var(index++), Var(step));
        }
    }

    // One frame: stage A, the engine's scene (drawn by `scene` on the device), the other stages;
    // then the back buffer read back.
    template <typename Scene> render_test::Frame DrawView(Scene scene) {
        IDirect3DDevice9* device = engine_.device();
        EXPECT_EQ(device->BeginScene(), D3D_OK);
        Call("VTR3RenderDrawA");
        scene(device);
        Call("VTR3RenderDrawB");
        Call("VTR3RenderDrawC");
        Call("VTR3RenderDrawD");
        Call("VTR3RenderDrawE", Var(1));
        EXPECT_EQ(device->EndScene(), D3D_OK);
        return render_test::ReadFrame(device);
    }
};

#endif
