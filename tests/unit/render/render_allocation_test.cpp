// Once the effects' programs are built, frames of a post-processed view and of a render-to-texture
// view with a clip plane, each drawing a sky in stage A and a sky and a water with its effect in stage
// E, make no heap allocation, in the plug-in or below it.
#include "allocation_counter.h"
#include "render_unit_fixture.h"

#include "objects/vtr3_objects.h"
#include "profiler.h"

namespace {

class RenderAllocationTest : public PluginInProcessTest {};

TEST_F(RenderAllocationTest, FramesAllocateNothing) {
    Start();
    const var sky = a6::VarFromInt(1), water = a6::VarFromInt(2), effect = a6::VarFromInt(5);
    VTR3EffectCreate(effect);
    a6::String path{{}, VTR3_CONTENT_DIR "/vtr3_water.fx"};
    VTR3EffectSetPath(effect, &path);
    VTR3EffectInitialize(effect);
    const float skills[] = {100, 4, 16};
    for (const var object : {sky, water}) {
        VTR3ObjectCreate(object, object);
        for (int i = 0; i < 3; ++i) {
            VTR3ObjectSetSkill(object, a6::VarFromInt(i), a6::VarFromDouble(skills[i]));
        }
        VTR3ObjectInitialize(object);
    }
    VTR3ObjectSetEffect(water, effect);
    // Both are drawn: the sky's box of 12 triangles, the water's square of 2.
    VTR3RenderDrawE(sky);
    VTR3RenderDrawE(water);
    Calls draws;
    for (const std::string& call : recorder_->TakeCalls()) {
        if (call.rfind("DrawIndexedPrimitive", 0) == 0) {
            draws.push_back(call);
        }
    }
    EXPECT_EQ(draws,
              (Calls{"DrawIndexedPrimitive(4, 0, 0, 8, 0, 12)", "DrawIndexedPrimitive(4, 0, 0, 4, 0, 2)"}));

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
            VTR3RenderDrawE(sky);
            VTR3RenderDrawE(water);
            VTR3RenderDrawD();
        }
        const size_t before = allocation_counter::Count();
        for (int i = 0; i < 10; ++i) {
            VTR3RenderDrawA();
            VTR3RenderDrawE(sky);
            VTR3RenderDrawE(water);
            VTR3RenderDrawD();
        }
        EXPECT_EQ(allocation_counter::Count() - before, 0u)
            << (postProcessing ? "post-processing" : "render to texture");
    }
}

// The profiler's samples and queries exist after the first frames: recording the frames after them,
// and reading their timestamps back, allocates nothing.
TEST_F(RenderAllocationTest, ProfiledFramesAllocateNothing) {
    host::Profiler profiler(engine_.device(), 40);
    const std::string view = "camera";
    IDirect3DSurface9* target = nullptr;
    ASSERT_EQ(engine_.device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &target), D3D_OK);
    std::size_t before = 0;
    for (int frame = 1; frame <= 40; ++frame) {
        before = frame == 5 ? allocation_counter::Count() : before;
        profiler.FrameBegin(frame);
        profiler.ViewBegin(view);
        for (const host::Section section :
             {host::Section::kDrawA, host::Section::kEngine, host::Section::kDrawE}) {
            profiler.SectionBegin(section, 5);
            profiler.SectionEnd(section);
        }
        profiler.SectionBegin(host::Section::kDrawD, 0);
        for (int step = 0; step < 5; ++step) {
            profiler.RenderTargetSetting(0, target);
            profiler.Drawing();
        }
        profiler.SectionEnd(host::Section::kDrawD);
        profiler.FrameEnd(frame);
    }
    EXPECT_EQ(allocation_counter::Count() - before, 0u);
    target->Release();
    profiler.Finish();
    ASSERT_EQ(profiler.items().size(), 10u); // the frame, four sections, five steps
    EXPECT_EQ(host::Summarize(profiler.items()[9].gpu).count, 40);
}

} // namespace
