#include "render/vtr3_renderer.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"

namespace {

const VTR3ManagerTexts kTexts = {
    "vtr3_renderer",
    "c_VTR3Renderer::~c_VTR3Renderer",
    "Das Rendercore ist nicht initialisiert. Funktion wird abgebrochen",
    "Das Rendercore wurde erfolreich initialisiert",
    "Das Rendercore wurde erfolgreich deinitialisiert",
    "Das Rendercore wurde nicht ordungsgem\xe4\xdft deinitialisiert.",
    0,
};

} // namespace

c_VTR3Renderer::c_VTR3Renderer() : c_VTR3ManagerLifecycle(kTexts) {}

c_VTR3Renderer::~c_VTR3Renderer() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3Renderer::Initialize() {
    MarkInitialized();
}

void c_VTR3Renderer::DeInitialize() {
    if (!CheckInitialized("c_VTR3Renderer::DeInitialize", __LINE__)) {
        return;
    }
    MarkDeInitialized();
}

void c_VTR3Renderer::ReleaseResources() {
    CheckInitialized("c_VTR3Renderer::ReleaseResources", __LINE__);
}

void c_VTR3Renderer::RecreateResources() {
    CheckInitialized("c_VTR3Renderer::RecreateResources", __LINE__);
}

void c_VTR3Renderer::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Rendercore:", __TIMESTAMP__, __TIME__);
}
