// The effect manager against a compiler stand-in (fake_d3dx.h) that builds the platform's effect from
// the texts it is given and refuses other paths: the exact compile call, technique selection, the
// compiler's messages in the DirectX error row, the re-creation pass that stops at a broken file, the
// value vectors and texture slots.
#include "resources/vtr3_effects.h"

#include "engine.h"
#include "fake_d3dx.h"
#include "manager_fixture.h"
#include "platform_control.h"

#include <string>

namespace {

using Rows = std::vector<std::string>;

const std::string kAt = " @ vtr3_effects c_VTR3EffectManager::";

// A vertex shader every technique shares; the pixel shader of "TooManyConstants" reads more
// constants than shader model 2 has, so that technique fails validation on any device.
const std::string kShaders = R"(
float4x4 matWorldViewProjection;
float4 table[40];
int index;
float4 VS(float4 p : POSITION) : POSITION { return mul(p, matWorldViewProjection); }
float4 PS() : COLOR0 { return 1; }
float4 PSTable() : COLOR0 { return table[index]; }
)";
const std::string kValid =
    "technique Valid { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } }\n";
const std::string kInvalid = "technique TooManyConstants { pass P { VertexShader = compile vs_2_0 VS(); "
                             "PixelShader = compile ps_2_0 PSTable(); } }\n";

std::string Created(int id) {
    return "Information: Der Effekt mit der ID: " + std::to_string(id) + " wurde erfolgreich erstellt";
}
std::string Initialized(int id, int technique) {
    return "Information: Der Effekt mit der ID: " + std::to_string(id) +
           " wurde erfolgreich initialisiert und die Technik: " + std::to_string(technique) +
           " wird verwendet.";
}
std::string Refused(int id, const std::string& messages, const std::string& result,
                    const std::string& method) {
    return "Fehler: Fehler beim compillieren des Effektes mit der ID: " + std::to_string(id) +
           ". Fehler: " + messages + " # " + result + kAt + method;
}

class EffectManagerTest : public ManagerLogTest {
  protected:
    EffectManagerTest() {
        engine_.CreateGraphics(16, 16, "Acknex 6");
        g_device = engine_.device();
        fake_d3dx::g_calls = &calls_;
        fake_d3dx::g_effectResult = E_FAIL;
        effects_.Initialize();
        TakeRows();
        baseline_ = platform::LiveObjectCount();
    }
    ~EffectManagerTest() override {
        if (effects_.IsInitialized()) {
            effects_.DeInitialize();
        }
        EXPECT_EQ(platform::LiveObjectCount(), baseline_);
        fake_d3dx::g_calls = nullptr;
        fake_d3dx::g_effectSources.clear();
        fake_d3dx::g_compilerMessages.clear();
        g_device = nullptr;
    }

    void Effect(int id, const char* path) {
        effects_.EffectCreate(id);
        effects_.SetPath(id, path);
        effects_.EffectInitialize(id);
    }

    host::Engine engine_;
    Rows calls_;
    c_VTR3EffectManager effects_;
    size_t baseline_ = 0;
};

