// The plug-in's textures by the script's texture ids, as an engine can learn them: from the textures
// the NotingDevice saw created while the plug-in ran `VTR3TexInitialize ID` or
// `VTR3RecreateResources`. Each is held with a reference until the plug-in lets it go (its
// deletion, the release of resources before a reset, the plug-in's shut-down), so that a screenshot
// never reads a texture that is gone and a reset is not refused on the engine's account.
#ifndef VTR3_HOST_PLUGIN_TEXTURES_H
#define VTR3_HOST_PLUGIN_TEXTURES_H

#include <windows.h>
#include <d3d9.h>

#include <vector>

namespace host {

class PluginTextures {
  public:
    PluginTextures() = default;
    ~PluginTextures() { Forget(); }
    PluginTextures(const PluginTextures&) = delete;
    PluginTextures& operator=(const PluginTextures&) = delete;

    // What `VTR3TexInitialize id` created, each with a reference that this takes: the last one is the
    // id's texture (any before it were D3DX's intermediates).
    void Attribute(int id, std::vector<IDirect3DBaseTexture9*> created);
    // What `VTR3RecreateResources` created: each id whose texture was let go takes the first of the
    // same kind, size, format, usage and pool not taken yet, ids in the order of their first
    // initialisation (the plug-in recreates its table in order).
    void Reattribute(std::vector<IDirect3DBaseTexture9*> created);
    // The plug-in deletes the id's texture.
    void Forget(int id);
    // The plug-in releases its textures; the ids stay for Reattribute.
    void LetGo();
    // The plug-in shuts down (or starts again with empty tables).
    void Forget();

    // Null while the plug-in holds no texture of that id.
    IDirect3DBaseTexture9* Find(int id) const;

  private:
    struct Description {
        D3DRESOURCETYPE type;
        D3DFORMAT format;
        DWORD usage;
        D3DPOOL pool;
        UINT width, height, depth, levels;
        bool operator==(const Description& other) const;
    };
    struct Entry {
        int id;
        Description description;
        IDirect3DBaseTexture9* texture; // one reference, or null
    };
    static Description Describe(IDirect3DBaseTexture9* texture);

    std::vector<Entry> entries_; // in the order of first initialisation
};

// Level 0 of a 2D texture (face < 0) or of a cube face in the plug-in's order (+z, -z, +x, -x, +y,
// -y, as VTR3TexSetViewID numbers them), with a reference for the caller.
HRESULT TextureSurface(IDirect3DBaseTexture9* texture, int face, IDirect3DSurface9** surface);

} // namespace host

#endif
