// The post-processor as the device sees it: which target each step writes, with which quad, from
// which source, through an effect or the fixed-function stage; the effect parameters and the device
// state a chain leaves; buffer creation and its failures; the rows a broken view writes (once, not
// per frame); a device reset after many frames; what is still held after shut-down.
#include "render_unit_fixture.h"

#include "resources/vtr3_effects.h"
#include "reference_count.h"

#include <d3dx9.h>

#include <fstream>

namespace {

const std::string kAt = " @ vtr3_postProcessor c_VTR3PostProcessor::";
const std::string kNotInitialised =
    "Fehler: Der Post-Processor ist nicht initialisiert. Funktion wird abgebrochen" + kAt;

const std::string kEffectNotFound = "Fehler: Das Objekt mit der ID: 777 wurde nicht gefunden. Funktion wird "
                                    "abgebrochen @ vtr3_effects c_VTR3EffectManager::GetEffect";

using PostProcessorTest = PluginInProcessTest;

// Steps that name no effect pass their source through as a copy of the same size.
TEST_F(PostProcessorTest, ChainsWriteTheirTargetsInPingPongPairsAndEndInTheFinalTarget) {
    Start();
    Calls tenDraws = {"30001 full 30000 fx"};
    for (int i = 1; i < 9; ++i) {
        tenDraws.push_back(i % 2 ? "30002 full 30001 fx" : "30001 full 30002 fx");
    }
    tenDraws.push_back("F full 30001 fx");
    const struct {
        std::vector<int> steps;
        Calls draws;
    } chains[] = {
        {{30001, 30002, 30005, 30004, 30011},
         {"30003 half 30000 ff", "30004 half 30003 fx", "30003 half 30004 fx", "30004 half 30003 fx",
          "F full 30004 fx"}},
        {{30009}, {"F full 30000 fx"}},
        {{30009, 30010}, {"30001 full 30000 fx", "F full 30001 fx"}},
        {std::vector<int>(10, 30009), tenDraws},
        {{30009, 0, 30010, 30011}, {"F full 30000 fx"}},
        {{30000}, {"F quarter 30000 ff"}},
        {{30000, 30000, 30000}, {"30005 quarter 30000 ff", "30006 quarter 30005 ff", "F quarter 30006 ff"}},
        {{30001, 30009, 30013}, {"30003 half 30000 ff", "30004 half 30003 fx", "F full 30004 ff"}},
        {{30000, 30010, 30009}, {"30005 quarter 30000 ff", "30006 quarter 30005 fx", "F full 30006 fx"}},
        {{0}, {"F full 30000 ff"}},
        {{30009, 777, 30010}, {"30001 full 30000 fx", "30002 full 30001 ff", "F full 30002 fx"}},
    };
    for (const auto& chain : chains) {
        Steps(chain.steps);
        Calls draws;
        for (const std::string& call : Frame()) {
            if (call.find("RenderTarget(") == std::string::npos) {
                draws.push_back(call);
            }
        }
        EXPECT_EQ(draws, chain.draws) << "chain starting " << chain.steps[0] << " of " << chain.steps.size();
    }
    // A scene target deleted by a script: nothing is drawn.
    g_textureManager.TextureDelete(30000);
    EXPECT_EQ(Frame(), Calls{});
}

TEST_F(PostProcessorTest, EffectStepsReceiveTheirTexturesAndValues) {
    std::ofstream("probe.fx") << "texture postTex1; texture postTex2; texture effTex1;\n"
                                 "float4 vecValues1; float4 vecValues2;\n"
                                 "sampler2D s = sampler_state { Texture = <postTex1>; };\n"
                                 "float4 PS(float2 uv : TEXCOORD0) : COLOR0 { return tex2D(s, uv); }\n"
                                 "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";
    Start();
    Target(1, 0, 4);
    Target(2, 0, 4);
    g_effectManager.EffectCreate(7);
    g_effectManager.SetPath(7, "probe.fx");
    g_effectManager.EffectInitialize(7);
    for (unsigned int i = 0; i < 8; ++i) {
        g_effectManager.SetEffectValue(7, i, 0.5f * (i + 1));
    }
    Steps({30013, 7});
    ID3DXEffect* effect = g_effectManager.GetEffect(7);
    ASSERT_NE(effect, nullptr);
    const auto expectTexture = [effect](const char* name, int id) {
        IDirect3DBaseTexture9* texture = nullptr;
        ASSERT_EQ(effect->GetTexture(name, &texture), D3D_OK);
        EXPECT_EQ(texture, g_textureManager.GetBaseTexture(id)) << name;
        if (texture) {
            texture->Release();
        }
    };
    // effTex1 is the second effect texture when set, else the first.
    const struct { int texture0, texture1, expected; } cases[] = {{1, 0, 1}, {0, 2, 2}, {1, 2, 2}};
    for (const auto& c : cases) {
        g_effectManager.SetEffectTex(7, 0, c.texture0);
        g_effectManager.SetEffectTex(7, 1, c.texture1);
        Frame();
        expectTexture("effTex1", c.expected);
        expectTexture("postTex1", 30001);
        expectTexture("postTex2", 30000);
    }
    D3DXVECTOR4 values[2];
    ASSERT_EQ(effect->GetVector("vecValues1", &values[0]), D3D_OK);
    ASSERT_EQ(effect->GetVector("vecValues2", &values[1]), D3D_OK);
    EXPECT_EQ(values[0], D3DXVECTOR4(0.5f, 1.0f, 1.5f, 2.0f));
    EXPECT_EQ(values[1], D3DXVECTOR4(2.5f, 3.0f, 3.5f, 4.0f));
}

// A failed buffer creation, at the first start-up or at a second one (the frame repeats it when a
// script calls VTR3Initialize again), leaves the post-processor not initialised and holding nothing:
// both stages report it once, the view is drawn straight into the engine's target and the frame holds
// no reference. Shut-down leaves the device holding nothing of the plug-in's.
TEST_F(PostProcessorTest, AFailedBufferCreationLeavesItNotInitialisedAndHoldingNothing) {
    const std::string kIndexRow =
        "Fehler: Indexbuffer des Post-Procesors konnte nicht initialisiert werden # E_OUTOFMEMORY" + kAt +
        "Initialize";
    const struct {
        bool restart;
        const char* method;
        HRESULT result;
        std::string row;
    } cases[] = {
        {false, "CreateVertexBuffer", D3DERR_OUTOFVIDEOMEMORY,
         "Fehler: Vertexbuffer des Post-Processors konnte nicht initialisiert werden # "
         "D3DERR_OUTOFVIDEOMEMORY" +
             kAt + "Initialize"},
        {false, "CreateIndexBuffer", E_OUTOFMEMORY, kIndexRow},
        {true, "CreateIndexBuffer", E_OUTOFMEMORY, kIndexRow},
    };
    for (const auto& c : cases) {
        const size_t live = platform::LiveObjectCount();
        if (c.restart) {
            Start();
            Steps({30001, 30009});
            EXPECT_EQ(Frame(),
                      (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 30000)", "SetRenderTarget(0, 30003)",
                             "30003 half 30000 ff", "SetRenderTarget(0, F)", "F full 30003 fx"}));
        }
        recorder_->Fail(c.method, c.result);
        if (c.restart) {
            ASSERT_EQ(VTR3Initialize(a6::VarFromInt(1), nullptr), 0);
        } else {
            Start();
        }
        recorder_->Fail(c.method, D3D_OK);
        EXPECT_EQ(g_postProcessor.IsInitialized(), 0);
        Steps({30009});
        EXPECT_EQ(Frame(), Calls{});
        const std::vector<std::string> rows = StopAndReadRows();
        EXPECT_EQ(Count(rows, c.row), 1u) << c.row;
        EXPECT_EQ(Count(rows, kNotInitialised + "PreparePostProcessing"), 1u);
        EXPECT_EQ(Count(rows, kNotInitialised + "StartPostProcessing"), 1u);
        EXPECT_EQ(Count(rows, "Information: Der Post-Processor wurde erfolgreich initialisiert"),
                  c.restart ? 1u : 0u);
        EXPECT_EQ(platform::LiveObjectCount(), live);
    }
}

