#include "views/vtr3_views.h"

#include <string.h>

#include "frame/vtr3_engine.h"

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

const VTR3SlotTexts kSlotTexts = {
    "c_VTR3ViewManager",
    "Der View mit der ID: %d wurde nicht gefunden. Die aufgerufne Funktion wird abgebrochen",
    "Sie k\xf6nnen einen View mit der gleichen ID nicht zweimal anmelden",
    0,
    "Es konnte kein Speicher f\xfcr weitere Viewdaten reserviert werden",
    nullptr, // the registration row names the view as well
    "Der View mit der ID: %d wurde erfolgrecih gel\xf6scht",
};

const int kInitialSlots = 10;

// The engine's current matrix at a field of the interface block; null while there is none.
const float* EngineMatrix(a6::BlockOffset offset) {
    return g_engine ? reinterpret_cast<const float*>(a6::BlockField(g_engine, offset)) : nullptr;
}

void CopyMatrix(const float* source, D3DXMATRIX* target) {
    if (source) {
        memcpy(static_cast<float*>(*target), source, sizeof(float) * 16);
    }
}

} // namespace

c_VTR3ViewManager::c_VTR3ViewManager() : c_VTR3SlotManager<ViewSlot>(kTexts, kSlotTexts, kInitialSlots) {}

c_VTR3ViewManager::~c_VTR3ViewManager() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3ViewManager::Initialize() {
    InitializeSlots();
}

void c_VTR3ViewManager::ReleaseResources() {
    Check("ReleaseResources", __LINE__);
}

void c_VTR3ViewManager::RecreateResources() {
    Check("RecreateResources", __LINE__);
}

void c_VTR3ViewManager::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Viewverwaltung:", __TIMESTAMP__, __TIME__);
}

void c_VTR3ViewManager::RegisterView(int id, const char* name) {
    ViewSlot* slot = CreateSlot(id, "RegisterView", __LINE__);
    if (!slot) {
        return;
    }
    slot->engineView = name ? VTR3EngineGetObj(name) : nullptr;
    g_debugSystem.LogInformation(kTexts.sourceFile, __LINE__, "c_VTR3ViewManager::RegisterView", 0,
                                 "Der View mit der ID: %d mit dem Namen: %s wurde erfolgreich angemeldet", id,
                                 name ? name : "");
}

void c_VTR3ViewManager::UnregisterView(int id) {
    DeleteSlot(id, "UnregisterView", __LINE__);
}

int c_VTR3ViewManager::IsRegistered(int id) {
    return Exists(id, "IsRegistered", __LINE__);
}

int c_VTR3ViewManager::GetViewID(const void* engineView) {
    if (!Check("GetViewID", __LINE__) || !engineView) {
        return 0;
    }
    for (unsigned int i = 0; i < m_table.Count(); ++i) {
        const ViewSlot& slot = m_table.At(i);
        if (m_table.IsInUse(slot) && slot.engineView == engineView) {
            return slot.id;
        }
    }
    return 0;
}

void c_VTR3ViewManager::UpdateView(int id) {
    ViewSlot* slot = Find(id, "UpdateView", __LINE__);
    if (!slot) {
        return;
    }
    CopyMatrix(EngineMatrix(a6::kOffsetViewMatrix), &slot->matView);
    CopyMatrix(EngineMatrix(a6::kOffsetProjectionMatrix), &slot->matProjection);
    if (slot->useMirrorPlane == 1) {
        D3DXMatrixReflect(&slot->matReflection, &slot->mirrorPlane);
        D3DXMatrixMultiply(&slot->matViewReflection, &slot->matView, &slot->matReflection);
    }
}

void c_VTR3ViewManager::SetOption(int ViewSlot::*option, int id, int value, const char* method, int line) {
    ViewSlot* slot = Find(id, method, line);
    if (slot) {
        slot->*option = value;
    }
}

int c_VTR3ViewManager::GetOption(int ViewSlot::*option, int id, const char* method, int line) {
    const ViewSlot* slot = Find(id, method, line);
    return slot ? slot->*option : 0;
}

void c_VTR3ViewManager::SetHighDynamicRange(int id, int value) {
    SetOption(&ViewSlot::highDynamicRange, id, value, "SetHighDynamicRange", __LINE__);
}

void c_VTR3ViewManager::SetRenderToTexture(int id, int value) {
    SetOption(&ViewSlot::renderToTexture, id, value, "SetRenderToTexture", __LINE__);
}

void c_VTR3ViewManager::SetRenderToDephtTexture(int id, int value) {
    SetOption(&ViewSlot::renderToDepthTexture, id, value, "SetRenderToDephtTexture", __LINE__);
}

void c_VTR3ViewManager::SetSmoothShadows(int id, int value) {
    SetOption(&ViewSlot::smoothShadows, id, value, "SetSmoothShadows", __LINE__);
}

void c_VTR3ViewManager::SetPostProcessing(int id, int value) {
    SetOption(&ViewSlot::postProcessing, id, value, "SetPostProcessing", __LINE__);
}

int c_VTR3ViewManager::IsUsingHighDynamicRange(int id) {
    return GetOption(&ViewSlot::highDynamicRange, id, "IsUsingHighDynamicRange", __LINE__);
}

int c_VTR3ViewManager::IsUsingRenderToTexture(int id) {
    return GetOption(&ViewSlot::renderToTexture, id, "IsUsingRenderToTexture", __LINE__);
}

