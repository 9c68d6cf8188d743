// The demo's bloom chain through `screenshot steps`: each image equals its target read back directly
// after the frame, or, where a later step drew over the target, the image before it worked out through
// the step; reading the targets back leaves the next frame as it was.
#include "plugin_fixture.h"
#include "png_file.h"
#include "script_run.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

using Pixels = std::vector<std::uint8_t>; // RGBA, row 0 first, as the PNG files hold them

// Every surface set as render target 0, once each, in the order first set; held.
class Targets final : public host::DeviceWatch {
  public:
    ~Targets() {
        for (IDirect3DSurface9* surface : seen_) {
            surface->Release();
        }
    }
    void RenderTargetSetting(DWORD index, IDirect3DSurface9* surface) override {
        if (index == 0 && surface && std::find(seen_.begin(), seen_.end(), surface) == seen_.end()) {
            surface->AddRef();
            seen_.push_back(surface);
        }
    }
    void Drawing() override {}
    // The `nth` target of this size, other than `except`.
    IDirect3DSurface9* OfSize(UINT width, UINT height, int nth, IDirect3DSurface9* except = nullptr) const {
        for (IDirect3DSurface9* surface : seen_) {
            D3DSURFACE_DESC description{};
            surface->GetDesc(&description);
            if (surface != except && description.Width == width && description.Height == height &&
                nth-- == 0) {
                return surface;
            }
        }
        return nullptr;
    }

  private:
    std::vector<IDirect3DSurface9*> seen_;
};

Pixels ReadTarget(IDirect3DDevice9* device, IDirect3DSurface9* target) {
    D3DSURFACE_DESC description{};
    IDirect3DSurface9* copy = nullptr;
    D3DLOCKED_RECT locked{};
    Pixels rgba;
    if (!target || FAILED(target->GetDesc(&description)) ||
        FAILED(device->CreateOffscreenPlainSurface(description.Width, description.Height, description.Format,
                                                   D3DPOOL_SYSTEMMEM, &copy, nullptr))) {
        return rgba;
    }
    if (SUCCEEDED(device->GetRenderTargetData(target, copy)) &&
        SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        for (UINT y = 0; y < description.Height; ++y) {
            const auto* row = static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch;
            for (UINT x = 0; x < description.Width; ++x) {
                rgba.insert(rgba.end(), {row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]});
            }
        }
        copy->UnlockRect();
    }
    copy->Release();
    return rgba;
}

Pixels ReadImage(const std::string& path) {
    render_test::RgbaImage image;
    EXPECT_TRUE(render_test::ReadPng(path, &image)) << path;
    return image.rgba;
}

// The half copy: each pixel of the half target samples the scene bilinearly where its centre falls,
// on the corner between scene texels 2x-1 and 2x (stage 0 wraps).
Pixels HalfCopy(const Pixels& scene, int width, int height) {
    Pixels half;
    for (int y = 0; y < height / 2; ++y) {
        for (int x = 0; x < width / 2; ++x) {
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int dy : {-1, 0}) {
                    for (int dx : {-1, 0}) {
                        const int sx = (2 * x + dx + width) % width;
                        const int sy = (2 * y + dy + height) % height;
                        sum += scene[(static_cast<std::size_t>(sy) * width + sx) * 4 + c];
                    }
                }
                half.push_back(static_cast<std::uint8_t>((sum + 2) / 4));
            }
        }
    }
    return half;
}

// The bright pass at the demo's threshold 0.93 (as a var, 952/1024): colour scaled by how far its
// Rec. 709 luminance lies above the threshold on the way to white, alpha kept.
Pixels BrightPass(const Pixels& source) {
    const double threshold = 952.0 / 1024.0;
    Pixels bright;
    for (std::size_t i = 0; i < source.size(); i += 4) {
        const double luminance =
            (0.2126 * source[i] + 0.7152 * source[i + 1] + 0.0722 * source[i + 2]) / 255.0;
        const double kept = std::clamp((luminance - threshold) / (1.0 - threshold), 0.0, 1.0);
        for (int c = 0; c < 3; ++c) {
            bright.push_back(static_cast<std::uint8_t>(std::lround(source[i + c] * kept)));
        }
        bright.push_back(source[i + 3]);
    }
    return bright;
}

// Channels that differ by more than `tolerance`; every one when the sizes differ.
std::size_t Outliers(const Pixels& a, const Pixels& b, int tolerance = 0) {
    if (a.size() != b.size() || a.empty()) {
        return std::max<std::size_t>(a.size(), 1);
    }
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        count += std::abs(a[i] - b[i]) > tolerance;
    }
    return count;
}

class StepImagesTest : public PluginTest {};

TEST_F(StepImagesTest, DemoBloomChainMatchesItsTargets) {
    std::filesystem::create_directory_symlink(VTR3_DEMO_DIR, "demo");
    std::ifstream file(std::string(VTR3_DEMO_DIR) + "/demo.vs");
    std::stringstream demo;
    demo << file.rdbuf();
    const std::string setUp = demo.str().substr(0, demo.str().find("render camera\n") + 14);
    Targets targets;
    engine_.notingDevice()->AddWatch(&targets);
    host::script::ScriptRun run(engine_, *plugin_, host::script::RunSettings());
    run.Execute(host::script::ParseScript(
        setUp + "tick 0\nframe 2\nscreenshot \"before.png\"\nframe 1\nscreenshot steps \"steps\"\n", "demo"));

    const char* const names[] = {"00-scene",
                                 "01-30001-half_copy",
                                 "02-30002-vtr3_brightpass",
                                 "03-30005-vtr3_hbloom",
                                 "04-30004-vtr3_vbloom",
                                 "05-30011-vtr3_combine"};
    std::vector<Pixels> images;
    for (const char* name : names) {
        images.push_back(ReadImage(std::string("steps/") + name + ".png"));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("steps"), {}), 7); // and steps.html
    IDirect3DDevice9* device = engine_.device();
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    const Pixels direct[] = {ReadTarget(device, targets.OfSize(1024, 768, 0, back)),
                             {},
                             {},
                             ReadTarget(device, targets.OfSize(512, 384, 0)),
                             ReadTarget(device, targets.OfSize(512, 384, 1)),
                             ReadTarget(device, back)};
    back->Release();
    for (int step : {0, 3, 4, 5}) {
        EXPECT_EQ(Outliers(images[step], direct[step]), 0u) << names[step];
    }
    // The device's filtering lands a few samples between texels where the scene has edges.
    EXPECT_LE(Outliers(images[1], HalfCopy(images[0], 1024, 768), 1), 32u);
    EXPECT_LE(Outliers(images[2], BrightPass(images[1]), 1), 12u);
    EXPECT_GT(
        std::count_if(images[2].begin(), images[2].end(), [](std::uint8_t v) { return v > 0 && v < 255; }),
        100);

    // The frame after the one read back is the frame before it (the clock stands still; the demo's
    // first frame differs from those after it).
    run.Execute(host::script::ParseScript("frame 1\nscreenshot \"after.png\"\n", "after"));
    engine_.notingDevice()->RemoveWatch(&targets);
    EXPECT_EQ(Outliers(ReadImage("after.png"), ReadImage("before.png")), 0u);
    EXPECT_EQ(Outliers(images[5], ReadImage("before.png")), 0u);
}

} // namespace
