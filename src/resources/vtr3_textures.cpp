#include "resources/vtr3_textures.h"

#include <d3dx9.h>

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

const VTR3SlotTexts kSlotTexts = {
    "c_VTR3TextureManager",
    "Das Objekt mit der ID: %d wurde nicht gefunde. Die Funktion wird beendet",
    "Das zu erstellende Objekt mit der ID: %d existiert bereits. Die Aufgerufene Funktion wird beendet",
    1,
    "Es konnte kein neuer Speicher f\xfcr weitere Objekte/Texturen angefordert werden. Das erstellen des "
    "Objekts mit der ID: %d wird abgebrochen.",
    "Die Textur mit der ID: %d wurde erfolgreich erstellt",
    "Die Texutr mit der ID: %d wurde erfolgreich gel\xf6scht",
};

const int kInitialSlots = 10;

// The Direct3D cube face of each face index.
const D3DCUBEMAP_FACES kCubeFaces[TextureSlot::FACES] = {
    D3DCUBEMAP_FACE_POSITIVE_Z, D3DCUBEMAP_FACE_NEGATIVE_Z, D3DCUBEMAP_FACE_POSITIVE_X,
    D3DCUBEMAP_FACE_NEGATIVE_X, D3DCUBEMAP_FACE_POSITIVE_Y, D3DCUBEMAP_FACE_NEGATIVE_Y,
};

// How a record's texture comes about, from its path, type and usage.
enum TextureSource {
    LOAD_2D,
    LOAD_CUBE,
    LOAD_VOLUME,
    RENDER_TARGET_2D,
    RENDER_TARGET_CUBE,
    DEPTH_STENCIL_2D,
    INVALID_TYPE,
    INVALID_USAGE,
};

bool FromFile(const TextureSlot& slot) {
    return slot.path[0] != '\0';
}

TextureSource ChooseSource(const TextureSlot& slot) {
    if (FromFile(slot)) {
        const TextureSource loads[] = {LOAD_2D, LOAD_CUBE, LOAD_VOLUME};
        return slot.type >= 0 && slot.type <= 2 ? loads[slot.type] : INVALID_TYPE;
    }
    if (slot.usage == 0) {
        return slot.type == 0 ? RENDER_TARGET_2D : slot.type == 1 ? RENDER_TARGET_CUBE : INVALID_TYPE;
    }
    if (slot.usage == 1) {
        return slot.type == 0 ? DEPTH_STENCIL_2D : INVALID_TYPE;
    }
    return INVALID_USAGE;
}

// Files keep their own size, format and mip chain; device textures have one level.
HRESULT MakeTexture(TextureSource source, const TextureSlot& slot, IDirect3DBaseTexture9** texture) {
    if (!g_device) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DTexture9* flat = nullptr;
    IDirect3DCubeTexture9* cube = nullptr;
    IDirect3DVolumeTexture9* volume = nullptr;
    HRESULT result = D3DERR_INVALIDCALL;
    switch (source) {
    case LOAD_2D:
        result = D3DXCreateTextureFromFileExA(g_device, slot.path, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                              0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                              0, NULL, NULL, &flat);
        break;
    case LOAD_CUBE:
        result = D3DXCreateCubeTextureFromFileExA(g_device, slot.path, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                                  D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                                  0, NULL, NULL, &cube);
        break;
    case LOAD_VOLUME:
        result = D3DXCreateVolumeTextureFromFileExA(
            g_device, slot.path, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
            D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, NULL, NULL, &volume);
        break;
    case RENDER_TARGET_2D:
        result = g_device->CreateTexture(slot.width, slot.height, 1, D3DUSAGE_RENDERTARGET, slot.format,
                                         D3DPOOL_DEFAULT, &flat, NULL);
        break;
    case DEPTH_STENCIL_2D:
        result = g_device->CreateTexture(slot.width, slot.height, 1, D3DUSAGE_DEPTHSTENCIL, slot.format,
                                         D3DPOOL_DEFAULT, &flat, NULL);
        break;
    case RENDER_TARGET_CUBE:
        result = g_device->CreateCubeTexture(slot.width, 1, D3DUSAGE_RENDERTARGET, slot.format,
                                             D3DPOOL_DEFAULT, &cube, NULL);
        break;
    default:
        break;
    }
    // Exactly one of them was asked for.
    *texture = flat   ? static_cast<IDirect3DBaseTexture9*>(flat)
               : cube ? static_cast<IDirect3DBaseTexture9*>(cube)
                      : volume;
    return result;
}

