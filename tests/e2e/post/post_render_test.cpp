// Each post-processing effect alone and the bloom chain, drawn by the plug-in at the end of a view
// whose scene the stand-in engine draws between the render events, compared with golden images
// (tolerance 2 per channel). Where a value can be worked out (a negative, a luminance, the symmetry
// of a blur or a glow) it is checked as well.
#include "engine.h"
#include "engine_string.h"
#include "golden_image.h"
#include "platform_control.h"
#include "plugin.h"
#include "scoped_directory.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>

namespace {

using render_test::Frame;

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
};

const D3DCOLOR kBackground = 0xFF203040;
const int kTolerance = 2;

struct Rgb {
    int r, g, b;
};

// The plug-in loaded by the stand-in engine at the working size of 1024 x 768, with its effect files
// as VTR3Content in the working directory.
class PostRenderTest : public ::testing::Test {
  protected:
    PostRenderTest() {
        std::filesystem::create_directory_symlink(VTR3_CONTENT_DIR, "VTR3Content");
        engine_.CreateGraphics(1024, 768, "Acknex 6");
        plugin_ = std::make_unique<host::Plugin>(VTR3_PLUGIN_PATH);
        plugin_->Bind(engine_);
    }
    ~PostRenderTest() override {
        Call("VTR3DeInitialize");
        plugin_.reset();
    }

    int Initialize() { return Call("VTR3Initialize", Var(1), Text("Vantor")); }
    template <typename... Args> int Call(const char* name, Args... arguments) {
        return a6::VarToInt(plugin_->Call(name, arguments...));
    }
    static var Var(int value) { return a6::VarFromInt(value); }
    a6::String* Text(const std::string& text) {
        strings_.push_back(std::make_unique<host::EngineString>(text));
        return strings_.back()->record();
    }

    void PostProcess(std::initializer_list<int> steps) {
        EXPECT_EQ(Initialize(), 0);
        Call("VTR3ViewRegister", Var(1), Text("camera"));
        Call("VTR3ViewSetPostProcessing", Var(1), Var(1));
        int index = 0;
        for (int step : steps) {
            Call("VTR3ViewSetPostProcessingEffect", Var(1), Var(index++), Var(step));
        }
    }

    void Rect(float left, float top, float right, float bottom, D3DCOLOR color) {
        const ScreenVertex quad[4] = {{left, top, 0.5f, 1.0f, color},
                                      {right, top, 0.5f, 1.0f, color},
                                      {left, bottom, 0.5f, 1.0f, color},
                                      {right, bottom, 0.5f, 1.0f, color}};
        IDirect3DDevice9* device = engine_.device();
        device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex));
    }

    // The engine's part of the frame: a dark background, a white square, three colour bars and a
    // one-pixel white line, drawn into whatever target stage A left current.
    Frame DrawFrame() {
        IDirect3DDevice9* device = engine_.device();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        EXPECT_EQ(device->BeginScene(), D3D_OK);
        Call("VTR3RenderDrawA");
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackground, 1.0f, 0);
        device->SetTexture(0, nullptr);
        Rect(400, 300, 624, 468, 0xFFFFFFFF);
        Rect(100, 100, 200, 200, 0xFFFF0000);
        Rect(100, 300, 200, 400, 0xFF00FF00);
        Rect(100, 500, 200, 600, 0xFF0000FF);
        Rect(800, 100, 801, 600, 0xFFFFFFFF);
        Call("VTR3RenderDrawD");
        EXPECT_EQ(device->EndScene(), D3D_OK);
        Frame frame;
        EXPECT_TRUE(platform::ReadBackBuffer(device, &frame.bgra, &frame.width, &frame.height));
        return frame;
    }

    ScopedDirectory directory_;
    host::Engine engine_;
    std::deque<std::unique_ptr<host::EngineString>> strings_;
    std::unique_ptr<host::Plugin> plugin_;

    static Rgb At(const Frame& frame, unsigned x, unsigned y) {
        const size_t i = (size_t{y} * frame.width + x) * 4;
        return Rgb{frame.bgra[i + 2], frame.bgra[i + 1], frame.bgra[i]};
    }
    static void ExpectNear(const Rgb& actual, const Rgb& expected, const char* what) {
        EXPECT_NEAR(actual.r, expected.r, 1) << what;
        EXPECT_NEAR(actual.g, expected.g, 1) << what;
        EXPECT_NEAR(actual.b, expected.b, 1) << what;
    }
    // The frame is mirror-symmetric about column `x` within `reach` pixels along row `y`.
    static void ExpectSymmetric(const Frame& frame, unsigned x, unsigned y, unsigned reach) {
        for (unsigned d = 1; d <= reach; ++d) {
            const Rgb left = At(frame, x - d, y);
            const Rgb right = At(frame, x + d, y);
            EXPECT_NEAR(left.r, right.r, 1) << "column " << x << " +- " << d;
        }
    }
};

