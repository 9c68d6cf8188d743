#include "objects/vtr3_objects.h"

#include <new>

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"
#include "objects/vtr3_objectEngineMesh.h"
#include "objects/vtr3_objectSky.h"
#include "objects/vtr3_objectWater.h"

namespace {

const VTR3ManagerTexts kTexts = {
    "vtr3_objects",
    "c_VTR3ObjectManager::~c_VTR3ObjectManager",
    "Der Objektmanager ist nicht initialisiert die Funktion wird abgebrochen",
    "Der Objektmanager wurde erfolgreich initialisiert",
    "Der Objektmanager wurde erfolgreich deinitialisiert",
    "Der Objektmanager wurde nicht ordnungsgem\xe4\xdf deinitialisiert",
    0,
};

const VTR3SlotTexts kSlotTexts = {
    "c_VTR3ObjectManager",
    "Das angegeben Objekt wurde nicht gefunden. Funktion wird abgebrochen",
    "Sie k\xf6nnen keine Objekte mehr als einmal mit der selben ID erstellen",
    0,
    "Es konnte kein neuer Speicher f\xfcr Objektdaten reserviert werden. Funktion wird abgebrochen",
    nullptr, // written once the type is known to be valid
    "Das Objekt mit der ID: %d wurde erfolgreich gel\xf6scht",
};

const int kInitialSlots = 20;

// The float nearest pi / 180 (bits 0x3C8EFA35); each product is rounded to float.
const float kRadiansPerDegree = 0.017453292f;

} // namespace

c_VTR3ObjectManager::c_VTR3ObjectManager()
    : c_VTR3SlotManager<ObjectSlot>(kTexts, kSlotTexts, kInitialSlots) {}

c_VTR3ObjectManager::~c_VTR3ObjectManager() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3ObjectManager::Initialize() {
    InitializeSlots();
}

void c_VTR3ObjectManager::ReleaseResources() {
    if (Check("ReleaseResources", __LINE__)) {
        ForEachObject(&c_VTR3Object3D::ReleaseResources);
    }
}

void c_VTR3ObjectManager::RecreateResources() {
    if (Check("RecreateResources", __LINE__)) {
        ForEachObject(&c_VTR3Object3D::RecreateResources);
    }
}

void c_VTR3ObjectManager::ForEachObject(void (c_VTR3Object3D::*operation)()) {
    for (unsigned int i = 0; i < m_table.Count(); ++i) {
        if (m_table.IsInUse(m_table.At(i)) && m_table.At(i).object) {
            (m_table.At(i).object->*operation)();
        }
    }
}

void c_VTR3ObjectManager::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "3D Objektverwaltung:", __TIMESTAMP__, __TIME__);
}

void c_VTR3ObjectManager::CreateObject(int id, unsigned int type) {
    ObjectSlot* slot = CreateSlot(id, "CreateObject", __LINE__);
    if (!slot) {
        return;
    }
    c_VTR3Object3D* object = nullptr;
    int group = ON_REQUEST_GROUP;
    switch (type) {
    case SKY:
        object = new (std::nothrow) c_VTR3ObjectSky();
        group = SKY_GROUP;
        break;
    case WATER:
        object = new (std::nothrow) c_VTR3ObjectWater();
        break;
    case ENGINE_MESH:
        object = new (std::nothrow) c_VTR3ObjectEngineMesh();
        break;
    default:
        // The record goes back to free; a growth made for it stays.
        *slot = ObjectSlot();
        LogError("CreateObject", __LINE__, "\xdcng\xfcltiger Objekttyp ! Funktion wird abgebrochen", id);
        return;
    }
    if (!object) {
        *slot = ObjectSlot();
        LogError("CreateObject", __LINE__, kSlotTexts.exhausted, id);
        return;
    }
    slot->objectType = static_cast<int>(type);
    slot->renderGroup = group;
    slot->object = object;
    LogInformation("CreateObject", __LINE__, "Das Objekt mit der ID: %d wurde erfolgreich erstellt", id);
}

void c_VTR3ObjectManager::DeleteObject(int id) {
    DeleteSlot(id, "DeleteObject", __LINE__);
}

int c_VTR3ObjectManager::IsCreated(int id) {
    return Exists(id, "IsCreated", __LINE__);
}

void c_VTR3ObjectManager::InitializeObject(int id) {
    ObjectSlot* slot = Lookup(id, "InitializeObject", __LINE__);
    if (!slot) {
        return;
    }
    slot->object->Initialize();
    LogInformation("InitializeObject", __LINE__, "Das Objekt mit der ID: %d wurde erfolgreich initialisiert",
                   id);
}

void c_VTR3ObjectManager::SetEffect(int id, int effectId) {
    if (ObjectSlot* slot = Lookup(id, "SetEffect", __LINE__)) {
        slot->object->SetEffect(effectId);
    }
}

void c_VTR3ObjectManager::SetFlag(int id, int index, int value) {
    if (ObjectSlot* slot = Lookup(id, "SetFlag", __LINE__)) {
        slot->object->SetFlag(static_cast<unsigned int>(index), value);
    }
}

void c_VTR3ObjectManager::SetSkill(int id, int index, float value) {
    if (ObjectSlot* slot = Lookup(id, "SetSkill", __LINE__)) {
        slot->object->SetSkill(static_cast<unsigned int>(index), value);
    }
}

void c_VTR3ObjectManager::SetTexture(int id, int stage, int textureId) {
    if (ObjectSlot* slot = Lookup(id, "SetTexture", __LINE__)) {
        slot->object->SetTexture(static_cast<unsigned int>(stage), textureId);
    }
}

void c_VTR3ObjectManager::SetPosition(int id, float x, float y, float z) {
    if (ObjectSlot* slot = Lookup(id, "SetPosition", __LINE__)) {
        slot->object->SetPosition(x, y, z);
    }
}

void c_VTR3ObjectManager::SetRotation(int id, float a, float b, float c) {
    if (ObjectSlot* slot = Lookup(id, "SetRotation", __LINE__)) {
        slot->object->SetRotation(a * kRadiansPerDegree, b * kRadiansPerDegree, c * kRadiansPerDegree);
    }
}

void c_VTR3ObjectManager::SetScalation(int id, float x, float y, float z) {
    if (ObjectSlot* slot = Lookup(id, "SetScalation", __LINE__)) {
        slot->object->SetScalation(x, y, z);
    }
}

void c_VTR3ObjectManager::RenderObject(int id) {
    if (ObjectSlot* slot = Lookup(id, "RenderObject", __LINE__)) {
        slot->object->Update();
        slot->object->Render();
    }
}

// Drawing logs rows at most, so the table keeps its records while the loop runs.
void c_VTR3ObjectManager::RenderObjects(int renderGroup) {
    if (!Check("RenderObjects", __LINE__)) {
        return;
    }
    for (unsigned int i = 0; i < m_table.Count(); ++i) {
        ObjectSlot& slot = m_table.At(i);
        if (m_table.IsInUse(slot) && slot.renderGroup == renderGroup && slot.object) {
            slot.object->Update();
            slot.object->Render();
        }
    }
}

c_VTR3Object3D* c_VTR3ObjectManager::FindObject(int id) {
    ObjectSlot* slot = m_initialized ? m_table.Find(id) : nullptr;
    return slot ? slot->object : nullptr;
}
