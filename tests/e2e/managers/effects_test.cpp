// The effect exports end to end with effect files written by the tests and compiled by the platform:
// technique selection, the compiler's messages and the re-creation pass that stops at a broken file.
// The slot table's growth, reuse and compaction are the view manager's tests (one template for all).
#include "plugin_fixture.h"

#include <fstream>

namespace {

const std::string kEffects = " @ vtr3_effects c_VTR3EffectManager::";

// A vertex shader every technique shares; the pixel shader of "TooManyConstants" reads more
// constants than shader model 2 has, so that technique fails validation on any device.
const char* const kShaders = R"(
float4x4 matWorldViewProjection;
float4 table[40];
int index;
float4 VS(float4 p : POSITION) : POSITION { return mul(p, matWorldViewProjection); }
float4 PS() : COLOR0 { return 1; }
float4 PSTable() : COLOR0 { return table[index]; }
)";
const char* const kValid =
    "technique Valid { pass P { VertexShader = compile vs_2_0 VS(); PixelShader = compile ps_2_0 PS(); } }\n";
const char* const kInvalid = "technique TooManyConstants { pass P { VertexShader = compile vs_2_0 VS(); "
                             "PixelShader = compile ps_2_0 PSTable(); } }\n";

void WriteFile(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
}

std::string Initialized(int id, int technique) {
    return "Information: Der Effekt mit der ID: " + std::to_string(id) +
           " wurde erfolgreich initialisiert und die Technik: " + std::to_string(technique) +
           " wird verwendet.";
}

class EffectsTest : public PluginTest {
  protected:
    void Effect(int id, const std::string& path) {
        EXPECT_EQ(Call("VTR3EffectCreate", Var(id)), 0);
        EXPECT_EQ(Call("VTR3EffectSetPath", Var(id), Text(path)), 0);
        EXPECT_EQ(Call("VTR3EffectInitialize", Var(id)), 0);
    }
};

// The first technique that validates; none validating, technique 0 with a warning, which a file
// without techniques does not get. The compiler's own messages (file and line) end the error row.
TEST_F(EffectsTest, TechniquesAndCompilerMessages) {
    WriteFile("second.fx", std::string(kShaders) + kInvalid + kValid + kInvalid);
    WriteFile("none.fx", std::string(kShaders) + kInvalid + kInvalid);
    WriteFile("syntax.fx", "float4 PS() : COLOR0\n{\n    float4 c = 1\n    return c;\n}\n"
                           "technique T { pass P { PixelShader = compile ps_2_0 PS(); } }\n");
    WriteFile("bare.fx", kShaders);
    ASSERT_EQ(Initialize(), 0);
    Effect(1, "second.fx");
    Effect(2, "none.fx");
    Effect(3, "syntax.fx");
    Effect(4, "bare.fx");
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);

    const Rows rows = UnloadAndReadRows();
    ASSERT_GE(rows.size(), 10u);
    EXPECT_EQ(rows[1], Initialized(1, 1));
    EXPECT_EQ(rows[3],
              "Warnung: Compillierung des Effektes mit der ID: 2 erfolgreich abgeschlossen. Es konnte "
              "jedoch keine g\xfcltige Technik gefunden werden. Dies ist nicht zwangl\xe4ufig<br>eine "
              "Fehlermeldung und kann evtl. ignoriert werden. Es wird Technik 0 verwendet.");
    EXPECT_EQ(rows[4], Initialized(2, 0));
    EXPECT_EQ(rows[6], "Fehler: Fehler beim compillieren des Effektes mit der ID: 3. Fehler: syntax.fx(4,5): "
                       "error X3000: syntax error: ';' expected\r\n # D3DXERR_INVALIDDATA" +
                           kEffects + "EffectInitialize");
    EXPECT_EQ(rows[8], Initialized(4, 0));
    EXPECT_EQ(rows[9], "Information: Der Post-Processor wurde erfolgreich deinitialisiert");
}

TEST_F(EffectsTest, RecreationStopsAtTheFileThatBroke) {
    for (const char* name : {"a.fx", "b.fx", "c.fx"}) {
        WriteFile(name, std::string(kShaders) + kValid);
    }
    ASSERT_EQ(Initialize(), 0);
    Effect(1, "a.fx");
    const long one = LiveObjectsOfThePlugin();
    Effect(2, "b.fx");
    Effect(3, "c.fx");
    EXPECT_EQ(Call("VTR3ReleaseResources"), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);
    WriteFile("b.fx", "technique {");
    EXPECT_EQ(Call("VTR3RecreateResources"), 0);
    // Only the first effect is back; the third waits for the next reset.
    EXPECT_EQ(LiveObjectsOfThePlugin(), one);
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);

    const Rows rows = UnloadAndReadRows();
    ASSERT_GE(rows.size(), 9u);
    EXPECT_EQ(rows[6], "Information: Alle API-Resourcen wurden freigegeben");
    EXPECT_EQ(rows[7].rfind("Fehler: Fehler beim compillieren des Effektes mit der ID: 2. Fehler: ", 0), 0u);
    EXPECT_NE(rows[7].find(kEffects + "RecreateResources"), std::string::npos);
    EXPECT_EQ(rows[8], "Information: Alle API-Resourcen wurden neu erstellt");
}

} // namespace
