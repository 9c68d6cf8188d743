// The view manager, and through it the slot table: growth, reuse, compaction, the life cycle's rows,
// the options as given, planes and the matrices captured from the engine.
#include "views/vtr3_views.h"

#include "frame/vtr3_engine.h"
#include "frame/vtr3_exports.h"
#include "manager_fixture.h"

#include <map>
#include <string>

namespace {

using Rows = std::vector<std::string>;

const std::string kNotInitialized =
    "Fehler: Der Viewmanager ist nicht initialisiert. Die aufgerufene Funktion wird abgebrochen @ vtr3_views "
    "c_VTR3ViewManager::";

std::string NotFound(int id, const std::string& method) {
    return "Fehler: Der View mit der ID: " + std::to_string(id) +
           " wurde nicht gefunden. Die aufgerufne Funktion wird abgebrochen @ vtr3_views "
           "c_VTR3ViewManager::" +
           method;
}

std::string Registered(int id, const std::string& name) {
    return "Information: Der View mit der ID: " + std::to_string(id) + " mit dem Namen: " + name +
           " wurde erfolgreich angemeldet";
}

// A stand-in for the engine's block: named objects for engine_getobj and the current matrices.
std::map<std::string, a6::ObjectDescriptor> g_objects;

a6::ObjectDescriptor* LookUp(const char* name) {
    static a6::ObjectDescriptor unknown{};
    auto found = g_objects.find(name);
    return found == g_objects.end() ? &unknown : &found->second;
}

class ViewManagerTest : public ManagerLogTest {
  protected:
    ViewManagerTest() {
        a6::SetBlockField(&block_, a6::kOffsetObjectLookup, reinterpret_cast<uintptr_t>(&LookUp));
        a6::SetBlockField(&block_, a6::kOffsetViewMatrix, reinterpret_cast<uintptr_t>(&engineView_.m[0][0]));
        a6::SetBlockField(&block_, a6::kOffsetProjectionMatrix,
                          reinterpret_cast<uintptr_t>(&engineProjection_.m[0][0]));
        A6_DLLAPI(&block_);
        g_objects["camera"] = {0, reinterpret_cast<intptr_t>(&camera_), a6::kKindEngineObject};
        g_objects["mirror"] = {0, reinterpret_cast<intptr_t>(&mirror_), a6::kKindEngineObject};
    }
    ~ViewManagerTest() override {
        if (views_.IsInitialized()) {
            views_.DeInitialize();
        }
        g_engine = nullptr;
        g_objects.clear();
    }

    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (unsigned int i = 0; i < views_.GetSlotCount(); ++i) {
            ids.push_back(views_.GetSlotAt(i)->inUse == 1 ? views_.GetSlotAt(i)->id : -1);
        }
        return ids;
    }

    a6::InterfaceBlock block_{};
    a6::View camera_{}, mirror_{};
    D3DXMATRIX engineView_ = ViewSlot::Identity();
    D3DXMATRIX engineProjection_ = ViewSlot::Identity();
    c_VTR3ViewManager views_;
};

TEST_F(ViewManagerTest, RegistrationGrowsReusesAndWarnsAboutDuplicates) {
    views_.Initialize();
    EXPECT_EQ(views_.GetSlotCount(), 10u);
    views_.RegisterView(0, "camera");
    for (int id = 1; id < 10; ++id) {
        views_.RegisterView(id * 100, "");
    }
    EXPECT_EQ(views_.GetSlotCount(), 10u);
    views_.SetRenderToTexture(300, 7);
    views_.RegisterView(-5, "mirror");
    EXPECT_EQ(views_.GetSlotCount(), 20u);
    EXPECT_EQ(Ids(), (std::vector<int>{0,  100, 200, 300, 400, 500, 600, 700, 800, 900,
                                       -5, -1,  -1,  -1,  -1,  -1,  -1,  -1,  -1,  -1}));
    EXPECT_EQ(views_.IsUsingRenderToTexture(300), 7);

    // A duplicate keeps the first registration with its engine view; identifier 0 is ordinary.
    views_.RegisterView(0, "mirror");
    EXPECT_EQ(views_.GetViewID(&camera_), 0);
    EXPECT_EQ(views_.GetViewID(&mirror_), -5);
    EXPECT_EQ(views_.IsRegistered(0), 1);

    views_.UnregisterView(300);
    views_.UnregisterView(300);
    views_.RegisterView(42, "nowhere");
    EXPECT_EQ(views_.GetSlotAt(3)->id, 42);
    EXPECT_EQ(views_.IsUsingRenderToTexture(42), 0);
    // Neither an unknown name nor a null pointer matches anything.
    EXPECT_EQ(views_.GetViewID(nullptr), 0);
    views_.RegisterView(43, nullptr);
    EXPECT_EQ(views_.GetViewID(nullptr), 0);

    Rows rows = TakeRows();
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[0], "Information: Der Viewmanger wurde erfolgreich initialisiert");
    EXPECT_EQ(rows[1], Registered(0, "camera"));
    EXPECT_EQ(rows[10], Registered(900, ""));
    EXPECT_EQ(rows[11], Registered(-5, "mirror"));
    EXPECT_EQ(rows[12], "Warnung: Sie k\xf6nnen einen View mit der gleichen ID nicht zweimal anmelden");
    EXPECT_EQ(rows[13], "Information: Der View mit der ID: 300 wurde erfolgrecih gel\xf6scht");
    EXPECT_EQ(rows[14], NotFound(300, "UnregisterView"));
    EXPECT_EQ(rows[15], Registered(42, "nowhere"));
    EXPECT_EQ(rows[16], Registered(43, ""));
}

