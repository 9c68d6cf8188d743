// The engine's own drawing of a view, between the render events it sends the plug-in: a clear and
// the meshes the scene script placed, lit by one directional light, through the fixed-function
// pipeline of the engine's device.
#ifndef VTR3_HOST_ENGINE_SCENE_H
#define VTR3_HOST_ENGINE_SCENE_H

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <string>
#include <vector>

#include "frame/a6_engine.h"

namespace host {

class EngineScene {
  public:
    EngineScene() = default;
    ~EngineScene();
    EngineScene(const EngineScene&) = delete;
    EngineScene& operator=(const EngineScene&) = delete;

    // A "box" (edge `size`) or "sphere" (radius `size`) at an engine position. Null, with the
    // reason in `error`, for another shape or when D3DX cannot create the mesh. The scene keeps
    // its reference.
    ID3DXMesh* AddMesh(IDirect3DDevice9* device, const std::string& shape, float size,
                       const a6::Vector& position, std::string* error);
    // The mesh's diffuse colour; false when the scene holds no such mesh.
    bool SetMeshColor(const ID3DXMesh* mesh, D3DCOLOR color);
    void SetClearColor(D3DCOLOR color) {
        clearColor_ = color;
        clearTarget_ = true;
    }
    // From now on a view keeps its target's colour and has its depth buffer cleared before the begin
    // event (ClearBeforeView), as an engine with a sky does: what stage A draws stays behind the meshes.
    void KeepTarget() { clearTarget_ = false; }
    HRESULT ClearBeforeView(IDirect3DDevice9* device) const;

    // Clears the current render target and depth buffer (unless the target is kept), draws every
    // mesh with these matrices and leaves stage 0 with linear, mip-mapped filtering.
    HRESULT Draw(IDirect3DDevice9* device, const D3DXMATRIX& view, const D3DXMATRIX& projection) const;

  private:
    HRESULT DrawMeshes(IDirect3DDevice9* device, const D3DXMATRIX& view, const D3DXMATRIX& projection) const;
    struct Placed {
        ID3DXMesh* mesh;
        D3DXMATRIX world;
        D3DCOLORVALUE diffuse;
    };
    std::vector<Placed> meshes_;
    D3DCOLOR clearColor_ = D3DCOLOR_XRGB(0, 0, 0);
    bool clearTarget_ = true;
};

// The view and projection matrices of an engine view (position, pan, tilt, roll, horizontal arc;
// engine axes x forward at pan 0, z up) for a target of that size, in Direct3D's conventions.
void EngineViewMatrices(const a6::View& view, int width, int height, D3DXMATRIX* viewMatrix,
                        D3DXMATRIX* projection);

} // namespace host

#endif
