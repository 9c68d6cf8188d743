// A whole demo run through the exports: start-up, a post-processed view over three frames, a
// device reset between the release and re-creation of the resources, two more frames, a view the
// plug-in does not know, shut-down. The log is compared row by row with expected/demo_run.txt
// (VTR3_UPDATE_EXPECTED=1 rewrites it); the components' build stamps are masked.
#include "engine.h"
#include "engine_string.h"
#include "log_rows.h"
#include "plugin.h"
#include "scoped_directory.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

std::vector<std::string> MaskStamps(std::vector<std::string> rows) {
    const std::string stamps = "Letzte \xc4nderung: ";
    for (std::string& row : rows) {
        const size_t at = row.find(stamps);
        if (at != std::string::npos) {
            row = row.substr(0, at + stamps.size()) + "<stamps>";
        }
    }
    return rows;
}

TEST(DemoLogTest, AWholeRunWritesTheExpectedRows) {
    ScopedDirectory directory;
    std::filesystem::create_directory_symlink(VTR3_CONTENT_DIR, "VTR3Content");
    host::Engine engine;
    engine.CreateGraphics(1024, 768, "Acknex 6");
    std::deque<host::EngineString> strings;
    auto text = [&strings](const char* value) {
        strings.emplace_back(value);
        return strings.back().record();
    };
    {
        host::Plugin plugin(VTR3_PLUGIN_PATH);
        plugin.Bind(engine);
        auto call = [&plugin](const char* name, auto... arguments) { plugin.Call(name, arguments...); };
        const auto v = [](int value) { return a6::VarFromInt(value); };
        IDirect3DDevice9* device = engine.device();
        auto frames = [&](int count) {
            for (int i = 0; i < count; ++i) {
                device->BeginScene();
                call("VTR3RenderDrawA");
                device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699, 1.0f, 0);
                call("VTR3RenderDrawB");
                call("VTR3RenderDrawC");
                call("VTR3RenderDrawD");
                call("VTR3RenderDrawE", v(1));
                device->EndScene();
            }
        };

        ASSERT_EQ(a6::VarToInt(plugin.Call("VTR3Initialize", v(1), text("Vantor demo"))), 0);
        call("VTR3ViewRegister", v(1), text("camera"));
        call("VTR3ViewSetPostProcessing", v(1), v(1));
        const int chain[] = {30001, 30002, 30005, 30004, 30011};
        for (int i = 0; i < 5; ++i) {
            call("VTR3ViewSetPostProcessingEffect", v(1), v(i), v(chain[i]));
        }
        call("VTR3EffectSetValue", v(30002), v(0), a6::VarFromDouble(0.75));
        frames(3);

        call("VTR3ReleaseResources");
        D3DPRESENT_PARAMETERS parameters{};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
        EXPECT_EQ(device->Reset(&parameters), D3D_OK) << "a video-memory resource outlived the release";
        call("VTR3RecreateResources");
        frames(2);

        engine.SetRenderedView(&engine.objects().AddView("elsewhere"));
        frames(1);
        call("VTR3DeInitialize");
    }
    const std::vector<std::string> rows =
        MaskStamps(log_rows::Rows(ReadFileBytes(directory.path() / "Vantor3.html")));
    const std::string expectedPath = std::string(VTR3_EXPECTED_DIR) + "/demo_run.txt";
    if (const char* update = std::getenv("VTR3_UPDATE_EXPECTED"); update && std::string(update) == "1") {
        std::ofstream out(expectedPath, std::ios::binary);
        for (const std::string& row : rows) {
            out << row << '\n';
        }
    }
    std::vector<std::string> expected;
    std::istringstream lines(ReadFileBytes(expectedPath));
    for (std::string line; std::getline(lines, line);) {
        expected.push_back(line);
    }
    EXPECT_EQ(rows, expected);
}

} // namespace