TEST_F(PostRenderTest, Negative) {
    PostProcess({30009});
    const Frame frame = DrawFrame();
    ExpectNear(At(frame, 512, 384), {0, 0, 0}, "the white square");
    ExpectNear(At(frame, 20, 20), {0xFF - 0x20, 0xFF - 0x30, 0xFF - 0x40}, "the background");
    ExpectNear(At(frame, 150, 150), {0, 255, 255}, "the red bar");
    EXPECT_TRUE(render_test::MatchesGolden("post_negative", frame, kTolerance, 0));
}

TEST_F(PostRenderTest, Monochrome) {
    PostProcess({30010});
    const Frame frame = DrawFrame();
    // Rec. 709: 0.2126, 0.7152, 0.0722 of 255.
    ExpectNear(At(frame, 150, 150), {54, 54, 54}, "red");
    ExpectNear(At(frame, 150, 350), {182, 182, 182}, "green");
    ExpectNear(At(frame, 150, 550), {18, 18, 18}, "blue");
    ExpectNear(At(frame, 512, 384), {255, 255, 255}, "white");
    EXPECT_TRUE(render_test::MatchesGolden("post_monochrome", frame, kTolerance, 0));
}

struct Alone {
    const char* golden;
    int effect;
    bool horizontalSymmetry; // about the one-pixel line at column 800
};

TEST_F(PostRenderTest, EachFilterAloneKeepsTheImageInPlace) {
    const Alone effects[] = {{"post_brightpass", 30002, false}, {"post_vbloom", 30004, false},
                             {"post_hbloom", 30005, true},      {"post_vblur", 30007, false},
                             {"post_hblur", 30006, true},       {"post_simpleblur", 30008, true},
                             {"post_combine", 30011, false}};
    EXPECT_EQ(Initialize(), 0);
    Call("VTR3ViewRegister", Var(1), Text("camera"));
    Call("VTR3ViewSetPostProcessing", Var(1), Var(1));
    Call("VTR3EffectSetValue", Var(30002), Var(0), a6::VarFromDouble(0.5));
    for (const Alone& alone : effects) {
        Call("VTR3ViewSetPostProcessingEffect", Var(1), Var(0), Var(alone.effect));
        const Frame frame = DrawFrame();
        if (alone.effect == 30002) {
            // Threshold 0.5: green's luminance 0.7152 keeps (0.7152 - 0.5) / 0.5 of its colour.
            ExpectNear(At(frame, 150, 350), {0, 110, 0}, "green through the bright pass");
            ExpectNear(At(frame, 150, 150), {0, 0, 0}, "red through the bright pass");
        }
        if (alone.horizontalSymmetry) {
            ExpectSymmetric(frame, 800, 384, 8);
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
        EXPECT_GT(At(frame, 400 - d, 384).r, 0x20 + 8) << "left, " << d << " pixels out";
        EXPECT_GT(At(frame, 623 + d, 384).r, 0x20 + 8) << "right, " << d << " pixels out";
        EXPECT_GT(At(frame, 512, 300 - d).r, 0x20 + 8) << "above, " << d << " pixels out";
        EXPECT_GT(At(frame, 512, 467 + d).r, 0x20 + 8) << "below, " << d << " pixels out";
    }
    ExpectNear(At(frame, 400, 300), {255, 255, 255}, "the square's top-left corner");
    ExpectNear(At(frame, 150, 150), {255, 0, 0}, "the red bar, below the threshold, gains no glow");
    EXPECT_TRUE(render_test::MatchesGolden("post_bloom_chain", frame, kTolerance, 0));
}

} // namespace
