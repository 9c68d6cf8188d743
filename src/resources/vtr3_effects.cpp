#include "resources/vtr3_effects.h"

#include <string.h>

#include <string>

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

const VTR3SlotTexts kSlotTexts = {
    "c_VTR3EffectManager",
    "Das Objekt mit der ID: %d wurde nicht gefunden. Funktion wird abgebrochen",
    "Der Effekt mit der ID: %d kann nicht zweimal erstellt werden. Funktion wird abgebrochen",
    1,
    "Es konnte kein neuer Speicher f\xfcr Effektdaten reserviert werden. Funktion wird abgebrochen",
    "Der Effekt mit der ID: %d wurde erfolgreich erstellt",
    "Der Effekt mit der ID: %d wurde erfolgreich gel\xf6scht",
};

const int kInitialSlots = 10;
const unsigned int kValueCount = 8;
const unsigned int kTextureSlots = 2;

// The compiler's messages as text; the buffer need not end with a terminator.
std::string Messages(ID3DXBuffer* buffer) {
    if (!buffer || !buffer->GetBufferPointer()) {
        return std::string();
    }
    const char* text = static_cast<const char*>(buffer->GetBufferPointer());
    return std::string(text, strnlen(text, buffer->GetBufferSize()));
}

} // namespace

c_VTR3EffectManager::c_VTR3EffectManager()
    : c_VTR3SlotManager<EffectSlot>(kTexts, kSlotTexts, kInitialSlots) {}

c_VTR3EffectManager::~c_VTR3EffectManager() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3EffectManager::Initialize() {
    InitializeSlots();
}

void c_VTR3EffectManager::ReleaseResources() {
    if (Check("ReleaseResources", __LINE__)) {
        ReleaseAllData();
    }
}

void c_VTR3EffectManager::RecreateResources() {
    if (!Check("RecreateResources", __LINE__)) {
        return;
    }
    for (unsigned int i = 0; i < m_table.Count(); ++i) {
        EffectSlot& slot = m_table.At(i);
        if (!m_table.IsInUse(slot)) {
            continue;
        }
        if (!Compile(slot, "RecreateResources", __LINE__)) {
            return;
        }
        SelectTechnique(slot);
    }
}

void c_VTR3EffectManager::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Effektverwaltung:", __TIMESTAMP__, __TIME__);
}

// The record ends with the new effect, or with none when the compiler refuses the file.
bool c_VTR3EffectManager::Compile(EffectSlot& slot, const char* method, int line) {
    slot.ReleaseResource();
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* messages = nullptr;
    HRESULT result =
        g_device ? D3DXCreateEffectFromFileA(g_device, slot.path, NULL, NULL, 0, NULL, &effect, &messages)
                 : D3DERR_INVALIDCALL;
    if (SUCCEEDED(result) && !effect) {
        result = E_FAIL;
    }
    if (FAILED(result)) {
        g_debugSystem.LogDirectXError(kTexts.sourceFile, line,
                                      VTR3QualifiedName(kSlotTexts.className, method).c_str(), result,
                                      "Fehler beim compillieren des Effektes mit der ID: %d. Fehler: %s",
                                      slot.id, Messages(messages).c_str());
        if (effect) {
            effect->Release();
        }
    } else {
        slot.effect = effect;
    }
    if (messages) {
        messages->Release();
    }
    return SUCCEEDED(result);
}

// The first technique in file order that validates on the device; technique 0 when none does.
int c_VTR3EffectManager::SelectTechnique(EffectSlot& slot) {
    D3DXEFFECT_DESC description;
    const UINT techniques = SUCCEEDED(slot.effect->GetDesc(&description)) ? description.Techniques : 0;
    for (UINT i = 0; i < techniques; ++i) {
        slot.technique = slot.effect->GetTechnique(i);
        if (SUCCEEDED(slot.effect->ValidateTechnique(slot.technique))) {
            slot.effect->SetTechnique(slot.technique);
            return static_cast<int>(i);
        }
    }
    if (techniques > 0) {
        g_debugSystem.LogWarning(
            kTexts.sourceFile, __LINE__, "c_VTR3EffectManager::SelectTechnique", 0,
            "Compillierung des Effektes mit der ID: %d erfolgreich abgeschlossen. Es konnte "
            "jedoch keine g\xfcltige Technik gefunden werden. Dies ist nicht zwangl\xe4ufig<br>"
            "eine Fehlermeldung und kann evtl. ignoriert werden. Es wird Technik 0 verwendet.",
            slot.id);
        slot.effect->SetTechnique(slot.effect->GetTechnique(0));
    }
    return 0;
}

void c_VTR3EffectManager::EffectCreate(int id) {
    CreateSlot(id, "EffectCreate", __LINE__);
}

void c_VTR3EffectManager::EffectDelete(int id) {
    DeleteSlot(id, "EffectDelete", __LINE__);
}

int c_VTR3EffectManager::IsCreated(int id) {
    return Exists(id, "IsCreated", __LINE__);
}

void c_VTR3EffectManager::SetPath(int id, const char* path) {
    EffectSlot* slot = Lookup(id, "SetPath", __LINE__);
    if (slot) {
        slot->path = path ? path : "";
    }
}

void c_VTR3EffectManager::EffectInitialize(int id) {
    EffectSlot* slot = Lookup(id, "EffectInitialize", __LINE__);
    if (!slot || !Compile(*slot, "EffectInitialize", __LINE__)) {
        return;
    }
    const int technique = SelectTechnique(*slot);
    g_debugSystem.LogInformation(
        kTexts.sourceFile, __LINE__, "c_VTR3EffectManager::EffectInitialize", 0,
        "Der Effekt mit der ID: %d wurde erfolgreich initialisiert und die Technik: %d wird "
        "verwendet.",
        id, technique);
}

void c_VTR3EffectManager::SetEffectValue(int id, unsigned int index, float value) {
    EffectSlot* slot = Lookup(id, "SetEffectValue", __LINE__);
    if (slot && index < kValueCount) {
        static_cast<float*>(slot->values[index / 4])[index % 4] = value;
    }
}

void c_VTR3EffectManager::GetValueVector(int id, int index, D3DXVECTOR4* vector) {
    const EffectSlot* slot = Lookup(id, "GetValueVector", __LINE__);
    if (vector) {
        *vector =
            slot && (index == 0 || index == 1) ? slot->values[index] : D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f);
    }
}

void c_VTR3EffectManager::SetEffectTex(int id, int index, int textureId) {
    EffectSlot* slot = Lookup(id, "SetEffectTex", __LINE__);
    if (slot && static_cast<unsigned int>(index) < kTextureSlots) {
        slot->effectTextureIds[index] = textureId;
    }
}

int c_VTR3EffectManager::GetEffectTexID(int id, unsigned int index) {
    const EffectSlot* slot = Lookup(id, "GetEffectTexID", __LINE__);
    return slot && index < kTextureSlots ? slot->effectTextureIds[index] : 0;
}

ID3DXEffect* c_VTR3EffectManager::GetEffect(int id) {
    const EffectSlot* slot = Lookup(id, "GetEffect", __LINE__);
    return slot ? slot->effect : nullptr;
}
