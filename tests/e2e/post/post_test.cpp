// The post-processing effects and the render events end to end: each effect alone and the bloom chain
// drawn by the plug-in at the end of a view whose scene the stand-in engine draws between the render
// events, compared with golden images (tolerance 2 per channel), and where a value can be worked out
// (a negative, a luminance, the symmetry of a blur or a glow) that value; a back buffer smaller than
// the working size; the effect files' techniques; and the log of a whole demo run, compared row by
// row with expected/demo_run.txt (VTR3_UPDATE_EXPECTED=1 rewrites it; build stamps are masked).
#include "plugin_fixture.h"

#include <d3dx9.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

using render_test::At;
using render_test::Frame;
using render_test::Rgb;

const int kTolerance = 2;

class PostRenderTest : public PluginTest {
  protected:
    // The engine's part of the frame: a dark background, a white square, three colour bars and a
    // one-pixel white line, drawn into whatever target stage A left current.
    Frame DrawFrame() {
        return DrawView([](IDirect3DDevice9* device) {
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
            device->SetTexture(0, nullptr);
            device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
            const struct {
                float left, top, right, bottom;
                D3DCOLOR color;
            } rects[] = {{400, 300, 624, 468, 0xFFFFFFFF},
                         {100, 100, 200, 200, 0xFFFF0000},
                         {100, 300, 200, 400, 0xFF00FF00},
                         {100, 500, 200, 600, 0xFF0000FF},
                         {800, 100, 801, 600, 0xFFFFFFFF}};
            for (const auto& r : rects) {
                const struct {
                    float x, y, z, rhw;
                    D3DCOLOR color;
                } quad[4] = {{r.left, r.top, 0.5f, 1.0f, r.color},
                             {r.right, r.top, 0.5f, 1.0f, r.color},
                             {r.left, r.bottom, 0.5f, 1.0f, r.color},
                             {r.right, r.bottom, 0.5f, 1.0f, r.color}};
                device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(quad[0]));
            }
        });
    }
};

struct Pixel {
    unsigned x, y;
    Rgb rgb;
    const char* what;
};

TEST_F(PostRenderTest, EachEffectAloneKeepsTheImageInPlace) {
    const struct {
        const char* golden;
        int effect;
        bool horizontalSymmetry; // about the one-pixel line at column 800
        std::vector<Pixel> pixels;
    } effects[] = {
        {"post_negative",
         30009,
         false,
         {{512, 384, {0, 0, 0}, "the white square"},
          {20, 20, {0xFF - 0x20, 0xFF - 0x30, 0xFF - 0x40}, "the background"},
          {150, 150, {0, 255, 255}, "the red bar"}}},
        // Rec. 709: 0.2126, 0.7152, 0.0722 of 255.
        {"post_monochrome",
         30010,
         false,
         {{150, 150, {54, 54, 54}, "red"},
          {150, 350, {182, 182, 182}, "green"},
          {150, 550, {18, 18, 18}, "blue"},
          {512, 384, {255, 255, 255}, "white"}}},
        // Threshold 0.5: green's luminance 0.7152 keeps (0.7152 - 0.5) / 0.5 of its colour.
        {"post_brightpass",
         30002,
         false,
         {{150, 350, {0, 110, 0}, "green through the bright pass"},
          {150, 150, {0, 0, 0}, "red through the bright pass"}}},
        {"post_vbloom", 30004, false, {}},
        {"post_hbloom", 30005, true, {}},
        {"post_vblur", 30007, false, {}},
        {"post_hblur", 30006, true, {}},
        {"post_simpleblur", 30008, true, {}},
        {"post_combine", 30011, false, {}},
    };
    PostProcess({});
    Call("VTR3EffectSetValue", Var(30002), Var(0), a6::VarFromDouble(0.5));
    for (const auto& alone : effects) {
        Call("VTR3ViewSetPostProcessingEffect", Var(1), Var(0), Var(alone.effect));
        const Frame frame = DrawFrame();
        for (const Pixel& pixel : alone.pixels) {
            render_test::ExpectNear(At(frame, pixel.x, pixel.y), pixel.rgb, 1, pixel.what);
        }
        for (unsigned d = 1; alone.horizontalSymmetry && d <= 8; ++d) {
            EXPECT_NEAR(At(frame, 800 - d, 384)[0], At(frame, 800 + d, 384)[0], 1)
                << alone.golden << " " << d;
        }
        EXPECT_TRUE(render_test::MatchesGolden(alone.golden, frame, kTolerance, 0)) << alone.golden;
    }
}

// Half copy, bright pass, horizontal and vertical bloom at half size, combined with the scene: the
// glow reaches out on every side of the white square while the scene itself stays exactly in place.
// (The half copy is a fixed-function draw of the unshifted quad with the device's point sampling, so
// the glow's centre sits a pixel and a half right of and below the square's; the effects add none.)
TEST_F(PostRenderTest, BloomChain) {
    PostProcess({30001, 30002, 30005, 30004, 30011});
    Call("VTR3EffectSetValue", Var(30002), Var(0), a6::VarFromDouble(0.9));
    const Frame frame = DrawFrame();
    for (unsigned d : {2u, 4u, 8u}) {
        EXPECT_GT(At(frame, 400 - d, 384)[0], 0x20 + 8) << "left, " << d << " pixels out";
        EXPECT_GT(At(frame, 623 + d, 384)[0], 0x20 + 8) << "right, " << d << " pixels out";
        EXPECT_GT(At(frame, 512, 300 - d)[0], 0x20 + 8) << "above, " << d << " pixels out";
        EXPECT_GT(At(frame, 512, 467 + d)[0], 0x20 + 8) << "below, " << d << " pixels out";
    }
    render_test::ExpectNear(At(frame, 400, 300), {255, 255, 255}, 1, "the square's top-left corner");
    render_test::ExpectNear(At(frame, 150, 150), {255, 0, 0}, 1,
                            "the red bar, below the threshold, gains no glow");
    EXPECT_TRUE(render_test::MatchesGolden("post_bloom_chain", frame, kTolerance, 0));
}