// The first technique that validates; none validating, technique 0 with a warning, which an effect
// without techniques does not get. A refusal ends its row with the compiler's messages, if any.
TEST_F(EffectManagerTest, TechniquesAndRefusedCompilations) {
    fake_d3dx::g_effectSources = {{"second.fx", kShaders + kInvalid + kValid + kInvalid},
                                  {"none.fx", kShaders + kInvalid + kInvalid},
                                  {"bare.fx", kShaders}};
    Effect(1, "second.fx");
    Effect(2, "none.fx");
    Effect(3, "bare.fx");
    const std::string messages = "broken.fx(3,5): error X3000: syntax error: unexpected token '}'";
    fake_d3dx::g_compilerMessages = messages;
    Effect(4, "broken.fx");
    EXPECT_EQ(effects_.GetEffect(4), nullptr);
    fake_d3dx::g_compilerMessages.clear();
    fake_d3dx::g_effectResult = D3DERR_INVALIDCALL;
    effects_.SetPath(4, nullptr);
    effects_.EffectInitialize(4);
    Rows calls;
    for (const std::string path : {"second.fx", "none.fx", "bare.fx", "broken.fx", ""}) {
        calls.push_back("D3DXCreateEffectFromFileA(" + path + ", NULL, NULL, 0, NULL)");
    }
    EXPECT_EQ(calls_, calls);
    EXPECT_EQ(TakeRows(),
              (Rows{Created(1), Initialized(1, 1), Created(2),
                    "Warnung: Compillierung des Effektes mit der ID: 2 erfolgreich abgeschlossen. Es konnte "
                    "jedoch keine g\xfcltige Technik gefunden werden. Dies ist nicht zwangl\xe4ufig<br>eine "
                    "Fehlermeldung und kann evtl. ignoriert werden. Es wird Technik 0 verwendet.",
                    Initialized(2, 0), Created(3), Initialized(3, 0), Created(4),
                    Refused(4, messages, "E_FAIL", "EffectInitialize"),
                    Refused(4, "", "D3DERR_INVALIDCALL", "EffectInitialize")}));
}

// Released, nothing is left, not even a technique handle (a stale one given to the next effect would
// be read as a name); re-created, the effects come back in table order until a file fails: those
// after it wait for the next reset. Compiled again and refused, an effect takes its technique along.
TEST_F(EffectManagerTest, ReleaseAndRecreateStopAtTheFileThatBroke) {
    for (const char* path : {"a.fx", "b.fx", "c.fx"}) {
        fake_d3dx::g_effectSources[path] = kShaders + kValid;
    }
    Effect(1, "a.fx");
    const size_t one = platform::LiveObjectCount();
    Effect(2, "b.fx");
    Effect(3, "c.fx");
    effects_.ReleaseResources();
    EXPECT_EQ(platform::LiveObjectCount(), baseline_);
    for (unsigned int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(effects_.GetSlotAt(slot)->technique, nullptr) << slot;
    }
    fake_d3dx::g_effectSources.erase("b.fx");
    TakeRows();
    effects_.RecreateResources();
    EXPECT_EQ(platform::LiveObjectCount(), one);
    EXPECT_NE(effects_.GetSlotAt(0)->technique, nullptr);
    EXPECT_EQ(effects_.GetEffect(3), nullptr);
    EXPECT_EQ(TakeRows(), Rows{Refused(2, "", "E_FAIL", "RecreateResources")});
    fake_d3dx::g_effectSources.clear();
    effects_.EffectInitialize(1);
    EXPECT_EQ(effects_.GetEffect(1), nullptr);
    EXPECT_EQ(effects_.GetSlotAt(0)->technique, nullptr);
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
    EXPECT_EQ(effects_.GetSlotCount(), 20u);
    TakeRows();
    // Effect 11's record, added by growth, starts fresh.
    const struct {
        int id;
        unsigned int index;
        D3DXVECTOR4 vector;
        int texture;
    } reads[] = {{1, 0, {-0.5f, 0, 0, 0}, 0}, {1, 1, {0, 2.5f, 0, 0}, 30000}, {1, 2, {0, 0, 0, 0}, 0},
                 {11, 1, {0, 0, 0, 0}, 0},    {11, 0, {0, 0, 0, 0}, 0},       {12, 0, {0, 0, 0, 0}, 0}};
    for (const auto& read : reads) {
        D3DXVECTOR4 vector(1, 1, 1, 1);
        effects_.GetValueVector(read.id, read.index, &vector);
        EXPECT_EQ(vector, read.vector) << read.id << " " << read.index;
        EXPECT_EQ(effects_.GetEffectTexID(read.id, static_cast<int>(read.index)), read.texture);
    }
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
        (Rows{Created(0),
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

} // namespace
