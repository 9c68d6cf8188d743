#include "objects/vtr3_objects.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"

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

} // namespace

c_VTR3ObjectManager::c_VTR3ObjectManager() : c_VTR3ManagerLifecycle(kTexts) {}

c_VTR3ObjectManager::~c_VTR3ObjectManager() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3ObjectManager::Initialize() {
    MarkInitialized();
}

void c_VTR3ObjectManager::DeInitialize() {
    if (!CheckInitialized("c_VTR3ObjectManager::DeInitialize", __LINE__)) {
        return;
    }
    MarkDeInitialized();
}

void c_VTR3ObjectManager::ReleaseResources() {
    CheckInitialized("c_VTR3ObjectManager::ReleaseResources", __LINE__);
}

void c_VTR3ObjectManager::RecreateResources() {
    CheckInitialized("c_VTR3ObjectManager::RecreateResources", __LINE__);
}

void c_VTR3ObjectManager::ReduceMemoryOverhead() {
    CheckInitialized("c_VTR3ObjectManager::ReduceMemoryOverhead", __LINE__);
}

void c_VTR3ObjectManager::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "3D Objektverwaltung:", __TIMESTAMP__, __TIME__);
}

// placeholder until the object manager lands
void c_VTR3ObjectManager::RenderObjects(int) {}

// placeholder until the object manager lands
void c_VTR3ObjectManager::RenderObject(int) {}
