// Scene scripts: as text, what every command accepts and each fault with its file:line:column; run
// against the fake plug-in, the render events around the engine's own drawing of each view, the
// clock, the device reset, the engine objects a script declares, and the faults of a running script
// with the statement they name. And a plug-in loaded and called by name, with the errors on the way.
#include <gtest/gtest.h>

#include <d3dx9.h>
#include <dlfcn.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine.h"
#include "frame_pixels.h"
#include "host_error.h"
#include "plugin.h"
#include "script_run.h"
#include "script_syntax.h"

namespace {

using host::script::ParseScript;
using host::script::Statement;
using host::script::TokenKind;

// The message of the error that `action` throws; empty when it throws none.
template <typename Action> std::string ErrorText(Action action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

TEST(ScriptSyntax, ReadsEveryCommandWithItsArguments) {
    const std::string text = "# every command once\r\n"
                             "vector point 1 -2.5 .5   # a comment after a statement\n"
                             "view mirror\n"
                             "position mirror 1 2 3\n"
                             "angles mirror 90 -10 0\n"
                             "arc mirror 75\n"
                             "size mirror 256 128\n"
                             "layer mirror 1\n"
                             "mesh ground box 100 0 0 -50\n"
                             "clear 10 20 30\n"
                             "render mirror\n"
                             "\tduring mirror VTR3RenderDrawE 7\n"
                             "frame\n"
                             "frame 3\n"
                             "clock 1000\n"
                             "tick 40\n"
                             "reset\n"
                             "screenshot \"out\\\\shot \\\"1\\\".png\"\n"
                             "VTR3TexSetPath 1 \"VTR3Content\\water.dds\"\n"
                             "VTR3ViewSetClipPlane 2 \"point\" \"normal\" 1\n"
                             "colour ground 255 128 0\n"
                             "noclear";
    const std::vector<Statement> script = ParseScript(text, "all.vs");
    std::string commands;
    for (const Statement& statement : script) {
        commands += statement.command.text + " ";
    }
    EXPECT_EQ(commands,
              "vector view position angles arc size layer mesh clear render during frame frame clock "
              "tick reset screenshot VTR3TexSetPath VTR3ViewSetClipPlane colour noclear ");
    EXPECT_EQ(script[0].arguments[2].number, -2.5);
    EXPECT_EQ(script[0].arguments[3].number, 0.5);
    EXPECT_EQ(script[0].command.where.line, 2);
    const Statement& during = script[10];
    ASSERT_EQ(during.body.size(), 1u);
    EXPECT_EQ(during.body[0].command.text, "VTR3RenderDrawE");
    EXPECT_EQ(during.body[0].command.where.column, 16);
    EXPECT_EQ(during.body[0].arguments[0].number, 7);
    EXPECT_TRUE(script[11].arguments.empty());
    EXPECT_EQ(script[16].arguments[0].text, "out\\shot \"1\".png");    // \\ and \" are escapes
    EXPECT_EQ(script[17].arguments[1].text, "VTR3Content\\water.dds"); // any other backslash stays
    EXPECT_EQ(script[18].arguments[1].kind, TokenKind::kString);
}

TEST(ScriptSyntax, FaultsNameFileLineAndColumn) {
    const struct {
        const char* text;
        const char* message;
    } kCases[] = {
        {"frobnicate 1", "s.vs:1:1: error: unknown command 'frobnicate'"},
        {"  VTR3Nope 1", "s.vs:1:3: error: unknown export 'VTR3Nope'"},
        {"vector v 1 2", "s.vs:1:1: error: 'vector' takes 4 arguments (NAME X Y Z), not 3"},
        {"VTR3DeInitialize 1", "s.vs:1:1: error: 'VTR3DeInitialize' takes 0 arguments, not 1"},
        {"frame 1 2", "s.vs:1:1: error: 'frame' takes 0 or 1 arguments ([COUNT]), not 2"},
        {"render", "s.vs:1:1: error: 'render' takes 1 argument (VIEW), not 0"},
        {"VTR3TexSetPath 1 2", "s.vs:1:18: error: argument 2 of 'VTR3TexSetPath' must be a string"},
        {"view 12", "s.vs:1:6: error: argument 1 of 'view' must be a name"},
        {"\n\nview a\r\nsize a 1 x", "s.vs:4:10: error: argument 3 of 'size' must be a number"},
        {"VTR3TexSetPath 1 \"abc", "s.vs:1:18: error: unterminated string"},
        {"screenshot \"a\"b", "s.vs:1:15: error: unexpected 'b' after a string"},
        {"screenshot texture 1",
         "s.vs:1:1: error: 'screenshot' takes 3 arguments (texture ID \"FILE.png\"), not 2"},
        {"screenshot txture 1 \"a\"", "s.vs:1:12: error: expected 'texture', not 'txture'"},
        {"screenshot steps 1", "s.vs:1:18: error: argument 2 of 'screenshot' must be a string"},
        {"screenshot texture 1 side 2 \"a\"", "s.vs:1:22: error: expected 'face', not 'side'"},
        {"screenshot texture 1 face \"a\"",
         "s.vs:1:1: error: 'screenshot' takes 5 arguments (texture ID face N \"FILE.png\"), not 4"},
        {"1 2", "s.vs:1:1: error: a statement begins with a command, not a number"},
        {"\"x\"", "s.vs:1:1: error: a statement begins with a command, not a string"},
        {"clear 1 2 @", "s.vs:1:11: error: unexpected '@'"},
        {"view a\x01", "s.vs:1:7: error: unexpected byte 0x01 after 'a'"},
        {"clock 1.2.3", "s.vs:1:7: error: '1.2.3' is not a number"},
        {"clock -5x", "s.vs:1:7: error: '-5x' is not a number"},
        {"clock 2097152", "s.vs:1:7: error: the number 2097152 does not fit a var (-2097152 to 2097151.999)"},
        {"during camera",
         "s.vs:1:1: error: 'during' takes a view and an export call (VIEW EXPORT ARGUMENTS...)"},
        {"during camera frame 2", "s.vs:1:15: error: 'during' repeats an export call, not 'frame'"},
        {"during camera VTR3RenderDrawE",
         "s.vs:1:15: error: 'VTR3RenderDrawE' takes 1 argument (OBJECT), not 0"},
    };
    for (const auto& test : kCases) {
        EXPECT_EQ(ErrorText([&] { ParseScript(test.text, "s.vs"); }), test.message) << test.text;
    }
    EXPECT_NO_THROW(ParseScript("clock 2097151.999\nclock -2097152\n", "s.vs"));
}

TEST(Plugin, RefusesWhatCannotBeLoadedOrCalledAndUnloadsWhenDestroyed) {
    EXPECT_EQ(ErrorText([] { host::Plugin("/nonexistent/libVantor3.so"); }),
              "plug-in \"/nonexistent/libVantor3.so\" does not exist");
    EXPECT_NE(ErrorText([] { host::Plugin(""); }), "");
    EXPECT_EQ(ErrorText([] { host::Plugin(VTR3_NOT_A_PLUGIN); }),
              "\"" VTR3_NOT_A_PLUGIN "\" is no engine plug-in: it has no export A6_DLLAPI");
    EXPECT_NE(ErrorText([] { host::Plugin(VTR3_HOST_TEST_SOURCE); }).find("could not be loaded"),
              std::string::npos);
    {
        host::Plugin plugin(VTR3_FAKE_PLUGIN);
        EXPECT_EQ(ErrorText([&] { plugin.Call("VTR3NoSuchExport"); }),
                  "plug-in \"" VTR3_FAKE_PLUGIN "\" has no export \"VTR3NoSuchExport\"");
        EXPECT_NE(ErrorText([&] { plugin.Call(nullptr); }), "");
        EXPECT_NE(ErrorText([&] { plugin.Call("A6_DLLAPI", 0); }), "");
        const var v = 0;
        EXPECT_NE(ErrorText([&] { plugin.Call("VTR3RenderDrawE", v, v, v, v, v); }), "");
        EXPECT_EQ(plugin.Export("VTR3NoSuchExport"), nullptr);
    }
    void* still = dlopen(VTR3_FAKE_PLUGIN, RTLD_NOW | RTLD_NOLOAD); // unloaded with the plug-in
    EXPECT_EQ(still, nullptr);
    if (still) {
        dlclose(still);
    }
}

class ScriptRun : public ::testing::Test {
  protected:
    void SetUp() override {
        engine_.CreateGraphics(64, 64, "script");
        ASSERT_EQ(plugin_.Bind(engine_), 630);
    }

    // The fault's message; empty when the script ran to its end.
    std::string Run(const std::string& text) {
        return ErrorText([&] { run_.Execute(ParseScript(text, "r.vs")); });
    }

    std::string Trace() { return reinterpret_cast<const char* (*)()>(plugin_.Export("FakeTrace"))(); }

    // The back buffer's pixel as 0xRRGGBB.
    unsigned Pixel(unsigned x, unsigned y) {
        const render_test::Rgb rgb = render_test::At(render_test::ReadFrame(engine_.device()), x, y);
        return rgb[0] << 16 | rgb[1] << 8 | rgb[2];
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
    for (const auto& [x, y] : {std::pair{62, 62}, {32, 32}, {46, 15}, {46, 46}, {15, 15}}) {
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

// Without a `render`, the camera is drawn; a vector set again takes the new value.
TEST_F(ScriptRun, ColoursAMeshKeepsWhatStageADrewWithoutClearAndDefaultsToTheCamera) {
    EXPECT_EQ(
        Run("vector p 1 2 3\nvector p 4 5 0.5\nVTR3RenderDrawE 1\nangles camera 90 0 0\nmesh block box 20 "
            "-30 100 -25\ncolour block 255 0 0\nclear 0 0 255\nnoclear\nframe\n"),
        "");
    EXPECT_EQ(Trace(), "E1 A(x=0,t=0) D ");
    const a6::Vector* p = engine_.objects().FindVector("p");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->x, 4 << 10);
    EXPECT_EQ(p->z, 512);
    EXPECT_EQ(Pixel(62, 62), 0x00ff00u); // stage A's corner, under no clear
    EXPECT_EQ(Pixel(32, 32), 0x000000u); // nothing cleared the colour
    const unsigned box = Pixel(15, 46);
    EXPECT_GT(box >> 16, 0x30u) << std::hex << box;
    EXPECT_EQ(box & 0xffffu, 0u) << std::hex << box; // lit red
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
        {"screenshot steps \"s\"", "r.vs:1:18: error: the post-processing steps: no view was post-processed "
                                   "in the frame before"},
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
