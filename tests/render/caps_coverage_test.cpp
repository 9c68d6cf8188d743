// Every bit of the caps that name drawable features is drawn, and its pixel checked, by some table.
#include "caps_coverage.h"
#include "render_fixture.h"

namespace render_test {
namespace {

class CapsCoverageTest : public RenderTest {};

TEST_F(CapsCoverageTest, EveryClaimedBitIsDrawnByATest) {
    CreateDevice(8, 8);
    D3DCAPS9 caps{};
    ASSERT_EQ(device_->GetDeviceCaps(&caps), D3D_OK);
    caps.FVFCaps &= ~D3DFVFCAPS_TEXCOORDCOUNTMASK; // a count, not features
#define VTR3_FIELD(name) std::pair<const char*, CapsField>(#name, &D3DCAPS9::name)
    // clang-format off
    for (const auto& [name, field] :
         {VTR3_FIELD(PrimitiveMiscCaps), VTR3_FIELD(RasterCaps), VTR3_FIELD(ZCmpCaps),
          VTR3_FIELD(SrcBlendCaps), VTR3_FIELD(DestBlendCaps), VTR3_FIELD(AlphaCmpCaps),
          VTR3_FIELD(ShadeCaps), VTR3_FIELD(TextureCaps), VTR3_FIELD(TextureFilterCaps),
          VTR3_FIELD(CubeTextureFilterCaps), VTR3_FIELD(VolumeTextureFilterCaps),
          VTR3_FIELD(TextureAddressCaps), VTR3_FIELD(VolumeTextureAddressCaps), VTR3_FIELD(LineCaps),
          VTR3_FIELD(StencilCaps), VTR3_FIELD(FVFCaps), VTR3_FIELD(TextureOpCaps),
          VTR3_FIELD(VertexProcessingCaps), VTR3_FIELD(DevCaps2),
          VTR3_FIELD(VertexTextureFilterCaps)}) {
        // clang-format on
        DWORD missing = caps.*field;
        for (const auto& [f, bits] : ExercisedBits())
            missing &= f == field ? ~bits : ~0u;
        EXPECT_EQ(missing, 0u) << name << " claims bits no test draws with (hex " << std::hex << missing
                               << ")";
    }
#undef VTR3_FIELD
}

} // namespace
} // namespace render_test
