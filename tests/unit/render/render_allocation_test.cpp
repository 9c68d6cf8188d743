// Once the effects' programs are built, a frame of a post-processed view and one of a
// render-to-texture view with a clip plane make no heap allocation, in the plug-in or below it.
#include "allocation_counter.h"
#include "render_unit_fixture.h"

namespace {

class RenderAllocationTest : public PluginInProcessTest {};

TEST_F(RenderAllocationTest, FramesAllocateNothing) {
    Start();
    // The plug-in's own calls go straight to the device: the recorder's call list allocates.
    g_device = engine_.device();
    Target(3);
    g_textureManager.SetViewID(3, 0, kView);
    g_viewManager.SetClipPlane(kView, D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 0, 1), 1);
    const int chain[] = {30001, 30002, 30005, 30004, 30011, 30013, 30008, 30000, 30007, 30006};
    for (int i = 0; i < 10; ++i) {
        g_viewManager.SetPostProcessEffect(kView, i, chain[i]);
    }
    for (int postProcessing = 1; postProcessing >= 0; --postProcessing) {
        g_viewManager.SetPostProcessing(kView, postProcessing);
        g_viewManager.SetRenderToTexture(kView, 1 - postProcessing);
        for (int i = 0; i < 3; ++i) {
            VTR3RenderDrawA();
            VTR3RenderDrawD();
        }
        const size_t before = allocation_counter::Count();
        for (int i = 0; i < 10; ++i) {
            VTR3RenderDrawA();
            VTR3RenderDrawD();
            VTR3RenderDrawE(a6::VarFromInt(1));
        }
        EXPECT_EQ(allocation_counter::Count() - before, 0u)
            << (postProcessing ? "post-processing" : "render to texture");
    }
}

} // namespace
