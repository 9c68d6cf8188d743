// The object manager and the 3D object base: rows of creation, deletion and refusals, growth, the
// setters' checks and conversions, the world matrix, the engine's mesh and the stage-0 texture
// saved and given back.
#include "frame/vtr3_exports.h"
#include "object_fixture.h"

namespace {

const int SKY = c_VTR3ObjectManager::SKY;
const int WATER = c_VTR3ObjectManager::WATER;
const int MESH = c_VTR3ObjectManager::ENGINE_MESH;
const std::string kManager = " @ vtr3_objects c_VTR3ObjectManager::";
const std::string kBase = " @ vtr3_3dobject c_VTR3Object3D::";
const std::string kNotInitialized =
    "Fehler: Die Funktion konnte nicht ausgef\xfchrt werden da die Klasse nicht initialisiert ist" + kBase;

std::string Info(const char* what, int id) {
    return "Information: Das Objekt mit der ID: " + std::to_string(id) + " wurde erfolgreich " + what;
}

TEST_F(ObjectTest, CreationRefusalsGrowthAndDeletionRows) {
    Make(1, SKY, {}, false);
    objects_.CreateObject(1, WATER);
    objects_.CreateObject(2, 3);
    objects_.CreateObject(2, 7);
    objects_.DeleteObject(5);
    objects_.InitializeObject(5);
    EXPECT_EQ(
        TakeRows(),
        (Rows{Info("erstellt", 1),
              "Warnung: Sie k\xf6nnen keine Objekte mehr als einmal mit der selben ID erstellen",
              "Fehler: \xdcng\xfcltiger Objekttyp ! Funktion wird abgebrochen" + kManager + "CreateObject",
              "Fehler: \xdcng\xfcltiger Objekttyp ! Funktion wird abgebrochen" + kManager + "CreateObject",
              "Fehler: Das angegeben Objekt wurde nicht gefunden. Funktion wird abgebrochen" + kManager +
                  "DeleteObject",
              "Fehler: Das angegeben Objekt wurde nicht gefunden. Funktion wird abgebrochen" + kManager +
                  "InitializeObject"}));
    EXPECT_EQ(objects_.GetSlotAt(1)->inUse, 0); // the refused type left its record free
    EXPECT_EQ(objects_.GetSlotAt(1)->objectType, 3);

    // A never-initialised sky refuses its de-initialisation; a water says nothing.
    Make(2, WATER, {}, false);
    TakeRows();
    objects_.DeleteObject(1);
    objects_.DeleteObject(2);
    EXPECT_EQ(TakeRows(),
              (Rows{kNotInitialized + "DeInitializeBase", Info("gel\xf6scht", 1), Info("gel\xf6scht", 2)}));

    // The 21st object grows the table by 10; deleted records are reused first.
    for (int id = 100; id < 121; ++id) {
        Make(id, id % 3 == 0 ? SKY : id % 3 == 1 ? WATER : MESH, {}, false);
    }
    EXPECT_EQ(objects_.GetSlotCount(), 30u);
    const struct {
        unsigned int slot;
        int id, type, group;
    } records[] = {{0, 100, WATER, 4}, {1, 101, MESH, 4}, {2, 102, SKY, 0}, {20, 120, SKY, 0}};
    for (const auto& r : records) {
        const ObjectSlot* slot = objects_.GetSlotAt(r.slot);
        EXPECT_EQ(std::vector<int>({slot->id, slot->objectType, slot->renderGroup}),
                  std::vector<int>({r.id, r.type, r.group}));
    }
    // Freeing the table through the slot manager destroys the objects with it.
    Make(121, SKY, {10.0f});
    static_cast<c_VTR3SlotManager<ObjectSlot>&>(objects_).ReleaseAllSlots();
    EXPECT_EQ(objects_.FindObject(121), nullptr);
    EXPECT_EQ(platform::LiveObjectCount(), baseline_);
}

TEST_F(ObjectTest, SettersCheckStateIndicesAndConvertAngles) {
    c_VTR3Object3D* sky = Make(1, SKY, {}, false);
    objects_.SetPosition(1, 1, 2, 3);
    objects_.SetRotation(1, 1, 2, 3);
    objects_.SetScalation(1, 1, 2, 3);
    objects_.SetEffect(1, 4);
    objects_.SetTexture(1, 9, 4); // the stage is looked at only once initialised
    objects_.SetFlag(1, 19, 7);
    objects_.SetSkill(1, 19, 2.5f);
    for (int index : {20, -1}) {
        objects_.SetFlag(1, index, 1);
        objects_.SetSkill(1, index, 1.0f);
    }
    const std::string kFlag = "Fehler: Das angebene Flag existiert nicht." + kBase + "SetFlag";
    const std::string kSkill = "Fehler: Das angebene Skill existiert nicht." + kBase + "SetSkill";
    Rows rows = TakeRows();
    EXPECT_EQ(Rows(rows.begin() + 1, rows.end()),
              (Rows{kNotInitialized + "SetPosition", kNotInitialized + "SetRotation",
                    kNotInitialized + "SetScalation", kNotInitialized + "SetEffect",
                    kNotInitialized + "SetTexture", kFlag, kSkill, kFlag, kSkill}));
    EXPECT_EQ(sky->GetPosition(), D3DXVECTOR3(0, 0, 0));

    objects_.InitializeObject(1);
    objects_.SetTexture(1, 5, 4);
    objects_.SetTexture(1, 6, 4);
    objects_.SetRotation(1, 90.0f, 0.0f, -180.0f);
    EXPECT_EQ(Bits(sky->GetRotation().x), 0x3FC90FDBu);
    EXPECT_EQ(Bits(sky->GetRotation().y), 0u);
    EXPECT_EQ(Bits(sky->GetRotation().z), 0xC0490FDBu); // -180 * 0x3C8EFA35 rounded to float
    rows = TakeRows();
    EXPECT_EQ(rows.back(), "Fehler: Das angebene TextureStage existiert nicht." + kBase + "SetTexture");

    // T x R x S: the origin is moved to x = 1, turned by the yaw of 90 degrees (about y) to z = -1, then
    // scaled by z's 4.
    objects_.SetRotation(1, 90.0f, 0.0f, 0.0f);
    objects_.SetPosition(1, 1.0f, 0.0f, 0.0f);
    objects_.SetScalation(1, 2.0f, 3.0f, 4.0f);
    const D3DXMATRIX world = sky->GetWorldMatrix();
    const float expected[16] = {0, 0, -4, 0, 0, 3, 0, 0, 2, 0, 0, 0, 0, 0, -4, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR((&world._11)[i], expected[i], 1e-6f) << i;
    }
}

// The engine's stage-0 texture comes back after a fixed-function drawing, with its reference count;
// an effect-drawn object leaves stage 0 alone.
TEST_F(ObjectTest, StageZeroTextureIsSavedAndGivenBack) {
    IDirect3DTexture9* engineTexture = nullptr;
    ASSERT_EQ(engine_.device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &engineTexture,
                                              nullptr),
              D3D_OK);
    device_->names[static_cast<IDirect3DBaseTexture9*>(engineTexture)] = "engine";
    device_->SetTexture(0, engineTexture);
    MakeTexture(5);
    device_->names[g_textureManager.GetBaseTexture(5)] = "sky";
    Make(1, SKY, {10.0f});
    objects_.SetTexture(1, 0, 5);
    device_->TakeCalls();
    const ULONG references = (engineTexture->AddRef(), engineTexture->Release());