// The working size stays 1024 x 768 whatever the back buffer. With an 800 x 600 back buffer the
// engine's depth buffer is smaller than the scene target it is used with. Direct3D 9 requires a
// depth buffer at least as large as the render target and leaves drawing with a smaller one
// undefined (the debug runtime refuses it); the platform draws where both overlap, as GL does for
// attachments of different sizes. The top-left 800 x 600 of the scene are then processed and shown
// at 1 : 1, the rest is cut off: this test pins that down.
class SmallBackBufferTest : public PluginTest {
  protected:
    SmallBackBufferTest() : PluginTest(800, 600) {}
};

TEST_F(SmallBackBufferTest, TheTopLeftOfTheSceneIsProcessedAndShownAtOneToOne) {
    PostProcess({30009});
    const render_test::Frame frame = DrawView([](IDirect3DDevice9* device) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF204060, 1.0f, 0);
        const D3DRECT square = {700, 500, 900, 700}; // across the back buffer's corner
        device->Clear(1, &square, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    });
    ASSERT_EQ(frame.width, 800u);
    const render_test::Rgb negative = {0xFF - 0x20, 0xFF - 0x40, 0xFF - 0x60}, black = {0, 0, 0};
    EXPECT_EQ(render_test::At(frame, 10, 10), negative);
    EXPECT_EQ(render_test::At(frame, 699, 499), negative);
    EXPECT_EQ(render_test::At(frame, 700, 500), black);
    EXPECT_EQ(render_test::At(frame, 799, 599), black);
}

// Each of the nine effect files has two techniques, the ps_2_a one first and the ps_2_0 fallback
// after it, and both compile and validate on a device of shader model 2.0. (The platform validates
// by major version only, so it cannot show a card without ps_2_a choosing the fallback.)
TEST(ShaderModel2FallbackTest, EveryEffectFileHasATechniqueForShaderModel2AndAFallback) {
    platform::SetShaderModel2Caps(true);
    host::Engine engine;
    engine.CreateGraphics(64, 64, "Acknex 6");
    platform::SetShaderModel2Caps(false);
    for (const char* name : {"brightpass", "vbloom", "hbloom", "vblur", "hblur", "simpleblur", "negative",
                             "monochrom", "combine"}) {
        const std::string path = std::string(VTR3_CONTENT_DIR) + "/vtr3_" + name + ".fx";
        ID3DXEffect* effect = nullptr;
        ASSERT_EQ(D3DXCreateEffectFromFileA(engine.device(), path.c_str(), nullptr, nullptr, 0, nullptr,
                                            &effect, nullptr),
                  D3D_OK)
            << name;
        D3DXEFFECT_DESC description{};
        ASSERT_EQ(effect->GetDesc(&description), D3D_OK);
        EXPECT_EQ(description.Techniques, 2u) << name;
        for (UINT t = 0; t < description.Techniques; ++t) {
            EXPECT_EQ(effect->ValidateTechnique(effect->GetTechnique(t)), D3D_OK)
                << name << " technique " << t;
        }
        EXPECT_EQ(effect->GetTechniqueByName("PostProcessSM2a"), effect->GetTechnique(0)) << name;
        EXPECT_EQ(effect->GetTechniqueByName("PostProcessSM2"), effect->GetTechnique(1)) << name;
        effect->Release();
    }
}

// A whole demo run through the exports: start-up, a post-processed view over three frames, a
// device reset between the release and re-creation of the resources, two more frames, a view the
// plug-in does not know, shut-down.
Rows ExpectedRows(const Rows& rows) {
    const std::string path = std::string(VTR3_EXPECTED_DIR) + "/demo_run.txt";
    if (const char* update = std::getenv("VTR3_UPDATE_EXPECTED"); update && std::string(update) == "1") {
        std::ofstream out(path, std::ios::binary);
        for (const std::string& row : rows) {
            out << row << '\n';
        }
    }
    Rows expected;
    std::istringstream lines(ReadFileBytes(path));
    for (std::string line; std::getline(lines, line);) {
        expected.push_back(line);
    }
    return expected;
}

TEST_F(PluginTest, AWholeDemoRunWritesTheExpectedRows) {
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
    EXPECT_EQ(engine_.ResetDevice(), D3D_OK) << "a video-memory resource outlived the release";
    Call("VTR3RecreateResources");
    frames(2);
    engine_.SetRenderedView(&engine_.objects().AddView("elsewhere"));
    frames(1);
    Call("VTR3DeInitialize");
    Rows rows = log_rows::Rows(UnloadAndReadLog());
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