int c_VTR3ViewManager::IsUsingRenderToDepthTexture(int id) {
    return GetOption(&ViewSlot::renderToDepthTexture, id, "IsUsingRenderToDepthTexture", __LINE__);
}

int c_VTR3ViewManager::IsUsingSmoothShadows(int id) {
    return GetOption(&ViewSlot::smoothShadows, id, "IsUsingSmoothShadows", __LINE__);
}

int c_VTR3ViewManager::IsUsingPostProcessing(int id) {
    return GetOption(&ViewSlot::postProcessing, id, "IsUsingPostProcessing", __LINE__);
}

int c_VTR3ViewManager::IsUsingClipPlane(int id) {
    return GetOption(&ViewSlot::useClipPlane, id, "IsUsingClipPlane", __LINE__);
}

int c_VTR3ViewManager::IsUsingMirrorPlane(int id) {
    return GetOption(&ViewSlot::useMirrorPlane, id, "IsUsingMirrorPlane", __LINE__);
}

// The normal is used as given: the stored plane keeps its length.
void c_VTR3ViewManager::SetPlane(int ViewSlot::*flag, D3DXPLANE ViewSlot::*plane, int id,
                                 const D3DXVECTOR3& point, const D3DXVECTOR3& normal, int enable,
                                 const char* method, int line) {
    ViewSlot* slot = Find(id, method, line);
    if (!slot) {
        return;
    }
    if (enable != 1) {
        slot->*flag = 0;
        return;
    }
    D3DXPlaneFromPointNormal(&(slot->*plane), &point, &normal);
    slot->*flag = 1;
}

void c_VTR3ViewManager::GetPlane(int ViewSlot::*flag, D3DXPLANE ViewSlot::*plane, int id, D3DXPLANE* out,
                                 const char* method, int line) {
    const ViewSlot* slot = Find(id, method, line);
    if (out) {
        *out = slot && slot->*flag == 1 ? slot->*plane : D3DXPLANE(0.0f, 0.0f, 0.0f, 0.0f);
    }
}

void c_VTR3ViewManager::SetClipPlane(int id, const D3DXVECTOR3& point, const D3DXVECTOR3& normal,
                                     int enable) {
    SetPlane(&ViewSlot::useClipPlane, &ViewSlot::clipPlane, id, point, normal, enable, "SetClipPlane",
             __LINE__);
}

void c_VTR3ViewManager::SetMirrorPlane(int id, const D3DXVECTOR3& point, const D3DXVECTOR3& normal,
                                       int enable) {
    SetPlane(&ViewSlot::useMirrorPlane, &ViewSlot::mirrorPlane, id, point, normal, enable, "SetMirrorPlane",
             __LINE__);
}

void c_VTR3ViewManager::GetClipPlane(int id, D3DXPLANE* plane) {
    GetPlane(&ViewSlot::useClipPlane, &ViewSlot::clipPlane, id, plane, "GetClipPlane", __LINE__);
}

void c_VTR3ViewManager::GetMirrorPlane(int id, D3DXPLANE* plane) {
    GetPlane(&ViewSlot::useMirrorPlane, &ViewSlot::mirrorPlane, id, plane, "GetMirrorPlane", __LINE__);
}

void c_VTR3ViewManager::SetPostProcessEffect(int id, int index, int effectId) {
    ViewSlot* slot = Find(id, "SetPostProcessEffect", __LINE__);
    if (slot && static_cast<unsigned int>(index) < ViewSlot::POSTPROCESS_EFFECTS) {
        slot->postProcessEffects[index] = effectId;
    }
}

int c_VTR3ViewManager::GetPostProcessEffectID(int id, int index) {
    const ViewSlot* slot = Find(id, "GetPostProcessEffectID", __LINE__);
    return slot && static_cast<unsigned int>(index) < ViewSlot::POSTPROCESS_EFFECTS
               ? slot->postProcessEffects[index]
               : 0;
}

// The reflection matrices read as identity while the mirror plane is off, whatever was computed.
void c_VTR3ViewManager::GetMatrix(D3DXMATRIX ViewSlot::*matrix, bool onlyWithMirror, int id, D3DXMATRIX* out,
                                  const char* method, int line) {
    const ViewSlot* slot = Find(id, method, line);
    if (!out) {
        return;
    }
    const bool available = slot && (!onlyWithMirror || slot->useMirrorPlane == 1);
    *out = available ? slot->*matrix : ViewSlot::Identity();
}

void c_VTR3ViewManager::GetViewMatrix(int id, D3DXMATRIX* matrix) {
    GetMatrix(&ViewSlot::matView, false, id, matrix, "GetViewMatrix", __LINE__);
}

void c_VTR3ViewManager::GetProjectionMatrix(int id, D3DXMATRIX* matrix) {
    GetMatrix(&ViewSlot::matProjection, false, id, matrix, "GetProjectionMatrix", __LINE__);
}

void c_VTR3ViewManager::GetReflectionMatrix(int id, D3DXMATRIX* matrix) {
    GetMatrix(&ViewSlot::matReflection, true, id, matrix, "GetReflectionMatrix", __LINE__);
}

void c_VTR3ViewManager::GetViewReflectionMatrix(int id, D3DXMATRIX* matrix) {
    GetMatrix(&ViewSlot::matViewReflection, true, id, matrix, "GetViewReflectionMatrix", __LINE__);
}
