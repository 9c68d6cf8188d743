// The scene scripts under content/demo through vantor-run: every one runs without an error row, the
// demo's frame matches its golden (tolerance 2 per channel) while profiled, and the demo's log, its
// profile and the contact sheet of its bloom chain, opened in headless Chromium, parse into the
// expected tables and charts.
#include "golden_image.h"
#include "log_rows.h"
#include "png_file.h"
#include "run_command.h"
#include "scoped_directory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;
using log_rows::Count;

// Runs SCRIPT in a fresh engine directory that holds VTR3Content and demo/, as tools/run.sh does.
CommandOutcome RunScript(const fs::path& directory, const fs::path& script, const std::string& options = "") {
    fs::remove_all(directory);
    fs::create_directories(directory);
    fs::create_directory_symlink(VTR3_CONTENT_DIR, directory / "VTR3Content");
    fs::create_directory_symlink(VTR3_DEMO_DIR, directory / "demo");
    return RunCommandAndErrors(std::string(VTR3_RUNNER) + " --dir " + directory.string() + " " + options +
                               script.string());
}

class DemoScene : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        run_ = new CommandOutcome(RunScript(Directory(), fs::path(VTR3_DEMO_DIR) / "demo.vs",
                                            "--profile --steps " + (Directory() / "steps").string() + " "));
    }
    static void TearDownTestSuite() {
        delete run_;
        std::error_code ignored;
        fs::remove_all(Directory(), ignored);
    }
    // One a process: CTest runs the tests of this program as parallel processes.
    static fs::path Directory() {
        return fs::temp_directory_path() / ("vtr3_demo_scene_" + std::to_string(getpid()));
    }

    static CommandOutcome* run_;
};

CommandOutcome* DemoScene::run_ = nullptr;

TEST_F(DemoScene, FrameMatchesItsGolden) {
    ASSERT_EQ(run_->exitCode, 0) << run_->output;
    render_test::RgbaImage image;
    ASSERT_TRUE(render_test::ReadPng((Directory() / "demo.png").string(), &image));
    render_test::Frame frame{image.width, image.height, image.rgba};
    for (std::size_t i = 0; i + 3 < frame.bgra.size(); i += 4) {
        std::swap(frame.bgra[i], frame.bgra[i + 2]);
    }
    EXPECT_TRUE(render_test::MatchesGolden("demo_scene", frame, 2, 16));
}

TEST_F(DemoScene, EveryFeatureScriptRunsWithoutErrorRows) {
    for (const fs::directory_entry& entry : fs::directory_iterator(VTR3_DEMO_DIR)) {
        if (entry.path().extension() == ".vs" && entry.path().filename() != "demo.vs") {
            const CommandOutcome outcome = RunScript(Directory() / "feature", entry.path());
            EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
        }
    }
}

// The page as headless Chromium parsed it.
CommandOutcome Dom(const fs::path& page, const fs::path& directory) {
    return RunCommand("chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir=" +
                      (directory / "profile").string() + " --dump-dom file://" + page.string() +
                      " 2>/dev/null");
}

bool HaveChromium() {
    return std::system("command -v chromium >/dev/null 2>&1") == 0;
}

TEST_F(DemoScene, LogOpensInChromium) {
    ASSERT_EQ(run_->exitCode, 0) << run_->output;
    if (!HaveChromium()) {
        GTEST_SKIP() << "chromium is not installed (tools/setup.sh installs it): the log was not opened";
    }
    const fs::path log = Directory() / "Vantor3.html";
    const CommandOutcome dom = Dom(log, Directory());
    ASSERT_EQ(dom.exitCode, 0);
    const std::string source = ReadFileBytes(log);

    // Five framed sections in order, each an outer table around an inner one, every row of the
    // source parsed into a row of two cells; the Windows-1252 umlaut decoded.
    EXPECT_NE(dom.output.find("<title>Vantor 3.0 Debuginformationen</title>"), std::string::npos);
    std::size_t at = 0;
    for (const char* section : {"Allgemeine Informationen:", "Initialisierung:",
                                "F\xC3\xA4higkeiten der Hardware:", "Ablauflogging:", "Deinitialisierung:"}) {
        at = dom.output.find(std::string("<b>") + section + "</b>", at);
        EXPECT_NE(at, std::string::npos) << section;
    }
    EXPECT_EQ(Count(dom.output, "<table"), 10u);
    EXPECT_EQ(Count(dom.output, "<tbody>"), 10u);
    const std::size_t rows = Count(source, "<tr bgcolor=");
    EXPECT_EQ(rows, 84u);
    const std::regex row(
        "<tr bgcolor=\"#(E9E9E9|D7D7D7)\">\\s*<td[^>]*>.*</td>\\s*<td[^>]*>.*</td>\\s*</tr>");
    const std::ptrdiff_t parsedRows = std::distance(
        std::sregex_iterator(dom.output.begin(), dom.output.end(), row), std::sregex_iterator());
    EXPECT_EQ(static_cast<std::size_t>(parsedRows), rows);
    EXPECT_EQ(Count(dom.output, "<b>Information:</b>"), 65u);
}

