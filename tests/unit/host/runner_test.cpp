// vantor-run and vantor-fxcheck as processes: a scene script through the real plug-in from start to
// shut-down, reproducible frames, exit codes, and the effect checker's report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "png_file.h"
#include "run_command.h"
#include "scoped_directory.h"

namespace {

namespace fs = std::filesystem;

class Runner : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ =
            fs::temp_directory_path() /
            ("vantor_run_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        // The plug-in loads its post-processing effects from VTR3Content in the engine's directory.
        fs::create_directory_symlink(VTR3_CONTENT_DIR, directory_ / "VTR3Content");
    }
    void TearDown() override { fs::remove_all(directory_); }

    fs::path Write(const std::string& name, const std::string& text) const {
        std::ofstream(directory_ / name, std::ios::binary) << text;
        return directory_ / name;
    }

    CommandOutcome Run(const std::string& arguments) const {
        return RunCommandAndErrors(std::string(VTR3_RUNNER) + " --dir " + directory_.string() + " " +
                                   arguments);
    }

    fs::path directory_;
};

constexpr const char* kScene = "VTR3Initialize 1 \"Runner test\"\n"
                               "position camera -200 0 50\n"
                               "mesh ball sphere 40 0 0 40\n"
                               "clear 40 60 90\n"
                               "VTR3ViewRegister 1 \"camera\"\n"
                               "frame 2\n"
                               "reset\n"
                               "frame\n"
                               "screenshot \"shot.png\"\n"
                               "VTR3DeInitialize\n";

TEST_F(Runner, RunsASceneThroughThePlugInAndRendersTheSameFramesTwice) {
    const fs::path script = Write("scene.vs", kScene);
    const CommandOutcome first = Run("--size 160x120 --out " + (directory_ / "a").string() + " --log " +
                                     (directory_ / "copy.html").string() + " " + script.string());
    EXPECT_EQ(first.exitCode, 0) << first.output;
    const std::regex summary(
        script.string() +
        R"(: 3 frames, [0-9]+\.[0-9]{2} ms a frame, log: [1-9][0-9]* )"
        R"(information, 0 warnings, 0 errors, [1-9][0-9]* labels; graphics: EGL (surfaceless|device)\n)");
    EXPECT_TRUE(std::regex_search(first.output, summary)) << first.output;
    EXPECT_NE(ReadFileBytes(directory_ / "copy.html").find("Ablauflogging"), std::string::npos);
    const std::string frame = ReadFileBytes(directory_ / "a" / "frame-00003.png");
    EXPECT_EQ(frame.compare(1, 3, "PNG"), 0);
    EXPECT_EQ(ReadFileBytes(directory_ / "shot.png"), frame);
    EXPECT_FALSE(fs::exists(directory_ / "a" / "frame-00004.png"));

    const CommandOutcome second =
        Run("--size 160x120 --out " + (directory_ / "b").string() + " " + script.string());
    EXPECT_EQ(second.exitCode, 0) << second.output;
    EXPECT_EQ(ReadFileBytes(directory_ / "b" / "frame-00003.png"), frame);
    EXPECT_NE(ReadFileBytes(directory_ / "b" / "frame-00001.png"),
              ReadFileBytes(directory_ / "b" / "frame-00002.png").substr(1));
}

// A view drawn into the plug-in's render-target texture 30: the clear colour with a blue box at the
// lower left, before and after a reset (which recreates the texture).
TEST_F(Runner, ScreenshotsThePlugInsTextures) {
    const fs::path script = Write(
        "rtt.vs", "VTR3Initialize 1 \"t\"\nview cut\nsize cut 32 16\nrender cut\nmesh b box 20 100 30 -25\n"
                  "colour b 0 0 255\nVTR3ViewRegister 2 \"cut\"\nVTR3TexCreate 30 0\nVTR3TexSetUsage 30 0\n"
                  "VTR3TexSetFormat 30 2\nVTR3TexSetSize 30 32 16\nVTR3TexSetViewID 30 0 2\n"
                  "VTR3TexInitialize 30\nVTR3ViewSetRTT 2 1\nclear 200 40 10\nframe\n"
                  "screenshot texture 30 \"a.png\"\nreset\nclear 10 200 40\nframe\n"
                  "screenshot texture 30 \"b.png\"\nscreenshot texture 30 face 0 \"c.png\"\n");
    const CommandOutcome outcome = Run("--size 64x48 " + script.string());
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.output.find(script.string() +
                                  ":22:23: error: texture 30 has no faces: it is no cube texture\n"),
              std::string::npos)
        << outcome.output;
    const struct {
        const char* file;
        unsigned x, y, rgb; // 0 for the box: blue alone
    } kPixels[] = {{"a.png", 0, 0, 0xc8280a}, {"a.png", 31, 15, 0xc8280a}, {"a.png", 5, 1, 0xc8280a},
                   {"a.png", 6, 14, 0},       {"b.png", 0, 0, 0x0ac828},   {"b.png", 6, 14, 0}};
    for (const auto& pixel : kPixels) {
        render_test::RgbaImage image;
        ASSERT_TRUE(render_test::ReadPng((directory_ / pixel.file).string(), &image)) << pixel.file;
        ASSERT_EQ(image.width * 100 + image.height, 3216u) << pixel.file;
        const std::uint8_t* p = &image.rgba[(pixel.y * image.width + pixel.x) * 4];
        const unsigned rgb = p[0] << 16 | p[1] << 8 | p[2];
        if (pixel.rgb) {
            EXPECT_EQ(rgb, pixel.rgb) << pixel.file << " " << pixel.x << "," << pixel.y;
        } else {
            EXPECT_TRUE(rgb < 0x100 && rgb > 0x30) << pixel.file << " " << std::hex << rgb;
        }
    }
}