// The texture as the interface of its kind, or null when it is none or of another kind.
template <typename Interface> Interface* AsKind(IDirect3DBaseTexture9* texture, D3DRESOURCETYPE kind) {
    return texture && texture->GetType() == kind ? static_cast<Interface*>(texture) : nullptr;
}

} // namespace

c_VTR3TextureManager::c_VTR3TextureManager()
    : c_VTR3SlotManager<TextureSlot>(kTexts, kSlotTexts, kInitialSlots) {}

c_VTR3TextureManager::~c_VTR3TextureManager() {
    if (WarnIfStillInitialized(__LINE__)) {
        DeInitialize();
    }
}

void c_VTR3TextureManager::Initialize() {
    InitializeSlots();
}

void c_VTR3TextureManager::ReleaseResources() {
    if (Check("ReleaseResources", __LINE__)) {
        ReleaseAllData();
    }
}

void c_VTR3TextureManager::RecreateResources() {
    if (!Check("RecreateResources", __LINE__)) {
        return;
    }
    for (unsigned int i = 0; i < m_table.Count(); ++i) {
        if (m_table.IsInUse(m_table.At(i)) && !BuildTexture(m_table.At(i), "RecreateResources", __LINE__)) {
            return;
        }
    }
}

void c_VTR3TextureManager::WriteComponentInfo() {
    VTR3WriteComponentRow(g_debugSystem, "Texturverwaltung:", __TIMESTAMP__, __TIME__);
}

// An invalid type or usage leaves the record's texture as it is; a failing creation leaves none.
bool c_VTR3TextureManager::BuildTexture(TextureSlot& slot, const char* method, int line) {
    const TextureSource source = ChooseSource(slot);
    if (source == INVALID_TYPE || source == INVALID_USAGE) {
        LogError(method, line, source == INVALID_TYPE ? "Ung\xfcltiger Texturtyp" : "Ung\xfcltiger Usagetyp",
                 0);
        return false;
    }
    slot.ReleaseResource();
    IDirect3DBaseTexture9* texture = nullptr;
    HRESULT result = MakeTexture(source, slot, &texture);
    if (SUCCEEDED(result) && !texture) {
        result = E_FAIL;
    }
    if (FAILED(result)) {
        if (texture) {
            texture->Release();
        }
        const char* text = FromFile(slot) ? "Die Texture mit der ID: %d konnte nicht initialisiert werden"
                                          : "Die Textur mit der ID: %d konnte nicht initialisiert werden";
        g_debugSystem.LogDirectXError(kTexts.sourceFile, line,
                                      VTR3QualifiedName(kSlotTexts.className, method).c_str(), result, text,
                                      slot.id);
        return false;
    }
    slot.texture = texture;
    return true;
}

void c_VTR3TextureManager::TextureCreate(int id, int type) {
    TextureSlot* slot = CreateSlot(id, "TextureCreate", __LINE__);
    if (slot) {
        slot->type = type;
    }
}

void c_VTR3TextureManager::TextureDelete(int id) {
    DeleteSlot(id, "TextureDelete", __LINE__);
}

int c_VTR3TextureManager::IsCreated(int id) {
    return Exists(id, "IsCreated", __LINE__);
}

void c_VTR3TextureManager::SetPath(int id, const char* path) {
    TextureSlot* slot = Lookup(id, "SetPath", __LINE__);
    if (slot) {
        slot->path = path ? path : "";
    }
}

void c_VTR3TextureManager::SetFormat(int id, D3DFORMAT format) {
    TextureSlot* slot = Lookup(id, "SetFormat", __LINE__);
    if (slot) {
        slot->format = format;
    }
}

void c_VTR3TextureManager::SetSize(int id, unsigned int width, unsigned int height) {
    TextureSlot* slot = Lookup(id, "SetSize", __LINE__);
    if (slot) {
        slot->width = width;
        slot->height = height;
    }
}

void c_VTR3TextureManager::SetUsage(int id, int usage) {
    TextureSlot* slot = Lookup(id, "SetUsage", __LINE__);
    if (slot) {
        slot->usage = usage;
    }
}

