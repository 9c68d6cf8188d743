#include "render/vtr3_postProcessor.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"

namespace {

const VTR3ManagerTexts kTexts = {
    "vtr3_postProcessor",
    "c_VTR3PostProcessor::~c_VTR3PostProcessor",
    "Der Post-Processor ist nicht initialisiert. Funktion wird abgebrochen",
    "Der Post-Processor wurde erfolgreich initialisiert",
    "Der Post-Processor wurde erfolgreich deinitialisiert",
    "Der Post-Processor wurde nicht ordnungsgem\xe4\xdf deinitialsiert ...",
    0,
};

} // namespace

c_VTR3PostProcessor::c_VTR3PostProcessor() : c_VTR3ManagerLifecycle(kTexts) {}

c_VTR3PostProcessor::~c_VTR3PostProcessor() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3PostProcessor::Initialize() {
    MarkInitialized();
}

void c_VTR3PostProcessor::DeInitialize() {
    if (!m_initialized) {
        g_debugSystem.LogError(kTexts.sourceFile, __LINE__, "c_VTR3PostProcessor::DeInitialize",
                               "Post-Processor ist nicht initialisiert. Funktion wird abgebrochen");
        return;
    }
    MarkDeInitialized();
}

void c_VTR3PostProcessor::ReleaseResources() {
    CheckInitialized("c_VTR3PostProcessor::ReleaseResources", __LINE__);
}

void c_VTR3PostProcessor::RecreateResources() {
    CheckInitialized("c_VTR3PostProcessor::RecreateResources", __LINE__);
}

void c_VTR3PostProcessor::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Post-Processor:", __TIMESTAMP__, __TIME__);
}
