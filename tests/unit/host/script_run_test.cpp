// Scene scripts run against the fake plug-in: the render events around the engine's own drawing of
// each view, the clock, the device reset, the engine objects a script declares, and the faults of a
// running script with the statement they name.
#include <gtest/gtest.h>

#include <d3dx9.h>

#include <string>
#include <vector>

#include "engine.h"
#include "platform_control.h"
#include "plugin.h"
#include "script_run.h"

namespace {

using host::script::ScriptError;

class ScriptRun : public ::testing::Test {
  protected:
    void SetUp() override {
        engine_.CreateGraphics(64, 64, "script");
        ASSERT_EQ(plugin_.Bind(engine_), 630);
    }

    // The fault's message; empty when the script ran to its end.
    std::string Run(const std::string& text) {
        try {
            run_.Execute(host::script::ParseScript(text, "r.vs"));
        } catch (const ScriptError& error) {
            return error.what();
        }
        return "";
    }

    std::string Trace() { return reinterpret_cast<const char* (*)()>(plugin_.Export("FakeTrace"))(); }

    // The back buffer's pixel as 0xRRGGBB.
    unsigned Pixel(int x, int y) {
        std::vector<std::uint8_t> bgra;
        UINT width = 0, height = 0;
        platform::ReadBackBuffer(engine_.device(), &bgra, &width, &height);
        const std::uint8_t* p = &bgra[(static_cast<std::size_t>(y) * width + x) * 4];
        return p[2] << 16 | p[1] << 8 | p[0];
    }

    host::Engine engine_;
    host::Plugin plugin_{VTR3_FAKE_PLUGIN};
    host::script::ScriptRun run_{engine_, plugin_, host::script::RunSettings()};
};

TEST_F(ScriptRun, SendsRenderEventsAroundTheEngineDrawingOfEachView) {
    EXPECT_EQ(Run("view mirror\n"
                  "position mirror 5 0 0\n"
                  "angles camera 90 0 0\n"
                  "mesh block box 20 -30 100 -25\n"
                  "clear 0 0 255\n"
                  "render mirror\n"
                  "render camera\n"
                  "during camera VTR3RenderDrawE 7\n"
                  "clock 100\n"
                  "tick 40\n"
                  "frame 2\n"
                  "reset\n"
                  "frame\n"),
              "");
    EXPECT_EQ(Trace(), "A(x=5,t=100) D A(x=0,t=100) E7 D A(x=5,t=140) D A(x=0,t=140) E7 D Release Recreate "
                       "A(x=5,t=180) D A(x=0,t=180) E7 D ");
    EXPECT_EQ(run_.framesDrawn(), 3);
    EXPECT_EQ(GetTickCount(), 220u);
    // DrawD's corner stays; the engine cleared over DrawA's. The box, west (left) of the camera's
    // line of sight and below it, is lit grey there and nowhere else.
    EXPECT_EQ(Pixel(0, 0), 0xff00ffu);
    EXPECT_EQ(Pixel(62, 62), 0x0000ffu);
    for (const auto& [x, y] : {std::pair{32, 32}, {46, 15}, {46, 46}, {15, 15}}) {
        EXPECT_EQ(Pixel(x, y), 0x0000ffu) << x << "," << y;
    }
    const unsigned box = Pixel(15, 46);
    EXPECT_GT(box >> 16, 0x30u) << std::hex << box;
    EXPECT_EQ(box >> 16, (box >> 8) & 0xff) << std::hex << box; // lit white: no hue of red or green
    // engine_getobj finds what the script declared; the block shows the mesh.
    void* block = engine_.objects().Find("block");
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(a6::BlockField(engine_.block(), a6::kOffsetMesh), reinterpret_cast<uintptr_t>(block));
    EXPECT_NE(engine_.objects().FindView("mirror"), nullptr);
}

TEST_F(ScriptRun, ColoursAMeshAndKeepsWhatStageADrewWithoutClear) {
    EXPECT_EQ(Run("angles camera 90 0 0\nmesh block box 20 -30 100 -25\ncolour block 255 0 0\nclear 0 0 "
                  "255\nnoclear\nframe\n"),
              "");
    EXPECT_EQ(Pixel(62, 62), 0x00ff00u); // stage A's corner, under no clear
    EXPECT_EQ(Pixel(32, 32), 0x000000u); // nothing cleared the colour
    const unsigned box = Pixel(15, 46);
    EXPECT_GT(box >> 16, 0x30u) << std::hex << box;
    EXPECT_EQ(box & 0xffffu, 0u) << std::hex << box; // lit red
}

TEST_F(ScriptRun, DefaultsToTheCameraAndSetsVectorsAgain) {
    EXPECT_EQ(Run("vector p 1 2 3\nvector p 4 5 0.5\nVTR3RenderDrawE 1\nframe\n"), "");
    EXPECT_EQ(Trace(), "E1 A(x=0,t=0) D ");
    const a6::Vector* p = engine_.objects().FindVector("p");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->x, 4 << 10);
    EXPECT_EQ(p->z, 512);
}