void c_VTR3TextureManager::SetViewID(int id, unsigned int face, int viewId) {
    TextureSlot* slot = Lookup(id, "SetViewID", __LINE__);
    if (slot && face < TextureSlot::FACES) {
        slot->viewIds[face] = viewId;
    }
}

void c_VTR3TextureManager::TextureInitialize(int id) {
    TextureSlot* slot = Lookup(id, "TextureInitialize", __LINE__);
    if (slot && BuildTexture(*slot, "TextureInitialize", __LINE__)) {
        g_debugSystem.LogInformation(kTexts.sourceFile, __LINE__, "c_VTR3TextureManager::TextureInitialize",
                                     0, "Die Textur mit der ID: %d wurde erfolreich initialisiert", id);
    }
}

IDirect3DBaseTexture9* c_VTR3TextureManager::GetBaseTexture(int id) {
    const TextureSlot* slot = Lookup(id, "GetBaseTexture", __LINE__);
    return slot ? slot->texture : nullptr;
}

// The typed getters ask the texture for its kind: a caller that mistakes a record's type gets null
// rather than an interface the object does not have.
IDirect3DTexture9* c_VTR3TextureManager::GetTexture(int id) {
    const TextureSlot* slot = Lookup(id, "GetTexture", __LINE__);
    return slot ? AsKind<IDirect3DTexture9>(slot->texture, D3DRTYPE_TEXTURE) : nullptr;
}

IDirect3DCubeTexture9* c_VTR3TextureManager::GetCubeTexture(int id) {
    const TextureSlot* slot = Lookup(id, "GetCubeTexture", __LINE__);
    return slot ? AsKind<IDirect3DCubeTexture9>(slot->texture, D3DRTYPE_CUBETEXTURE) : nullptr;
}

IDirect3DVolumeTexture9* c_VTR3TextureManager::GetVolumeTexture(int id) {
    const TextureSlot* slot = Lookup(id, "GetVolumeTexture", __LINE__);
    return slot ? AsKind<IDirect3DVolumeTexture9>(slot->texture, D3DRTYPE_VOLUMETEXTURE) : nullptr;
}

int c_VTR3TextureManager::GetType(int id) {
    const TextureSlot* slot = Lookup(id, "GetType", __LINE__);
    return slot ? slot->type : 3;
}

IDirect3DSurface9* c_VTR3TextureManager::GetSurface(int id, unsigned int level) {
    const TextureSlot* slot = Lookup(id, "GetSurface", __LINE__);
    IDirect3DTexture9* texture = slot ? AsKind<IDirect3DTexture9>(slot->texture, D3DRTYPE_TEXTURE) : nullptr;
    IDirect3DSurface9* surface = nullptr;
    if (texture && FAILED(texture->GetSurfaceLevel(level, &surface))) {
        surface = nullptr;
    }
    return surface;
}

IDirect3DSurface9* c_VTR3TextureManager::GetCubeSurface(int id, unsigned int face, unsigned int level) {
    const TextureSlot* slot = Lookup(id, "GetCubeSurface", __LINE__);
    IDirect3DCubeTexture9* cube =
        slot ? AsKind<IDirect3DCubeTexture9>(slot->texture, D3DRTYPE_CUBETEXTURE) : nullptr;
    IDirect3DSurface9* surface = nullptr;
    if (cube && face < TextureSlot::FACES &&
        FAILED(cube->GetCubeMapSurface(kCubeFaces[face], level, &surface))) {
        surface = nullptr;
    }
    return surface;
}

unsigned int c_VTR3TextureManager::GetCubeTextureSide(int id, int viewId) {
    const TextureSlot* slot = Lookup(id, "GetCubeTextureSide", __LINE__);
    if (!slot) {
        return NO_FACE;
    }
    const int* end = slot->viewIds + TextureSlot::FACES;
    return static_cast<unsigned int>(std::find(slot->viewIds, end, viewId) - slot->viewIds);
}

int c_VTR3TextureManager::GetTextureID(int viewId) {
    if (!Check("GetTextureID", __LINE__)) {
        return 0;
    }
    for (unsigned int i = 0; i < m_table.Count(); ++i) {
        const TextureSlot& slot = m_table.At(i);
        const int* end = slot.viewIds + TextureSlot::FACES;
        if (m_table.IsInUse(slot) && slot.usage != 2 && std::find(slot.viewIds, end, viewId) != end) {
            return slot.id;
        }
    }
    return 0;
}
