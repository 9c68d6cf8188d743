// The post-processor's chains as the device sees them: which target each step writes, with which
// quad, from which source, through an effect or the fixed-function stage; the effect parameters;
// buffer creation, its failures, and a device reset after many frames.
#include "render_unit_fixture.h"

#include "resources/vtr3_effects.h"
#include "stand_in_device.h"

#include <d3dx9.h>

#include <fstream>

namespace {

class PostProcessorTest : public PluginInProcessTest {
  protected:
    void Steps(const std::vector<int>& steps) {
        g_viewManager.SetPostProcessing(kView, 1);
        for (int i = 0; i < 10; ++i) {
            g_viewManager.SetPostProcessEffect(kView, i, i < static_cast<int>(steps.size()) ? steps[i] : 0);
        }
    }
    bool Logged(const std::vector<std::string>& rows, const std::string& row) {
        return std::find(rows.begin(), rows.end(), row) != rows.end();
    }
};

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
        // Steps that name no effect pass their source through as a copy of the same size.
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

// A failed buffer creation leaves the post-processor not initialised with nothing held: the view is
// then drawn straight into the engine's target, and the frame holds no reference.
TEST_F(PostProcessorTest, AFailedBufferCreationLeavesItNotInitialisedAndHoldingNothing) {
    const std::string kAt = " @ vtr3_postProcessor c_VTR3PostProcessor::";
    const struct {
        const char* method;
        HRESULT result;
        std::string row;
    } cases[] = {
        {"CreateVertexBuffer", D3DERR_OUTOFVIDEOMEMORY,
         "Fehler: Vertexbuffer des Post-Processors konnte nicht initialisiert werden # "
         "D3DERR_OUTOFVIDEOMEMORY" +
             kAt + "Initialize"},
        {"CreateIndexBuffer", E_OUTOFMEMORY,
         "Fehler: Indexbuffer des Post-Procesors konnte nicht initialisiert werden # E_OUTOFMEMORY" + kAt +
             "Initialize"},
    };
    for (const auto& c : cases) {
        const size_t live = platform::LiveObjectCount();
        recorder_->Fail(c.method, c.result);
        Start();
        Steps({30009});
        EXPECT_EQ(Frame(), Calls{});
        const std::vector<std::string> rows = StopAndReadRows();
        recorder_->Fail(c.method, D3D_OK);
        EXPECT_TRUE(Logged(rows, c.row)) << c.row;
        EXPECT_TRUE(Logged(rows, "Fehler: Der Post-Processor ist nicht initialisiert. Funktion wird "
                                 "abgebrochen" +
                                     kAt + "PreparePostProcessing"));
        EXPECT_FALSE(Logged(rows, "Information: Der Post-Processor wurde erfolgreich initialisiert"));
        EXPECT_EQ(platform::LiveObjectCount(), live);
    }
}

// A second start-up (the frame repeats it when a script calls VTR3Initialize again) and a
// re-creation without a release first give back the buffers held from before; the buffers are the
// three quads and one index buffer, in that order.
TEST_F(PostProcessorTest, RepeatedCreationHoldsOneSetOfBuffers) {
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
    StopAndReadRows();
    EXPECT_EQ(platform::LiveObjectCount(), live);
}

// Direct3D 9 refuses Reset while a video-memory resource is alive: the targets a frame used must be
// free once the plug-in has released its resources, however many frames ran.
TEST_F(PostProcessorTest, AfterManyFramesADeviceResetSucceedsAndTheChainRunsAgain) {
    Start();
    Steps({30001, 30002, 30005, 30004, 30011});
    Frame();
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(engine_.device()->GetRenderTarget(0, &backBuffer), D3D_OK);
    const ULONG referencesAfterOne = backBuffer->AddRef() - 1;
    backBuffer->Release();
    for (int i = 0; i < 30; ++i) {
        Frame();
    }
    EXPECT_EQ(backBuffer->AddRef() - 1, referencesAfterOne);
    backBuffer->Release();
    backBuffer->Release();

    VTR3ReleaseResources();
    D3DPRESENT_PARAMETERS parameters = StandInDevice::Parameters();
    parameters.BackBufferWidth = 1024;
    parameters.BackBufferHeight = 768;
    ASSERT_EQ(engine_.device()->Reset(&parameters), D3D_OK);
    VTR3RecreateResources();
    NameAll();
    EXPECT_EQ(Frame(), (Calls{"GetRenderTarget(0)", "SetRenderTarget(0, 30000)", "SetRenderTarget(0, 30003)",
                              "30003 half 30000 ff", "SetRenderTarget(0, 30004)", "30004 half 30003 fx",
                              "SetRenderTarget(0, 30003)", "30003 half 30004 fx", "SetRenderTarget(0, 30004)",
                              "30004 half 30003 fx", "SetRenderTarget(0, F)", "F full 30004 fx"}));
}

} // namespace
