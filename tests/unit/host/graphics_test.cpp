// The engine's window and device: what the block gets, what the device looks like, and that the
// engine releases what it created.
#include <gtest/gtest.h>

#include "engine.h"
#include "host_error.h"
#include "platform_control.h"

namespace {

template <typename T> T* BlockPointer(const host::Engine& engine, a6::BlockOffset offset) {
    return reinterpret_cast<T*>(a6::BlockField(engine.block(), offset));
}

TEST(EngineGraphics, PutsWindowDirect3DAndDeviceIntoTheBlock) {
    host::Engine engine;
    engine.CreateGraphics(320, 240, "Acknex 6");
    ASSERT_NE(engine.device(), nullptr);
    EXPECT_EQ(BlockPointer<HWND__>(engine, a6::kOffsetWindow), engine.window());
    EXPECT_EQ(BlockPointer<IDirect3D9>(engine, a6::kOffsetDirect3D), engine.direct3d());
    EXPECT_EQ(BlockPointer<IDirect3DDevice9>(engine, a6::kOffsetDevice), engine.device());
    int width = 0;
    int height = 0;
    ASSERT_TRUE(platform::GetStandInWindowSize(engine.window(), &width, &height));
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(platform::GetStandInWindowTitle(engine.window()), "Acknex 6");
    const a6::Vector& screen = *engine.variables().Find("screen_size");
    EXPECT_EQ(screen.x, a6::VarFromInt(320));
    EXPECT_EQ(screen.y, a6::VarFromInt(240));
    EXPECT_THROW(engine.CreateGraphics(320, 240, "again"), host::Error);
}

TEST(EngineGraphics, CreatesAWindowSizedBackBufferWithDepthStencil) {
    host::Engine engine;
    engine.CreateGraphics(320, 240, "Acknex 6");
    IDirect3DSurface9* surface = nullptr;
    D3DSURFACE_DESC description{};
    ASSERT_EQ(engine.device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    surface->GetDesc(&description);
    surface->Release();
    EXPECT_EQ(description.Width, 320u);
    EXPECT_EQ(description.Height, 240u);
    EXPECT_EQ(description.Format, D3DFMT_X8R8G8B8);
    ASSERT_EQ(engine.device()->GetDepthStencilSurface(&surface), D3D_OK);
    surface->GetDesc(&description);
    surface->Release();
    EXPECT_EQ(description.Format, D3DFMT_D24S8);
}

TEST(EngineGraphics, ReleasesWhatItCreatedAndRefusesAnEmptyWindow) {
    const std::size_t before = platform::LiveObjectCount();
    {
        host::Engine engine;
        engine.CreateGraphics(64, 64, "Acknex 6");
        EXPECT_GT(platform::LiveObjectCount(), before);
    }
    EXPECT_EQ(platform::LiveObjectCount(), before);
    host::Engine engine;
    EXPECT_THROW(engine.CreateGraphics(0, 768, "Acknex 6"), host::Error);
    EXPECT_EQ(engine.device(), nullptr);
}

} // namespace
