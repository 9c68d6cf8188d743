// The sky box and the water drawn through the real device with the demo content, against goldens
// (per channel within 2, a few pixels more), and where a colour can be worked out, that colour.
#include "frame_pixels.h"
#include "object_fixture.h"
#include "stand_in_device.h"

#include <string>

namespace {

using render_test::At;
using render_test::ExpectNear;
using render_test::Frame;

const int kWidth = 160;
const int kHeight = 120;
const int kTolerance = 2;
const size_t kAllowedPixels = 8;

class ObjectRenderTest : public ObjectTest {
  protected:
    ObjectRenderTest() {
        // The fixture's engine has its graphics already; the frames want a larger back buffer.
        D3DPRESENT_PARAMETERS pp = StandInDevice::Parameters();
        pp.BackBufferWidth = kWidth;
        pp.BackBufferHeight = kHeight;
        EXPECT_EQ(device_->Reset(&pp), D3D_OK);
        // Effects compile their shaders only for the platform's own device, not for a wrapper.
        g_device = engine_.device();
    }

    // Camera matrices into the device and the engine's block alike.
    void Look(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up) {
        D3DXMATRIX view, projection;
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 3, static_cast<float>(kWidth) / kHeight, 1.0f,
                                   1000.0f);
        device_->SetTransform(D3DTS_VIEW, &view);
        device_->SetTransform(D3DTS_PROJECTION, &projection);
        memcpy(engine_.viewMatrix(), &view, 64);
        memcpy(engine_.projectionMatrix(), &projection, 64);
    }

    template <typename Draw> Frame DrawFrame(Draw draw) {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device_->BeginScene();
        draw();
        device_->EndScene();
        return render_test::ReadFrame(engine_.device());
    }

    // A render target of the texture manager, its left and right (or top and bottom) halves filled.
    void MakeHalves(int id, bool vertical, D3DCOLOR first, D3DCOLOR second) {
        MakeTexture(id);
        g_textureManager.SetSize(id, 64, 64);
        g_textureManager.TextureInitialize(id);
        IDirect3DSurface9* surface = g_textureManager.GetSurface(id, 0);
        ASSERT_NE(surface, nullptr);
        const RECT a = vertical ? RECT{0, 0, 32, 64} : RECT{0, 0, 64, 32};
        const RECT b = vertical ? RECT{32, 0, 64, 64} : RECT{0, 32, 64, 64};
        device_->ColorFill(surface, &a, first);
        device_->ColorFill(surface, &b, second);
        surface->Release();
    }

    const std::string sky_ = VTR3_CONTENT_DIR "/vtr3_sky.dds";
    const std::string water_ = VTR3_CONTENT_DIR "/vtr3_water.fx";
};

// The box follows the viewer: two viewers far apart see the same sky; the zenith is the sky's plain
// top colour (40, 90, 190).
TEST_F(ObjectRenderTest, SkyBoxSurroundsTheViewerWhereverItStands) {
    g_textureManager.TextureCreate(1, 1);
    g_textureManager.SetPath(1, sky_.c_str());
    g_textureManager.TextureInitialize(1);
    Make(1, c_VTR3ObjectManager::SKY, {100.0f, 20.0f});
    objects_.SetTexture(1, 0, 1);

    // Far from the origin, the sky the golden shows from the origin.
    engine_.camera().word[a6::kViewX] = a6::VarFromInt(1000);
    engine_.camera().word[a6::kViewY] = a6::VarFromInt(2000);
    const D3DXVECTOR3 eye(1000.0f, 20.0f, 2000.0f);
    Look(eye, eye + D3DXVECTOR3(0.5f, 0.1f, 1.0f), D3DXVECTOR3(0, 1, 0));
    const Frame ahead = DrawFrame([&] { objects_.RenderObjects(0); });
    EXPECT_TRUE(render_test::MatchesGolden("objects_sky", ahead, kTolerance, kAllowedPixels));
    Look(eye, eye + D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(0, 0, 1));
    const Frame up = DrawFrame([&] { objects_.RenderObjects(0); });
    ExpectNear(At(up, kWidth / 2, kHeight / 2), {40, 90, 190}, kTolerance, "zenith");
}

// Refraction alone, then mixed with the reflection: the scene textures' halves come through tinted
// (0.75, 0.9, 1.0), shifted by at most a few hundredths by the waves.
TEST_F(ObjectRenderTest, WaterRefractsAndReflectsItsSceneTextures) {
    engine_.SetClock(500);
    g_effectManager.EffectCreate(5);
    g_effectManager.SetPath(5, water_.c_str());
    g_effectManager.EffectInitialize(5);
    ASSERT_NE(g_effectManager.GetEffect(5), nullptr);
    MakeHalves(10, true, D3DCOLOR_XRGB(200, 60, 60), D3DCOLOR_XRGB(60, 60, 200));   // refraction: left, right
    MakeHalves(11, false, D3DCOLOR_XRGB(240, 220, 40), D3DCOLOR_XRGB(40, 200, 80)); // reflection: top, bottom
    Make(2, c_VTR3ObjectManager::WATER, {200.0f, 4.0f, 64.0f});
    objects_.SetEffect(2, 5);
    objects_.SetTexture(2, 0, 10);
    objects_.SetTexture(2, 1, 11);
    Look(D3DXVECTOR3(0, 50, -50), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));

    objects_.SetFlag(2, 1, 1);
    const Frame refract = DrawFrame([&] { objects_.RenderObject(2); });
    EXPECT_TRUE(render_test::MatchesGolden("objects_water_refract", refract, kTolerance, kAllowedPixels));
    ExpectNear(At(refract, kWidth / 5, kHeight / 2), {150, 54, 60}, kTolerance, "refraction, left");
    ExpectNear(At(refract, kWidth * 4 / 5, kHeight / 2), {45, 54, 200}, kTolerance, "refraction, right");

    objects_.SetFlag(2, 1, 0);
    const Frame both = DrawFrame([&] { objects_.RenderObject(2); });
    EXPECT_TRUE(render_test::MatchesGolden("objects_water_reflect", both, kTolerance, kAllowedPixels));
    // Upper screen: the mirrored lower half of the reflection (green) over the left refraction (red).
    ExpectNear(At(both, kWidth / 5, kHeight / 4), {90, 117, 70}, kTolerance, "reflection and refraction");
}

} // namespace
