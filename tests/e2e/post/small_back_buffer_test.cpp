// The working size stays 1024 x 768 whatever the back buffer. With an 800 x 600 back buffer the
// engine's depth buffer is smaller than the scene target it is used with. Direct3D 9 requires a
// depth buffer at least as large as the render target and leaves drawing with a smaller one
// undefined (the debug runtime refuses it); the platform draws where both overlap, as GL does for
// attachments of different sizes. The top-left 800 x 600 of the scene are then processed and shown
// at 1 : 1, the rest is cut off: this test pins that down.
#include "engine.h"
#include "engine_string.h"
#include "platform_control.h"
#include "plugin.h"
#include "scoped_directory.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace {

TEST(SmallBackBufferTest, TheTopLeftOfTheSceneIsProcessedAndShownAtOneToOne) {
    ScopedDirectory directory;
    std::filesystem::create_directory_symlink(VTR3_CONTENT_DIR, "VTR3Content");
    host::Engine engine;
    engine.CreateGraphics(800, 600, "Acknex 6");
    host::EngineString title("small"), camera("camera");
    host::Plugin plugin(VTR3_PLUGIN_PATH);
    plugin.Bind(engine);
    const auto v = [](int value) { return a6::VarFromInt(value); };
    ASSERT_EQ(plugin.Call("VTR3Initialize", v(1), title.record()), 0);
    plugin.Call("VTR3ViewRegister", v(1), camera.record());
    plugin.Call("VTR3ViewSetPostProcessing", v(1), v(1));
    plugin.Call("VTR3ViewSetPostProcessingEffect", v(1), v(0), v(30009));

    IDirect3DDevice9* device = engine.device();
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    plugin.Call("VTR3RenderDrawA");
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF204060, 1.0f, 0);
    const D3DRECT square = {700, 500, 900, 700}; // across the back buffer's corner
    device->Clear(1, &square, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    plugin.Call("VTR3RenderDrawD");
    ASSERT_EQ(device->EndScene(), D3D_OK);
    plugin.Call("VTR3DeInitialize");

    std::vector<std::uint8_t> bgra;
    UINT width = 0, height = 0;
    ASSERT_TRUE(platform::ReadBackBuffer(device, &bgra, &width, &height));
    ASSERT_EQ(width, 800u);
    const auto at = [&](unsigned x, unsigned y) {
        const size_t i = (size_t{y} * width + x) * 4;
        return std::array<int, 3>{bgra[i + 2], bgra[i + 1], bgra[i]};
    };
    EXPECT_EQ(at(10, 10), (std::array<int, 3>{0xFF - 0x20, 0xFF - 0x40, 0xFF - 0x60}));
    EXPECT_EQ(at(699, 499), (std::array<int, 3>{0xFF - 0x20, 0xFF - 0x40, 0xFF - 0x60}));
    EXPECT_EQ(at(700, 500), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(at(799, 599), (std::array<int, 3>{0, 0, 0}));
}

} // namespace
