// The object family of exports through the loaded plug-in.
#include "plugin_fixture.h"

namespace {

// A sky, a water and an engine mesh live through a release and re-creation of the resources without
// an error, a script type the plug-in does not know is refused, and nothing outlives the shut-down.
TEST_F(PluginTest, ObjectsLiveThroughResetsAndNothingOutlivesDeInitialize) {
    ASSERT_EQ(Initialize(), 0);
    EXPECT_EQ(Call("VTR3ObjectCreate", Var(9), Var(-1)), 1);
    const int skills[][3] = {{100, 50, 0}, {200, 4, 16}, {0, 0, 0}};
    for (int id : {1, 2, 3}) { // sky, water, engine mesh
        EXPECT_EQ(Call("VTR3ObjectCreate", Var(id), Var(id)), 0);
        for (int index = 0; index < 3; ++index) {
            Call("VTR3ObjectSetSkill", Var(id), Var(index), Var(skills[id - 1][index]));
        }
        EXPECT_EQ(Call("VTR3ObjectInitialize", Var(id)), 0);
    }
    Call("VTR3ReleaseResources");
    Call("VTR3RecreateResources");
    EXPECT_EQ(Call("VTR3ObjectDelete", Var(3)), 0);
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);

    const Rows rows = UnloadAndReadRows();
    for (const std::string& row : rows) {
        EXPECT_NE(row.rfind("Fehler", 0), 0u) << row;
    }
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "Information: Alle API-Resourcen wurden neu erstellt"), 1);
    EXPECT_EQ(std::count(rows.begin(), rows.end(),
                         "Information: Das Objekt mit der ID: 3 wurde erfolgreich gel\xf6scht"),
              1);
}

} // namespace
