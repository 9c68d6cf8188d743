#include "resources/vtr3_effects.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"

namespace {

const VTR3ManagerTexts kTexts = {
    "vtr3_effects",
    "c_VTR3EffectManager::~c_VTR3EffectManager",
    "Der Effektmanager ist nicht initialisiert. Die aufgerufene Funktion wird abgebrochen",
    "Der Effektmanager wurde erfolgreich initialisiert",
    "Der Effektmanager wurde erfolgreich deinitialisiert",
    "Der Effektmanager wurde nicht ordungsgem\xe4\xdf deinitialisiert.",
    0,
};

} // namespace

c_VTR3EffectManager::c_VTR3EffectManager() : c_VTR3ManagerLifecycle(kTexts) {}

c_VTR3EffectManager::~c_VTR3EffectManager() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3EffectManager::Initialize() {
    MarkInitialized();
}

void c_VTR3EffectManager::DeInitialize() {
    if (!CheckInitialized("c_VTR3EffectManager::DeInitialize", __LINE__)) {
        return;
    }
    MarkDeInitialized();
}

void c_VTR3EffectManager::ReleaseResources() {
    CheckInitialized("c_VTR3EffectManager::ReleaseResources", __LINE__);
}

void c_VTR3EffectManager::RecreateResources() {
    CheckInitialized("c_VTR3EffectManager::RecreateResources", __LINE__);
}

void c_VTR3EffectManager::ReduceMemoryOverhead() {
    CheckInitialized("c_VTR3EffectManager::ReduceMemoryOverhead", __LINE__);
}

void c_VTR3EffectManager::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Effektverwaltung:", __TIMESTAMP__, __TIME__);
}
