// The effect manager's own rows and values against a compiler stand-in that refuses every file:
// the exact compile call, the compiler's messages in the DirectX error row, the value vectors and
// texture slots. Compiling real files and the re-creation pass are tested end to end.
#include "resources/vtr3_effects.h"

#include "engine.h"
#include "fake_d3dx.h"
#include "manager_fixture.h"

#include <string>

namespace {

using Rows = std::vector<std::string>;

const std::string kAt = " @ vtr3_effects c_VTR3EffectManager::";

class EffectManagerTest : public ManagerLogTest {
  protected:
    EffectManagerTest() {
        g_device = reinterpret_cast<IDirect3DDevice9*>(&calls_); // never called: the compiler is a stand-in
        fake_d3dx::g_calls = &calls_;
        fake_d3dx::g_effectResult = E_FAIL;
        fake_d3dx::g_compilerMessages.clear();
        effects_.Initialize();
        TakeRows();
    }
    ~EffectManagerTest() override {
        if (effects_.IsInitialized()) {
            effects_.DeInitialize();
        }
        EXPECT_EQ(fake_d3dx::LiveBuffers(), 0);
        fake_d3dx::g_calls = nullptr;
        g_device = nullptr;
    }

    Rows calls_;
    c_VTR3EffectManager effects_;
};

TEST_F(EffectManagerTest, ARefusedCompilationLogsTheCompilersMessagesAndLeavesNoEffect) {
    effects_.EffectCreate(1);
    effects_.SetPath(1, "broken.fx");
    fake_d3dx::g_compilerMessages = "broken.fx(3,5): error X3000: syntax error: unexpected token '}'";
    effects_.EffectInitialize(1);
    EXPECT_EQ(effects_.GetEffect(1), nullptr);

    fake_d3dx::g_compilerMessages.clear();
    fake_d3dx::g_effectResult = D3DERR_INVALIDCALL;
    effects_.SetPath(1, nullptr);
    effects_.EffectInitialize(1);
    EXPECT_EQ(calls_, (Rows{"D3DXCreateEffectFromFileA(broken.fx, NULL, NULL, 0, NULL)",
                            "D3DXCreateEffectFromFileA(, NULL, NULL, 0, NULL)"}));
    EXPECT_EQ(TakeRows(),
              (Rows{"Information: Der Effekt mit der ID: 1 wurde erfolgreich erstellt",
                    "Fehler: Fehler beim compillieren des Effektes mit der ID: 1. Fehler: broken.fx(3,5): "
                    "error X3000: syntax error: unexpected token '}' # E_FAIL" +
                        kAt + "EffectInitialize",
                    "Fehler: Fehler beim compillieren des Effektes mit der ID: 1. Fehler:  # "
                    "D3DERR_INVALIDCALL" +
                        kAt + "EffectInitialize"}));
}

TEST_F(EffectManagerTest, ValuesAndTextureSlots) {
    for (int id = 1; id <= 11; ++id) {
        effects_.EffectCreate(id);
    }
    effects_.SetEffectValue(1, 5, 2.5f);
    effects_.SetEffectValue(1, 0, -0.5f);
    effects_.SetEffectValue(1, 8, 9.0f);
    effects_.SetEffectValue(1, static_cast<unsigned int>(-1), 9.0f);
    effects_.SetEffectTex(1, 1, 30000);
    effects_.SetEffectTex(1, 2, 30001);
    effects_.SetEffectTex(1, -1, 30001);
    TakeRows();
    D3DXVECTOR4 vector;
    effects_.GetValueVector(1, 0, &vector);
    EXPECT_EQ(vector, D3DXVECTOR4(-0.5f, 0, 0, 0));
    effects_.GetValueVector(1, 1, &vector);
    EXPECT_EQ(vector, D3DXVECTOR4(0, 2.5f, 0, 0));
    effects_.GetValueVector(1, 2, &vector);
    EXPECT_EQ(vector, D3DXVECTOR4(0, 0, 0, 0));
    EXPECT_EQ(effects_.GetEffectTexID(1, 0), 0);
    EXPECT_EQ(effects_.GetEffectTexID(1, 1), 30000);
    EXPECT_EQ(effects_.GetEffectTexID(1, 2), 0);
    // The record added by growth starts fresh.
    EXPECT_EQ(effects_.GetSlotCount(), 20u);
    effects_.GetValueVector(11, 1, &vector);
    EXPECT_EQ(vector, D3DXVECTOR4(0, 0, 0, 0));
    EXPECT_EQ(effects_.GetEffectTexID(11, 0), 0);
    EXPECT_TRUE(TakeRows().empty());

    effects_.GetValueVector(12, 0, &vector);
    EXPECT_EQ(vector, D3DXVECTOR4(0, 0, 0, 0));
    EXPECT_EQ(effects_.GetEffectTexID(12, 0), 0);
    const std::string notFound =
        "Fehler: Das Objekt mit der ID: 12 wurde nicht gefunden. Funktion wird abgebrochen";
    EXPECT_EQ(TakeRows(), (Rows{notFound + kAt + "GetValueVector", notFound + kAt + "GetEffectTexID"}));
}

TEST_F(EffectManagerTest, TheSlotTableRowsOfTheEffectManager) {
    effects_.EffectCreate(0);
    effects_.EffectCreate(0);
    effects_.EffectDelete(0);
    effects_.EffectDelete(0);
    effects_.DeInitialize();
    EXPECT_EQ(effects_.GetEffect(0), nullptr);
    {
        c_VTR3EffectManager forgotten;
        forgotten.Initialize();
    }
    EXPECT_EQ(
        TakeRows(),
        (Rows{"Information: Der Effekt mit der ID: 0 wurde erfolgreich erstellt",
              "Warnung: Der Effekt mit der ID: 0 kann nicht zweimal erstellt werden. Funktion wird "
              "abgebrochen" +
                  kAt + "EffectCreate",
              "Information: Der Effekt mit der ID: 0 wurde erfolgreich gel\xf6scht",
              "Fehler: Das Objekt mit der ID: 0 wurde nicht gefunden. Funktion wird abgebrochen" + kAt +
                  "EffectDelete",
              "Information: Der Effektmanager wurde erfolgreich deinitialisiert",
              "Fehler: Der Effektmanager ist nicht initialisiert. Die aufgerufene Funktion wird abgebrochen" +
                  kAt + "GetEffect",
              "Information: Der Effektmanager wurde erfolgreich initialisiert",
              "Warnung: Der Effektmanager wurde nicht ordungsgem\xe4\xdf deinitialisiert.",
              "Information: Der Effektmanager wurde erfolgreich deinitialisiert"}));
}

// A technique handle belongs to the effect that chose it: released or compiled again, the effect
// takes its handle along (a stale one given to the next effect would be read as a name).
TEST_F(EffectManagerTest, TheTechniqueGoesWithItsEffect) {
    host::Engine engine;
    engine.CreateGraphics(16, 16, "Acknex 6");
    g_device = engine.device();
    fake_d3dx::g_effectSource =
        "float4 PS() : COLOR { return 1; }\ntechnique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n";
    effects_.EffectCreate(1);
    effects_.SetPath(1, "t.fx");
    effects_.EffectInitialize(1);
    ASSERT_NE(effects_.GetEffect(1), nullptr);
    EXPECT_NE(effects_.GetSlotAt(0)->technique, nullptr);
    effects_.ReleaseResources();
    EXPECT_EQ(effects_.GetSlotAt(0)->technique, nullptr);
    effects_.RecreateResources();
    EXPECT_NE(effects_.GetSlotAt(0)->technique, nullptr);
    fake_d3dx::g_effectSource.clear();
    effects_.EffectInitialize(1);
    EXPECT_EQ(effects_.GetEffect(1), nullptr);
    EXPECT_EQ(effects_.GetSlotAt(0)->technique, nullptr);
    effects_.DeInitialize();
}

} // namespace
