// Once its programs are cached, drawing allocates nothing: a thousand draws that change
// transforms, colours, blending and textures between them make no heap allocation.
#include "allocation_counter.h"
#include "stand_in_device.h"

#include <d3d9.h>
#include <d3dx9math.h>
#include <gtest/gtest.h>

namespace {

struct Vertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class DrawAllocationTest : public ::testing::Test, protected StandInDevice {
  protected:
    void SetUp() override {
        ASSERT_EQ(OpenDevice(64, 64, "allocation test"), D3D_OK);
        ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture_, nullptr),
                  D3D_OK);
    }
    void TearDown() override {
        if (texture_)
            texture_->Release();
        Close();
    }

    // One frame of `count` small draws, each with its own transform, factor, blend and texture.
    void Frame(int count) {
        const Vertex quad[4] = {{-0.1f, 0.1f, 0, 0xFFFFFFFF, 0, 0},
                                {0.1f, 0.1f, 0, 0xFFFF0000, 1, 0},
                                {-0.1f, -0.1f, 0, 0xFF00FF00, 0, 1},
                                {0.1f, -0.1f, 0, 0xFF0000FF, 1, 1}};
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        for (int i = 0; i < count; ++i) {
            D3DXMATRIX world;
            D3DXMatrixTranslation(&world, static_cast<float>(i % 10) * 0.2f - 0.9f,
                                  static_cast<float>(i / 10 % 10) * 0.2f - 0.9f, 0.5f);
            device_->SetTransform(D3DTS_WORLD, &world);
            device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF000000u | static_cast<DWORD>(i));
            device_->SetRenderState(D3DRS_ALPHABLENDENABLE, i & 1);
            device_->SetTexture(0, (i & 2) ? texture_ : nullptr);
            ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
        }
        ASSERT_EQ(device_->EndScene(), D3D_OK);
    }

    IDirect3DTexture9* texture_ = nullptr;
};

TEST_F(DrawAllocationTest, CachedProgramsDrawWithoutAllocating) {
    ASSERT_EQ(device_->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    ASSERT_EQ(device_->SetFVF(kFvf), D3D_OK);
    const std::size_t start = allocation_counter::Count();
    Frame(8); // compiles the programs each state combination needs
    const std::size_t before = allocation_counter::Count();
    EXPECT_GT(before, start); // the counter sees the platform's own allocations
    Frame(1000);
    EXPECT_EQ(allocation_counter::Count() - before, 0u);
}

} // namespace
