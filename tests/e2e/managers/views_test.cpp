// The view exports end to end: registration rows, plane vectors looked up by name (and names the
// engine does not know), rejected indices, and calls outside the plug-in's life cycle.
#include "plugin_fixture.h"

namespace {

const std::string kViews = " @ vtr3_views c_VTR3ViewManager::";

std::string Registered(int id, const std::string& name) {
    return "Information: Der View mit der ID: " + std::to_string(id) + " mit dem Namen: " + name +
           " wurde erfolgreich angemeldet";
}

std::string NotFound(int id, const std::string& method) {
    return "Fehler: Der View mit der ID: " + std::to_string(id) +
           " wurde nicht gefunden. Die aufgerufne Funktion wird abgebrochen" + kViews + method;
}

std::string UnknownVector(const std::string& name, const std::string& function) {
    return "Fehler: Der Vektor mit dem Namen: " + name +
           " wurde nicht gefunden. Die aufgerufene Funktion wird abgebrochen @ vtr3_exports " + function;
}

class ViewsTest : public PluginTest {};

TEST_F(ViewsTest, RegistrationOptionsAndPlanes) {
    engine_.objects().AddVector("origin", {0, 0, 0});
    engine_.objects().AddVector("up", {0, 0, Var(1)});
    ASSERT_EQ(Initialize(), 0);

    EXPECT_EQ(Call("VTR3ViewRegister", Var(1), Text("camera")), 0);
    EXPECT_EQ(Call("VTR3ViewRegister", Var(1), Text("camera")), 0);
    EXPECT_EQ(Call("VTR3ViewRegister", Var(2), Text("nowhere")), 0);
    EXPECT_EQ(Call("VTR3ViewRegister", Var(3), static_cast<a6::String*>(nullptr)), 0);
    EXPECT_EQ(Call("VTR3ViewSetClipPlane", Var(1), Text("origin"), Text("up"), Var(1)), 0);
    EXPECT_EQ(Call("VTR3ViewSetClipPlane", Var(1), Text("origin"), Text("missing"), Var(1)), 0);
    EXPECT_EQ(Call("VTR3ViewSetMirrorPlane", Var(1), static_cast<a6::String*>(nullptr), Text("up"), Var(1)),
              0);
    // Switching a plane off needs no vectors.
    EXPECT_EQ(
        Call("VTR3ViewSetMirrorPlane", Var(1), Text("missing"), static_cast<a6::String*>(nullptr), Var(0)),
        0);
    const char* const setters[] = {"VTR3ViewSetHDR", "VTR3ViewSetRTT", "VTR3ViewSetRenderToDepthTexture",
                                   "VTR3ViewSetSmoothShadows", "VTR3ViewSetPostProcessing"};
    for (const char* setter : setters) {
        EXPECT_EQ(Call(setter, Var(1), Var(2)), 0) << setter;
    }
    EXPECT_EQ(Call("VTR3ViewSetHDR", Var(9), Var(1)), 0);
    EXPECT_EQ(Call("VTR3ViewSetPostProcessingEffect", Var(1), Var(10), Var(30004)), 0);
    EXPECT_EQ(Call("VTR3ViewSetPostProcessingEffect", Var(1), Var(-1), Var(30004)), 0);
    EXPECT_EQ(Call("VTR3ViewUnregister", Var(2)), 0);
    EXPECT_EQ(Call("VTR3ViewUnregister", Var(2)), 0);
    EXPECT_EQ(DeInitialize(), 0);

    const Rows rows = UnloadAndReadRows();
    const Rows expected = {
        Registered(1, "camera"),
        "Warnung: Sie k\xf6nnen einen View mit der gleichen ID nicht zweimal anmelden",
        Registered(2, "nowhere"),
        Registered(3, ""),
        UnknownVector("missing", "VTR3ViewSetClipPlane"),
        UnknownVector("", "VTR3ViewSetMirrorPlane"),
        NotFound(9, "SetHighDynamicRange"),
        "Information: Der View mit der ID: 2 wurde erfolgrecih gel\xf6scht",
        NotFound(2, "UnregisterView"),
    };
    ASSERT_GE(rows.size(), expected.size());
    EXPECT_EQ(Rows(rows.begin(), rows.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(rows.size(), expected.size() + 6); // the six de-initialisation rows
}

TEST_F(ViewsTest, CallsOutsideTheLifeCycleChangeNothing) {
    // Start-up stops before the managers: the log is open, the view manager is not initialised.
    engine_.SetDeviceField(nullptr);
    ASSERT_EQ(Initialize(), 3);
    EXPECT_EQ(Call("VTR3ViewRegister", Var(1), Text("camera")), 0);
    EXPECT_EQ(Call("VTR3ViewSetRTT", Var(1), Var(1)), 0);
    engine_.SetDeviceField(engine_.device());
    ASSERT_EQ(Initialize(), 0);
    EXPECT_EQ(Call("VTR3ViewRegister", Var(1), Text("camera")), 0);
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(Call("VTR3ViewRegister", Var(2), Text("camera")), 0);
    EXPECT_EQ(Call("VTR3ViewUnregister", Var(1)), 0);

    const Rows rows = log_rows::Rows(ReadFileBytes(directory_.path() / "Vantor3.html"));
    const std::string refused =
        "Fehler: Der Viewmanager ist nicht initialisiert. Die aufgerufene Funktion wird abgebrochen" + kViews;
    const Rows inOrder = {refused + "RegisterView", refused + "SetRenderToTexture", Registered(1, "camera"),
                          "Information: Der Viewmanager wurde erfolgreich deinitialisiert"};
    auto at = rows.begin();
    for (const std::string& row : inOrder) {
        at = std::find(at, rows.end(), row);
        EXPECT_NE(at, rows.end()) << row;
    }

    // After shut-down nothing was registered and nothing unregistered: a new start finds view 1 free.
    ASSERT_EQ(Initialize(), 0);
    EXPECT_EQ(Call("VTR3ViewRegister", Var(1), Text("camera")), 0);
    EXPECT_EQ(Call("VTR3ViewRegister", Var(2), Text("camera")), 0);
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(UnloadAndReadRows(), (Rows{Registered(1, "camera"), Registered(2, "camera"),
                                         "Information: Der Post-Processor wurde erfolgreich deinitialisiert",
                                         "Information: Der Objektmanager wurde erfolgreich deinitialisiert",
                                         "Information: Der Effektmanager wurde erfolgreich deinitialisiert",
                                         "Information: Der Viewmanager wurde erfolgreich deinitialisiert",
                                         "Information: Der Texturemanager wurde erfolgreich deinitialisiert",
                                         "Information: Das Rendercore wurde erfolgreich deinitialisiert"}));
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);
}

} // namespace