TEST_F(ScriptRun, FaultsNameTheStatementAndStopTheRun) {
    const struct {
        const char* text;
        const char* message;
    } kCases[] = {
        {"position nowhere 1 2 3", "r.vs:1:10: error: unknown view 'nowhere'"},
        {"during nowhere VTR3RenderDrawE 1", "r.vs:1:8: error: unknown view 'nowhere'"},
        {"VTR3ObjectCreate 1 1", "r.vs:1:1: error: the plug-in has no export 'VTR3ObjectCreate'"},
        {"view camera", "r.vs:1:1: error: there is an engine object named \"camera\" already"},
        {"vector camera 1 2 3", "r.vs:1:1: error: there is an engine object named \"camera\" already"},
        {"mesh camera box 1 0 0 0", "r.vs:1:6: error: the engine has an object named 'camera'"},
        {"mesh m cone 1 0 0 0", "r.vs:1:8: error: unknown shape 'cone' (box or sphere)"},
        {"mesh m box 0 0 0 0", "r.vs:1:8: error: a mesh needs a positive size"},
        {"frame 1.5", "r.vs:1:7: error: a frame count must be a whole number from 0 to 1000000, not 1.5"},
        {"colour camera 1 2 3", "r.vs:1:8: error: unknown mesh 'camera'"},
        {"clear 0 256 0", "r.vs:1:9: error: green must be a whole number from 0 to 255, not 256"},
        {"arc camera 180", "r.vs:1:12: error: the arc must lie between 0 and 180 degrees, not 180"},
        {"size camera -1 5", "r.vs:1:13: error: a width must be a whole number from 0 to 16384, not -1"},
        {"screenshot \"/nonexistent/x.png\"", "r.vs:1:12: error: the back buffer could not be written to "
                                              "'/nonexistent/x.png': D3DERR_INVALIDCALL (0x8876086c)"},
        {"screenshot texture 5 \"x.png\"", "r.vs:1:20: error: the plug-in holds no texture 5"},
        {"screenshot texture 5 face 6 \"x.png\"",
         "r.vs:1:27: error: a face must be a whole number from 0 to 5, not 6"},
        {"VTR3RenderDrawE 1\nposition nowhere 1 2 3\nVTR3RenderDrawE 2",
         "r.vs:2:10: error: unknown view 'nowhere'"},
    };
    for (const auto& test : kCases) {
        EXPECT_EQ(Run(test.text), test.message) << test.text;
    }
    EXPECT_EQ(Trace(), "E1 ");
}

TEST_F(ScriptRun, ReportsADeviceThatDoesNotReset) {
    IDirect3DTexture9* held = nullptr; // a default-pool texture alive: Reset must refuse
    ASSERT_EQ(engine_.device()->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                              D3DPOOL_DEFAULT, &held, nullptr),
              D3D_OK);
    EXPECT_EQ(Run("\n  reset"), "r.vs:2:3: error: the device did not reset: D3DERR_INVALIDCALL (0x8876086c)");
    EXPECT_EQ(Trace(), "Release ");
    held->Release();
}

} // namespace
