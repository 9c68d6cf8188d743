// The object family of exports through the loaded plug-in.
#include "plugin_fixture.h"

namespace {

std::string Info(int id, const char* what) {
    return "Information: Das Objekt mit der ID: " + std::to_string(id) + " wurde erfolgreich " + what;
}

TEST_F(PluginTest, ObjectsLiveThroughResetsAndNothingOutlivesDeInitialize) {
    ASSERT_EQ(Initialize(), 0);
    for (int kind : {0, 4, -1}) {
        EXPECT_EQ(Call("VTR3ObjectCreate", Var(9), Var(kind)), 1) << kind;
    }
    for (int id : {1, 2, 3}) {
        EXPECT_EQ(Call("VTR3ObjectCreate", Var(id), Var(id)), 0); // sky, water, engine mesh
    }
    const int skills[][3] = {{100, 50, 0}, {200, 4, 16}};
    for (int id : {1, 2}) {
        for (int index = 0; index < 3; ++index) {
            Call("VTR3ObjectSetSkill", Var(id), Var(index), Var(skills[id - 1][index]));
        }
    }
    for (int id : {1, 2, 3}) {
        EXPECT_EQ(Call("VTR3ObjectInitialize", Var(id)), 0);
    }
    EXPECT_EQ(Call("VTR3ObjectSetFlag", Var(2), Var(20), Var(1)), 0);
    Call("VTR3ReleaseResources");
    Call("VTR3RecreateResources");
    EXPECT_EQ(Call("VTR3ObjectDelete", Var(3)), 0);
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);

    const Rows rows = UnloadAndReadRows();
    const Rows expected = {
        Info(1, "erstellt"),
        Info(2, "erstellt"),
        Info(3, "erstellt"),
        Info(1, "initialisiert"),
        Info(2, "initialisiert"),
        Info(3, "initialisiert"),
        "Fehler: Das angebene Flag existiert nicht. @ vtr3_3dobject c_VTR3Object3D::SetFlag",
        "Information: Alle API-Resourcen wurden freigegeben",
        "Information: Alle API-Resourcen wurden neu erstellt",
        Info(3, "gel\xf6scht")};
    ASSERT_GE(rows.size(), expected.size());
    EXPECT_EQ(Rows(rows.begin(), rows.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                        "Information: Der Objektmanager wurde erfolgreich deinitialisiert"),
              rows.end());
}

} // namespace