TEST_F(Runner, FailsOnErrorRowsUnlessTheyAreAllowed) {
    const fs::path script = Write("fails.vs", "VTR3Initialize 1 \"t\"\nVTR3TexDelete 99\nVTR3DeInitialize\n");
    CommandOutcome outcome = Run(script.string());
    EXPECT_EQ(outcome.exitCode, 1) << outcome.output;
    EXPECT_NE(outcome.output.find(" information, 0 warnings, 1 errors, "), std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find("vantor-run: the log holds 1 error row (see " +
                                  (directory_ / "Vantor3.html").string() +
                                  "); the first: Das Objekt mit der ID: 99 "),
              std::string::npos)
        << outcome.output;
    outcome = Run("--allow-errors " + script.string());
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
}

TEST_F(Runner, ReportsScriptFaultsBadPlugInsAndBadCommandLines) {
    const fs::path script = Write("bad.vs", "VTR3Initialize 0 \"t\"\nframe\n  bogus 1\n");
    CommandOutcome outcome = Run(script.string());
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.output, script.string() + ":3:3: error: unknown command 'bogus'\n");
    // A fault while running still prints the summary of the frames drawn.
    const fs::path late = Write("late.vs", "VTR3Initialize 0 \"t\"\nframe\nposition nowhere 1 2 3\n");
    outcome = Run(late.string());
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.output.find(late.string() + ": 1 frame, "), std::string::npos) << outcome.output;

    outcome = Run("--plugin " VTR3_FAKE_PLUGIN);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_EQ(outcome.output,
              "(default): 0 frames, 0.00 ms a frame, log: 0 information, 0 warnings, 0 errors, 0 labels; "
              "graphics: EGL surfaceless\n");
    EXPECT_EQ(Run("--plugin " VTR3_NOT_A_PLUGIN).exitCode, 1);

    EXPECT_EQ(Run((directory_ / "missing.vs").string()).output, "vantor-run: cannot read the script " +
                                                                    (directory_ / "missing.vs").string() +
                                                                    ": no such file\n");
    EXPECT_EQ(RunCommandAndErrors(std::string(VTR3_RUNNER) + " --dir " + (directory_ / "missing").string())
                  .exitCode,
              1);
    outcome = RunCommandAndErrors("env -u DISPLAY " + std::string(VTR3_RUNNER) + " --window");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.output.find("vantor-run: --window needs an X display, and DISPLAY is not set"),
              std::string::npos)
        << outcome.output;
    EXPECT_EQ(Run("--frobnicate").exitCode, 2);
    EXPECT_EQ(Run("--frames x").exitCode, 2);
    outcome = Run("--help");
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.output.rfind("usage: vantor-run [options] [SCRIPT]\n", 0), 0u);
}

TEST_F(Runner, FxCheckListsTechniquesAndLocatesCompilerErrors) {
    const fs::path good =
        Write("good.fx",
              "float4 VS(float4 p : POSITION) : POSITION { return p; }\n"
              "float4 PS() : COLOR0 { return 1; }\n"
              "technique Simple { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 "
              "PS(); } }\n"
              "technique Three { pass P { VertexShader = compile vs_3_0 VS(); PixelShader = compile ps_3_0 "
              "PS(); }\n"
              "                  pass Q { VertexShader = compile vs_3_0 VS(); } }\n");
    CommandOutcome outcome = RunCommandAndErrors(std::string(VTR3_FXCHECK) + " " + good.string());
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.output, good.string() +
                                  ": 2 techniques\n"
                                  "  technique Simple: 1 pass, device: valid, shader model 2: valid\n"
                                  "  technique Three: 2 passes, device: valid, shader model 2: invalid\n");
    const fs::path bad = Write("bad.fx", "float4 PS() : COLOR0\n{\n    return 1 + undefinedThing;\n}\n"
                                         "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n");
    outcome = RunCommandAndErrors(std::string(VTR3_FXCHECK) + " --no-sm2 " + bad.string());
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.output.rfind(
                  bad.string() + ":3:16: error: undeclared identifier 'undefinedThing' [X3004]\n", 0),
              0u)
        << outcome.output;
    EXPECT_EQ(RunCommandAndErrors(std::string(VTR3_FXCHECK)).exitCode, 2);
}

// Frames are encoded and written on a thread of their own: a frame that cannot be written still fails
// the run with its file named, the last frame too, and the frames before it are on disk.
TEST_F(Runner, AFrameThatCannotBeWrittenFailsTheRun) {
    const fs::path script =
        Write("frames.vs", "VTR3Initialize 1 \"Runner test\"\nframe 3\nVTR3DeInitialize\n");
    for (const char* blocked : {"frame-00002.png", "frame-00003.png"}) {
        const fs::path out = directory_ / blocked / "out";
        fs::create_directories(out / blocked); // a directory where the file should go
        const CommandOutcome run = Run("--size 64x48 --out " + out.string() + " " + script.string());
        EXPECT_EQ(run.exitCode, 1) << blocked;
        EXPECT_NE(run.output.find("vantor-run: frame " + std::string(1, blocked[10]) +
                                  " could not be written to " + (out / blocked).string() +
                                  ": D3DERR_INVALIDCALL (0x8876086c)\n"),
                  std::string::npos)
            << run.output;
        EXPECT_TRUE(fs::exists(out / "frame-00001.png")) << blocked;
    }
}

} // namespace
