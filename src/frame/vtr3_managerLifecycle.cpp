#include "frame/vtr3_managerLifecycle.h"

#include <stdio.h>

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"

VTR3QualifiedName::VTR3QualifiedName(const char* className, const char* method) {
    snprintf(m_text, sizeof(m_text), "%s::%s", className, method);
}

bool c_VTR3ManagerLifecycle::CheckInitialized(const char* function, int line) const {
    if (m_initialized) {
        return true;
    }
    g_debugSystem.LogError(m_texts.sourceFile, line, function, "%s", m_texts.notInitialized);
    return false;
}

void c_VTR3ManagerLifecycle::MarkInitialized() {
    m_initialized = 1;
    g_debugSystem.LogInformation(m_texts.sourceFile, 0, "", 0, "%s", m_texts.initialized);
}

void c_VTR3ManagerLifecycle::MarkDeInitialized() {
    m_initialized = 0;
    g_debugSystem.LogInformation(m_texts.sourceFile, 0, "", 0, "%s", m_texts.deinitialized);
}

bool c_VTR3ManagerLifecycle::WarnIfStillInitialized(int line) const {
    if (!m_initialized) {
        return false;
    }
    g_debugSystem.LogWarning(m_texts.sourceFile, line, m_texts.destructorName,
                             m_texts.destroyedWarningHasLocation, "%s", m_texts.destroyedWarning);
    return true;
}
