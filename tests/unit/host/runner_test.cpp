// vantor-run and vantor-fxcheck as processes: a scene script through the real plug-in from start to
// shut-down, reproducible frames, exit codes, and the effect checker's report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>

#include "png_file.h"
#include "profiler.h"
#include "run_command.h"
#include "scoped_directory.h"

namespace {

namespace fs = std::filesystem;

class Runner : public ::testing::Test {
  protected:
    // The plug-in loads its post-processing effects from VTR3Content in the engine's directory.
    Runner() { fs::create_directory_symlink(VTR3_CONTENT_DIR, directory_ / "VTR3Content"); }

    fs::path Write(const std::string& name, const std::string& text) const {
        std::ofstream(directory_ / name, std::ios::binary) << text;
        return directory_ / name;
    }

    CommandOutcome Run(const std::string& arguments) const {
        return RunCommandAndErrors(std::string(VTR3_RUNNER) + " --dir " + directory_.string() + " " +
                                   arguments);
    }

    ScopedDirectory scoped_;
    const fs::path directory_ = scoped_.path();
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

// Faults of the script, the plug-in and the command line, error rows in the log, and the effect
// checker's report: the exit status and the output, whole ('='), its beginning ('^') or a part of it
// ('~'; every part given).
TEST_F(Runner, ReportsFaultsAndTheEffectCheckersFindingsWithTheirExitStatus) {
    const std::string dir = directory_.string(), run = std::string(VTR3_RUNNER) + " --dir " + dir + " ";
    Write("bad.vs", "VTR3Initialize 0 \"t\"\nframe\n  bogus 1\n");
    Write("late.vs", "VTR3Initialize 0 \"t\"\nframe\nposition nowhere 1 2 3\n");
    Write("fails.vs", "VTR3Initialize 1 \"t\"\nVTR3TexDelete 99\nVTR3DeInitialize\n");
    Write("good.fx", "float4 VS(float4 p : POSITION) : POSITION { return p; }\n"
                     "float4 PS() : COLOR0 { return 1; }\n"
                     "technique Simple { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile "
                     "ps_2_0 PS(); } }\n"
                     "technique Three { pass P { VertexShader = compile vs_3_0 VS(); PixelShader = compile "
                     "ps_3_0 PS(); }\n"
                     "                  pass Q { VertexShader = compile vs_3_0 VS(); } }\n");
    Write("bad.fx", "float4 PS() : COLOR0\n{\n    return 1 + undefinedThing;\n}\n"
                    "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n");
    const struct {
        int status;
        char how;
        std::string command, output = "", more = ""; // `more` another part of the output
    } kCases[] = {
        {1, '=', run + dir + "/bad.vs", dir + "/bad.vs:3:3: error: unknown command 'bogus'\n"},
        // A fault while running still prints the summary of the frames drawn.
        {1, '~', run + dir + "/late.vs", dir + "/late.vs: 1 frame, "},
        {1, '~', run + dir + "/fails.vs", " information, 0 warnings, 1 errors, ",
         "vantor-run: the log holds 1 error row (see " + dir +
             "/Vantor3.html); the first: Das Objekt mit der ID: 99 "},
        {0, '~', run + "--allow-errors " + dir + "/fails.vs"},
        {0, '=', run + "--plugin " VTR3_FAKE_PLUGIN,
         "(default): 0 frames, 0.00 ms a frame, log: 0 information, 0 warnings, 0 errors, 0 labels; "
         "graphics: EGL surfaceless\n"},
        {1, '~', run + "--plugin " VTR3_NOT_A_PLUGIN},
        {1, '=', run + dir + "/missing.vs",
         "vantor-run: cannot read the script " + dir + "/missing.vs: no such file\n"},
        {1, '~', std::string(VTR3_RUNNER) + " --dir " + dir + "/missing"},
        {1, '~', "env -u DISPLAY " VTR3_RUNNER " --window",
         "vantor-run: --window needs an X display, and DISPLAY is not set"},
        {1, '~', run + "--steps " + dir + "/steps --plugin " VTR3_FAKE_PLUGIN,
         "vantor-run: no view was post-processed in the frame before\n"},
        {2, '~', run + "--frobnicate"},
        {2, '~', run + "--frames x"},
        {2, '~', run + "--watch", "vantor-run: --watch needs a script\n"},
        {0, '^', run + "--help", "usage: vantor-run [options] [SCRIPT]\n"},
        {0, '=', std::string(VTR3_FXCHECK) + " " + dir + "/good.fx",
         dir + "/good.fx: 2 techniques\n"
               "  technique Simple: 1 pass, device: valid, shader model 2: valid\n"
               "  technique Three: 2 passes, device: valid, shader model 2: invalid\n"},
        {1, '^', std::string(VTR3_FXCHECK) + " --no-sm2 " + dir + "/bad.fx",
         dir + "/bad.fx:3:16: error: undeclared identifier 'undefinedThing' [X3004]\n"},
        {2, '~', VTR3_FXCHECK},
    };
    for (const auto& c : kCases) {
        const CommandOutcome outcome = RunCommandAndErrors(c.command);
        const std::size_t at = outcome.output.find(c.output);
        EXPECT_EQ(outcome.exitCode, c.status) << c.command << "\n" << outcome.output;
        EXPECT_TRUE(c.how == '='   ? outcome.output == c.output
                    : c.how == '^' ? at == 0
                                   : at != std::string::npos)
            << c.command << " " << c.how << " " << c.output << "\n"
            << outcome.output;
        EXPECT_NE(outcome.output.find(c.more), std::string::npos) << c.more << "\n" << outcome.output;
    }
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
        // Found while the script runs, the fault names the statement; found at the end, the runner.
        EXPECT_NE(run.output.find(": frame " + std::string(1, blocked[10]) + " could not be written to " +
                                  (out / blocked).string() + ": D3DERR_INVALIDCALL (0x8876086c)\n"),
                  std::string::npos)
            << run.output;
        EXPECT_TRUE(fs::exists(out / "frame-00001.png")) << blocked;
    }
}

// An effect edited under a running --watch: a valid change, a syntax error, the file deleted, a fix,
// then the script changed. The runner's output drives each edit; every frame is a post-process
// step painting one colour (0.2 of 255 is 51), or the clear colour once the new script runs.
TEST_F(Runner, WatchReloadsEffectsKeepingTheLastGoodOneAndRerunsAChangedScript) {
    const auto tint = [](const char* rgb) {
        return "float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return float4(" + std::string(rgb) +
               ", 1); }\ntechnique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";
    };
    const std::string dir = directory_.string();
    Write("tint.fx", tint("0.2, 0.4, 0.6"));
    const fs::path script =
        Write("scene.vs", "VTR3Initialize 1 \"w\"\nVTR3ViewRegister 1 \"camera\"\n"
                          "VTR3EffectCreate 40\nVTR3EffectSetPath 40 \"tint.fx\"\n"
                          "VTR3EffectInitialize 40\nVTR3ViewSetPostProcessing 1 1\n"
                          "VTR3ViewSetPostProcessingEffect 1 0 40\nframe\nVTR3DeInitialize\n");
    const std::string watching = "vantor-run: watching " + script.string() + " and 10 effect files\n",
                      reloaded = "vantor-run: reloaded tint.fx (effect 40)\n",
                      kept = "vantor-run: effect 40 keeps the version that compiled last\n";
    const struct {
        std::string line; // once the runner printed it, the edit follows
        std::function<void()> edit;
    } kSteps[] = {
        {watching, [&] { Write("tint.fx", tint("0.8, 0.6, 0.4")); }},
        {reloaded, [&] { Write("tint.fx", tint("0.8, 0.6 0.4")); }},
        {"tint.fx(1,70): error X3000: syntax error: ')' expected\n", [&] {}},
        {kept, [&] { fs::remove(directory_ / "tint.fx"); }},
        {"tint.fx(1,1): error X1507: failed to open source file: 'tint.fx'\n", [&] {}},
        {kept, [&] { Write("tint.fx", tint("0.4, 0.2, 1.0")); }},
        {reloaded, [&] { Write("scene.vs", "VTR3Initialize 1 \"w\"\nclear 10 20 30\nframe\n"); }},
        {"vantor-run: watching " + script.string() + " and 9 effect files\n", [] {}},
    };
    FILE* runner = popen(("timeout 120 " VTR3_RUNNER " --dir " + dir + " --size 32x24 --out " + dir +
                          "/f --watch --watch-frames 6 " + script.string() + " 2>&1")
                             .c_str(),
                         "r");
    ASSERT_NE(runner, nullptr);
    std::string rest;
    char line[512];
    for (const auto& step : kSteps) {
        EXPECT_EQ(fgets(line, sizeof line, runner) ? line : "(the end)", step.line);
        step.edit();
    }
    while (fgets(line, sizeof line, runner)) {
        rest += line;
    }
    EXPECT_EQ(pclose(runner), 0) << rest;
    EXPECT_TRUE(std::regex_match(rest, std::regex(script.string() + R"(: 6 frames, .* 0 errors, .*\n)")))
        << rest;
    const unsigned kColours[] = {0x336699, 0xcc9966, 0xcc9966, 0xcc9966, 0x6633ff, 0x0a141e};
    for (unsigned frame = 1; frame <= 6; ++frame) {
        render_test::RgbaImage image;
        char name[32];
        std::snprintf(name, sizeof name, "f/frame-%05u.png", frame);
        ASSERT_TRUE(render_test::ReadPng((directory_ / name).string(), &image)) << name;
        for (unsigned at : {0u, 32u * 24u - 1u}) {
            const std::uint8_t* p = &image.rgba[at * 4];
            EXPECT_EQ(unsigned(p[0] << 16 | p[1] << 8 | p[2]), kColours[frame - 1]) << name << " " << at;
        }
    }
}

} // namespace

// Nearest rank over the samples a frame has (negative: none).
TEST(ProfileSummary, MedianAndNinetyFifthPercentile) {
    const struct {
        std::vector<float> samples;
        double median, p95;
    } kCases[] = {
        {{}, -1, -1},
        {{-1, 2}, 2, 2},
        {{4, 1, 3, 2}, 2, 4},
        {{5, 1, 4, 2, 3}, 3, 5},
        {{20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, -1}, 10, 19},
    };
    for (const auto& c : kCases) {
        const host::Summary summary = host::Summarize(c.samples);
        EXPECT_EQ(summary.median, c.median) << c.samples.size();
        EXPECT_EQ(summary.p95, c.p95) << c.samples.size();
    }
}
