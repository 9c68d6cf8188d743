// A whole demo run through the exports: start-up, a post-processed view over three frames, a
// device reset between the release and re-creation of the resources, two more frames, a view the
// plug-in does not know, shut-down. The log is compared row by row with expected/demo_run.txt
// (VTR3_UPDATE_EXPECTED=1 rewrites it); the components' build stamps are masked.
#include "post_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> ExpectedRows(const std::vector<std::string>& rows) {
    const std::string path = std::string(VTR3_EXPECTED_DIR) + "/demo_run.txt";
    if (const char* update = std::getenv("VTR3_UPDATE_EXPECTED"); update && std::string(update) == "1") {
        std::ofstream out(path, std::ios::binary);
        for (const std::string& row : rows) {
            out << row << '\n';
        }
    }
    std::vector<std::string> expected;
    std::istringstream lines(ReadFileBytes(path));
    for (std::string line; std::getline(lines, line);) {
        expected.push_back(line);
    }
    return expected;
}

TEST_F(PostTest, AWholeDemoRunWritesTheExpectedRows) {
    auto frames = [&](int count) {
        for (int i = 0; i < count; ++i) {
            DrawView([](IDirect3DDevice9* device) {
                device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699, 1.0f, 0);
            });
        }
    };
    PostProcess({30001, 30002, 30005, 30004, 30011});
    Call("VTR3EffectSetValue", Var(30002), Var(0), a6::VarFromDouble(0.75));
    frames(3);
    Call("VTR3ReleaseResources");
    EXPECT_EQ(ResetBackBuffer(1024, 768), D3D_OK) << "a video-memory resource outlived the release";
    Call("VTR3RecreateResources");
    frames(2);
    engine_.SetRenderedView(&engine_.objects().AddView("elsewhere"));
    frames(1);
    DeInitialize();
    plugin_.reset();

    std::vector<std::string> rows = log_rows::Rows(ReadFileBytes(directory_.path() / "Vantor3.html"));
    const std::string stamps = "Letzte \xc4nderung: ";
    for (std::string& row : rows) {
        const size_t at = row.find(stamps);
        if (at != std::string::npos) {
            row = row.substr(0, at + stamps.size()) + "<stamps>";
        }
    }
    EXPECT_EQ(rows, ExpectedRows(rows));
}

} // namespace
