#include "resources/vtr3_textures.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"

namespace {

const VTR3ManagerTexts kTexts = {
    "vtr3_textures",
    "c_VTR3TextureManager::~c_VTR3TextureManager",
    "Der Texturmanager ist nicht initialisiert. Die Aufgerufene Funktion wird abgerochen",
    "Der Texturemanager wurde erfolgreich initialisiert",
    "Der Texturemanager wurde erfolgreich deinitialisiert",
    "Der Texturemanager wurde nicht ordnungsgem\xe4\xdf deinitialisiert.",
    1,
};

} // namespace

c_VTR3TextureManager::c_VTR3TextureManager() : c_VTR3ManagerLifecycle(kTexts) {}

c_VTR3TextureManager::~c_VTR3TextureManager() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3TextureManager::Initialize() {
    MarkInitialized();
}

void c_VTR3TextureManager::DeInitialize() {
    if (!CheckInitialized("c_VTR3TextureManager::DeInitialize", __LINE__)) {
        return;
    }
    MarkDeInitialized();
}

void c_VTR3TextureManager::ReleaseResources() {
    CheckInitialized("c_VTR3TextureManager::ReleaseResources", __LINE__);
}

void c_VTR3TextureManager::RecreateResources() {
    CheckInitialized("c_VTR3TextureManager::RecreateResources", __LINE__);
}

void c_VTR3TextureManager::ReduceMemoryOverhead() {
    CheckInitialized("c_VTR3TextureManager::ReduceMemoryOverhead", __LINE__);
}

void c_VTR3TextureManager::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Texturverwaltung:", __TIMESTAMP__, __TIME__);
}