TEST_F(ViewManagerTest, CompactionKeepsTheViewsInUseInTheirOrder) {
    views_.Initialize();
    views_.AllocateNewMemory(0);
    EXPECT_EQ(views_.GetSlotCount(), 10u);
    views_.AllocateNewMemory(-5);
    EXPECT_EQ(views_.GetSlotCount(), 15u);
    views_.ReduceMemoryOverhead();
    EXPECT_EQ(views_.GetSlotCount(), 0u);
    views_.RegisterView(1, "camera");
    EXPECT_EQ(views_.GetSlotCount(), 10u);

    for (int id = 2; id <= 10; ++id) {
        views_.RegisterView(id, "");
    }
    for (int id = 1; id <= 10; ++id) {
        if (id != 2 && id != 5) {
            views_.UnregisterView(id);
        }
    }
    views_.SetSmoothShadows(5, 3);
    views_.ReduceMemoryOverhead();
    EXPECT_EQ(Ids(), (std::vector<int>{2, 5}));
    EXPECT_EQ(views_.IsUsingSmoothShadows(5), 3);
    views_.Initialize(); // a second start keeps the registered views
    views_.RegisterView(11, "");
    EXPECT_EQ(views_.GetSlotCount(), 12u);
    EXPECT_EQ(Ids(), (std::vector<int>{2, 5, 11, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST_F(ViewManagerTest, EveryCallOutsideTheLifeCycleIsRefusedWithItsRow) {
    D3DXMATRIX matrix;
    D3DXPLANE plane(1, 2, 3, 4);
    const D3DXVECTOR3 up(0, 1, 0);
    views_.RegisterView(1, "camera");
    views_.SetClipPlane(1, up, up, 1);
    views_.GetClipPlane(1, &plane);
    views_.GetReflectionMatrix(1, &matrix);
    EXPECT_EQ(views_.GetViewID(&camera_), 0);
    EXPECT_EQ(views_.IsRegistered(1), 0);
    views_.ReduceMemoryOverhead();
    views_.DeInitialize();
    EXPECT_EQ(plane, D3DXPLANE(0, 0, 0, 0));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&matrix));
    EXPECT_EQ(TakeRows(), (Rows{kNotInitialized + "RegisterView", kNotInitialized + "SetClipPlane",
                                kNotInitialized + "GetClipPlane", kNotInitialized + "GetReflectionMatrix",
                                kNotInitialized + "GetViewID", kNotInitialized + "IsRegistered",
                                kNotInitialized + "ReduceMemoryOverhead", kNotInitialized + "DeInitialize"}));

    views_.Initialize();
    views_.RegisterView(1, "camera");
    views_.DeInitialize();
    views_.SetHighDynamicRange(1, 1);
    EXPECT_EQ(views_.GetSlotCount(), 0u);
    {
        c_VTR3ViewManager deinitialized;
        deinitialized.Initialize();
        deinitialized.DeInitialize();
    }
    EXPECT_EQ(TakeRows(),
              (Rows{"Information: Der Viewmanger wurde erfolgreich initialisiert", Registered(1, "camera"),
                    "Information: Der Viewmanager wurde erfolgreich deinitialisiert",
                    kNotInitialized + "SetHighDynamicRange",
                    "Information: Der Viewmanger wurde erfolgreich initialisiert",
                    "Information: Der Viewmanager wurde erfolgreich deinitialisiert"}));

    {
        c_VTR3ViewManager forgotten;
        forgotten.Initialize();
    }
    EXPECT_EQ(TakeRows(), (Rows{"Information: Der Viewmanger wurde erfolgreich initialisiert",
                                "Warnung: Der Viewmanager wurde nicht ordnungsgem\xe4\xdf deinitialisiert. @ "
                                "vtr3_views c_VTR3ViewManager::~c_VTR3ViewManager",
                                "Information: Der Viewmanager wurde erfolgreich deinitialisiert"}));
}

TEST_F(ViewManagerTest, StepsOutsideTheirRangeAndUnknownViews) {
    views_.Initialize();
    views_.RegisterView(1, "camera");
    // Step indices outside 0 to 9 touch nothing: the neighbouring record stays as it was.
    views_.RegisterView(2, "");
    const int steps[][3] = {{0, 30004, 30004}, {9, 30011, 30011}, {10, 99, 0}, {-1, 99, 0}};
    for (const auto& step : steps) {
        views_.SetPostProcessEffect(1, step[0], step[1]);
    }
    for (const auto& step : steps) {
        EXPECT_EQ(views_.GetPostProcessEffectID(1, step[0]), step[2]) << step[0];
    }
    EXPECT_EQ(views_.GetSlotAt(1)->id, 2);
    EXPECT_EQ(views_.GetSlotAt(1)->inUse, 1);
    EXPECT_EQ(views_.GetPostProcessEffectID(2, 0), 0);

    TakeRows();
    EXPECT_EQ(views_.IsUsingPostProcessing(3), 0);
    EXPECT_EQ(views_.GetPostProcessEffectID(3, 0), 0);
    EXPECT_EQ(TakeRows(),
              (Rows{NotFound(3, "IsUsingPostProcessing"), NotFound(3, "GetPostProcessEffectID")}));
}

TEST_F(ViewManagerTest, PlanesAndReflections) {
    views_.Initialize();
    views_.RegisterView(1, "camera");
    const D3DXVECTOR3 origin(0, 0, 0);
    D3DXPLANE plane;

    views_.SetClipPlane(1, D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(0, 0, 2), 1);
    views_.GetClipPlane(1, &plane);
    EXPECT_EQ(plane, D3DXPLANE(0, 0, 2, -6));
    EXPECT_EQ(views_.IsUsingClipPlane(1), 1);
    views_.SetClipPlane(1, origin, origin, 2);
    views_.GetClipPlane(1, &plane);
    EXPECT_EQ(plane, D3DXPLANE(0, 0, 0, 0));
    EXPECT_EQ(views_.IsUsingClipPlane(1), 0);
    EXPECT_EQ(views_.GetSlotAt(0)->clipPlane, D3DXPLANE(0, 0, 2, -6));

    // Through the origin with normal (0, 1, 0): y is negated, whatever the normal's length.
    engineView_ = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1);
    D3DXMATRIX reflection, viewReflection;
    const D3DXMATRIX negateY(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    for (float length : {1.0f, 2.0f}) {
        views_.SetMirrorPlane(1, origin, D3DXVECTOR3(0, length, 0), 1);
        views_.UpdateView(1);
        views_.GetReflectionMatrix(1, &reflection);
        views_.GetViewReflectionMatrix(1, &viewReflection);
        EXPECT_EQ(reflection, negateY) << length;
        EXPECT_EQ(viewReflection, engineView_ * negateY);
        views_.GetMirrorPlane(1, &plane);
        EXPECT_EQ(plane, D3DXPLANE(0, length, 0, 0));
    }

    // Off: identity, although a reflection was computed; the view matrix is still captured.
    views_.SetMirrorPlane(1, origin, origin, 0);
    engineProjection_ = D3DXMATRIX(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1, 1, 0, 0, -1, 0);
    views_.UpdateView(1);
    views_.GetReflectionMatrix(1, &reflection);
    views_.GetViewReflectionMatrix(1, &viewReflection);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&reflection));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&viewReflection));
    D3DXMATRIX captured;
    views_.GetProjectionMatrix(1, &captured);
    EXPECT_EQ(captured, engineProjection_);
    views_.GetViewMatrix(1, &captured);
    EXPECT_EQ(captured, engineView_);

    // A zero normal reflects to identity.
    views_.SetMirrorPlane(1, origin, origin, 1);
    views_.UpdateView(1);
    views_.GetReflectionMatrix(1, &reflection);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&reflection));

    // Unregistering leaves a fresh record for the next registration.
    views_.UnregisterView(1);
    views_.RegisterView(2, "");
    views_.GetViewMatrix(2, &captured);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&captured));
    EXPECT_EQ(views_.GetSlotAt(0)->mirrorPlane, D3DXPLANE(0, 0, 0, 0));
    EXPECT_EQ(views_.IsUsingMirrorPlane(2), 0);
}

