// Each post-processing effect alone and the bloom chain, drawn by the plug-in at the end of a view
// whose scene the stand-in engine draws between the render events, compared with golden images
// (tolerance 2 per channel). Where a value can be worked out (a negative, a luminance, the symmetry
// of a blur or a glow) it is checked as well.
#include "post_fixture.h"

#include <vector>

namespace {

using render_test::At;
using render_test::Frame;
using render_test::Rgb;

const int kTolerance = 2;

class PostRenderTest : public PostTest {
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

} // namespace
