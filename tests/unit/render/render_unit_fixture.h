// The plug-in's objects linked into the test and started through VTR3Initialize on the stand-in
// engine's 1024 x 768 device, behind a RecordingDevice that logs the render-target switches, the clip
// planes and each draw as "<target> <quad> <source> <fx|ff>". The working directory holds the
// plug-in's effect files as VTR3Content and receives the log. Objects are named for the recorder:
// the targets 30000 to 30006 by texture id (texture and level-0 surface), the back buffer "F", the
// post-processor's quads "full", "half" and "quarter" in the order it creates them.
#ifndef VTR3_TESTS_UNIT_RENDER_RENDER_UNIT_FIXTURE_H
#define VTR3_TESTS_UNIT_RENDER_RENDER_UNIT_FIXTURE_H

#include "engine.h"
#include "frame/vtr3_exports.h"
#include "frame/vtr3_globals.h"
#include "log_rows.h"
#include "platform_control.h"
#include "recording_device.h"
#include "render/vtr3_postProcessor.h"
#include "resources/vtr3_textures.h"
#include "scoped_directory.h"
#include "views/vtr3_views.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

class PluginInProcessTest : public ::testing::Test {
  protected:
    static const int kView = 1;

    PluginInProcessTest() {
        std::filesystem::create_directory_symlink(VTR3_CONTENT_DIR, "VTR3Content");
        engine_.CreateGraphics(1024, 768, "render test");
        recorder_ = new RecordingDevice(engine_.device());
        recorder_->Log({"CreateVertexBuffer", "CreateIndexBuffer", "GetRenderTarget", "SetRenderTarget",
                        "SetClipPlane", "SetRenderState", "DrawIndexedPrimitive", "Draw"});
        recorder_->LogStates({{D3DRS_CLIPPLANEENABLE, "CLIPPLANEENABLE"}});
        recorder_->vertexBufferNames = {"full", "half", "quarter"};
        engine_.SetDeviceField(recorder_);
        A6_DLLAPI(engine_.block());
    }
    ~PluginInProcessTest() override {
        if (initialized_) {
            VTR3DeInitialize();
        }
        recorder_->Release();
    }

    void Start() {
        ASSERT_EQ(VTR3Initialize(a6::VarFromInt(1), nullptr), 0);
        initialized_ = true;
        NameAll();
        g_viewManager.RegisterView(kView, "camera");
        recorder_->calls().clear();
    }

    void NameAll() {
        for (int id = 30000; id <= 30006; ++id) {
            Name(id);
        }
        IDirect3DSurface9* backBuffer = nullptr;
        ASSERT_EQ(engine_.device()->GetRenderTarget(0, &backBuffer), D3D_OK);
        recorder_->names[backBuffer] = "F";
        backBuffer->Release();
    }

    // Names texture `id` and its level-0 surface by the id.
    void Name(int id) {
        recorder_->names[g_textureManager.GetBaseTexture(id)] = std::to_string(id);
        IDirect3DSurface9* surface = g_textureManager.GetSurface(id, 0);
        recorder_->names[surface] = std::to_string(id);
        if (surface) {
            surface->Release();
        }
    }

    // A render target texture of the texture manager, 2D (type 0) or cube (type 1).
    void Target(int id, int type = 0, unsigned int size = 64) {
        g_textureManager.TextureCreate(id, type);
        g_textureManager.SetSize(id, size, size);
        g_textureManager.SetFormat(id, D3DFMT_A8R8G8B8);
        g_textureManager.SetUsage(id, 0);
        g_textureManager.TextureInitialize(id);
    }

    // One frame of the view: stages A and D; returns what they called. Every draw is of one quad.
    Calls Frame() {
        recorder_->calls().clear();
        VTR3RenderDrawA();
        VTR3RenderDrawD();
        Calls calls;
        for (const std::string& call : recorder_->TakeCalls()) {
            if (call.rfind("DrawIndexedPrimitive", 0) == 0) {
                EXPECT_EQ(call, "DrawIndexedPrimitive(4, 0, 0, 4, 0, 2)");
            } else {
                calls.push_back(call);
            }
        }
        return calls;
    }

    // View `view` post-processed by these steps, the others 0.
    void Steps(const std::vector<int>& steps, int view = kView) {
        g_viewManager.SetPostProcessing(view, 1);
        for (int i = 0; i < 10; ++i) {
            g_viewManager.SetPostProcessEffect(view, i, i < static_cast<int>(steps.size()) ? steps[i] : 0);
        }
    }
    static size_t Count(const std::vector<std::string>& rows, const std::string& row) {
        return static_cast<size_t>(std::count(rows.begin(), rows.end(), row));
    }

    // The rows written since the log was opened; closes the plug-in.
    std::vector<std::string> StopAndReadRows() {
        VTR3DeInitialize();
        initialized_ = false;
        return log_rows::Rows(ReadFileBytes(directory_.path() / "Vantor3.html"));
    }

    ScopedDirectory directory_;
    host::Engine engine_;
    RecordingDevice* recorder_ = nullptr;
    bool initialized_ = false;
};

#endif