// Every item once on standard output with its medians, the bloom chain's five steps by effect file,
// and in the page one bar a frame for each; the contact sheet shows each step's median time.
TEST_F(DemoScene, ProfileAndContactSheetOpenInChromium) {
    ASSERT_EQ(run_->exitCode, 0) << run_->output;
    const std::regex row(
        "\n(  )?(frame|(reflection|refraction|camera) [^\n]*?)( +(-|[0-9]+\\.[0-9]{3})){4}(?=\n)");
    std::string items;
    for (auto at = std::sregex_iterator(run_->output.begin(), run_->output.end(), row);
         at != std::sregex_iterator(); ++at) {
        items += (*at)[2].str() + ";";
    }
    const std::string steps = "camera step 1: 30001 half_copy;"
                              "camera step 2: 30002 vtr3_brightpass (VTR3Content\\vtr3_brightpass.fx);"
                              "camera step 3: 30005 vtr3_hbloom (VTR3Content\\vtr3_hbloom.fx);"
                              "camera step 4: 30004 vtr3_vbloom (VTR3Content\\vtr3_vbloom.fx);"
                              "camera step 5: 30011 vtr3_combine (VTR3Content\\vtr3_combine.fx);";
    EXPECT_EQ(
        items,
        "frame;reflection VTR3RenderDrawA;reflection engine drawing;reflection VTR3RenderDrawD;"
        "refraction VTR3RenderDrawA;refraction engine drawing;refraction VTR3RenderDrawD;"
        "camera VTR3RenderDrawA;camera engine drawing;camera VTR3RenderDrawE 5;camera VTR3RenderDrawD;" +
            steps);
    EXPECT_TRUE(
        std::regex_search(run_->output, std::regex("The profiler's own calls took [0-9.]+ ms a frame of the "
                                                   "[0-9.]+ ms a frame drawn with them.\n")));
    if (!HaveChromium()) {
        GTEST_SKIP() << "chromium is not installed (tools/setup.sh installs it): the pages were not opened";
    }
    const CommandOutcome profile = Dom(Directory() / "vantor-profile.html", Directory());
    ASSERT_EQ(profile.exitCode, 0);
    const std::regex stepRow(
        "<tr class=\"step\"><td class=\"name\">(camera step [^<]*)</td>(<td>[0-9.]+</td>){4}"
        "<td><svg class=\"item\"[^>]*>(<rect [^>]*><title>frame [1-6]: [0-9.]+ ms</title></rect>){6}"
        "</svg></td></tr>");
    std::string drawn;
    for (auto at = std::sregex_iterator(profile.output.begin(), profile.output.end(), stepRow);
         at != std::sregex_iterator(); ++at) {
        drawn += (*at)[1].str() + ";";
    }
    EXPECT_EQ(drawn, steps);
    const CommandOutcome sheet = Dom(Directory() / "steps" / "steps.html", Directory());
    ASSERT_EQ(sheet.exitCode, 0);
    EXPECT_EQ(Count(sheet.output, "<img src=\"data:image/png;base64,"), 6u);
    const std::regex time("<br>[0-9]+\\.[0-9]{3} ms</figcaption>");
    EXPECT_EQ(std::distance(std::sregex_iterator(sheet.output.begin(), sheet.output.end(), time),
                            std::sregex_iterator()),
              5);
}

} // namespace