// A second start-up (the frame repeats it when a script calls VTR3Initialize again) and a
// re-creation without a release first give back the buffers held from before: the three quads and one
// index buffer, in that order. Direct3D 9 refuses Reset while a video-memory resource is alive: the
// targets a frame used must be free once the plug-in has released its resources, however many frames
// ran, and the chain runs again after the reset.
TEST_F(PostProcessorTest, RepeatedCreationAndAResetAfterManyFramesHoldOneSetOfResources) {
    const size_t live = platform::LiveObjectCount();
    Start();
    const size_t started = platform::LiveObjectCount();
    ASSERT_EQ(VTR3Initialize(a6::VarFromInt(1), nullptr), 0);
    recorder_->calls().clear();
    VTR3RecreateResources();
    EXPECT_EQ(Calls(recorder_->calls().begin(), recorder_->calls().begin() + 4),
              (Calls{"CreateVertexBuffer(96, 0, 260, MANAGED)", "CreateVertexBuffer(96, 0, 260, MANAGED)",
                     "CreateVertexBuffer(96, 0, 260, MANAGED)", "CreateIndexBuffer(12, 0, 101, MANAGED)"}));
    EXPECT_EQ(platform::LiveObjectCount(), started);
    NameAll();
    Steps({30001, 30002, 30005, 30004, 30011});
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(engine_.device()->GetRenderTarget(0, &backBuffer), D3D_OK);
    Frame();
    const ULONG references = CountOf(backBuffer);
    for (int i = 0; i < 30; ++i) {
        Frame();
    }
    EXPECT_EQ(CountOf(backBuffer), references);
    backBuffer->Release();
    VTR3ReleaseResources();
    ASSERT_EQ(engine_.ResetDevice(), D3D_OK);
    VTR3RecreateResources();
    NameAll();
    EXPECT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 30000)", "SetRenderTarget(0, 30003)",
                              "30003 half 30000 ff", "SetRenderTarget(0, 30004)", "30004 half 30003 fx",
                              "SetRenderTarget(0, 30003)", "30003 half 30004 fx", "SetRenderTarget(0, 30004)",
                              "30004 half 30003 fx", "SetRenderTarget(0, F)", "F full 30004 fx"}));
    StopAndReadRows();
    EXPECT_EQ(platform::LiveObjectCount(), live);
}

