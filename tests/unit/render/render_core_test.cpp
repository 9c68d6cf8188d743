// The render core's stages as the device sees them: which target is saved, switched and restored,
// and the clip-plane states, for each kind of view; the references it holds across frames; a start
// without device; the objects drawn by stage E.
#include "render_unit_fixture.h"

#include "render/vtr3_renderer.h"

#include <d3dx9.h>

namespace {

class RenderCoreTest : public PluginInProcessTest {
  protected:
    void ClipPlane(int enable) {
        // Through (0, 0, 1) with the normal (1, 2, 3): the plane (1, 2, 3, -3).
        g_viewManager.SetClipPlane(kView, D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(1, 2, 3), enable);
    }
};

TEST_F(RenderCoreTest, EachKindOfViewSwitchesRestoresAndClipsAsItShould) {
    Start();
    // The engine's view moves x by 1, its projection makes x' = 2x + z, y' = 2y: the inverse of view x
    // projection, transposed, carries the plane (1, 2, 3, -3) to (0.5, 1, 2.5, -4) in clip space.
    engine_.viewMatrix()[12] = 1.0f;
    float* projection = engine_.projectionMatrix();
    projection[0] = 2.0f;
    projection[5] = 2.0f;
    projection[8] = 1.0f;
    Target(3, 0);
    Name(3);
    g_textureManager.SetViewID(3, 0, kView);

    // Registered, no options: nothing at all, not even the clip-plane state.
    ClipPlane(1);
    EXPECT_EQ(Frame(), Calls{});

    // Render to texture with the clip plane: plane 0 alone between the stages, plane 1 (zero) after.
    g_viewManager.SetRenderToTexture(kView, 1);
    EXPECT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 3)", "SetClipPlane(0, 1, 2, 3, -3)",
                              "SetRenderState(CLIPPLANEENABLE, 1)", "SetClipPlane(1, 0.5, 1, 2.5, -4)",
                              "SetClipPlane(1, 0, 0, 0, 0)", "SetRenderState(CLIPPLANEENABLE, 2)",
                              "SetRenderTarget(0, F)"}));
    // A singular view and projection carry the plane nowhere: plane 1 is the zero plane.
    std::fill(projection, projection + 16, 0.0f);
    const Calls singular = Frame();
    EXPECT_EQ(std::count(singular.begin(), singular.end(), "SetClipPlane(1, 0, 0, 0, 0)"), 2);
    ClipPlane(0);
    EXPECT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 3)",
                              "SetRenderState(CLIPPLANEENABLE, 0)", "SetRenderTarget(0, F)"}));
    // The surfaces of a frame are given back when stage D is done with them.
    const size_t before = platform::LiveObjectCount();
    for (int i = 0; i < 20; ++i) {
        Frame();
    }
    EXPECT_EQ(platform::LiveObjectCount(), before);
    IDirect3DSurface9* surface = g_textureManager.GetSurface(3, 0);
    EXPECT_EQ(surface->Release(), 1u) << "only the texture manager holds the texture";
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(engine_.device()->GetRenderTarget(0, &backBuffer), D3D_OK);
    EXPECT_EQ(backBuffer->Release(), 0u);

    // Post-processing wins: no texture, no clip plane in stage A; stage D still restores the target.
    ClipPlane(1);
    g_viewManager.SetPostProcessing(kView, 1);
    g_viewManager.SetPostProcessEffect(kView, 0, 30009);
    EXPECT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 30000)", "SetRenderTarget(0, F)",
                              "F full 30000 fx", "SetClipPlane(1, 0, 0, 0, 0)",
                              "SetRenderState(CLIPPLANEENABLE, 2)", "SetRenderTarget(0, F)"}));
    g_viewManager.SetPostProcessing(kView, 0);
    ClipPlane(0);

    // A cube texture bound on side 3: stage A draws into that face.
    g_textureManager.SetViewID(3, 0, 0);
    Target(5, 1);
    g_textureManager.SetViewID(5, 3, kView);
    IDirect3DSurface9* face = g_textureManager.GetCubeSurface(5, 3, 0);
    recorder_->names[face] = "cube side 3";
    face->Release();
    EXPECT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, cube side 3)",
                              "SetRenderState(CLIPPLANEENABLE, 0)", "SetRenderTarget(0, F)"}));

    // No texture bound any more (deleted since the last frame, and freed at once): nothing is switched
    // or restored.
    const size_t withCube = platform::LiveObjectCount();
    g_textureManager.TextureDelete(5);
    EXPECT_LT(platform::LiveObjectCount(), withCube);
    EXPECT_EQ(Frame(), Calls{"SetRenderState(CLIPPLANEENABLE, 0)"});

    // A view the engine draws that is not registered: nothing.
    g_viewManager.UnregisterView(kView);
    EXPECT_EQ(Frame(), Calls{});
}

// Started again on an engine that offers no device: the managers stay initialised, and the stages
// leave a post-processed view alone instead of drawing through the missing device. Started again
// with the device, the managers keep their textures: nothing is lost, nothing leaks.
TEST_F(RenderCoreTest, AStartWithoutDeviceLeavesTheViewsAlone) {
    Start();
    Target(3);
    const size_t alive = platform::LiveObjectCount();
    g_viewManager.SetPostProcessing(kView, 1);
    g_viewManager.SetPostProcessEffect(kView, 0, 30009);
    engine_.SetDeviceField(nullptr);
    ASSERT_EQ(VTR3Initialize(a6::VarFromInt(1), nullptr), a6::VarFromInt(3));
    EXPECT_EQ(Frame(), Calls{});
    engine_.SetDeviceField(recorder_);
    EXPECT_EQ(VTR3Initialize(a6::VarFromInt(1), nullptr), 0);
    EXPECT_EQ(platform::LiveObjectCount(), alive);
    g_textureManager.TextureInitialize(3); // the texture it replaces is released
    EXPECT_EQ(platform::LiveObjectCount(), alive);
}

// RenderDrawE draws the object while word 4 of the engine view is 0 or more, registered or not.
TEST_F(RenderCoreTest, DrawEFollowsWordFourOfTheEngineView) {
    Start();
    VTR3ObjectCreate(a6::VarFromInt(7), a6::VarFromInt(1)); // a sky
    VTR3ObjectInitialize(a6::VarFromInt(7));
    a6::View& view = engine_.objects().AddView("unregistered");
    engine_.SetRenderedView(&view);
    const struct {
        int word4;
        long draws;
    } cases[] = {{0, 1}, {3, 1}, {-1, 0}, {-1000, 0}};
    for (const auto& c : cases) {
        view.word[a6::kViewLayer] = a6::VarFromInt(c.word4);
        recorder_->calls().clear();
        VTR3RenderDrawE(a6::VarFromInt(7));
        const Calls calls = recorder_->TakeCalls();
        EXPECT_EQ(
            std::count_if(calls.begin(), calls.end(),
                          [](const std::string& call) { return call.rfind("DrawIndexedPrimitive", 0) == 0; }),
            c.draws)
            << c.word4;
    }
}

} // namespace