// The exports hand the engine's vectors (x, y, z), looked up by name, to the manager in Direct3D order
// (x, z, y); names the engine does not know get a row. On view 9, which nobody registered, each
// export's method names itself in its row.
TEST_F(ViewManagerTest, ExportsReachTheirMethodsAndPassVectorsInDirect3DAxisOrder) {
    a6::Vector first{a6::VarFromInt(1), a6::VarFromInt(2), a6::VarFromInt(3)};
    a6::Vector second{a6::VarFromInt(4), a6::VarFromInt(5), a6::VarFromInt(6)};
    g_objects["first"] = {0, reinterpret_cast<intptr_t>(&first), a6::kKindObjectPointer};
    g_objects["second"] = {0, reinterpret_cast<intptr_t>(&second), a6::kKindObjectPointer};
    a6::String firstName{{}, "first"}, secondName{{}, "second"}, missing{{}, "missing"};
    const var one = a6::VarFromInt(1), nine = a6::VarFromInt(9);
    g_viewManager.Initialize();
    EXPECT_EQ(VTR3ViewRegister(one, nullptr), 0);
    EXPECT_EQ(VTR3ViewSetClipPlane(one, &firstName, &secondName, one), 0);
    EXPECT_EQ(VTR3ViewSetMirrorPlane(one, &secondName, &firstName, one), 0);
    D3DXPLANE clip, mirror;
    g_viewManager.GetClipPlane(1, &clip);
    g_viewManager.GetMirrorPlane(1, &mirror);
    EXPECT_EQ(clip, D3DXPLANE(4, 6, 5, -32));
    EXPECT_EQ(mirror, D3DXPLANE(1, 3, 2, -32));
    TakeRows();
    VTR3ViewSetClipPlane(one, &firstName, &missing, one);
    VTR3ViewSetMirrorPlane(one, nullptr, &firstName, one);
    VTR3ViewSetMirrorPlane(one, &missing, nullptr, 0); // switching a plane off needs no vectors
    Rows expected = {
        "Fehler: Der Vektor mit dem Namen: missing wurde nicht gefunden. Die aufgerufene Funktion "
        "wird abgebrochen @ vtr3_exports VTR3ViewSetClipPlane",
        "Fehler: Der Vektor mit dem Namen:  wurde nicht gefunden. Die aufgerufene Funktion wird "
        "abgebrochen @ vtr3_exports VTR3ViewSetMirrorPlane"};
    const std::pair<var (*)(var, var), const char*> setters[] = {
        {VTR3ViewSetHDR, "SetHighDynamicRange"},
        {VTR3ViewSetRTT, "SetRenderToTexture"},
        {VTR3ViewSetRenderToDepthTexture, "SetRenderToDephtTexture"},
        {VTR3ViewSetSmoothShadows, "SetSmoothShadows"},
        {VTR3ViewSetPostProcessing, "SetPostProcessing"}};
    for (const auto& [setter, method] : setters) {
        EXPECT_EQ(setter(nine, one), 0) << method;
        expected.push_back(NotFound(9, method));
    }
    VTR3ViewUnregister(nine);
    VTR3ViewSetPostProcessingEffect(nine, 0, one);
    VTR3ViewSetClipPlane(nine, &firstName, &secondName, one);
    VTR3ViewSetMirrorPlane(nine, &firstName, &secondName, one);
    for (const char* method : {"UnregisterView", "SetPostProcessEffect", "SetClipPlane", "SetMirrorPlane"}) {
        expected.push_back(NotFound(9, method));
    }
    EXPECT_EQ(TakeRows(), expected);
    g_viewManager.DeInitialize();
}

