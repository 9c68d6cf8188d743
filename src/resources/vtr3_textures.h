// c_VTR3TextureManager owns the textures and render targets that scripts create by identifier:
// image files loaded as 2D, cube or volume textures, and empty render-target and depth-stencil
// textures created on the device, which registered views draw into.
#ifndef VTR3_TEXTURES_H
#define VTR3_TEXTURES_H

#include <d3d9.h>

#include "resources/vtr3_slotManager.h"

// One texture. Default construction gives the fresh record.
struct TextureSlot {
    static const int FACES = 6;

    D3DFORMAT format = D3DFMT_UNKNOWN;
    int usage = 2; // 0 render target, 1 depth-stencil texture, 2 none (a file texture)
    // The views that draw into this texture; for a cube texture entry k names the view of face k.
    int viewIds[FACES] = {};
    unsigned int width = 0; // the edge of a cube texture
    unsigned int height = 0;
    // The caller's text, not a copy; empty means the texture is created on the device.
    const char* path = "";
    int type = 3; // 0 2D, 1 cube, 2 volume, 3 none
    int inUse = 0;
    int id = 0;
    IDirect3DBaseTexture9* texture = nullptr; // one reference, held by the record

    void ReleaseResource() { VTR3ReleaseReference(texture); }
    void Discard() { ReleaseResource(); }
};

class c_VTR3TextureManager : public c_VTR3SlotManager<TextureSlot> {
  public:
    // Face index 6 stands for no face in the answers of GetCubeTextureSide.
    static const unsigned int NO_FACE = 6;

    c_VTR3TextureManager();
    ~c_VTR3TextureManager();
    c_VTR3TextureManager(const c_VTR3TextureManager&) = delete;
    c_VTR3TextureManager& operator=(const c_VTR3TextureManager&) = delete;

    void Initialize();
    void ReleaseResources();
    // Loads or creates every texture in use again; the first failure stops the pass.
    void RecreateResources();
    void WriteComponentInfo();

    // The type is stored as given; TextureInitialize refuses one it cannot make.
    void TextureCreate(int id, int type);
    void TextureDelete(int id);
    int IsCreated(int id);
    // A null path is taken as the empty one: the texture is then created on the device.
    void SetPath(int id, const char* path);
    void SetFormat(int id, D3DFORMAT format);
    void SetSize(int id, unsigned int width, unsigned int height);
    void SetUsage(int id, int usage);
    // Face indices above 5 change nothing.
    void SetViewID(int id, unsigned int face, int viewId);
    // Loads or creates the texture; one the record held before is released.
    void TextureInitialize(int id);

    // The record's texture without a reference for the caller; null while there is none, and from a
    // typed getter null for a texture of another kind.
    IDirect3DTexture9* GetTexture(int id);
    IDirect3DBaseTexture9* GetBaseTexture(int id);
    IDirect3DCubeTexture9* GetCubeTexture(int id);
    IDirect3DVolumeTexture9* GetVolumeTexture(int id);
    int GetType(int id);
    // Surfaces come with a reference for the caller. Null unless the record holds a texture of the
    // matching kind (2D for GetSurface, cube for GetCubeSurface).
    IDirect3DSurface9* GetSurface(int id, unsigned int level);
    IDirect3DSurface9* GetCubeSurface(int id, unsigned int face, unsigned int level);
    unsigned int GetCubeTextureSide(int id, int viewId);
    // The first render-target or depth-stencil texture that a face entry binds to the view, or 0.
    int GetTextureID(int viewId);

  private:
    bool BuildTexture(TextureSlot& slot, const char* method, int line);
};

#endif