    objects_.RenderObject(1);
    Calls calls = device_->TakeCalls();
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 2),
              (Calls{"GetTexture(0, engine)", "SetTexture(0, sky)"}));
    EXPECT_EQ(calls.back(), "SetTexture(0, engine)");
    EXPECT_EQ((engineTexture->AddRef(), engineTexture->Release()), references);

    MakeEffect(7, "float4 Shade() : COLOR { return 1; }\n"
                  "technique T { pass P0 { PixelShader = compile ps_2_0 Shade(); } }\n");
    objects_.SetEffect(1, 7);
    device_->TakeCalls();
    objects_.RenderObject(1);
    for (const std::string& call : device_->TakeCalls()) {
        EXPECT_EQ(call.find("Texture("), std::string::npos) << call;
    }
    IDirect3DBaseTexture9* bound = nullptr;
    device_->GetTexture(0, &bound);
    EXPECT_EQ(bound, engineTexture);
    device_->SetTexture(0, nullptr);
    bound->Release();
    EXPECT_EQ(engineTexture->Release(), 0u);
}

TEST_F(ObjectTest, EngineMeshDrawsTheEnginesMeshWithItsWorldMatrix) {
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(D3DXCreateBox(device_, 1.0f, 1.0f, 1.0f, &mesh, nullptr), D3D_OK);
    engine_.SetMesh(mesh);
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, 3.0f, 4.0f, 5.0f);
    memcpy(engine_.worldMatrix(), &world, 64);
    Make(3, MESH, {}, false); // drawn in every state
    TakeRows();
    device_->TakeCalls();
    objects_.RenderObject(3);
    Calls calls = device_->TakeCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "SetFVF(" + std::to_string(mesh->GetFVF()) + ")");
    EXPECT_EQ(calls[1], "SetTransform(256, [1 0 0 0 0 1 0 0 0 0 1 0 3 4 5 1])");
    EXPECT_EQ(calls.back().rfind("DrawIndexedPrimitive(4, 0, 0, 24, 0, 12)", 0), 0u) << calls.back();
    EXPECT_EQ(TakeRows(), Rows{"Master Master"});

    engine_.SetMesh(nullptr);
    objects_.RenderObject(3);
    EXPECT_TRUE(device_->TakeCalls().empty());
    EXPECT_EQ(TakeRows(), Rows{"Master Master"});
    device_->SetStreamSource(0, nullptr, 0, 0); // the engine's mesh, bound by its drawing
    device_->SetIndices(nullptr);
    mesh->Release();
}

