#include "plugin_textures.h"

#include <algorithm>

namespace host {
namespace {

void ReleaseAll(const std::vector<IDirect3DBaseTexture9*>& textures) {
    for (IDirect3DBaseTexture9* texture : textures) {
        texture->Release();
    }
}

} // namespace

bool PluginTextures::Description::operator==(const Description& other) const {
    return type == other.type && format == other.format && usage == other.usage && pool == other.pool &&
           width == other.width && height == other.height && depth == other.depth && levels == other.levels;
}

// A failing GetLevelDesc leaves zeros, which only a texture that failed alike matches.
PluginTextures::Description PluginTextures::Describe(IDirect3DBaseTexture9* texture) {
    D3DSURFACE_DESC surface{};
    D3DVOLUME_DESC volume{};
    switch (texture->GetType()) {
    case D3DRTYPE_TEXTURE:
        static_cast<IDirect3DTexture9*>(texture)->GetLevelDesc(0, &surface);
        break;
    case D3DRTYPE_CUBETEXTURE:
        static_cast<IDirect3DCubeTexture9*>(texture)->GetLevelDesc(0, &surface);
        break;
    case D3DRTYPE_VOLUMETEXTURE:
        static_cast<IDirect3DVolumeTexture9*>(texture)->GetLevelDesc(0, &volume);
        return Description{texture->GetType(), volume.Format, volume.Usage, volume.Pool,
                           volume.Width,       volume.Height, volume.Depth, texture->GetLevelCount()};
    default:
        break;
    }
    return Description{texture->GetType(),
                       surface.Format,
                       surface.Usage,
                       surface.Pool,
                       surface.Width,
                       surface.Height,
                       1,
                       texture->GetLevelCount()};
}

void PluginTextures::Attribute(int id, std::vector<IDirect3DBaseTexture9*> created) {
    if (created.empty()) {
        return; // the plug-in refused: what the id had stays
    }
    IDirect3DBaseTexture9* texture = created.back();
    created.pop_back();
    ReleaseAll(created);
    const auto entry =
        std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
    if (entry == entries_.end()) {
        entries_.push_back(Entry{id, Describe(texture), texture});
        return;
    }
    if (entry->texture) {
        entry->texture->Release();
    }
    entry->description = Describe(texture);
    entry->texture = texture;
}

void PluginTextures::Reattribute(std::vector<IDirect3DBaseTexture9*> created) {
    for (Entry& entry : entries_) {
        if (entry.texture) {
            continue;
        }
        for (IDirect3DBaseTexture9*& texture : created) {
            if (texture && Describe(texture) == entry.description) {
                entry.texture = texture;
                texture = nullptr;
                break;
            }
        }
    }
    created.erase(std::remove(created.begin(), created.end(), nullptr), created.end());
    ReleaseAll(created);
}

void PluginTextures::Forget(int id) {
    const auto entry =
        std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
    if (entry != entries_.end()) {
        if (entry->texture) {
            entry->texture->Release();
        }
        entries_.erase(entry);
    }
}

void PluginTextures::LetGo() {
    for (Entry& entry : entries_) {
        if (entry.texture) {
            entry.texture->Release();
            entry.texture = nullptr;
        }
    }
}

void PluginTextures::Forget() {
    LetGo();
    entries_.clear();
}

IDirect3DBaseTexture9* PluginTextures::Find(int id) const {
    for (const Entry& entry : entries_) {
        if (entry.id == id) {
            return entry.texture;
        }
    }
    return nullptr;
}

HRESULT TextureSurface(IDirect3DBaseTexture9* texture, int face, IDirect3DSurface9** surface) {
    static const D3DCUBEMAP_FACES kFaces[6] = {D3DCUBEMAP_FACE_POSITIVE_Z, D3DCUBEMAP_FACE_NEGATIVE_Z,
                                               D3DCUBEMAP_FACE_POSITIVE_X, D3DCUBEMAP_FACE_NEGATIVE_X,
                                               D3DCUBEMAP_FACE_POSITIVE_Y, D3DCUBEMAP_FACE_NEGATIVE_Y};
    *surface = nullptr;
    if (face < 0 && texture->GetType() == D3DRTYPE_TEXTURE) {
        return static_cast<IDirect3DTexture9*>(texture)->GetSurfaceLevel(0, surface);
    }
    if (face >= 0 && face < 6 && texture->GetType() == D3DRTYPE_CUBETEXTURE) {
        return static_cast<IDirect3DCubeTexture9*>(texture)->GetCubeMapSurface(kFaces[face], 0, surface);
    }
    return D3DERR_INVALIDCALL;
}

} // namespace host
