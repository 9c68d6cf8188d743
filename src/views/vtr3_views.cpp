#include "views/vtr3_views.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"

namespace {

const VTR3ManagerTexts kTexts = {
    "vtr3_views",
    "c_VTR3ViewManager::~c_VTR3ViewManager",
    "Der Viewmanager ist nicht initialisiert. Die aufgerufene Funktion wird abgebrochen",
    "Der Viewmanger wurde erfolgreich initialisiert",
    "Der Viewmanager wurde erfolgreich deinitialisiert",
    "Der Viewmanager wurde nicht ordnungsgem\xe4\xdf deinitialisiert.",
    1,
};

} // namespace

c_VTR3ViewManager::c_VTR3ViewManager() : c_VTR3ManagerLifecycle(kTexts) {}

c_VTR3ViewManager::~c_VTR3ViewManager() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3ViewManager::Initialize() {
    MarkInitialized();
}

void c_VTR3ViewManager::DeInitialize() {
    if (!CheckInitialized("c_VTR3ViewManager::DeInitialize", __LINE__)) {
        return;
    }
    MarkDeInitialized();
}

void c_VTR3ViewManager::ReleaseResources() {
    CheckInitialized("c_VTR3ViewManager::ReleaseResources", __LINE__);
}

void c_VTR3ViewManager::RecreateResources() {
    CheckInitialized("c_VTR3ViewManager::RecreateResources", __LINE__);
}

void c_VTR3ViewManager::ReduceMemoryOverhead() {
    CheckInitialized("c_VTR3ViewManager::ReduceMemoryOverhead", __LINE__);
}

void c_VTR3ViewManager::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Viewverwaltung:", __TIMESTAMP__, __TIME__);
}