// A 32-bit build works out the table's byte size in 32 bits, where a view record is 368 bytes: growth
// refuses a size that would wrap instead of allocating a few bytes for millions of records.
TEST(SlotTableAt32Bits, GrowthRefusesAByteSizeThatWouldWrap) {
    uint32_t bytes = 1;
    EXPECT_TRUE(VTR3ArrayBytes<uint32_t>(368, 0, &bytes));
    EXPECT_EQ(bytes, 0u);
    EXPECT_TRUE(VTR3ArrayBytes<uint32_t>(368, 11671106, &bytes));
    EXPECT_EQ(bytes, 4294967008u);
    EXPECT_FALSE(VTR3ArrayBytes<uint32_t>(368, 11671107, &bytes));    // 80 bytes once wrapped
    EXPECT_FALSE(VTR3ArrayBytes<uint32_t>(368, 0x80000000u, &bytes)); // 0 bytes once wrapped

    c_VTR3SlotTable<ViewSlot, uint32_t> table;
    ASSERT_TRUE(table.Grow(10));
    table.At(3).inUse = 1;
    table.At(3).id = 7;
    EXPECT_FALSE(table.Grow(0x80000000u));
    EXPECT_FALSE(table.Grow(UINT32_MAX / sizeof(ViewSlot) - 9));
    EXPECT_EQ(table.Count(), 10u);
    EXPECT_EQ(table.Find(7), &table.At(3));
}

} // namespace
