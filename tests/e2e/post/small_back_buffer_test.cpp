// The working size stays 1024 x 768 whatever the back buffer. With an 800 x 600 back buffer the
// engine's depth buffer is smaller than the scene target it is used with. Direct3D 9 requires a
// depth buffer at least as large as the render target and leaves drawing with a smaller one
// undefined (the debug runtime refuses it); the platform draws where both overlap, as GL does for
// attachments of different sizes. The top-left 800 x 600 of the scene are then processed and shown
// at 1 : 1, the rest is cut off: this test pins that down.
#include "post_fixture.h"

namespace {

class SmallBackBufferTest : public PostTest {
  protected:
    SmallBackBufferTest() : PostTest(800, 600) {}
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

} // namespace
