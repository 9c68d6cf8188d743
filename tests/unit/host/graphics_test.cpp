// The engine's window and device: what the block gets, what the device looks like, and that the
// engine releases what it created.
#include <gtest/gtest.h>

#include "engine.h"
#include "host_error.h"
#include "platform_control.h"

#include <vector>

namespace {

template <typename T> T* BlockPointer(const host::Engine& engine, a6::BlockOffset offset) {
    return reinterpret_cast<T*>(a6::BlockField(engine.block(), offset));
}

TEST(EngineGraphics, PutsWindowDirect3DAndDeviceIntoTheBlockAndSizesTheBackBuffer) {
    host::Engine engine;
    engine.CreateGraphics(320, 240, "Acknex 6");
    ASSERT_NE(engine.device(), nullptr);
    EXPECT_EQ(BlockPointer<HWND__>(engine, a6::kOffsetWindow), engine.window());
    EXPECT_EQ(BlockPointer<IDirect3D9>(engine, a6::kOffsetDirect3D), engine.direct3d());
    // The plug-in's device is a wrapper whose reference count is the device's own.
    IDirect3DDevice9* handed = BlockPointer<IDirect3DDevice9>(engine, a6::kOffsetDevice);
    EXPECT_EQ(handed, engine.notingDevice());
    const ULONG count = engine.device()->AddRef();
    EXPECT_EQ(handed->AddRef(), count + 1);
    void* same = nullptr;
    EXPECT_EQ(handed->QueryInterface(IID_IDirect3DDevice9, &same), S_OK);
    EXPECT_EQ(same, handed);
    EXPECT_EQ(handed->Release(), count + 1);
    EXPECT_EQ(handed->Release(), count);
    EXPECT_EQ(engine.device()->Release(), count - 1);
    // While noting, a texture comes with a reference for the engine.
    engine.notingDevice()->StartNoting();
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(handed->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    const std::vector<IDirect3DBaseTexture9*> noted = engine.notingDevice()->TakeNoted();
    ASSERT_EQ(noted.size(), 1u);
    EXPECT_EQ(noted[0], texture);
    EXPECT_EQ(texture->Release(), 1u);
    EXPECT_EQ(noted[0]->Release(), 0u);
    int width = 0, height = 0;
    ASSERT_TRUE(platform::GetStandInWindowSize(engine.window(), &width, &height));
    EXPECT_EQ(width * 1000 + height, 320240);
    EXPECT_EQ(platform::GetStandInWindowTitle(engine.window()), "Acknex 6");
    const a6::Vector& screen = *engine.variables().Find("screen_size");
    EXPECT_EQ(screen.x, a6::VarFromInt(320));
    EXPECT_EQ(screen.y, a6::VarFromInt(240));
    // A window-sized back buffer with a depth-stencil surface.
    IDirect3DSurface9* surface = nullptr;
    D3DSURFACE_DESC description{};
    ASSERT_EQ(engine.device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    surface->GetDesc(&description);
    surface->Release();
    EXPECT_EQ(std::vector<UINT>({description.Width, description.Height, description.Format}),
              std::vector<UINT>({320, 240, D3DFMT_X8R8G8B8}));
    ASSERT_EQ(engine.device()->GetDepthStencilSurface(&surface), D3D_OK);
    surface->GetDesc(&description);
    surface->Release();
    EXPECT_EQ(description.Format, D3DFMT_D24S8);
    EXPECT_THROW(engine.CreateGraphics(320, 240, "again"), host::Error);
}

TEST(EngineGraphics, ReleasesWhatItCreatedAndRefusesAnEmptyWindow) {
    const std::size_t before = platform::LiveObjectCount();
    {
        host::Engine engine;
        engine.CreateGraphics(64, 64, "Acknex 6");
        EXPECT_GT(platform::LiveObjectCount(), before);
        engine.notingDevice()->StartNoting(); // what nobody took goes with the engine
        IDirect3DCubeTexture9* cube = nullptr;
        ASSERT_EQ(engine.notingDevice()->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube,
                                                           nullptr),
                  D3D_OK);
        cube->Release();
    }
    EXPECT_EQ(platform::LiveObjectCount(), before);
    host::Engine engine;
    EXPECT_THROW(engine.CreateGraphics(0, 768, "Acknex 6"), host::Error);
    EXPECT_EQ(engine.device(), nullptr);
}

} // namespace
