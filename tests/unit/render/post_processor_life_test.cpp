// The post-processor over many frames and across its life cycle: the device state a chain leaves,
// the rows a broken view writes (once, not per frame), a failed second start-up, and what the device
// and the object table still hold after shut-down.
#include "render_unit_fixture.h"

#include "objects/vtr3_objects.h"
#include "resources/vtr3_effects.h"

namespace {

const std::string kNotInitialised = "Fehler: Der Post-Processor ist nicht initialisiert. Funktion wird "
                                    "abgebrochen @ vtr3_postProcessor c_VTR3PostProcessor::";
const std::string kEffectNotFound = "Fehler: Das Objekt mit der ID: 777 wurde nicht gefunden. Funktion wird "
                                    "abgebrochen @ vtr3_effects c_VTR3EffectManager::GetEffect";

class PostProcessorLifeTest : public PluginInProcessTest {
  protected:
    void Steps(int view, const std::vector<int>& steps) {
        g_viewManager.SetPostProcessing(view, 1);
        for (int i = 0; i < 10; ++i) {
            g_viewManager.SetPostProcessEffect(view, i, i < static_cast<int>(steps.size()) ? steps[i] : 0);
        }
    }
    static size_t Count(const std::vector<std::string>& rows, const std::string& row) {
        return static_cast<size_t>(std::count(rows.begin(), rows.end(), row));
    }
};

// The chain turns off what would blend or light its quads and leaves it so; the targets have the
// sizes of their pairs.
TEST_F(PostProcessorLifeTest, AChainLeavesItsStatesSetAndTheTargetsHaveTheirSizes) {
    Start();
    IDirect3DDevice9* device = engine_.device();
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    Steps(kView, {30009, 30013, 30000, 30001});
    EXPECT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 30000)", "SetRenderTarget(0, 30001)",
                              "30001 full 30000 fx", "SetRenderTarget(0, 30002)", "30002 full 30001 ff",
                              "SetRenderTarget(0, 30005)", "30005 quarter 30002 ff", "SetRenderTarget(0, F)",
                              "F half 30005 ff"}));
    DWORD value = 0;
    const struct {
        D3DRENDERSTATETYPE state;
        DWORD expected;
    } states[] = {{D3DRS_LIGHTING, FALSE}, {D3DRS_ALPHABLENDENABLE, FALSE}};
    for (const auto& s : states) {
        device->GetRenderState(s.state, &value);
        EXPECT_EQ(value, s.expected) << s.state;
    }
    const struct {
        D3DTEXTURESTAGESTATETYPE state;
        DWORD expected;
    } stages[] = {{D3DTSS_COLORARG2, D3DTA_TEXTURE},
                  {D3DTSS_COLOROP, D3DTOP_SELECTARG2},
                  {D3DTSS_ALPHAOP, D3DTOP_DISABLE}};
    for (const auto& s : stages) {
        device->GetTextureStageState(0, s.state, &value);
        EXPECT_EQ(value, s.expected) << s.state;
    }
    const UINT widths[] = {1024, 1024, 1024, 512, 512, 256, 256};
    for (int id = 30000; id <= 30006; ++id) {
        D3DSURFACE_DESC desc = {};
        static_cast<IDirect3DTexture9*>(g_textureManager.GetBaseTexture(id))->GetLevelDesc(0, &desc);
        EXPECT_EQ(desc.Width, widths[id - 30000]) << id;
        EXPECT_EQ(desc.Height * 4, desc.Width * 3) << id;
    }
}

// An empty list shows the scene as it is without a row, however many frames run; a missing effect
// is reported once per view and step until the view's list changes, and used once it exists.
TEST_F(PostProcessorLifeTest, ABrokenListWritesItsRowOncePerViewAndList) {
    Start();
    for (const std::vector<int>& empty : {std::vector<int>{}, std::vector<int>{0, 30009, 30010}}) {
        Steps(kView, empty);
        for (int frame = 0; frame < 500; ++frame) {
            ASSERT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 30000)",
                                      "SetRenderTarget(0, F)", "F full 30000 ff"}));
        }
    }
    g_viewManager.RegisterView(2, "second");
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(engine_.device()->GetRenderTarget(0, &backBuffer), D3D_OK);
    for (const std::vector<int>& list : {std::vector<int>{30009, 777, 30010}, std::vector<int>{777, 777}}) {
        Steps(kView, list);
        Steps(2, list);
        for (int frame = 0; frame < 20; ++frame) {
            g_postProcessor.StartPostProcessing(backBuffer, kView);
            g_postProcessor.StartPostProcessing(backBuffer, 2);
        }
    }
    backBuffer->Release();
    g_effectManager.EffectCreate(777);
    g_effectManager.SetPath(777, "VTR3Content\\vtr3_negative.fx");
    g_effectManager.EffectInitialize(777);
    EXPECT_EQ(Frame().back(), "F full 30001 fx");
    g_effectManager.EffectDelete(777);
    EXPECT_EQ(Frame().back(), "F full 30001 ff");
    const std::vector<std::string> rows = StopAndReadRows();
    EXPECT_EQ(Count(rows, kEffectNotFound), 6u); // two views, then two views with two steps each
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const std::string& row) { return row.rfind("Fehler", 0) == 0; }),
              6);
}

// A second start-up whose quads cannot be created leaves the post-processor not initialised: both
// stages then report it and nothing is drawn. A scene target deleted by a script draws nothing
// either. Shut-down leaves the device holding nothing of the plug-in's.
TEST_F(PostProcessorLifeTest, AFailedRestartReportsItselfAndShutDownLeavesNothingBehind) {
    const size_t live = platform::LiveObjectCount();
    Start();
    Steps(kView, {30001, 30009});
    EXPECT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 30000)", "SetRenderTarget(0, 30003)",
                              "30003 half 30000 ff", "SetRenderTarget(0, F)", "F full 30003 fx"}));
    recorder_->Fail("CreateIndexBuffer", E_OUTOFMEMORY);
    ASSERT_EQ(VTR3Initialize(a6::VarFromInt(1), nullptr), 0);
    recorder_->Fail("CreateIndexBuffer", D3D_OK);
    EXPECT_EQ(g_postProcessor.IsInitialized(), 0);
    EXPECT_EQ(Frame(), Calls{});
    std::vector<std::string> rows = StopAndReadRows();
    EXPECT_EQ(Count(rows, kNotInitialised + "PreparePostProcessing"), 1u);
    EXPECT_EQ(Count(rows, kNotInitialised + "StartPostProcessing"), 1u);
    EXPECT_EQ(platform::LiveObjectCount(), live);

    Start();
    Steps(kView, {30001, 30009});
    EXPECT_EQ(Frame().back(), "F full 30003 fx");
    g_textureManager.TextureDelete(30000);
    EXPECT_EQ(Frame(), Calls{});
    StopAndReadRows();
    EXPECT_EQ(platform::LiveObjectCount(), live);
}

// Freeing the object table through the slot manager destroys the objects with it.
TEST_F(PostProcessorLifeTest, FreeingTheObjectTableThroughTheSlotManagerLosesNoObject) {
    Start();
    const size_t live = platform::LiveObjectCount();
    g_objectManager.CreateObject(5, c_VTR3ObjectManager::SKY);
    g_objectManager.InitializeObject(5);
    ASSERT_GT(platform::LiveObjectCount(), live);
    c_VTR3SlotManager<ObjectSlot>& slots = g_objectManager;
    slots.ReleaseAllSlots();
    EXPECT_EQ(g_objectManager.FindObject(5), nullptr);
    EXPECT_EQ(platform::LiveObjectCount(), live);
}

} // namespace