// The chain turns off what would blend or light its quads and leaves it so; the targets have the
// sizes of their pairs.
TEST_F(PostProcessorTest, AChainLeavesItsStatesSetAndTheTargetsHaveTheirSizes) {
    Start();
    IDirect3DDevice9* device = engine_.device();
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    Steps({30009, 30013, 30000, 30001});
    EXPECT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 30000)", "SetRenderTarget(0, 30001)",
                              "30001 full 30000 fx", "SetRenderTarget(0, 30002)", "30002 full 30001 ff",
                              "SetRenderTarget(0, 30005)", "30005 quarter 30002 ff", "SetRenderTarget(0, F)",
                              "F half 30005 ff"}));
    const struct {
        bool stage;
        DWORD state, expected;
    } states[] = {{false, D3DRS_LIGHTING, FALSE},
                  {false, D3DRS_ALPHABLENDENABLE, FALSE},
                  {true, D3DTSS_COLORARG2, D3DTA_TEXTURE},
                  {true, D3DTSS_COLOROP, D3DTOP_SELECTARG2},
                  {true, D3DTSS_ALPHAOP, D3DTOP_DISABLE}};
    for (const auto& s : states) {
        DWORD value = 0;
        if (s.stage) {
            device->GetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(s.state), &value);
        } else {
            device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(s.state), &value);
        }
        EXPECT_EQ(value, s.expected) << s.state << (s.stage ? " of stage 0" : "");
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
TEST_F(PostProcessorTest, ABrokenListWritesItsRowOncePerViewAndList) {
    Start();
    for (const std::vector<int>& empty : {std::vector<int>{}, std::vector<int>{0, 30009, 30010}}) {
        Steps(empty);
        for (int frame = 0; frame < 500; ++frame) {
            ASSERT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 30000)",
                                      "SetRenderTarget(0, F)", "F full 30000 ff"}));
        }
    }
    g_viewManager.RegisterView(2, "second");
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(engine_.device()->GetRenderTarget(0, &backBuffer), D3D_OK);
    for (const std::vector<int>& list : {std::vector<int>{30009, 777, 30010}, std::vector<int>{777, 777}}) {
        Steps(list);
        Steps(list, 2);
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

} // namespace
