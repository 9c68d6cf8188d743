// The plug-in loaded by the stand-in engine (1024 x 768 unless told otherwise) and driven only
// through its exports; its log read back whole or row by row (log_rows.h), and frames drawn through
// all its render events and read back.
#ifndef VTR3_TESTS_E2E_PLUGIN_FIXTURE_H
#define VTR3_TESTS_E2E_PLUGIN_FIXTURE_H

#include "engine.h"
#include "engine_string.h"
#include "frame_pixels.h"
#include "log_rows.h"
#include "platform_control.h"
#include "plugin.h"
#include "scoped_directory.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

class PluginTest : public ::testing::Test {
  protected:
    static constexpr const char* kTitle = "Vantor 3.0 Test";

    explicit PluginTest(int width = 1024, int height = 768) {
        // The post-processor loads its effect files from here at start-up.
        std::filesystem::create_directory_symlink(VTR3_CONTENT_DIR, "VTR3Content");
        engine_.CreateGraphics(width, height, "Acknex 6");
        Load();
    }
    ~PluginTest() override { plugin_.reset(); }

    void Load() {
        plugin_ = std::make_unique<host::Plugin>(VTR3_PLUGIN_PATH);
        EXPECT_EQ(plugin_->Bind(engine_), 630);
    }
    int Initialize(int logSwitch = 1) { return Call("VTR3Initialize", Var(logSwitch), Text(kTitle)); }
    // An export's result as an integer.
    template <typename... Args> int Call(const char* name, Args... arguments) {
        return a6::VarToInt(plugin_->Call(name, arguments...));
    }
    static var Var(int value) { return a6::VarFromInt(value); }
    // An engine string that lives as long as the test.
    a6::String* Text(const std::string& text) {
        strings_.push_back(std::make_unique<host::EngineString>(text));
        return strings_.back()->record();
    }

    // Unloads the plug-in, which destroys its library-wide objects, and returns the log.
    std::string UnloadAndReadLog() {
        plugin_.reset();
        return ReadFileBytes(directory_.path() / "Vantor3.html");
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

    ScopedDirectory directory_;
    host::Engine engine_;
    std::deque<std::unique_ptr<host::EngineString>> strings_;
    std::unique_ptr<host::Plugin> plugin_;
};

#endif