// The exports convert vars and put the engine's vertical axis second; angles keep their order.
TEST_F(ObjectTest, ExportsConvertVarsAndExchangeTheSecondAndThirdAxes) {
    g_objectManager.Initialize();
    const var one = a6::VarFromInt(1), two = a6::VarFromInt(2), three = a6::VarFromInt(3);
    EXPECT_EQ(VTR3ObjectCreate(one, a6::VarFromInt(1)), 0);
    EXPECT_EQ(VTR3ObjectCreate(two, a6::VarFromInt(4)), a6::VarFromInt(1));
    EXPECT_EQ(VTR3ObjectCreate(two, 0), a6::VarFromInt(1));
    VTR3ObjectSetSkill(one, one, 1536); // 1.5
    VTR3ObjectInitialize(one);
    VTR3ObjectSetPosition(one, one, two, three);
    VTR3ObjectSetScalation(one, one, two, three);
    VTR3ObjectSetRotation(one, one, two, three);
    VTR3ObjectSetFlag(one, two, three);
    const c_VTR3Object3D* sky = g_objectManager.FindObject(1);
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->GetSkill(1), 1.5f);
    EXPECT_EQ(sky->GetFlag(2), 3);
    EXPECT_EQ(sky->GetPosition(), D3DXVECTOR3(1, 3, 2));
    EXPECT_EQ(sky->GetScalation(), D3DXVECTOR3(1, 3, 2));
    const float radian = 0.017453292f;
    EXPECT_EQ(sky->GetRotation(), D3DXVECTOR3(1 * radian, 2 * radian, 3 * radian));
    EXPECT_EQ(g_objectManager.GetSlotAt(0)->objectType, c_VTR3ObjectManager::SKY);
    VTR3ObjectDelete(one);
    EXPECT_EQ(g_objectManager.FindObject(1), nullptr);
    g_objectManager.DeInitialize();
}

} // namespace
